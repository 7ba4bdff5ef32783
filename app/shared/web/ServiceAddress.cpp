#include "ServiceAddress.h"

#include "Settings.h"
#include "UrlRules.h"

namespace ServiceAddress {

const wchar_t kDefault[] = L"http://service.quorvel.com/";

std::wstring BaseUrlFrom(const std::wstring& setting)
{
    const size_t first = setting.find_first_not_of(L" \t\r\n");
    const size_t last = setting.find_last_not_of(L" \t\r\n");
    std::wstring url = first == std::wstring::npos ? std::wstring() : setting.substr(first, last - first + 1);
    if (!UrlRules::IsHttpUrl(url)) url = kDefault;
    if (url.back() != L'/') url += L'/';
    return url;
}

std::wstring BaseUrl() { return BaseUrlFrom(Settings::ServiceUrl()); }

}  // namespace ServiceAddress
