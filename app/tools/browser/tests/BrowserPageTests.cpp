// The browser page in a window of the test program, driven as a user would against a seeded registry: the tabs
// switch and reload, every tab shows the stored state, and its buttons write it (or say that they could not).
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <Grennow.h>

#include <algorithm>
#include <string>
#include <vector>

#include "BrowserSeed.h"
#include "Dictionary.h"
#include "PageFactory.h"
#include "QTestSupport.h"
#include "RegistrySeed.h"
#include "ScanTestHost.h"
#include "YarrowbyGrennowageDlg.h"

using namespace browser_test;
using namespace grennow_test;
using namespace scan_test;
using shell_test::ListCellText;
using shell_test::MessageBoxDriver;
using shell_test::PumpUntil;
using shell_test::WindowText;

namespace {

enum { kGeneral = 52007, kPlugin = 52008, kActiveX = 52009, kSecurity = 52010, kBho = 52011, kRestore = 52012 };
const int kTabButtons[] = {52001, 52002, 52003, 52004, 52005, 52006};

std::wstring T(const wchar_t* key) { return std::wstring(nsVendrel::TranslateCode(key).GetString()); }

bool Shown(HWND wnd) { return (::GetWindowLongW(wnd, GWL_STYLE) & WS_VISIBLE) != 0; }

std::vector<std::wstring> Column(HWND list, int column)
{
    std::vector<std::wstring> texts;
    for (int row = 0; row < ListCount(list); ++row) texts.push_back(ListCellText(list, row, column));
    return texts;
}

int RowOf(HWND list, int column, const std::wstring& text)
{
    for (int row = 0; row < ListCount(list); ++row)
        if (ListCellText(list, row, column) == text) return row;
    return -1;
}

// Ticks (or clears) a row's check box with a click on it, as a user does.
void ClickCheckBox(HWND list, int row)
{
    RECT bounds = {};
    bounds.left = LVIR_BOUNDS;
    ::SendMessageW(list, LVM_GETITEMRECT, WPARAM(row), LPARAM(&bounds));
    RECT icon = {};
    icon.left = LVIR_ICON;
    ::SendMessageW(list, LVM_GETITEMRECT, WPARAM(row), LPARAM(&icon));
    // The check box is the state image, left of the (empty) icon.
    ClickAt(list, icon.left - 8 > bounds.left ? icon.left - 8 : bounds.left + 8, (bounds.top + bounds.bottom) / 2);
}

void Tick(HWND list, int row)
{
    ASSERT_GE(row, 0);
    ASSERT_EQ(0, ListCheck(list, row)) << "row " << row << " is ticked already";
    ClickCheckBox(list, row);
    ASSERT_EQ(1, ListCheck(list, row)) << "the click did not tick row " << row;
}

std::vector<int> Checks(HWND list)
{
    std::vector<int> checks;
    for (int row = 0; row < ListCount(list); ++row) checks.push_back(ListCheck(list, row));
    return checks;
}

// Sets a check box of the page and clicks it the way the button reports the click.
void SetCheckBox(HWND parent, int id, bool on)
{
    ::SendDlgItemMessageW(parent, id, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
    ClickButton(parent, id);
}

class BrowserPage : public ::testing::Test {
protected:
    static void SetUpTestSuite() { nsVendrel::LoadDictionarys((shell_test::ProgramFolder() + L"dic\\en").c_str()); }

    void SetUp() override
    {
        SeedBrowser();
        container.Create(IDD_FUNCTION_PAGE, host.Wnd());
        container.MoveWindow(186, 126, 737, 536);
        page = dynamic_cast<CYarrowbyGrennowageDlg*>(Shell::CreatePageObject(PAGE_ID_TOOLS_BROWSER));
        ASSERT_NE(nullptr, page) << "the browser page is not what the factory makes for its id";
        CFunctionDlgContainer::AddPage(page, &container, PAGE_ID_TOOLS_BROWSER);
        container.ShowPage(PAGE_ID_TOOLS_BROWSER);
    }

    void TearDown() override
    {
        if (page) {
            page->DestroyWindow();
            delete page;
        }
        container.DestroyWindow();
    }

    HWND Tab(int pageId)
    {
        CFunctionDlg* tab = page->GetSubPage(pageId);
        return tab ? tab->GetSafeHwnd() : nullptr;
    }
    // Clicks a tab button; returns the tab page it shows.
    HWND Open(int pageId)
    {
        ClickButton(page->GetSafeHwnd(), pageId - 6);
        return Tab(pageId);
    }
    bool Selected(int buttonId) { return page->GetTabButton(UINT(buttonId))->m_bSelected != FALSE; }
    std::wstring Text(HWND parent, int id) { return WindowText(::GetDlgItem(parent, id)); }
    void SetText(HWND parent, int id, const wchar_t* text) { ::SetWindowTextW(::GetDlgItem(parent, id), text); }

    // The one tab shown and the one button selected.
    void ExpectOnly(int pageId)
    {
        for (int button : kTabButtons) {
            EXPECT_EQ(button + 6 == pageId, Selected(button)) << button;
            EXPECT_EQ(button + 6 == pageId, Shown(Tab(button + 6))) << button + 6;
        }
    }

    HostMainWindow host;
    CFunctionDlgContainer container;
    CYarrowbyGrennowageDlg* page = nullptr;
};

TEST_F(BrowserPage, ShowingThePageBringsBackTheGeneralTab)
{
    ExpectOnly(kGeneral);
    for (int button : kTabButtons) {
        ASSERT_NE(nullptr, Tab(button + 6));
        EXPECT_EQ(T((std::wstring(L"IDS_SYS_TOOLS_IE_TAB_BTN_") + (button == 52001   ? L"GENERAL"
                                                                   : button == 52002 ? L"PLUGIN"
                                                                   : button == 52003 ? L"ACTIVEX"
                                                                   : button == 52004 ? L"SECURITY"
                                                                   : button == 52005 ? L"BHO"
                                                                                     : L"RESTORE"))
                        .c_str()),
                  WindowText(::GetDlgItem(page->GetSafeHwnd(), button)));
    }
    Open(kRestore);
    ExpectOnly(kRestore);
    container.ShowPage(PAGE_ID_TOOLS_HOME);
    EXPECT_FALSE(Shown(page->GetSafeHwnd()));
    container.ShowPage(PAGE_ID_TOOLS_BROWSER);
    ExpectOnly(kGeneral);

    // Clicking the selected tab reads its settings again.
    HWND general = Tab(kGeneral);
    EXPECT_EQ(L"http://start.example.test/", Text(general, 52017));
    SetString(HKEY_CURRENT_USER, kMainKey, L"Start Page", L"http://changed.example.test/");
    EXPECT_EQ(L"http://start.example.test/", Text(general, 52017));
    Open(kGeneral);
    ExpectOnly(kGeneral);
    EXPECT_EQ(L"http://changed.example.test/", Text(general, 52017));
}

TEST_F(BrowserPage, GeneralTabShowsAndAppliesEachSetting)
{
    HWND general = Tab(kGeneral);
    EXPECT_EQ(L"http://start.example.test/", Text(general, 52017));
    EXPECT_EQ(L"C:\\Downloads", Text(general, 52023));
    EXPECT_EQ(L"C:\\Saved pages", Text(general, 52029));
    EXPECT_EQ(L"C:\\Pictures", Text(general, 52035));

    // Use blank fills the edit only; leaving the tab without Apply stores nothing.
    ClickButton(general, 52015);
    EXPECT_EQ(L"about:blank", Text(general, 52017));
    EXPECT_EQ(L"http://start.example.test/", Read(HKEY_CURRENT_USER, kMainKey, L"Start Page").text);
    Open(kSecurity);
    Open(kGeneral);
    EXPECT_EQ(L"http://start.example.test/", Text(general, 52017));

    MessageBoxDriver boxes;
    ClickButton(general, 52015);
    ClickButton(general, 52018);
    EXPECT_EQ(L"about:blank", Read(HKEY_CURRENT_USER, kMainKey, L"Start Page").text);

    // Each folder's Apply writes its own value only.
    const struct {
        int edit, apply;
        const std::wstring* key;
        const wchar_t* value;
    } folders[] = {{52023, 52024, &kBrowserKey, L"Download Directory"},
                   {52029, 52030, &kMainKey, L"Save Directory"},
                   {52035, 52036, &kShellFoldersKey, L"My Pictures"}};
    for (const auto& f : folders) {
        SCOPED_TRACE(f.edit);
        std::vector<std::wstring> before;
        for (const auto& other : folders) before.push_back(Read(HKEY_CURRENT_USER, *other.key, other.value).text);
        const std::wstring text = L"D:\\chosen \\" + std::wstring(f.value);
        SetText(general, f.edit, text.c_str());
        ClickButton(general, f.apply);
        for (size_t i = 0; i < 3; ++i)
            EXPECT_EQ(&folders[i] == &f ? text : before[i],
                      Read(HKEY_CURRENT_USER, *folders[i].key, folders[i].value).text);
    }
    EXPECT_TRUE(boxes.Texts().empty()) << "Apply shows no message when it worked";
}

TEST_F(BrowserPage, ARefusedApplySaysSoAndStoresNothing)
{
    HWND general = Tab(kGeneral);
    SetText(general, 52035, L"E:\\refused");
    MessageBoxDriver boxes;
    {
        WriteDenied deny(HKEY_CURRENT_USER, kShellFoldersKey);
        if (!deny.Enforced()) GTEST_SKIP() << "the registry did not enforce the denying access list";
        ClickButton(general, 52036);
    }
    EXPECT_EQ(L"C:\\Pictures", Read(HKEY_CURRENT_USER, kShellFoldersKey, L"My Pictures").text);
    ASSERT_TRUE(PumpUntil([&] { return boxes.Texts().size() == 1; }));
    EXPECT_EQ(T(L"IDS_SYS_TOOLS_IE_MSG_SAVE_FAILED"), boxes.Texts()[0]);
}

TEST_F(BrowserPage, BrowseOpensAtTheEditsFolderAndPutsTheChoiceIntoTheEdit)
{
    // The picker opens at the folder the edit names; cancelling it leaves the edit alone.
    HWND general = Tab(kGeneral);
    std::wstring opened;
    {
        shell_test::FolderBrowserDriver driver([&](HWND browser) {
            DWORD start = ::GetTickCount();
            while (opened != L"Downloads" && ::GetTickCount() - start < 5000)
                opened = shell_test::FolderBrowserDriver::SelectedName(browser);
            shell_test::FolderBrowserDriver::Press(browser, IDCANCEL);
        });
        ClickButton(general, 52021);
        EXPECT_TRUE(driver.Found());
    }
    EXPECT_EQ(L"Downloads", opened);
    EXPECT_EQ(L"C:\\Downloads", Text(general, 52023));

    // A chosen folder replaces the edit's text, to be stored by Apply only.
    SetText(general, 52035, L"");
    {
        shell_test::FolderBrowserDriver driver(
            [](HWND browser) { shell_test::FolderBrowserDriver::Choose(browser, L"C:\\Saved pages"); });
        ClickButton(general, 52033);
        EXPECT_TRUE(driver.Found());
    }
    EXPECT_EQ(L"C:\\Saved pages", Text(general, 52035));
    EXPECT_EQ(L"C:\\Pictures", Read(HKEY_CURRENT_USER, kShellFoldersKey, L"My Pictures").text) << "not yet applied";
}

TEST_F(BrowserPage, SecurityTabShowsEachProtectionAndFlipsIt)
{
    HWND security = Open(kSecurity);
    const std::wstring on = T(L"IDS_SYS_TOOLS_IE_SECURITY_CLEAR_TEXT_STATIC_MSG_ENABLED");
    const std::wstring off = T(L"IDS_SYS_TOOLS_IE_SECURITY_CLEAR_TEXT_STATIC_MSG_DISABLED");
    const std::wstring turnOn = T(L"IDS_SYS_TOOLS_IE_SECURITY_TEXT_ENABLE");
    const std::wstring turnOff = T(L"IDS_SYS_TOOLS_IE_SECURITY_TEXT_DISENABLE");
    // Seeded: the cache is kept, sounds play, pictures are off.
    EXPECT_EQ(off, Text(security, 52308));
    EXPECT_EQ(turnOn, Text(security, 52309));
    EXPECT_EQ(off, Text(security, 52313));
    EXPECT_EQ(turnOn, Text(security, 52314));
    EXPECT_EQ(on, Text(security, 52318));
    EXPECT_EQ(turnOff, Text(security, 52319));

    MessageBoxDriver boxes;
    ClickButton(security, 52314);  // sounds off
    EXPECT_EQ(L"no", Read(HKEY_CURRENT_USER, kMainKey, L"Play_Background_Sounds").text);
    EXPECT_EQ(on, Text(security, 52313));
    EXPECT_EQ(turnOff, Text(security, 52314));
    ClickButton(security, 52319);  // pictures on again
    EXPECT_EQ(L"yes", Read(HKEY_CURRENT_USER, kMainKey, L"Display Inline Images").text);
    EXPECT_EQ(off, Text(security, 52318));
    ClickButton(security, 52309);  // clear the cache on exit
    EXPECT_EQ(0u, Read(HKEY_CURRENT_USER, kCacheKey, L"Persistent").number);
    EXPECT_EQ(on, Text(security, 52308));
    EXPECT_EQ(turnOff, Text(security, 52309));
    EXPECT_TRUE(boxes.Texts().empty());

    // Clearing the typed addresses reports it.
    ClickButton(security, 52304);
    ASSERT_TRUE(PumpUntil([&] { return boxes.Texts().size() == 1; }));
    EXPECT_EQ(T(L"IDS_SYS_TOOLS_IE_SECURITY_OPERATION_COMPLETE"), boxes.Texts()[0]);
    EXPECT_FALSE(Read(HKEY_CURRENT_USER, kTypedUrlsKey, L"url1").present);
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, kTypedUrlsKey));

