// What the downloads accept from a web answer: only http and https addresses, and file names without any folder
// part; and how texts travel in a query.
#pragma once

#include <string>

namespace UrlRules {

// True for an "http://" or "https://" address (any case) with a host.
bool IsHttpUrl(const std::wstring& url);
// True for a plain file name: not empty, no folder, drive or stream part ("\", "/", ":"), no wildcard or reserved
// character (* ? " < > |), no control character, not "." or "..", not ending in a dot or blank, not a device
// name (CON, NUL, COM1, ... with any extension), shorter than MAX_PATH.
bool IsBareFileName(const std::wstring& name);
// A bare file name that ends in ".dll" (any case).
bool IsBareDllName(const std::wstring& name);
// The text as a query value: UTF-8, every byte except letters, digits and - _ . ~ ! * ' ( ) as %XX, so "&", "=",
// "#", "%" and blanks cannot change the query. Plain names stay byte for byte the same.
std::string PercentEncode(const std::wstring& value);

}  // namespace UrlRules
