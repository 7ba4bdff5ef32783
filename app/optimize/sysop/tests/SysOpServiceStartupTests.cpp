// The service page (current settings, profiles, Apply on the stock services of the prefix) and the start-up page
// (Run values of both hives listed in the view of the process kind, details, removal).
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>
#include <shlobj.h>

#include "QTestSupport.h"
#include "ServiceTable.h"
#include "SysOpServiceOptDlg.h"
#include "SysOpStartupOptDlg.h"
#include "SysOpTestHost.h"

using namespace sysop_test;
using shell_test::MessageBoxDriver;
using shell_test::PumpUntil;

namespace {

const std::wstring kServices = L"System\\CurrentControlSet\\Services\\";

// The radio (0 automatic, 1 manual, 2 disabled) checked for service k, -1 for none.
int Choice(CSysOpServiceOptDlg* page, int k)
{
    int checked = -1;
    for (int i = 0; i < 3; ++i)
        if (page->IsRadioChecked(SysOp::kFirstServiceRadio + 3 * k + i)) checked = checked == -1 ? i : 99;
    return checked;
}

int IndexOf(const wchar_t* name)
{
    for (int k = 0; k < SysOp::kServiceCount; ++k)
        if (lstrcmpiW(SysOp::ServiceAt(k).name, name) == 0) return k;
    return -1;
}

TEST(SysOpServiceRules, RadioGroupsAndStartTypes)
{
    EXPECT_EQ(25200, SysOp::RadioGroupOf(25202));
    EXPECT_EQ(25203, SysOp::RadioGroupOf(25205));
    EXPECT_EQ(25248, SysOp::RadioGroupOf(25250));
    EXPECT_EQ(2, SysOp::StartTypeOf(true, true, false));  // the first checked wins
    EXPECT_EQ(4, SysOp::StartTypeOf(false, false, true));
    EXPECT_EQ(0, SysOp::StartTypeOf(false, false, false));
    EXPECT_EQ(-1, SysOp::RadioOfStartType(1));
    EXPECT_EQ(-1, SysOp::RadioOfStartType(5));
}

class ServicePage : public ::testing::Test {
protected:
    void SetUp() override
    {
        // The stock prefix's start types, set again so every test starts from them.
        const struct {
            const wchar_t* name;
            DWORD start;
        } stock[] = {{L"BITS", 3}, {L"LanmanServer", 4}, {L"PlugPlay", 2}, {L"Spooler", 3}, {L"wuauserv", 3}};
        for (const auto& s : stock) SetDword(HKEY_LOCAL_MACHINE, kServices + s.name, L"Start", s.start);
        page = host.Add<CSysOpServiceOptDlg>(PAGE_ID_OPTIMIZE_SERVICE);
        host.Show(PAGE_ID_OPTIMIZE_SERVICE);
    }
    DWORD Start(const wchar_t* name) { return ReadRaw(HKEY_LOCAL_MACHINE, kServices + name, L"Start").Dword(); }

    PageHost host;
    CSysOpServiceOptDlg* page = nullptr;
};

TEST_F(ServicePage, ShowsTheCurrentStartTypesAndNothingForAbsentServices)
{
    EXPECT_TRUE(page->IsRadioChecked(CSysOpServiceOptDlg::IDC_CURRENT));
    EXPECT_EQ(1, Choice(page, IndexOf(L"BITS")));
    EXPECT_EQ(2, Choice(page, IndexOf(L"lanmanserver")));
    EXPECT_EQ(0, Choice(page, IndexOf(L"PlugPlay")));
    EXPECT_EQ(1, Choice(page, IndexOf(L"Spooler")));
    EXPECT_EQ(1, Choice(page, IndexOf(L"wuauserv")));
    for (const wchar_t* absent : {L"Browser", L"RemoteRegistry", L"seclogon", L"Themes", L"CryptSvc"})
        EXPECT_EQ(-1, Choice(page, IndexOf(absent))) << absent;
}

TEST_F(ServicePage, HomeProfileAppliedWritesOnlyExistingServices)
{
    Click(page->GetSafeHwnd(), CSysOpServiceOptDlg::IDC_HOME);
    EXPECT_TRUE(page->IsRadioChecked(CSysOpServiceOptDlg::IDC_HOME));
    EXPECT_FALSE(page->IsRadioChecked(CSysOpServiceOptDlg::IDC_CURRENT));
    EXPECT_EQ(2, Choice(page, IndexOf(L"Browser")));
    EXPECT_EQ(3u, Start(L"BITS"));  // showing a profile changes nothing yet

    {
        MessageBoxDriver boxes;
        Click(page->GetSafeHwnd(), CSysOpServiceOptDlg::IDC_APPLY);
        ASSERT_TRUE(PumpUntil([&] { return !boxes.Texts().empty(); }));
        EXPECT_EQ(L"IDS_SYS_OP_SERVICE_MSG_SET_COMPLETE", boxes.Texts()[0]);  // confirmed as the other pages do
    }
    EXPECT_EQ(4u, Start(L"BITS"));
    EXPECT_EQ(3u, Start(L"LanmanServer"));
    EXPECT_EQ(2u, Start(L"wuauserv"));
    EXPECT_EQ(2u, Start(L"PlugPlay"));
    EXPECT_EQ(2u, Start(L"Spooler"));
    for (const wchar_t* absent : {L"Browser", L"RemoteRegistry", L"seclogon", L"LmHosts"})
        EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kServices + absent)) << absent;
}

