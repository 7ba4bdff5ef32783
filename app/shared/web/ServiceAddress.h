// The address of the maker's web service (the DLL search and the file-extension lookup): the setting
// Settings::ServiceUrl() when it holds an http or https address, else the default.
// The result always ends in "/", so endpoint names are appended to it.
#pragma once

#include <string>

namespace ServiceAddress {

extern const wchar_t kDefault[];  // the service's public address

std::wstring BaseUrl();
// The rule behind BaseUrl: the setting's text, trimmed, when it is an http(s) address; else the default.
std::wstring BaseUrlFrom(const std::wstring& setting);

}  // namespace ServiceAddress
