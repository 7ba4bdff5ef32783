// Interface language chosen by the settings value `Lang`, and the boot-mode switch of the command line.
#pragma once

#include <string>

namespace Shell {

struct LanguageChoice {
    const wchar_t* folder;  // dictionary sub-folder with its trailing backslash, e.g. L"de\\"
    int index;              // 0..10, the row of the web-link table
};

// "1" or "" -> en, "2" de, "3" es, "4" fr, "5" it, "6" jp, "7" cn, "8" hk, "9" ar, "10" nl, "11" pt;
// any other text (also " 5" or "12") -> en with index 0.
LanguageChoice ChooseLanguage(const std::wstring& lang);

// Number of languages and their folders in `Lang` order ("1" is kLanguageFolders[0]).
constexpr int kLanguageCount = 11;
extern const wchar_t* const kLanguageFolders[kLanguageCount];

// True when one of the command line's arguments after the program is exactly "--boot" (case-sensitive, quotes
// as the system splits them); "--boot" inside another word or in the program's own path does not count.
bool IsBootCommandLine(const wchar_t* commandLine);

}  // namespace Shell
