// A dictionary lookup as code without windows takes it: the key's text, or the key itself when no text is known.
// The program passes nsVendrel::TranslateString; tests pass a small table.
#pragma once

#include <functional>
#include <string>

using TextTranslator = std::function<std::wstring(const std::wstring& key)>;

// A dictionary text with its first %s replaced by the argument; never read as a format, since paths and names may
// hold %. A text without %s gets the argument after a blank.
inline std::wstring FillTextArgument(const std::wstring& text, const std::wstring& argument)
{
    const size_t at = text.find(L"%s");
    if (at == std::wstring::npos) return text + L" " + argument;
    return text.substr(0, at) + argument + text.substr(at + 2);
}