TEST_F(ServicePage, AServiceRadioChangesOnlyItsGroupAndDriverTypesAreLeftAlone)
{
    const int bits = IndexOf(L"BITS"), spooler = IndexOf(L"Spooler");
    Click(page->GetSafeHwnd(), SysOp::kFirstServiceRadio + 3 * bits + 2);
    EXPECT_EQ(2, Choice(page, bits));
    EXPECT_EQ(1, Choice(page, spooler));
    EXPECT_TRUE(page->IsRadioChecked(CSysOpServiceOptDlg::IDC_CURRENT));

    SetDword(HKEY_LOCAL_MACHINE, kServices + L"Spooler", L"Start", 1);
    Click(page->GetSafeHwnd(), CSysOpServiceOptDlg::IDC_RESET);
    EXPECT_EQ(-1, Choice(page, spooler));
    EXPECT_EQ(1, Choice(page, bits));  // reset reloaded the stored type
    {
        MessageBoxDriver boxes;
        Click(page->GetSafeHwnd(), CSysOpServiceOptDlg::IDC_APPLY);
        ASSERT_TRUE(PumpUntil([&] { return !boxes.Texts().empty(); }));
    }
    EXPECT_EQ(1u, Start(L"Spooler"));
    SetDword(HKEY_LOCAL_MACHINE, kServices + L"Spooler", L"Start", 3);
}

// ---- start-up page

const wchar_t kRun[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// The machine's Run key in the view a 32-bit process gets by itself on 64-bit Windows (Wow6432Node).
const REGSAM kView32 = KEY_WOW64_32KEY;

class StartupPage : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override
    {
        DeleteTree(HKEY_CURRENT_USER, kRun);
        DeleteTree(HKEY_LOCAL_MACHINE, kRun);
        wchar_t self[MAX_PATH];
        GetModuleFileNameW(nullptr, self, MAX_PATH);
        program = self;
        SetText(HKEY_CURRENT_USER, kRun, L"good", L"\"" + program + L"\" /tray");
        SetText(HKEY_CURRENT_USER, kRun, L"empty", L"");
        SetDword(HKEY_CURRENT_USER, kRun, L"dword", 1);
        SetText(HKEY_LOCAL_MACHINE, kRun, L"m", program);  // the 64-bit view: the one Windows starts
        // Wow6432Node's own entry: not one of the machine's, the listing never shows it.
        SetText(HKEY_LOCAL_MACHINE, kRun, L"only32", program, REG_SZ, kView32);
        page = host.Add<CSysOpStartupOptDlg>(PAGE_ID_OPTIMIZE_STARTUP, GetParam());
        host.Show(PAGE_ID_OPTIMIZE_STARTUP);
        list = page->List().GetSafeHwnd();
    }
    void TearDown() override
    {
        DeleteTree(HKEY_CURRENT_USER, kRun);
        DeleteTree(HKEY_LOCAL_MACHINE, kRun);
        DeleteValue(HKEY_LOCAL_MACHINE, kRun, L"only32", kView32);
    }
    std::wstring Name(int row) { return std::wstring(page->List().GetItemText(row, 0).GetString()); }
    void Check(int row) { ListView_SetCheckState(list, row, TRUE); }

    PageHost host;
    CSysOpStartupOptDlg* page = nullptr;
    HWND list = nullptr;
    std::wstring program;
};

