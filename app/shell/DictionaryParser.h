// Parser of the dictionary's INI text: one section per key, its text under the entry "1".
#pragma once

#include <map>
#include <string>

namespace nsVendrel {

using DictionaryTexts = std::map<std::wstring, std::wstring>;

// Prepares the raw file content (UTF-16 units, possibly with a BOM) for parsing: cuts at the first NUL,
// drops trailing line ends and blanks (the texts are trimmed anyway, so nothing real is cut) and glues lines
// together by removing every CR LF pair.
std::wstring PrepareDictionaryText(const wchar_t* units, size_t count);

// Parses prepared text. A text is everything after "1=" up to the next '[', trimmed; other entries and the
// DICTIONARY_MAINID section store nothing; a later section with the same key replaces an earlier one.
DictionaryTexts ParseDictionaryText(const std::wstring& text);

// The file's id as the profile functions read it from raw file content: the entry MAINID of the section
// DICTIONARY_MAINID (names in any case, blanks and quotes around the value dropped) as a decimal number, 0 when
// the value is not one. `missing` when there is no such entry, its value is empty or the content is not UTF-16
// with a BOM (the profile functions then read it as another encoding and find no such entry either).
unsigned long DictionaryMainId(const wchar_t* units, size_t count, unsigned long missing);

// Trims the blanks the dictionary trims (space, tab, CR, LF, VT, FF) on both sides.
std::wstring TrimDictionaryBlanks(const std::wstring& s);

}  // namespace nsVendrel
