// Texts of one registry scan result as the result lists show them.
#pragma once

#include <string>

#include "RegistryData.h"

// "HKCR", "HKCU", "HKLM", "HKU" or "HKEY_CURRENT_CONFIG" (empty for another root), a backslash and the subkey.
std::wstring GetRootKeyShortName(const CRegistryData::REG_DATA& data);

// Dictionary key of a REG_SCAN_REASON; null for a code without a text.
const wchar_t* RegReasonKey(int reason);

// First line: the translated reason, a blank and the description; second line: the registry path.
struct RegResultLines {
    std::wstring title;
    std::wstring path;
};
RegResultLines MakeRegResultLines(const CRegistryData::SCAN_RESULT& result, const std::wstring& reasonText);

// The item text of a list row: both lines, each followed by "\n".
std::wstring JoinRegResultLines(const RegResultLines& lines);

// Splits an item text at its first "\n" (only when it is past position 0): title before, rest after.
void SplitRegResultText(const std::wstring& text, std::wstring& title, std::wstring& rest);
