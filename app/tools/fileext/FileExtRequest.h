// The request of the file-extension lookup: the system text the service expects and the address of the query.
#pragma once

#include <string>

namespace fileext {

// "win7", "vista" or "xp" for the kinds of GetOSVersion (anything unknown counts as XP), then "64" or "32".
std::wstring SystemText(int osKind, bool is64);
// The text without blanks, tabs and line breaks at either end.
std::wstring Trim(const std::wstring& text);
// <base>fileexapi.php?os=<os>&verify=<token>&action=fileext&file=<extension, percent-encoded as UTF-8>.
// The base is the service address and ends in "/".
std::wstring LookupUrl(const std::wstring& base, const std::wstring& systemText, const std::wstring& extension);

}  // namespace fileext
