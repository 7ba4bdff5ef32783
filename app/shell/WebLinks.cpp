#include "WebLinks.h"

#include "Language.h"

namespace Shell {

namespace {

// One host per language row.
const wchar_t* const kHosts[kLanguageCount] = {
    L"http://www.quorvel.com/", L"http://de.quorvel.com/", L"http://es.quorvel.com/", L"http://fr.quorvel.com/",
    L"http://it.quorvel.com/",  L"http://jp.quorvel.com/", L"http://cn.quorvel.com/", L"http://hk.quorvel.com/",
    L"http://ar.quorvel.com/",  L"http://nl.quorvel.com/", L"http://pt.quorvel.com/",
};

const wchar_t* Path(WebLink column)
{
    switch (column) {
    case WebLink::Help: return L"help/";
    case WebLink::Support: return L"support.php";
    case WebLink::HelpSource: return L"help/source/_4.htm";
    case WebLink::ChangeDpi: return L"help/changedpi.htm";
    }
    return L"";
}

}  // namespace

std::wstring GetWebLink(int languageIndex, WebLink column)
{
    if (languageIndex < 0 || languageIndex >= kLanguageCount) languageIndex = 0;
    return std::wstring(kHosts[languageIndex]) + Path(column);
}

}  // namespace Shell
