#include "DllSearch.h"

#include <Common.h>
#include <QPathText.h>

#include "UrlRules.h"

namespace DllSearch {

const wchar_t kEndpoint[] = L"dllapi.php";
const wchar_t kVerifyToken[] = L"qk*Rwmt51907";
const wchar_t kSearchAction[] = L"searchdll";
const wchar_t kDefaultFileName[] = L"msvcr90.dll";

namespace {

std::wstring Widen(const std::string& ascii) { return std::wstring(ascii.begin(), ascii.end()); }

std::wstring Trim(const std::wstring& text)
{
    const wchar_t* blanks = L" \t\r\n\v\f";
    const size_t first = text.find_first_not_of(blanks);
    if (first == std::wstring::npos) return std::wstring();
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

}  // namespace

std::wstring OsText(int kind, bool is64)
{
    const wchar_t* name = kind == SB_OS_WIN7 ? L"win7" : kind == SB_OS_VISTA ? L"vista" : L"xp";
    return std::wstring(name) + (is64 ? L"64" : L"32");
}

std::wstring SearchUrl(const std::wstring& serviceBase, const std::wstring& os, const std::wstring& file)
{
    std::wstring url = serviceBase;
    if (url.empty() || url.back() != L'/') url += L'/';
    url += kEndpoint;
    url += L"?os=" + Widen(UrlRules::PercentEncode(os));
    url += L"&verify=" + Widen(UrlRules::PercentEncode(kVerifyToken));
    url += L"&action=" + Widen(UrlRules::PercentEncode(kSearchAction));
    url += L"&file=" + Widen(UrlRules::PercentEncode(file));
    return url;
}

std::vector<Row> ParseAnswer(const std::wstring& answer)
{
    std::vector<Row> rows;
    size_t start = 0;
    while (start <= answer.size()) {
        size_t end = answer.find(L'\n', start);
        if (end == std::wstring::npos) end = answer.size();
        const std::wstring line = Trim(answer.substr(start, end - start));
        start = end + 1;
        const size_t slash = line.rfind(L'/');
        if (slash == std::wstring::npos || !UrlRules::IsHttpUrl(line)) continue;
        const std::wstring name = Trim(line.substr(slash + 1));
        // "http://host" alone: the only slashes are the scheme's.
        if (name.empty() || slash < line.find(L"//") + 2) continue;
        rows.push_back(Row{name, line});
    }
    return rows;
}

std::vector<Row> RowsFor(const std::vector<Row>& rows, const std::wstring& asked)
{
    std::vector<Row> offered;
    const std::wstring name = Trim(asked);
    for (const Row& row : rows)
        if (qpath::EqualsNoCase(row.name, name)) offered.push_back(row);
    return offered;
}

int ProgressPosition(int base, ULONGLONG done, ULONGLONG total)
{
    if (total == 0) return base;
    const ULONGLONG part = done >= total ? 100 : done * 100 / total;
    return base + int(part);
}

}  // namespace DllSearch
