#include "Yarrowby/ActiveXLock.h"

#include <Common.h>

#include "ActiveXCatalogue.h"
#include "RegistryViews.h"

namespace {

const wchar_t kCompatibilityKey[] = L"SOFTWARE\\Microsoft\\Internet Explorer\\ActiveX Compatibility\\";
const wchar_t kFlagsValue[] = L"Compatibility Flags";

// Sets or clears the kill bit in one view; other bits stay, a value left at 0 goes, keys are never removed.
bool SetKillBit(const std::wstring& key, bool lock, REGSAM view)
{
    DWORD flags = 0;
    const bool present = SBRegGetDWORDValueW(HKEY_LOCAL_MACHINE, key.c_str(), kFlagsValue, flags, view);
    const DWORD wanted = lock ? (flags | CActiveXLock::kKillBit) : (flags & ~CActiveXLock::kKillBit);
    if (present && wanted == flags) return true;
    if (!lock && !present) return true;
    if (!lock && wanted == 0) {
        const LONG status = SBRegDeleteValueW(HKEY_LOCAL_MACHINE, key.c_str(), kFlagsValue, view);
        return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
    }
    return SBRegSetDWORDValueW(HKEY_LOCAL_MACHINE, key.c_str(), kFlagsValue, wanted, view) == ERROR_SUCCESS;
}

}  // namespace

CActiveXLock::CActiveXLock() = default;

CActiveXLock::~CActiveXLock() = default;

bool CActiveXLock::GetActiveXNames(std::vector<ActiveXItem>& out, UINT resId)
{
    // The catalogue ships in the program, not in this library.
    HMODULE program = ::GetModuleHandleW(nullptr);
    HRSRC found = ::FindResourceW(program, MAKEINTRESOURCEW(resId), L"BIN_DATA");
    HGLOBAL loaded = found ? ::LoadResource(program, found) : nullptr;
    const char* data = loaded ? static_cast<const char*>(::LockResource(loaded)) : nullptr;
    if (!data) return false;
    for (const CatalogueLine& line : ParseActiveXCatalogue(data, ::SizeofResource(program, found))) {
        ActiveXItem item;
        item.name = line.name;
        item.clsid = line.clsid;
        item.locked = IsLocked(line.clsid);
        out.push_back(item);
    }
    return true;
}

bool CActiveXLock::IsLocked(std::wstring clsid)
{
    if (!IsUsableClsid(clsid)) return false;
    DWORD flags = 0;
    return SBRegGetDWORDValueW(HKEY_LOCAL_MACHINE, (kCompatibilityKey + clsid).c_str(), kFlagsValue, flags,
                               NativeView()) &&
           (flags & kKillBit) != 0;
}

bool CActiveXLock::LockUnLockActiveItems(std::vector<std::wstring> clsids, bool lock)
{
    bool all = true;
    const std::vector<REGSAM> views = WriteViews();
    for (const std::wstring& clsid : clsids) {
        if (!IsUsableClsid(clsid)) {
            all = false;
            continue;
        }
        for (REGSAM view : views) all = SetKillBit(kCompatibilityKey + clsid, lock, view) && all;
    }
    return all;
}
