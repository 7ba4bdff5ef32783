// The twenty-row restore table: its rows, the comparison with the defaults, and restoring seeded values.
#include <gtest/gtest.h>

#include <Grennow.h>

#include <climits>

#include "RegistrySeed.h"

using namespace grennow_test;

namespace {

const std::wstring kMain = L"Software\\Microsoft\\Internet Explorer\\Main";
const std::wstring kSearch = L"Software\\Microsoft\\Internet Explorer\\Search";
const std::wstring kAbout = L"Software\\Microsoft\\Internet Explorer\\AboutURLs";

const struct Golden {
    const wchar_t* displayName;
    HKEY root;
    const std::wstring* key;
    const wchar_t* value;
    const wchar_t* defaultValue;
} kGolden[20] = {
    {L"Start Page", HKEY_CURRENT_USER, &kMain, L"Start Page", L"http://www.msn.com/"},
    {L"Search Page", HKEY_CURRENT_USER, &kMain, L"Search Page",
     L"http://www.microsoft.com/isapi/redir.dll?prd=ie&ar=iesearch"},
    {L"Default Page Url", HKEY_CURRENT_USER, &kMain, L"Default_Page_URL",
     L"http://www.microsoft.com/isapi/redir.dll?prd=ie&pver=6&ar=msnhome"},
    {L"Local Page", HKEY_CURRENT_USER, &kMain, L"Local Page", L"%SystemRoot%\\system32\\blank.htm"},
    {L"Search Bar", HKEY_CURRENT_USER, &kMain, L"Search Bar", L"http://home.microsoft.com/search/lobby/search.asp"},
    {L"Default Search Url", HKEY_CURRENT_USER, &kMain, L"Default_Search_URL",
     L"http://home.microsoft.com/search/search.asp"},
    {L"Start Page(All Users)", HKEY_LOCAL_MACHINE, &kMain, L"Start Page", L"http://www.msn.com/"},
    {L"Search Page(All Users)", HKEY_LOCAL_MACHINE, &kMain, L"Search Page",
     L"http://www.microsoft.com/isapi/redir.dll?prd=ie&ar=iesearch"},
    {L"Default Page Url(All Users)", HKEY_LOCAL_MACHINE, &kMain, L"Default_Page_URL",
     L"http://www.microsoft.com/isapi/redir.dll?prd=ie&pver=6&ar=msnhome"},
    {L"Local Page(All Users)", HKEY_LOCAL_MACHINE, &kMain, L"Local Page", L"%SystemRoot%\\system32\\blank.htm"},
    {L"Search Bar(All Users)", HKEY_LOCAL_MACHINE, &kMain, L"Search Bar",
     L"http://home.microsoft.com/search/lobby/search.asp"},
    {L"Default Search Url(All Users)", HKEY_LOCAL_MACHINE, &kMain, L"Default_Search_URL",
     L"http://home.microsoft.com/search/search.asp"},
    {L"Customize Search", HKEY_LOCAL_MACHINE, &kSearch, L"CustomizeSearch",
     L"http://ie.search.msn.com/{SUB_RFC1766}/srchasst/srchcust.htm"},
    {L"Search Assistant", HKEY_LOCAL_MACHINE, &kSearch, L"SearchAssistant",
     L"http://ie.search.msn.com/{SUB_RFC1766}/srchasst/srchasst.htm"},
    {L"Blank Page", HKEY_LOCAL_MACHINE, &kAbout, L"blank", L"res://mshtml.dll/blank.htm"},
    {L"Desktop Navigation Failure", HKEY_LOCAL_MACHINE, &kAbout, L"DesktopItemNavigationFailure",
     L"res://shdoclc.dll/navcancl.htm"},
    {L"Navigation Cancelled", HKEY_LOCAL_MACHINE, &kAbout, L"NavigationCanceled", L"res://shdoclc.dll/navcancl.htm"},
    {L"Navigation Failure", HKEY_LOCAL_MACHINE, &kAbout, L"NavigationFailure", L"res://shdoclc.dll/navcancl.htm"},
    {L"Offline Information", HKEY_LOCAL_MACHINE, &kAbout, L"OfflineInformation", L"res://shdoclc.dll/offcancl.htm"},
    {L"Post Not Cached", HKEY_LOCAL_MACHINE, &kAbout, L"PostNotCached", L"res://mshtml.dll/repost.htm"},
};

class Restore : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE})
            for (const std::wstring* key : {&kMain, &kSearch, &kAbout}) DeleteTree(root, *key);
    }
};

TEST_F(Restore, TheTableHoldsTheTwentyRowsInOrder)
{
    CIERestore restore;
    ASSERT_EQ(20u, restore.GetItemCount());
    for (int i = 0; i < 20; ++i) {
        SCOPED_TRACE(i);
        const IERestoreInfo& row = restore.GetItem(i);
        EXPECT_EQ(kGolden[i].displayName, row.displayName);
        EXPECT_EQ(kGolden[i].root, row.root);
        EXPECT_EQ(*kGolden[i].key, row.keyPath);
        EXPECT_EQ(kGolden[i].value, row.valueName);
        EXPECT_EQ(kGolden[i].defaultValue, row.defaultValue);
    }
    CIERestore copy(restore);
    CIERestore assigned;
    assigned = restore;
    EXPECT_EQ(restore.GetItem(19).displayName, copy.GetItem(19).displayName);
    EXPECT_EQ(restore.GetItem(0).defaultValue, assigned.GetItem(0).defaultValue);
}

