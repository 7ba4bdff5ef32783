#include "Tessik/RegAutoStartupItemMan.h"

#include <Common.h>

#include "StartupFolders.h"
#include "TweakRegistry.h"

template class common::Singleton<reg::CRegAutoStartupItemMan>;

using tessik::ViewFor;

namespace reg {

namespace {

void AppendRunValues(HKEY root, std::vector<CRegAutoStartupItemMan::StartupItem>& items)
{
    CSBStringArrayW names;
    if (!SBRegGetValuesW(root, kRunKeyPath, names, ViewFor(root))) return;
    for (int i = 0; i < names.GetCount(); ++i) {
        CRegAutoStartupItemMan::StartupItem item;
        item.name = names.GetString(i);
        if (!SBRegGetStringValueW(root, kRunKeyPath, item.name.c_str(), item.command, ViewFor(root))) continue;
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
    AppendRunValues(HKEY_CURRENT_USER, items);
    AppendRunValues(HKEY_LOCAL_MACHINE, items);
    tessik::AppendStartupFolderItems(items);
    return true;
}

bool CRegAutoStartupItemMan::RemoveStartupItems(std::vector<StartupItem>& items)
{
    for (const StartupItem& item : items) RemoveStartupItem(item);
    return !items.empty();
}

bool CRegAutoStartupItemMan::RemoveStartupItem(const StartupItem& item)
{
    if (item.IsFolderItem()) return tessik::RemoveStartupFile(item.filePath);
    // An empty name would be the key's default value, which no listing hands out.
    if (!item.root || item.keyPath.empty() || item.name.empty()) return false;
    LONG status = SBRegDeleteValueW(item.root, item.keyPath.c_str(), item.name.c_str(), ViewFor(item.root));
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

}  // namespace reg
