#include "Grennow/IERestore.h"

#include <Common.h>

#include "RegistryPlaces.h"

using namespace Grennow;

namespace {

const wchar_t kSearchKey[] = L"Software\\Microsoft\\Internet Explorer\\Search";
const wchar_t kAboutUrlsKey[] = L"Software\\Microsoft\\Internet Explorer\\AboutURLs";

const wchar_t kStartPage[] = L"http://www.msn.com/";
const wchar_t kSearchPage[] = L"http://www.microsoft.com/isapi/redir.dll?prd=ie&ar=iesearch";
const wchar_t kDefaultPage[] = L"http://www.microsoft.com/isapi/redir.dll?prd=ie&pver=6&ar=msnhome";
const wchar_t kLocalPage[] = L"%SystemRoot%\\system32\\blank.htm";
const wchar_t kSearchBar[] = L"http://home.microsoft.com/search/lobby/search.asp";
const wchar_t kDefaultSearch[] = L"http://home.microsoft.com/search/search.asp";
const wchar_t kErrorPage[] = L"res://shdoclc.dll/navcancl.htm";

const struct Row {
    const wchar_t* displayName;
    HKEY root;
    const wchar_t* key;
    const wchar_t* value;
    const wchar_t* defaultValue;
} kRows[] = {
    {L"Start Page", HKEY_CURRENT_USER, kMainKey, L"Start Page", kStartPage},
    {L"Search Page", HKEY_CURRENT_USER, kMainKey, L"Search Page", kSearchPage},
    {L"Default Page Url", HKEY_CURRENT_USER, kMainKey, L"Default_Page_URL", kDefaultPage},
    {L"Local Page", HKEY_CURRENT_USER, kMainKey, L"Local Page", kLocalPage},
    {L"Search Bar", HKEY_CURRENT_USER, kMainKey, L"Search Bar", kSearchBar},
    {L"Default Search Url", HKEY_CURRENT_USER, kMainKey, L"Default_Search_URL", kDefaultSearch},
    {L"Start Page(All Users)", HKEY_LOCAL_MACHINE, kMainKey, L"Start Page", kStartPage},
    {L"Search Page(All Users)", HKEY_LOCAL_MACHINE, kMainKey, L"Search Page", kSearchPage},
    {L"Default Page Url(All Users)", HKEY_LOCAL_MACHINE, kMainKey, L"Default_Page_URL", kDefaultPage},
    {L"Local Page(All Users)", HKEY_LOCAL_MACHINE, kMainKey, L"Local Page", kLocalPage},
    {L"Search Bar(All Users)", HKEY_LOCAL_MACHINE, kMainKey, L"Search Bar", kSearchBar},
    {L"Default Search Url(All Users)", HKEY_LOCAL_MACHINE, kMainKey, L"Default_Search_URL", kDefaultSearch},
    {L"Customize Search", HKEY_LOCAL_MACHINE, kSearchKey, L"CustomizeSearch",
     L"http://ie.search.msn.com/{SUB_RFC1766}/srchasst/srchcust.htm"},
    {L"Search Assistant", HKEY_LOCAL_MACHINE, kSearchKey, L"SearchAssistant",
     L"http://ie.search.msn.com/{SUB_RFC1766}/srchasst/srchasst.htm"},
    {L"Blank Page", HKEY_LOCAL_MACHINE, kAboutUrlsKey, L"blank", L"res://mshtml.dll/blank.htm"},
    {L"Desktop Navigation Failure", HKEY_LOCAL_MACHINE, kAboutUrlsKey, L"DesktopItemNavigationFailure", kErrorPage},
    {L"Navigation Cancelled", HKEY_LOCAL_MACHINE, kAboutUrlsKey, L"NavigationCanceled", kErrorPage},
    {L"Navigation Failure", HKEY_LOCAL_MACHINE, kAboutUrlsKey, L"NavigationFailure", kErrorPage},
    {L"Offline Information", HKEY_LOCAL_MACHINE, kAboutUrlsKey, L"OfflineInformation",
     L"res://shdoclc.dll/offcancl.htm"},
    {L"Post Not Cached", HKEY_LOCAL_MACHINE, kAboutUrlsKey, L"PostNotCached", L"res://mshtml.dll/repost.htm"},
};

// A row that names no registry place: what an index outside the table gets.
const IERestoreInfo& EmptyRow()
{
    static const IERestoreInfo empty;
    return empty;
}

bool NamesAPlace(const IERestoreInfo& item) { return item.root != nullptr && !item.keyPath.empty(); }

}  // namespace

CIERestore::CIERestore()
{
    for (const Row& row : kRows) {
        IERestoreInfo item;
        item.displayName = row.displayName;
        item.keyPath = row.key;
        item.valueName = row.value;
        item.defaultValue = row.defaultValue;
        item.root = row.root;
        m_items.push_back(item);
    }
}

CIERestore::~CIERestore() = default;
CIERestore::CIERestore(const CIERestore& other) = default;
CIERestore& CIERestore::operator=(const CIERestore& other) = default;

unsigned CIERestore::GetItemCount() const { return static_cast<unsigned>(m_items.size()); }

const IERestoreInfo& CIERestore::GetItem(int index) const
{
    if (index < 0 || static_cast<size_t>(index) >= m_items.size()) return EmptyRow();
    return m_items[static_cast<size_t>(index)];
}

bool CIERestore::GetCurrentSetting(int index, std::wstring& out) const
{
    return GetCurrentSetting(GetItem(index), out);
}

bool CIERestore::GetCurrentSetting(const IERestoreInfo& item, std::wstring& out) const
{
    if (!NamesAPlace(item)) {
        out.clear();
        return false;
    }
    return SBRegGetStringValueNoExpandW(item.root, item.keyPath.c_str(), item.valueName.c_str(), out);
}

bool CIERestore::IsDefaultSetting(int index) const { return IsDefaultSetting(GetItem(index)); }

bool CIERestore::IsDefaultSetting(const IERestoreInfo& item) const
{
    std::wstring current;
    return GetCurrentSetting(item, current) && current == item.defaultValue;
}

bool CIERestore::SetToDefault(int index) const { return SetToDefault(GetItem(index)); }

bool CIERestore::SetToDefault(const IERestoreInfo& item) const
{
    if (!NamesAPlace(item)) return false;
    return SBRegSetStringValueExpandableW(item.root, item.keyPath.c_str(), item.valueName.c_str(),
                                          item.defaultValue.c_str()) == ERROR_SUCCESS;
}
