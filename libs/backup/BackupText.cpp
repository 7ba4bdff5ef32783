#include "BackupText.h"

#include <windows.h>

namespace Coldrith {
std::wstring FullPath(const std::wstring& path)
{
    DWORD n = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (n == 0) return path;
    std::wstring full(n, L'\0');
    n = GetFullPathNameW(path.c_str(), n, &full[0], nullptr);
    full.resize(n);
    return full;
}

std::wstring WidenAscii(const char* text)
{
    std::wstring out;
    for (; text && *text; ++text) out += static_cast<wchar_t>(static_cast<unsigned char>(*text));
    return out;
}
}  // namespace Coldrith
