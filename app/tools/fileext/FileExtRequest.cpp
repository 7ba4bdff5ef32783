#include "FileExtRequest.h"

#include <Common.h>

#include "UrlRules.h"

namespace fileext {

std::wstring SystemText(int osKind, bool is64)
{
    const wchar_t* name = osKind == SB_OS_WIN7 ? L"win7" : osKind == SB_OS_VISTA ? L"vista" : L"xp";
    return std::wstring(name) + (is64 ? L"64" : L"32");
}

std::wstring Trim(const std::wstring& text)
{
    const wchar_t* blanks = L" \t\r\n";
    const size_t first = text.find_first_not_of(blanks);
    if (first == std::wstring::npos) return std::wstring();
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

std::wstring LookupUrl(const std::wstring& base, const std::wstring& systemText, const std::wstring& extension)
{
    // Typed text travels encoded: "&", "#", "%" and blanks cannot add query keys or cut the address short.
    const std::string file = UrlRules::PercentEncode(extension);
    return base + L"fileexapi.php?os=" + systemText + L"&verify=qk*Rwmt51907&action=fileext&file=" +
           std::wstring(file.begin(), file.end());
}

}  // namespace fileext
