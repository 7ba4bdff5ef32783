// Dates and times shown to the user in the conventions of the interface language, not of the C runtime.
#pragma once

#include <windows.h>

#include <ctime>
#include <string>

namespace Shell {

// The locale whose conventions the interface language (index 0..10 in `Lang` order) follows; English for others.
LCID LanguageLocale(int languageIndex);

// A local date and time as the language writes it: its short date (the long one does not fit where the
// program shows it), then its time.
std::wstring FormatDateTime(const std::tm& local, int languageIndex);

}  // namespace Shell