    // A switch the registry refuses says so, and the tab shows the state still stored.
    {
        WriteDenied deny(HKEY_CURRENT_USER, kMainKey);
        if (!deny.Enforced()) GTEST_SKIP() << "the registry did not enforce the denying access list";
        ClickButton(security, 52314);
    }
    ASSERT_TRUE(PumpUntil([&] { return boxes.Texts().size() == 2; }));
    EXPECT_EQ(T(L"IDS_SYS_TOOLS_IE_MSG_SAVE_FAILED"), boxes.Texts()[1]);
    EXPECT_EQ(on, Text(security, 52313));
    EXPECT_EQ(L"no", Read(HKEY_CURRENT_USER, kMainKey, L"Play_Background_Sounds").text);
}

TEST_F(BrowserPage, ActiveXTabListsBlocksUnblocksAndDeletes)
{
    HWND tab = Open(kActiveX);
    HWND list = ::GetDlgItem(tab, 52202);
    std::vector<IEActiveXInfo> library;
    CIEActiveXMan().GetActiveXList(library);
    ASSERT_EQ(2u, library.size());
    // The rows show the library's list from its end.
    EXPECT_EQ((std::vector<std::wstring>{library[1].name, library[0].name}), Column(list, 0));
    const int versioned = RowOf(list, 0, L"Versioned Viewer"), plain = RowOf(list, 0, L"");
    ASSERT_GE(versioned, 0);
    ASSERT_GE(plain, 0);
    EXPECT_EQ(T(L"IDS_SYS_TOOLS_IE_ACTIVEX_STATE_BLOCKED"), ListCellText(list, versioned, 1));
    EXPECT_EQ(T(L"IDS_SYS_TOOLS_IE_ACTIVEX_STATE_UNBLOCKED"), ListCellText(list, plain, 1));
    EXPECT_EQ(L"Common test library", ListCellText(list, versioned, 2));
    EXPECT_EQ(L"1.2.3.4 (test)", ListCellText(list, versioned, 3));
    EXPECT_EQ(L"Quorvel Test Makers", ListCellText(list, versioned, 4));

    MessageBoxDriver boxes;
    // Blocking with only a blocked control ticked does nothing.
    Tick(list, versioned);
    ClickButton(tab, 52204);  // a message box would be answered before the click returns
    EXPECT_TRUE(boxes.Texts().empty());
    EXPECT_EQ(0x401u, Read(HKEY_LOCAL_MACHINE, kCompatKey + L"\\" + kVersioned, L"Compatibility Flags").number);

    // Unblock keeps the other flag; the list shows the new state at once.
    ClickButton(tab, 52203);
    ASSERT_TRUE(PumpUntil([&] { return boxes.Texts().size() == 1; }));
    EXPECT_EQ(T(L"IDS_SYS_TOOLS_IE_ACTIVEX_MSG_UNBLOCK_COMPLETE"), boxes.Texts()[0]);
    EXPECT_EQ(0x1u, Read(HKEY_LOCAL_MACHINE, kCompatKey + L"\\" + kVersioned, L"Compatibility Flags").number);
    EXPECT_EQ(T(L"IDS_SYS_TOOLS_IE_ACTIVEX_STATE_UNBLOCKED"),
              ListCellText(list, RowOf(list, 0, L"Versioned Viewer"), 1));

    Tick(list, RowOf(list, 0, L""));
    ClickButton(tab, 52204);
    ASSERT_TRUE(PumpUntil([&] { return boxes.Texts().size() == 2; }));
    EXPECT_EQ(T(L"IDS_SYS_TOOLS_IE_ACTIVEX_MSG_BLOCK_COMPLETE"), boxes.Texts()[1]);
    EXPECT_EQ(0x400u, Read(HKEY_LOCAL_MACHINE, kCompatKey + L"\\" + kPlain, L"Compatibility Flags").number);
    EXPECT_EQ(T(L"IDS_SYS_TOOLS_IE_ACTIVEX_STATE_BLOCKED"), ListCellText(list, RowOf(list, 0, L""), 1));

    // Delete: nothing ticked asks for a choice; a ticked control goes.
    ClickButton(tab, 52205);
    ASSERT_TRUE(PumpUntil([&] { return boxes.Texts().size() == 3; }));
    EXPECT_EQ(T(L"IDS_SYS_TOOLS_IE_ACTIVEX_MSG_PLEASE_SELECT_ITEM"), boxes.Texts()[2]);
    Tick(list, RowOf(list, 0, L"Versioned Viewer"));
    ClickButton(tab, 52205);
    ASSERT_TRUE(PumpUntil([&] { return boxes.Texts().size() == 4; }));
    EXPECT_EQ(T(L"IDS_SYS_TOOLS_IE_ACTIVEX_MSG_DELETE_COMPLETE"), boxes.Texts()[3]);
    EXPECT_EQ((std::vector<std::wstring>{kPlain}), SubKeys(HKEY_LOCAL_MACHINE, kUnitsKey));
    EXPECT_EQ((std::vector<std::wstring>{L""}), Column(list, 0));
}

