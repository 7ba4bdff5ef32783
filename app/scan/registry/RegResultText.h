// Texts of one registry scan result as the result lists show them.
#pragma once

#include <string>

#include "RegistryData.h"
#include "TextTranslator.h"

// "HKCR", "HKCU", "HKLM", "HKU" or "HKEY_CURRENT_CONFIG" (empty for another root), a backslash and the subkey.
std::wstring GetRootKeyShortName(const CRegistryData::REG_DATA& data);

// Dictionary key of a REG_SCAN_REASON; null for a code without a text.
const wchar_t* RegReasonKey(int reason);

// The result's description in the reader's language. The engine words some descriptions in its own language
// around a path or a name: those are rebuilt from a dictionary text; any other description goes through the
// dictionary as it is (and shows unchanged when it holds no text). Never empty: a result without a description
// is described by its value name, else by the last part of its key.
std::wstring RegResultDetailText(const CRegistryData::SCAN_RESULT& result, const TextTranslator& translate);

// First line: the translated reason, a blank and the description; second line: the registry path.
struct RegResultLines {
    std::wstring title;
    std::wstring path;
};
RegResultLines MakeRegResultLines(const CRegistryData::SCAN_RESULT& result, const TextTranslator& translate);

// The item text of a list row: both lines, each followed by "\n".
std::wstring JoinRegResultLines(const RegResultLines& lines);

// Splits an item text at its first "\n" (only when it is past position 0): title before, rest after.
void SplitRegResultText(const std::wstring& text, std::wstring& title, std::wstring& rest);
