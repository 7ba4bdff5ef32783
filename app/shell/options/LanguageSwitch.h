// Switching the interface language while the program runs: the setting `Lang` is stored, the dictionary of the
// new language is loaded, and every window of the interface thread is translated again at once. Captions of
// statics, buttons and dialogs, list and tab headers and the items of drop-down lists are found again by their
// text in the old dictionary; pages that compose texts of their own refresh them on LanguageChangedMessage().
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <vector>

namespace Shell {

// The `Lang` numbers (1..11, list order) of the languages whose folder dic\<lang> in the program folder
// (trailing backslash) holds a dictionary file.
std::vector<int> AvailableLanguages(const std::wstring& programFolder);
// The key of the language's name in the options window's list; null outside 1..11.
const wchar_t* LanguageNameKey(int number);

// Sent to every window of the interface thread after a switch; wParam is the new language index (0..10).
UINT LanguageChangedMessage();

// Loads the dictionary of language `number` (0 or unknown: English) from the program folder and translates
// every window of this thread again. False, with nothing changed, when that language has no dictionary file.
bool ApplyLanguage(int number, const std::wstring& programFolder);
// Stores `Lang` = number, then ApplyLanguage. ERROR_SUCCESS, or the error that kept it from being stored or
// applied (the interface stays as it was).
LONG SwitchLanguage(int number, const std::wstring& programFolder);

// Translates the window's descendants again from their current texts in the old dictionary.
void RetranslateDescendants(HWND root, const std::map<std::wstring, std::wstring>& oldKeysByText);

}  // namespace Shell