TEST_F(BrowserPage, PluginTabDeletesOnlyTickedHelpers)
{
    HWND tab = Open(kPlugin);
    HWND list = ::GetDlgItem(tab, 52102);
    std::vector<IEPluginInfo> library;
    CIEPluginMan().GetPlugins(library);
    ASSERT_EQ(2u, library.size());
    EXPECT_EQ((std::vector<std::wstring>{library[1].name, library[0].name}), Column(list, 0));
    EXPECT_EQ((std::vector<std::wstring>{L"BHO", L"BHO"}), Column(list, 1));

    MessageBoxDriver boxes;
    ClickButton(tab, 52103);
    ASSERT_TRUE(PumpUntil([&] { return boxes.Texts().size() == 1; }));
    EXPECT_EQ(T(L"IDS_SYS_TOOLS_IE_PLUGIN_NO_ITEM_DELETED"), boxes.Texts()[0]);
    EXPECT_EQ(2u, SubKeys(HKEY_LOCAL_MACHINE, kHelpersKey).size());

    Tick(list, RowOf(list, 0, L"Toolbar Helper"));
    ClickButton(tab, 52103);
    ASSERT_TRUE(PumpUntil([&] { return boxes.Texts().size() == 2; }));
    EXPECT_EQ(T(L"IDS_SYS_TOOLS_IE_PLUGIN_DELETE_OK"), boxes.Texts()[1]);
    EXPECT_EQ((std::vector<std::wstring>{kHelperB}), SubKeys(HKEY_LOCAL_MACHINE, kHelpersKey));
    EXPECT_EQ((std::vector<std::wstring>{L""}), Column(list, 0));
}

