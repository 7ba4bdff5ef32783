#include "Grennow/IEAddons.h"

#include <Common.h>

#include "RegistryPlaces.h"

using namespace Grennow;

void CIEPluginMan::GetPlugins(std::vector<IEPluginInfo>& list) const
{
    CSBStringArrayW names;
    if (!SBRegGetSubKeysW(HKEY_LOCAL_MACHINE, kBrowserHelperObjectsKey, names)) return;
    for (int i = 0; i < names.GetCount(); ++i) {
        const std::wstring clsid = names.GetString(i);
        IEPluginInfo info;
        info.root = HKEY_LOCAL_MACHINE;
        info.keyPath = EntryKey(kBrowserHelperObjectsKey, clsid);
        ReadClassName(clsid, info.name);
        if (ReadClassFile(clsid, info.file)) ReadVersionTexts(info.file, info.company, info.version, info.description);
        list.push_back(info);
    }
}

bool CIEPluginMan::RemovePlugin(const IEPluginInfo& info) const
{
    if (info.root != HKEY_LOCAL_MACHINE || !IsEntryKeyOf(info.keyPath, kBrowserHelperObjectsKey)) return false;
    return SBRegDeleteTreeW(info.root, info.keyPath.c_str()) == ERROR_SUCCESS;
}
