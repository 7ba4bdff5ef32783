#include "ActiveXKillBit.h"

namespace qactivex {

namespace {

const wchar_t kCompatibilityKey[] = L"SOFTWARE\\Microsoft\\Internet Explorer\\ActiveX Compatibility\\";
const wchar_t kFlagsValue[] = L"Compatibility Flags";

bool CompatibilityKey(const std::wstring& clsid, std::wstring& key)
{
    if (clsid.empty() || clsid.find(L'\\') != std::wstring::npos) return false;
    key = kCompatibilityKey + clsid;
    return true;
}

}  // namespace

bool IsKillBitSet(const std::wstring& clsid, REGSAM view)
{
    std::wstring key;
    DWORD flags = 0;
    return CompatibilityKey(clsid, key) &&
           SBRegGetDWORDValueW(HKEY_LOCAL_MACHINE, key.c_str(), kFlagsValue, flags, view) && (flags & kKillBit) != 0;
}

bool SetKillBit(const std::wstring& clsid, bool block, REGSAM view)
{
    std::wstring key;
    if (!CompatibilityKey(clsid, key)) return false;
    DWORD flags = 0;
    const bool present = SBRegGetDWORDValueW(HKEY_LOCAL_MACHINE, key.c_str(), kFlagsValue, flags, view);
    const DWORD wanted = block ? (flags | kKillBit) : (flags & ~kKillBit);
    if (present && wanted == flags) return true;
    if (!block && !present) return true;
    if (!block && wanted == 0) {
        const LONG status = SBRegDeleteValueW(HKEY_LOCAL_MACHINE, key.c_str(), kFlagsValue, view);
        return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
    }
    return SBRegSetDWORDValueW(HKEY_LOCAL_MACHINE, key.c_str(), kFlagsValue, wanted, view) == ERROR_SUCCESS;
}

}  // namespace qactivex
