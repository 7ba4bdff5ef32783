// Seeded registry entries of every scan category, each known to be reported or not.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "RegistryData.h"
#include "ScanKeys.h"

namespace bxtest {

struct FixtureEntry {
    const wchar_t* label;
    HKEY root;
    std::wstring subKey;     // as the engine reports it (trailing backslash)
    std::wstring valueName;  // empty: a key item
    bool reported;
    REG_SCAN_TYPE type;
    int reason;
    std::wstring detail;        // checked when not empty
    bool defaultValue = false;  // the item is the key's default value, not the key
};

// Key paths of the scan table.
using namespace bexlar;

// Seeds the entries of every category, with the tag in every name, and files in a new folder.
// Returns the table of expected outcomes.
std::vector<FixtureEntry> SeedCategoryFixtures(const std::wstring& tag);

// The HKCR keys the fixtures created (for snapshots), relative to HKCR.
std::vector<std::wstring> ClassesFixtureKeys(const std::wstring& tag);

}  // namespace bxtest
