#include "Grennow/IEAddons.h"

#include <Common.h>

#include "RegistryPlaces.h"

using namespace Grennow;

namespace {

// The lists this class builds, in listing order.
const struct Group {
    HKEY root;
    const wchar_t* key;
    bool namedByClass;  // entries are CLSIDs, shown by their class's name
} kGroups[] = {
    {HKEY_CURRENT_USER, kMenuExtKey, false},
    {HKEY_CURRENT_USER, kExplorerBarsKey, true},
    {HKEY_LOCAL_MACHINE, kExplorerBarsKey, true},
};

// The group the record belongs to: its key is an entry of the group (or, for a value, the group key itself).
bool BelongsToAGroup(const IEBhoInfo& info)
{
    for (const Group& group : kGroups) {
        if (info.root != group.root) continue;
        if (IsEntryKeyOf(info.keyPath, group.key)) return true;
        if (info.isValue && IsGroupKey(info.keyPath, group.key)) return true;
    }
    return false;
}

}  // namespace

void CIEBhoMan::GetBhoList(std::vector<IEBhoInfo>& list) const
{
    CSBStringArrayW names;
    for (const Group& group : kGroups) {
        // Each group reads its own names: a group whose key is missing lists nothing.
        if (!SBRegGetSubKeysW(group.root, group.key, names)) continue;
        for (int i = 0; i < names.GetCount(); ++i) {
            const std::wstring name = names.GetString(i);
            IEBhoInfo info;
            info.root = group.root;
            info.keyPath = EntryKey(group.key, name);
            if (!group.namedByClass)
                info.displayName = name;
            else if (!ReadClassName(name, info.displayName))
                info.displayName = L"Invalid Class ID";
            list.push_back(info);
        }
    }
}

bool CIEBhoMan::RemoveBho(const IEBhoInfo& info) const
{
    if (!BelongsToAGroup(info)) return false;
    if (info.isValue) {
        if (info.valueName.empty()) return false;
        return SBRegDeleteValueW(info.root, info.keyPath.c_str(), info.valueName.c_str()) == ERROR_SUCCESS;
    }
    return SBRegDeleteTreeW(info.root, info.keyPath.c_str()) == ERROR_SUCCESS;
}
