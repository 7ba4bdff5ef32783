#include "DictionaryParser.h"

#include <cwctype>
#include <wchar.h>

#include "QPathText.h"

namespace nsVendrel {

namespace {

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n' || c == L'\v' || c == L'\f'; }

void Store(DictionaryTexts& texts, const std::wstring& section, const std::wstring& entry, const std::wstring& value)
{
    if (section.empty() || qpath::EqualsNoCase(section, L"DICTIONARY_MAINID") || !qpath::EqualsNoCase(entry, L"1"))
        return;
    texts[section] = TrimDictionaryBlanks(value);
}

}  // namespace

std::wstring TrimDictionaryBlanks(const std::wstring& s)
{
    size_t b = 0, e = s.size();
    while (b < e && IsBlank(s[b])) ++b;
    while (e > b && IsBlank(s[e - 1])) --e;
    return s.substr(b, e - b);
}

unsigned long DictionaryMainId(const wchar_t* units, size_t count, unsigned long missing)
{
    if (count == 0 || units[0] != L'\xFEFF') return missing;
    bool inMainSection = false;
    size_t pos = 1;
    while (pos < count && units[pos] != L'\0') {
        size_t end = pos;
        while (end < count && units[end] != L'\0' && units[end] != L'\r' && units[end] != L'\n') ++end;
        const std::wstring line = TrimDictionaryBlanks(std::wstring(units + pos, end - pos));
        pos = end;
        while (pos < count && (units[pos] == L'\r' || units[pos] == L'\n')) ++pos;

        if (!line.empty() && line[0] == L'[') {
            // Only the first section of the name is searched, as the profile functions search it.
            if (inMainSection) return missing;
            const size_t close = line.find(L']');
            const size_t length = close == std::wstring::npos ? std::wstring::npos : close - 1;
            inMainSection = qpath::EqualsNoCase(TrimDictionaryBlanks(line.substr(1, length)), L"DICTIONARY_MAINID");
            continue;
        }
        const size_t eq = line.find(L'=');
        if (!inMainSection || eq == std::wstring::npos) continue;
        if (!qpath::EqualsNoCase(TrimDictionaryBlanks(line.substr(0, eq)), L"MAINID")) continue;
        std::wstring value = TrimDictionaryBlanks(line.substr(eq + 1));
        if (value.size() >= 2 && (value.front() == L'"' || value.front() == L'\'') && value.back() == value.front())
            value = value.substr(1, value.size() - 2);
        if (value.empty()) return missing;
        return static_cast<unsigned long>(wcstol(value.c_str(), nullptr, 10));
    }
    return missing;
}

std::wstring PrepareDictionaryText(const wchar_t* units, size_t count)
{
    size_t n = 0;
    while (n < count && units[n] != L'\0') ++n;
    while (n > 0 && IsBlank(units[n - 1])) --n;
    std::wstring out;
    out.reserve(n);
    for (size_t i = 0; i < n; ++i) {
        if (units[i] == L'\r' && i + 1 < n && units[i + 1] == L'\n') {
            ++i;
            continue;
        }
        out.push_back(units[i]);
    }
    return out;
}

DictionaryTexts ParseDictionaryText(const std::wstring& text)
{
    DictionaryTexts texts;
    std::wstring section, entry = L"1";
    size_t pos = 0;
    for (;;) {
        size_t open = text.find(L'[', pos);
        if (open == std::wstring::npos) {
            Store(texts, section, entry, text.substr(pos));
            break;
        }
        Store(texts, section, entry, text.substr(pos, open - pos));
        pos = open + 1;
        size_t close = text.find(L']', pos);
        if (close == std::wstring::npos) break;
        section = TrimDictionaryBlanks(text.substr(pos, close - pos));
        pos = close + 1;
        size_t eq = text.find(L'=', pos);
        if (eq == std::wstring::npos) break;
        entry = TrimDictionaryBlanks(text.substr(pos, eq - pos));
        pos = eq + 1;
    }
    return texts;
}

}  // namespace nsVendrel
