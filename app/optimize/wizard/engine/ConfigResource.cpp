#include "ConfigResource.h"

bool LoadConfigResource(HMODULE module, int id, std::string& text)
{
    HRSRC info = ::FindResourceA(module, MAKEINTRESOURCEA(id), "CONFIG");
    if (!info) return false;
    HGLOBAL handle = ::LoadResource(module, info);
    const DWORD size = ::SizeofResource(module, info);
    const char* bytes = handle ? static_cast<const char*>(::LockResource(handle)) : nullptr;
    if (!bytes) return false;
    text.assign(bytes, size);
    return true;
}
