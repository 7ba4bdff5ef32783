// The optimisation pages in this process against the test prefix's registry: the home page's buttons, the
// desktop, menu and other pages (load, reset, apply with the values written and read back, the failure text),
// and the network and fast pages.
#include <gtest/gtest.h>

#include <windows.h>

#include "QTestSupport.h"
#include "SysOpTestHost.h"
#include "SysOpDesktopOptDlg.h"
#include "SysOpFastOptDlg.h"
#include "SysOpHomeDlg.h"
#include "SysOpMenuOptDlg.h"
#include "SysOpNetworkOptDlg.h"
#include "SysOpOtherOptDlg.h"

using namespace sysop_test;
using shell_test::MessageBoxDriver;
using shell_test::PumpUntil;

namespace {

const wchar_t kLnk[] = L"lnkfile";
const wchar_t kExplorer[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer";
const wchar_t kAdvanced[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced";
const wchar_t kNewWindow[] = L"SOFTWARE\\Classes\\Directory\\shell\\NewWindow";
const wchar_t kWinlogon[] = L"Software\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon";
const wchar_t kPolicies[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";
const wchar_t kDesktop[] = L"Control Panel\\Desktop";

TEST(SysOpHome, EachButtonPostsItsPageAndNoneLeadsToTheFastPage)
{
    PageHost host;
    CSysOpHomeDlg* home = host.Add<CSysOpHomeDlg>(PAGE_ID_OPTIMIZE_HOME);
    const struct {
        int button, page;
    } table[] = {{21000, PAGE_ID_OPTIMIZE_MENU},    {21001, PAGE_ID_OPTIMIZE_DESKTOP},
                 {21002, PAGE_ID_OPTIMIZE_NETWORK}, {21003, PAGE_ID_OPTIMIZE_SERVICE},
                 {21004, PAGE_ID_OPTIMIZE_STARTUP}, {21005, PAGE_ID_OPTIMIZE_OTHER}};
    for (const auto& row : table) {
        host.Switches().clear();
        ASSERT_NE(nullptr, ::GetDlgItem(home->GetSafeHwnd(), row.button)) << row.button;
        Click(home->GetSafeHwnd(), row.button);
        EXPECT_TRUE(host.Switches().empty()) << "posted, not sent";
        ASSERT_TRUE(PumpUntil([&] { return !host.Switches().empty(); }));
        EXPECT_EQ(WPARAM(row.page), host.Switches().back()) << row.button;
    }
    EXPECT_EQ(nullptr, ::GetDlgItem(home->GetSafeHwnd(), 21006));
    EXPECT_EQ(0, CSysOpHomeDlg::PageOfButton(21006));
    EXPECT_EQ(0, CSysOpHomeDlg::PageOfButton(41002));
}

TEST(SysOpDesktop, ShowsTheRegistryStateAndFollowsOutsideChanges)
{
    SetText(HKEY_CLASSES_ROOT, kLnk, L"IsShortcut", L"yes");
    SetBinary(HKEY_CURRENT_USER, kExplorer, L"link", {0, 0, 0, 0});
    DeleteTree(HKEY_LOCAL_MACHINE, kNewWindow);
    SetDword(HKEY_CURRENT_USER, kAdvanced, L"EnableBalloonTips", 0);
    DeleteValue(HKEY_CURRENT_USER, kAdvanced, L"DisableThumbnailCache");
    SetDword(HKEY_LOCAL_MACHINE, kWinlogon, L"AutoRestartShell", 1);

    PageHost host;
    CSysOpDesktopOptDlg* page = host.Add<CSysOpDesktopOptDlg>(PAGE_ID_OPTIMIZE_DESKTOP);
    host.Show(PAGE_ID_OPTIMIZE_DESKTOP);
    EXPECT_FALSE(page->IsChecked(23003));
    EXPECT_TRUE(page->IsChecked(23004));
    EXPECT_FALSE(page->IsChecked(23005));
    EXPECT_TRUE(page->IsChecked(23006));   // inverted: balloon tips off
    EXPECT_FALSE(page->IsChecked(23007));  // inverted: thumbnails cached
    EXPECT_TRUE(page->IsChecked(23008));
    // The box of row 23006 carries the description key, as the page was designed.
    EXPECT_EQ(L"IDS_SYS_OP_DESKTOP_DESCRIPTION_DISABLE_BALLON_TIPS", ControlText(page, 23006));

    DeleteValue(HKEY_CLASSES_ROOT, kLnk, L"IsShortcut");
    host.Show(PAGE_ID_OPTIMIZE_DESKTOP);
    EXPECT_TRUE(page->IsChecked(23003));

    // Reset throws away a change that was not applied.
    Toggle(page->GetSafeHwnd(), 23003);
    EXPECT_FALSE(page->IsChecked(23003));
    Click(page->GetSafeHwnd(), CSysOpDesktopOptDlg::IDC_RESET);
    EXPECT_TRUE(page->IsChecked(23003));
}

TEST(SysOpDesktop, ApplyWritesEverySettingAndSaysSo)
{
    PageHost host;
    CSysOpDesktopOptDlg* page = host.Add<CSysOpDesktopOptDlg>(PAGE_ID_OPTIMIZE_DESKTOP);
    host.Show(PAGE_ID_OPTIMIZE_DESKTOP);
    page->SetChecked(23003, true);
    page->SetChecked(23004, false);
    page->SetChecked(23005, true);
    page->SetChecked(23006, false);
    page->SetChecked(23007, true);
    page->SetChecked(23008, false);
    MessageBoxDriver boxes;
    Click(page->GetSafeHwnd(), CSysOpDesktopOptDlg::IDC_APPLY);
    ASSERT_TRUE(PumpUntil([&] { return !boxes.Texts().empty(); }));
    EXPECT_EQ(L"IDS_SYS_OP_DESKTOP_MSG_SET_COMPLETE", boxes.Texts()[0]);

    EXPECT_FALSE(ReadRaw(HKEY_CLASSES_ROOT, kLnk, L"IsShortcut").exists);
    EXPECT_EQ((std::vector<BYTE>{0x11, 0, 0, 0}), ReadRaw(HKEY_CURRENT_USER, kExplorer, L"link").data);
    EXPECT_EQ(L"explorer.exe", ReadRaw(HKEY_LOCAL_MACHINE, std::wstring(kNewWindow) + L"\\command", nullptr).Text());
    EXPECT_EQ(1u, ReadRaw(HKEY_CURRENT_USER, kAdvanced, L"EnableBalloonTips").Dword());
    EXPECT_EQ(1u, ReadRaw(HKEY_CURRENT_USER, kAdvanced, L"DisableThumbnailCache").Dword());
    EXPECT_EQ(0u, ReadRaw(HKEY_LOCAL_MACHINE, kWinlogon, L"AutoRestartShell").Dword());

    // A page made afresh (as after a restart) shows what was applied.
    PageHost again;
    CSysOpDesktopOptDlg* second = again.Add<CSysOpDesktopOptDlg>(PAGE_ID_OPTIMIZE_DESKTOP);
    again.Show(PAGE_ID_OPTIMIZE_DESKTOP);
    for (int id : {23003, 23005, 23007}) EXPECT_TRUE(second->IsChecked(id)) << id;
    for (int id : {23004, 23006, 23008}) EXPECT_FALSE(second->IsChecked(id)) << id;
}

TEST(SysOpDesktop, ASettingThatDidNotTakeIsNamed)
{
    // A key that denies writing its values: the shell arrow cannot be restored.
    SetText(HKEY_CLASSES_ROOT, kLnk, L"IsShortcut", L"yes");
    PageHost host;
    CSysOpDesktopOptDlg* page = host.Add<CSysOpDesktopOptDlg>(PAGE_ID_OPTIMIZE_DESKTOP);
    host.Show(PAGE_ID_OPTIMIZE_DESKTOP);
    page->SetChecked(23003, true);
    {
        ReadOnlyKey locked(HKEY_CLASSES_ROOT, kLnk);
        if (!locked.Enforced()) GTEST_SKIP() << "Wine does not enforce the key's security here";
        MessageBoxDriver boxes;
        Click(page->GetSafeHwnd(), CSysOpDesktopOptDlg::IDC_APPLY);
        ASSERT_TRUE(PumpUntil([&] { return !boxes.Texts().empty(); }));
        const std::wstring text = boxes.Texts()[0];
        EXPECT_EQ(0u, text.find(L"IDS_SYS_OP_DESKTOP_MSG_SET_FAILED")) << text;
        EXPECT_NE(std::wstring::npos, text.find(L"IDS_SYS_OP_DESKTOP_CHKBOX_REMOVE_SHORTCUT_ARROW")) << text;
        EXPECT_EQ(std::wstring::npos, text.find(L"RESTART_EXPLORER")) << text;
    }
}

TEST(SysOpMenu, ApplyWritesTheInvertedRowsAndTheDelay)
{
    PageHost host;
    CSysOpMenuOptDlg* page = host.Add<CSysOpMenuOptDlg>(PAGE_ID_OPTIMIZE_MENU);
    host.Show(PAGE_ID_OPTIMIZE_MENU);
    const struct {
        bool on;
        DWORD showRecent, noHistory;
        const wchar_t* delay;
    } cases[] = {{true, 0, 1, L"0"}, {false, 1, 0, L"400"}};
    for (const auto& c : cases) {
        for (int id : {22002, 22004, 22005}) page->SetChecked(id, c.on);
        MessageBoxDriver boxes;
        Click(page->GetSafeHwnd(), CSysOpMenuOptDlg::IDC_APPLY);
        ASSERT_TRUE(PumpUntil([&] { return !boxes.Texts().empty(); }));
        EXPECT_EQ(L"IDS_SYS_OP_START_MENU_MSG_SET_COMPLETE", boxes.Texts()[0]);
        EXPECT_EQ(c.showRecent, ReadRaw(HKEY_CURRENT_USER, kAdvanced, L"Start_ShowRecentDocs").Dword());
        EXPECT_EQ(c.noHistory, ReadRaw(HKEY_LOCAL_MACHINE, kPolicies, L"NoRecentDocsHistory").Dword());
        EXPECT_EQ(c.delay, ReadRaw(HKEY_CURRENT_USER, kDesktop, L"MenuShowDelay").Text());
        host.Show(PAGE_ID_OPTIMIZE_MENU);
        for (int id : {22002, 22004, 22005}) EXPECT_EQ(c.on, page->IsChecked(id)) << id;
    }
}

TEST(SysOpOther, AccountFieldsFollowTheLogonBoxAndApplyStoresOrRemovesThePassword)
{
    SetText(HKEY_LOCAL_MACHINE, kWinlogon, L"AutoAdminLogon", L"0");
    DeleteValue(HKEY_LOCAL_MACHINE, kWinlogon, L"DefaultPassword");
    PageHost host;
    CSysOpOtherOptDlg* page = host.Add<CSysOpOtherOptDlg>(PAGE_ID_OPTIMIZE_OTHER);
    host.Show(PAGE_ID_OPTIMIZE_OTHER);
    HWND user = ::GetDlgItem(page->GetSafeHwnd(), CSysOpOtherOptDlg::IDC_USER);
    HWND password = ::GetDlgItem(page->GetSafeHwnd(), CSysOpOtherOptDlg::IDC_PASSWORD);
    EXPECT_FALSE(page->IsChecked(CSysOpOtherOptDlg::IDC_AUTO_LOGON));
    EXPECT_FALSE(::IsWindowEnabled(user));
    EXPECT_FALSE(::IsWindowEnabled(password));
    EXPECT_EQ(L"", shell_test::WindowText(user));
    EXPECT_TRUE(::GetWindowLongW(password, GWL_STYLE) & ES_PASSWORD);

    Toggle(page->GetSafeHwnd(), CSysOpOtherOptDlg::IDC_AUTO_LOGON);
    EXPECT_TRUE(::IsWindowEnabled(user));
    EXPECT_TRUE(::IsWindowEnabled(password));
    ::SetWindowTextW(user, L"u");
    ::SetWindowTextW(password, L"p");
    {
        MessageBoxDriver boxes;
        Click(page->GetSafeHwnd(), CSysOpOtherOptDlg::IDC_APPLY);
        ASSERT_TRUE(PumpUntil([&] { return !boxes.Texts().empty(); }));
        EXPECT_EQ(L"IDS_SYS_OP_OTHER_TEXT_OPTIMIZE_COMPLETED", boxes.Texts()[0]);
    }
    EXPECT_EQ(L"1", ReadRaw(HKEY_LOCAL_MACHINE, kWinlogon, L"AutoAdminLogon").Text());
    EXPECT_EQ(L"u", ReadRaw(HKEY_LOCAL_MACHINE, kWinlogon, L"DefaultUserName").Text());
    EXPECT_EQ(L"p", ReadRaw(HKEY_LOCAL_MACHINE, kWinlogon, L"DefaultPassword").Text());
    host.Show(PAGE_ID_OPTIMIZE_OTHER);
    EXPECT_EQ(L"u", shell_test::WindowText(user));
    EXPECT_TRUE(::IsWindowEnabled(user));

    Toggle(page->GetSafeHwnd(), CSysOpOtherOptDlg::IDC_AUTO_LOGON);
    EXPECT_FALSE(::IsWindowEnabled(user));
    {
        MessageBoxDriver boxes;
        Click(page->GetSafeHwnd(), CSysOpOtherOptDlg::IDC_APPLY);
        ASSERT_TRUE(PumpUntil([&] { return !boxes.Texts().empty(); }));
    }
    EXPECT_EQ(L"0", ReadRaw(HKEY_LOCAL_MACHINE, kWinlogon, L"AutoAdminLogon").Text());
    EXPECT_FALSE(ReadRaw(HKEY_LOCAL_MACHINE, kWinlogon, L"DefaultPassword").exists);
    EXPECT_EQ(L"u", ReadRaw(HKEY_LOCAL_MACHINE, kWinlogon, L"DefaultUserName").Text());
}

TEST(SysOpOther, SwitchesRoundTripThroughThePage)
{
    PageHost host;
    CSysOpOtherOptDlg* page = host.Add<CSysOpOtherOptDlg>(PAGE_ID_OPTIMIZE_OTHER);
    host.Show(PAGE_ID_OPTIMIZE_OTHER);
    for (bool on : {true, false}) {
        for (int id = 27001; id <= 27006; ++id) page->SetChecked(id, on);
        MessageBoxDriver boxes;
        Click(page->GetSafeHwnd(), CSysOpOtherOptDlg::IDC_APPLY);
        ASSERT_TRUE(PumpUntil([&] { return !boxes.Texts().empty(); }));
        EXPECT_EQ(L"IDS_SYS_OP_OTHER_TEXT_OPTIMIZE_COMPLETED", boxes.Texts()[0]) << on;
        EXPECT_EQ(
            on ? L"0" : L"2000",
            ReadRaw(HKEY_LOCAL_MACHINE, L"System\\CurrentControlSet\\Control", L"WaitToKillServiceTimeout").Text());
        for (int id = 27001; id <= 27006; ++id) page->SetChecked(id, !on);
        host.Show(PAGE_ID_OPTIMIZE_OTHER);
        for (int id = 27001; id <= 27006; ++id) EXPECT_EQ(on, page->IsChecked(id)) << id;
    }
}

TEST(SysOpNetwork, ThePromptAsksForATypeEveryOtherEntryCompletes)
{
    PageHost host;
    CSysOpNetworkOptDlg* page = host.Add<CSysOpNetworkOptDlg>(PAGE_ID_OPTIMIZE_NETWORK);
    host.Show(PAGE_ID_OPTIMIZE_NETWORK);
    ASSERT_EQ(13, page->Types().GetCount());
    EXPECT_EQ(0, page->Types().GetCurSel());
    const RegistrySnapshot before;
    for (int index : {0, 1, 12}) {
        page->Types().SetCurSel(index);
        MessageBoxDriver boxes;
        Click(page->GetSafeHwnd(), CSysOpNetworkOptDlg::IDC_OPTIMIZE);
        ASSERT_TRUE(PumpUntil([&] { return !boxes.Texts().empty(); }));
        EXPECT_EQ(index == 0 ? L"IDS_SYS_OP_NETWORK_MSG_SELECT_TYPE" : L"IDS_SYS_OP_NETWORK_MSG_OPTIMIZE_COMPLETE",
                  boxes.Texts()[0]);
    }
    EXPECT_TRUE(before == RegistrySnapshot());
}

TEST(SysOpFast, EachShowingAddsEighteenRows)
{
    PageHost host;
    CSysOpFastOptDlg* page = host.Add<CSysOpFastOptDlg>(PAGE_ID_OPTIMIZE_FAST);
    host.Show(PAGE_ID_OPTIMIZE_FAST);
    EXPECT_EQ(18, page->List().GetItemCount());
    EXPECT_EQ(L"This is a test", std::wstring(page->List().GetItemText(17, 0).GetString()));
    host.Show(PAGE_ID_OPTIMIZE_FAST);
    EXPECT_EQ(36, page->List().GetItemCount());
    MessageBoxDriver boxes;
    Click(page->GetSafeHwnd(), CSysOpFastOptDlg::IDC_OPTIMIZE);
    ASSERT_TRUE(PumpUntil([&] { return !boxes.Texts().empty(); }));
    EXPECT_EQ(L"Test", boxes.Texts()[0]);
}

}  // namespace
