#include "RegistryViews.h"

#include <Common.h>

bool IsWindows64()
{
    int kind = 0;
    bool is64 = false;
    GetOSVersion(kind, is64);
    return is64;
}

std::vector<REGSAM> WriteViews()
{
    if (IsWindows64()) return {KEY_WOW64_64KEY, KEY_WOW64_32KEY};
    return {0};
}

REGSAM NativeView() { return IsWindows64() ? KEY_WOW64_64KEY : 0; }
