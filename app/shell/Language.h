// Interface language chosen by the settings value `Lang`, and the boot-mode switch of the command line.
#pragma once

#include <string>

namespace Shell {

struct LanguageChoice {
    const wchar_t* folder; // dictionary sub-folder with its trailing backslash, e.g. L"de\\"
    int index;             // 0..10, the row of the web-link table
};

// "1" or "" -> en, "2" de, "3" es, "4" fr, "5" it, "6" jp, "7" cn, "8" hk, "9" ar, "10" nl, "11" pt;
// any other text (also " 5" or "12") -> en with index 0.
LanguageChoice ChooseLanguage(const std::wstring& lang);

// Number of languages and their folders in `Lang` order ("1" is kLanguageFolders[0]).
constexpr int kLanguageCount = 11;
extern const wchar_t* const kLanguageFolders[kLanguageCount];

// True when the command line holds "--boot" anywhere (case-sensitive, glued text counts).
bool IsBootCommandLine(const wchar_t* commandLine);

} // namespace Shell
