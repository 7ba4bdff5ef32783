#include "Grennow/IEAddons.h"

#include <ActiveXKillBit.h>
#include <Common.h>

#include "RegistryPlaces.h"

using namespace Grennow;

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
        info.blocked = qactivex::IsKillBitSet(info.clsid);
        if (ReadClassFile(info.clsid, info.file) && SBIsFileExistInSystemW(info.file.c_str()))
            ReadVersionTexts(info.file, info.company, info.version, info.description);
        list.push_back(info);
    }
}

bool CIEActiveXMan::BlockActiveX(const IEActiveXInfo& info) const { return qactivex::SetKillBit(info.clsid, true); }

bool CIEActiveXMan::UnblockActiveX(const IEActiveXInfo& info) const { return qactivex::SetKillBit(info.clsid, false); }

bool CIEActiveXMan::RemoveActiveX(const IEActiveXInfo& info) const
{
    if (info.root != HKEY_LOCAL_MACHINE || !IsEntryKeyOf(info.keyPath, kDistributionUnitsKey)) return false;
    return SBRegDeleteTreeW(info.root, info.keyPath.c_str()) == ERROR_SUCCESS;
}