TEST_F(BrowserPage, ExtensionsTabSelectsAllAndRemovesUntilNoneIsLeft)
{
    HWND tab = Open(kBho);
    HWND list = ::GetDlgItem(tab, 52401);
    std::vector<IEBhoInfo> library;
    CIEBhoMan().GetBhoList(library);
    ASSERT_EQ(3u, library.size());
    std::vector<std::wstring> reversed;
    for (auto it = library.rbegin(); it != library.rend(); ++it) reversed.push_back(it->displayName);
    EXPECT_EQ(reversed, Column(list, 0));
    EXPECT_EQ(kBarsKey + L"\\" + kBar, ListCellText(list, RowOf(list, 0, L"Invalid Class ID"), 1));

    SetCheckBox(tab, 52402, true);
    EXPECT_EQ((std::vector<int>{1, 1, 1}), Checks(list));
    SetCheckBox(tab, 52402, false);
    EXPECT_EQ((std::vector<int>{0, 0, 0}), Checks(list));

    MessageBoxDriver boxes;
    Tick(list, RowOf(list, 0, L"E&xport Page"));
    ClickButton(tab, 52403);
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kMenuExtKey + L"\\E&xport Page"));
    EXPECT_EQ(2, ListCount(list));
    SetCheckBox(tab, 52402, true);
    ClickButton(tab, 52403);
    ASSERT_TRUE(PumpUntil([&] { return boxes.Texts().size() == 1; }));
    EXPECT_EQ(L"No BHO Found.", boxes.Texts()[0]);
    EXPECT_EQ(0, ListCount(list));
    EXPECT_TRUE(SubKeys(HKEY_CURRENT_USER, kMenuExtKey).empty());
    EXPECT_TRUE(SubKeys(HKEY_CURRENT_USER, kBarsKey).empty());
}

