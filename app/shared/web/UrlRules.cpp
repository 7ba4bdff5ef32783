#include "UrlRules.h"

#include <windows.h>

#include "QPathText.h"

namespace UrlRules {

namespace {

// CON, PRN, AUX, NUL, COM1-9 and LPT1-9 name devices, with any extension.
bool IsDeviceName(const std::wstring& base)
{
    static const wchar_t* const plain[] = {L"CON", L"PRN", L"AUX", L"NUL"};
    for (const wchar_t* device : plain)
        if (_wcsicmp(base.c_str(), device) == 0) return true;
    return base.size() == 4 && (_wcsnicmp(base.c_str(), L"COM", 3) == 0 || _wcsnicmp(base.c_str(), L"LPT", 3) == 0) &&
           base[3] >= L'1' && base[3] <= L'9';
}

}  // namespace

bool IsHttpUrl(const std::wstring& url)
{
    size_t hostStart = 0;
    if (qpath::StartsWithNoCase(url, L"http://"))
        hostStart = 7;
    else if (qpath::StartsWithNoCase(url, L"https://"))
        hostStart = 8;
    else
        return false;
    if (hostStart >= url.size()) return false;
    const wchar_t first = url[hostStart];
    if (first == L'/' || first == L'?' || first == L'#' || first == L':' || first == L'@') return false;
    for (wchar_t c : url)
        if (c <= 32 || c == 127) return false;  // blanks and control characters have no place in an address
    return true;
}

bool IsBareFileName(const std::wstring& name)
{
    if (name.empty() || name.size() >= MAX_PATH) return false;
    if (name == L"." || name == L"..") return false;
    for (wchar_t c : name) {
        if (c < 32 || c == L'\\' || c == L'/' || c == L':' || c == L'*' || c == L'?' || c == L'"' || c == L'<' ||
            c == L'>' || c == L'|')
            return false;
    }
    // Windows drops a trailing dot or blank, so such a name would land under another name.
    if (name.back() == L'.' || name.back() == L' ') return false;
    return !IsDeviceName(name.substr(0, name.find(L'.')));
}

bool IsBareDllName(const std::wstring& name)
{
    return IsBareFileName(name) && name.size() > 4 && qpath::EndsWithNoCase(name, L".dll");
}

std::string PercentEncode(const std::wstring& value)
{
    std::string utf8;
    if (!value.empty()) {
        const int n = ::WideCharToMultiByte(CP_UTF8, 0, value.data(), int(value.size()), nullptr, 0, nullptr, nullptr);
        utf8.resize(size_t(n > 0 ? n : 0));
        if (n > 0) ::WideCharToMultiByte(CP_UTF8, 0, value.data(), int(value.size()), &utf8[0], n, nullptr, nullptr);
    }
    static const char hex[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : utf8) {
        const bool keep = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
                          c == '_' || c == '.' || c == '~' || c == '!' || c == '*' || c == '\'' || c == '(' || c == ')';
        if (keep) {
            out += char(c);
        } else {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 15];
        }
    }
    return out;
}

}  // namespace UrlRules
