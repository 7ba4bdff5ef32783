// The program's web links, one row per interface language.
#pragma once

#include <string>

namespace Shell {

enum class WebLink { Help, Support, HelpSource, ChangeDpi };

// The link of the column in the row of the language index (0..10; anything else uses row 0).
std::wstring GetWebLink(int languageIndex, WebLink column);

}  // namespace Shell
