#include "Tessik/RegAutoStartupItemMan.h"

#include <Common.h>

#include "Tessik/TweakView.h"
#include "TweakRegistry.h"

template class tessik::Singleton<tessik::CRegAutoStartupItemMan>;

namespace tessik {

namespace {

void AppendRunValues(HKEY root, REGSAM view, std::vector<CRegAutoStartupItemMan::StartupItem>& items)
{
    CSBStringArrayW names;
    if (!SBRegGetValuesW(root, kRunKeyPath, names, view)) return;
    for (int i = 0; i < names.GetCount(); ++i) {
        CRegAutoStartupItemMan::StartupItem item;
        item.name = names.GetString(i);
        if (!SBRegGetStringValueW(root, kRunKeyPath, item.name.c_str(), item.command, view)) continue;
        item.keyPath = kRunKeyPath;
        item.root = root;
        items.push_back(item);
    }
}

}  // namespace

CRegAutoStartupItemMan::CRegAutoStartupItemMan() = default;
CRegAutoStartupItemMan::~CRegAutoStartupItemMan() = default;

bool CRegAutoStartupItemMan::GetStartupItems(std::vector<StartupItem>& items)
{
    return GetStartupItems(items, IsWow64());
}

bool CRegAutoStartupItemMan::GetStartupItems(std::vector<StartupItem>& items, bool wow64)
{
    AppendRunValues(HKEY_CURRENT_USER, TweakView(HKEY_CURRENT_USER, wow64), items);
    AppendRunValues(HKEY_LOCAL_MACHINE, TweakView(HKEY_LOCAL_MACHINE, wow64), items);
    return true;
}

bool CRegAutoStartupItemMan::RemoveStartupItems(std::vector<StartupItem>& items)
{
    for (const StartupItem& item : items)
        SBRegDeleteValueW(item.root, item.keyPath.c_str(), item.name.c_str(), ViewFor(item.root));
    return !items.empty();
}

}  // namespace tessik