TEST_F(BrowserPage, RestoreTabComparesAndRestoresTickedRows)
{
    SetString(HKEY_CURRENT_USER, kMainKey, L"Search Page", L"http://hijacked.example.test/");
    SetString(HKEY_LOCAL_MACHINE, kAboutKey, L"PostNotCached", L"http://hijacked.example.test/post");
    HWND tab = Open(kRestore);
    HWND list = ::GetDlgItem(tab, 52501);
    ASSERT_EQ(20, ListCount(list));
    EXPECT_EQ(L"Post Not Cached", ListCellText(list, 0, 0));
    EXPECT_EQ(L"Start Page", ListCellText(list, 19, 0));
    CIERestore restore;
    for (int row = 0; row < 20; ++row)
        EXPECT_EQ(restore.GetItem(19 - row).defaultValue, ListCellText(list, row, 2)) << row;
    const int search = RowOf(list, 0, L"Search Page"), post = 0, blank = RowOf(list, 0, L"Blank Page");
    EXPECT_EQ(L"http://hijacked.example.test/", ListCellText(list, search, 1));
    EXPECT_EQ(L"http://hijacked.example.test/post", ListCellText(list, post, 1));
    EXPECT_EQ(L"", ListCellText(list, blank, 1)) << "a missing value";

    // Nothing ticked: nothing is written.
    MessageBoxDriver boxes;
    ClickButton(tab, 52503);
    EXPECT_FALSE(Read(HKEY_LOCAL_MACHINE, kAboutKey, L"blank").present);
    EXPECT_EQ(L"http://hijacked.example.test/", Read(HKEY_CURRENT_USER, kMainKey, L"Search Page").text);

    Tick(list, search);
    Tick(list, blank);
    ClickButton(tab, 52503);
    EXPECT_EQ(restore.GetItem(1).defaultValue, Read(HKEY_CURRENT_USER, kMainKey, L"Search Page").text);
    EXPECT_EQ(L"res://mshtml.dll/blank.htm", Read(HKEY_LOCAL_MACHINE, kAboutKey, L"blank").text);
    EXPECT_EQ(restore.GetItem(1).defaultValue, ListCellText(list, RowOf(list, 0, L"Search Page"), 1));
    EXPECT_EQ(L"res://mshtml.dll/blank.htm", ListCellText(list, RowOf(list, 0, L"Blank Page"), 1));
    EXPECT_EQ(L"http://hijacked.example.test/post", ListCellText(list, 0, 1)) << "not ticked";
    EXPECT_TRUE(boxes.Texts().empty());

    // Select all, with a row the registry refuses: the others are restored and the failure is told.
    SetCheckBox(tab, 52502, true);
    EXPECT_EQ(std::vector<int>(20, 1), Checks(list));
    {
        WriteDenied deny(HKEY_LOCAL_MACHINE, kAboutKey);
        if (!deny.Enforced()) GTEST_SKIP() << "the registry did not enforce the denying access list";
        ClickButton(tab, 52503);
    }
    ASSERT_TRUE(PumpUntil([&] { return boxes.Texts().size() == 1; }));
    EXPECT_EQ(T(L"IDS_SYS_TOOLS_IE_MSG_SOME_FAILED"), boxes.Texts()[0]);
    EXPECT_EQ(L"http://hijacked.example.test/post", ListCellText(list, 0, 1));
    EXPECT_EQ(restore.GetItem(0).defaultValue, ListCellText(list, 19, 1));
    EXPECT_TRUE(restore.IsDefaultSetting(12));
}

}  // namespace
