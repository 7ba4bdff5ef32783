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

// The text as a caption the system draws with mnemonics (a group box, a plain static) shows it: every "&" stays
// an "&" ("Plug & Play"), none underlines the letter after it.
inline std::wstring LiteralAmpersands(const std::wstring& text)
{
    std::wstring out;
    for (wchar_t c : text) {
        out += c;
        if (c == L'&') out += L'&';
    }
    return out;
}