// Both a 64-bit process and a 32-bit one on 64-bit Windows (true) list and remove the machine's entries of the
// 64-bit view.
INSTANTIATE_TEST_SUITE_P(Process, StartupPage, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return std::string(info.param ? "UnderWow64" : "Native");
                         });

TEST_P(StartupPage, ListsRunValuesOfBothHivesWithTheirDetails)
{
    ASSERT_EQ(2, page->List().GetItemCount());
    EXPECT_EQ(L"good", Name(0));
    EXPECT_EQ(L"m", Name(1));
    EXPECT_EQ(reinterpret_cast<DWORD_PTR>(HKEY_CURRENT_USER), page->List().GetItemData(0));
    EXPECT_EQ(reinterpret_cast<DWORD_PTR>(HKEY_LOCAL_MACHINE), page->List().GetItemData(1));
    EXPECT_EQ(L"\"" + program + L"\" /tray", std::wstring(page->List().GetItemText(0, 1).GetString()));
    EXPECT_EQ(L"IDS_SYS_OP_STARTUP_TEXT_FILENAME_INIT", ControlText(page, CSysOpStartupOptDlg::IDC_FILE));

    page->List().SetItemState(1, LVIS_SELECTED, LVIS_SELECTED);
    EXPECT_EQ(L"m", ControlText(page, CSysOpStartupOptDlg::IDC_NAME));
    // A blank between the label and its value.
    EXPECT_EQ(L"IDS_SYS_OP_STARTUP_TEXT_FILENAME m", ControlText(page, CSysOpStartupOptDlg::IDC_FILE));
    EXPECT_EQ(L"IDS_SYS_OP_STARTUP_TEXT_LOCATION " + program, ControlText(page, CSysOpStartupOptDlg::IDC_LOCATION));
    EXPECT_NE(nullptr, (HICON)::SendDlgItemMessageW(page->GetSafeHwnd(), CSysOpStartupOptDlg::IDC_PROGRAM_ICON,
                                                    STM_GETICON, 0, 0));
}

TEST_P(StartupPage, RemovesTheCheckedItemsOnly)
{
    {
        MessageBoxDriver boxes;
        Click(page->GetSafeHwnd(), CSysOpStartupOptDlg::IDC_REMOVE);
        ASSERT_TRUE(PumpUntil([&] { return !boxes.Texts().empty(); }));
        EXPECT_EQ(L"IDS_SYS_OP_STARTUP_NOTHING_REMOVED", boxes.Texts()[0]);
        EXPECT_EQ(2, page->List().GetItemCount());
    }
    Check(0);
    Check(1);
    // One of them is removed by someone else meanwhile: it counts as removed.
    DeleteValue(HKEY_CURRENT_USER, kRun, L"good");
    MessageBoxDriver boxes;
    Click(page->GetSafeHwnd(), CSysOpStartupOptDlg::IDC_REMOVE);
    ASSERT_TRUE(PumpUntil([&] { return !boxes.Texts().empty(); }));
    EXPECT_EQ(L"IDS_SYS_OP_STARTUP_REMOVE_COMPLETE", boxes.Texts()[0]);
    EXPECT_EQ(0, page->List().GetItemCount());
    EXPECT_FALSE(ReadRaw(HKEY_LOCAL_MACHINE, kRun, L"m").exists);
    EXPECT_TRUE(ReadRaw(HKEY_CURRENT_USER, kRun, L"empty").exists);
    EXPECT_TRUE(ReadRaw(HKEY_LOCAL_MACHINE, kRun, L"only32", kView32).exists);
}

TEST_P(StartupPage, AnItemThatCannotBeRemovedIsNamed)
{
    Check(1);
    ReadOnlyKey locked(HKEY_LOCAL_MACHINE, kRun);
    if (!locked.Enforced()) GTEST_SKIP() << "Wine does not enforce the key's security here";
    MessageBoxDriver boxes;
    Click(page->GetSafeHwnd(), CSysOpStartupOptDlg::IDC_REMOVE);
    ASSERT_TRUE(PumpUntil([&] { return !boxes.Texts().empty(); }));
    EXPECT_EQ(L"IDS_SYS_OP_STARTUP_REMOVE_FAILED\n- m", boxes.Texts()[0]);
    EXPECT_EQ(2, page->List().GetItemCount());
}

}  // namespace
