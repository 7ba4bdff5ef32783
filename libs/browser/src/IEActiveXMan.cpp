#include "Grennow/IEAddons.h"

#include <Common.h>

#include "RegistryPlaces.h"

using namespace Grennow;

namespace {

const wchar_t kCompatibilityFlags[] = L"Compatibility Flags";
// The browser refuses to load a control whose compatibility flags have this bit: its kill bit.
const DWORD kKillBit = 0x400;

// The control's key under ActiveX Compatibility; false for a CLSID that would name another key.
bool CompatibilityKey(const std::wstring& clsid, std::wstring& key)
{
    if (clsid.empty() || clsid.find(L'\\') != std::wstring::npos) return false;
    key = EntryKey(kActiveXCompatibilityKey, clsid);
    return true;
}

// The control's compatibility flags; false when there are none (or not as a number).
bool ReadFlags(const std::wstring& key, DWORD& flags)
{
    return SBRegGetDWORDValueW(HKEY_LOCAL_MACHINE, key.c_str(), kCompatibilityFlags, flags);
}

}  // namespace

void CIEActiveXMan::GetActiveXList(std::vector<IEActiveXInfo>& list) const
{
    CSBStringArrayW names;
    if (!SBRegGetSubKeysW(HKEY_LOCAL_MACHINE, kDistributionUnitsKey, names)) return;
    for (int i = 0; i < names.GetCount(); ++i) {
        IEActiveXInfo info;
        info.clsid = names.GetString(i);
        info.root = HKEY_LOCAL_MACHINE;
        info.keyPath = EntryKey(kDistributionUnitsKey, info.clsid);
        ReadClassName(info.clsid, info.name);
        std::wstring key;
        DWORD flags = 0;
        info.blocked = CompatibilityKey(info.clsid, key) && ReadFlags(key, flags) && (flags & kKillBit) != 0;
        if (ReadClassFile(info.clsid, info.file) && SBIsFileExistInSystemW(info.file.c_str()))
            ReadVersionTexts(info.file, info.company, info.version, info.description);
        list.push_back(info);
    }
}

bool CIEActiveXMan::BlockActiveX(const IEActiveXInfo& info) const
{
    std::wstring key;
    if (!CompatibilityKey(info.clsid, key)) return false;
    DWORD flags = 0;
    ReadFlags(key, flags);
    return SBRegSetDWORDValueW(HKEY_LOCAL_MACHINE, key.c_str(), kCompatibilityFlags, flags | kKillBit) ==
           ERROR_SUCCESS;
}

bool CIEActiveXMan::UnblockActiveX(const IEActiveXInfo& info) const
{
    std::wstring key;
    if (!CompatibilityKey(info.clsid, key)) return false;
    DWORD flags = 0;
    if (!ReadFlags(key, flags) || (flags & kKillBit) == 0) return true;  // not blocked
    flags &= ~kKillBit;
    if (flags != 0)
        return SBRegSetDWORDValueW(HKEY_LOCAL_MACHINE, key.c_str(), kCompatibilityFlags, flags) == ERROR_SUCCESS;
    return SBRegDeleteValueW(HKEY_LOCAL_MACHINE, key.c_str(), kCompatibilityFlags) == ERROR_SUCCESS;
}

bool CIEActiveXMan::RemoveActiveX(const IEActiveXInfo& info) const
{
    if (info.root != HKEY_LOCAL_MACHINE || !IsEntryKeyOf(info.keyPath, kDistributionUnitsKey)) return false;
    return SBRegDeleteTreeW(info.root, info.keyPath.c_str()) == ERROR_SUCCESS;
}