TEST_F(Restore, IndexesOutsideTheTableAreRefused)
{
    CIERestore restore;
    for (int index : {-1, 20, 21, INT_MIN, INT_MAX}) {
        SCOPED_TRACE(index);
        const IERestoreInfo& row = restore.GetItem(index);
        EXPECT_EQ(nullptr, row.root);
        EXPECT_EQ(L"", row.keyPath);
        std::wstring current = L"left over";
        EXPECT_FALSE(restore.GetCurrentSetting(index, current));
        EXPECT_EQ(L"", current);
        EXPECT_FALSE(restore.IsDefaultSetting(index));
        EXPECT_FALSE(restore.SetToDefault(index));
    }
    // A record naming no place is refused the same way.
    IERestoreInfo nowhere;
    nowhere.root = HKEY_LOCAL_MACHINE;
    nowhere.valueName = L"Start Page";
    nowhere.defaultValue = L"http://x/";
    EXPECT_FALSE(restore.SetToDefault(nowhere));
    EXPECT_FALSE(Read(HKEY_LOCAL_MACHINE, L"", L"Start Page").present);
}

TEST_F(Restore, ComparesTheStoredTextExactly)
{
    CIERestore restore;
    const struct {
        const char* name;
        int row;
        const wchar_t* stored;  // null: missing
        DWORD type;
        bool isDefault;
    } cases[] = {
        {"missing", 0, nullptr, REG_SZ, false},
        {"default", 0, L"http://www.msn.com/", REG_SZ, true},
        {"other letter case", 0, L"http://www.MSN.com/", REG_SZ, false},
        {"longer", 0, L"http://www.msn.com/ ", REG_SZ, false},
        {"unexpanded, expandable", 3, L"%SystemRoot%\\system32\\blank.htm", REG_EXPAND_SZ, true},
        {"unexpanded, plain", 9, L"%SystemRoot%\\system32\\blank.htm", REG_SZ, true},
        {"drive letter", 3, L"C:\\windows\\system32\\blank.htm", REG_SZ, false},
        {"empty", 14, L"", REG_SZ, false},
        {"language tag kept", 13, L"http://ie.search.msn.com/{SUB_RFC1766}/srchasst/srchasst.htm", REG_SZ, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Golden& g = kGolden[c.row];
        DeleteTree(g.root, *g.key);
        if (c.stored) SetString(g.root, *g.key, g.value, c.stored, c.type);
        EXPECT_EQ(c.isDefault, restore.IsDefaultSetting(c.row));
        EXPECT_EQ(c.isDefault, restore.IsDefaultSetting(restore.GetItem(c.row)));
        std::wstring current;
        EXPECT_EQ(c.stored != nullptr, restore.GetCurrentSetting(c.row, current));
        EXPECT_EQ(c.stored ? c.stored : L"", current);
    }
}

// Seeded non-default values (and missing ones) are told apart from the defaults and restored; a value keeps its
// string type, a new one is a plain string, and the missing machine's "Local Page", which names %SystemRoot%,
// comes back expandable as the system's own is.
TEST_F(Restore, RestoresSeededValuesToTheirDefaults)
{
    SetString(HKEY_CURRENT_USER, kMain, L"Start Page", L"http://hijacked.test/");
    SetString(HKEY_CURRENT_USER, kMain, L"Local Page", L"C:\\x\\blank.htm", REG_EXPAND_SZ);
    SetString(HKEY_LOCAL_MACHINE, kMain, L"Search Page", L"http://hijacked.test/search");
    SetString(HKEY_LOCAL_MACHINE, kAbout, L"NavigationFailure", L"http://hijacked.test/fail");
    CIERestore restore;
    for (int i = 0; i < 20; ++i) EXPECT_FALSE(restore.IsDefaultSetting(i)) << i;

    for (int i = 0; i < 20; ++i) {
        SCOPED_TRACE(i);
        EXPECT_TRUE(restore.SetToDefault(i));
        EXPECT_TRUE(restore.IsDefaultSetting(i));
        Stored s = Read(kGolden[i].root, *kGolden[i].key, kGolden[i].value);
        EXPECT_EQ(kGolden[i].defaultValue, s.text);
        EXPECT_EQ(DWORD(i == 3 || i == 9 ? REG_EXPAND_SZ : REG_SZ), s.type);
    }
    // Other values of the same keys are left alone.
    SetString(HKEY_LOCAL_MACHINE, kAbout, L"Custom", L"mine");
    EXPECT_TRUE(restore.SetToDefault(14));
    EXPECT_EQ(L"mine", Read(HKEY_LOCAL_MACHINE, kAbout, L"Custom").text);
}

TEST_F(Restore, ARefusedWriteIsReportedAndLeavesTheValue)
{
    SetString(HKEY_LOCAL_MACHINE, kAbout, L"PostNotCached", L"http://hijacked.test/post");
    CIERestore restore;
    bool restored = true;
    {
        WriteDenied deny(HKEY_LOCAL_MACHINE, kAbout);
        if (!deny.Enforced()) GTEST_SKIP() << "the registry did not enforce the denying access list";
        restored = restore.SetToDefault(19);
    }
    EXPECT_FALSE(restored);
    EXPECT_FALSE(restore.IsDefaultSetting(19));
    EXPECT_EQ(L"http://hijacked.test/post", Read(HKEY_LOCAL_MACHINE, kAbout, L"PostNotCached").text);
}

}  // namespace
