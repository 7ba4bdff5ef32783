// The one-click step in this process, over the real libraries and the test prefix: the states a user sees while
// a scan runs, is aborted, ends and starts again, and the boot-mode pop-up. Messages the workers send are only
// handled while the test pumps, so what the page shows right after a click is checked before any worker reports.
#include <gtest/gtest.h>

#include <windows.h>

#include <set>

#include <Common.h>

#include "EntryApp.h"
#include "FunctionDlg.h"
#include "scan/lastscan/ScoreStore.h"
#include "StartStep1Dlg.h"
#include "QTestSupport.h"
#include "WindowTestHost.h"

using namespace OneClick;

namespace {

// The pop-ups of this process that are on screen now (the pop-up is a 300 x 200 window that closes itself).
BOOL CALLBACK CollectPopups(HWND wnd, LPARAM param) {
    DWORD pid = 0;
    GetWindowThreadProcessId(wnd, &pid);
    RECT r;
    GetWindowRect(wnd, &r);
    if (pid == GetCurrentProcessId() && r.right - r.left == 300 && r.bottom - r.top == 200)
        reinterpret_cast<std::set<HWND>*>(param)->insert(wnd);
    return TRUE;
}

std::set<HWND> Popups() {
    std::set<HWND> popups;
    EnumWindows(&CollectPopups, reinterpret_cast<LPARAM>(&popups));
    return popups;
}

class StartStep1Page : public ::testing::Test {
protected:
    void SetUp() override {
        SBRegDeleteTreeW(HKEY_LOCAL_MACHINE, kRegScoreKey);
        m_home.Create(IDD_FUNCTION_PAGE, &m_host);
        m_home.MoveWindow(186, 126, 737, 536);
        m_home.ShowWindow(SW_SHOW);
        m_step = new CStartStep1Dlg;
        CFunctionDlg::AddSubPage(m_step, &m_home, 1);
    }
    void TearDown() override {
        m_step->DestroyWindow();
        delete m_step;
        m_home.DestroyWindow();
        CEntryApp::m_bBootMode = FALSE;
    }
    void Click(int id) {
        m_step->SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), LPARAM(m_step->GetDlgItem(id)->GetSafeHwnd()));
    }
    bool Enabled(int id) { return m_step->GetDlgItem(id)->IsWindowEnabled() != FALSE; }
    std::wstring Text(int id) { return shell_test::WindowText(m_step->GetDlgItem(id)->GetSafeHwnd()); }
    bool WaitEnded() {
        return shell_test::PumpUntil([&] { return m_step->Run().State() == RunState::Ended; }, 120000);
    }

    shell_test::HostWindow m_host;
    CFunctionDlg m_home;
    CStartStep1Dlg* m_step = nullptr;
};

}  // namespace

TEST_F(StartStep1Page, ScanStartsFromNothingAndEndsWithItsStoredResult) {
    m_step->StartQuickScan();
    EXPECT_EQ(RunState::Scanning, m_step->Run().State());
    EXPECT_EQ(L"100", Text(CStartStep1Dlg::IDC_SCORE));
    EXPECT_EQ(L"IDS_START_BTN_ABORT_TXT", Text(CStartStep1Dlg::IDC_ABORT_REPAIR));
    EXPECT_FALSE(Enabled(CStartStep1Dlg::IDC_RETURN));
    EXPECT_FALSE(Enabled(CStartStep1Dlg::IDC_SHOW_RESULT));
    EXPECT_EQ(5, m_step->List().GetItemCount());
    for (int row = 0; row < 5; ++row) EXPECT_EQ(0, m_step->List().GetRow(row)->count);

    ASSERT_TRUE(WaitEnded());
    EXPECT_EQ(RunEnd::ScanFinished, m_step->Run().LastEnd());
    EXPECT_EQ(100, m_step->Run().Progress());
    EXPECT_EQ(L"IDS_SCORE_TXT_QUICK_SCAN_FINISHED", Text(CStartStep1Dlg::IDC_PROGRESS_TEXT));
    EXPECT_EQ(L"IDS_START_REPAIRALL", Text(CStartStep1Dlg::IDC_ABORT_REPAIR));
    EXPECT_TRUE(Enabled(CStartStep1Dlg::IDC_RETURN));
    EXPECT_TRUE(Enabled(CStartStep1Dlg::IDC_SHOW_RESULT));
    for (int row = 0; row < 5; ++row) EXPECT_EQ(m_step->Counts().n[row], m_step->List().GetRow(row)->count);

    const StoredScore stored = ReadStoredScore();
    ASSERT_TRUE(stored.hasScore);
    EXPECT_EQ(m_step->Counts(), stored.counts);
    EXPECT_EQ(m_step->Score(), stored.score);
    EXPECT_EQ(std::to_wstring(stored.score), Text(CStartStep1Dlg::IDC_SCORE));
}

TEST_F(StartStep1Page, AbortWaitsForEveryWorkerAndRepeatedAbortIsHarmless) {
    m_step->StartQuickScan();
    Click(CStartStep1Dlg::IDC_ABORT_REPAIR);
    // Nothing can start again until the workers have ended.
    EXPECT_EQ(RunState::Aborting, m_step->Run().State());
    EXPECT_FALSE(Enabled(CStartStep1Dlg::IDC_ABORT_REPAIR));
    EXPECT_FALSE(Enabled(CStartStep1Dlg::IDC_RETURN));
    EXPECT_FALSE(Enabled(CStartStep1Dlg::IDC_SHOW_RESULT));
    Click(CStartStep1Dlg::IDC_ABORT_REPAIR);
    m_step->StartQuickScan();  // a new scan asked for while aborting is refused
    EXPECT_EQ(RunState::Aborting, m_step->Run().State());

    ASSERT_TRUE(WaitEnded());
    EXPECT_EQ(RunEnd::ScanAborted, m_step->Run().LastEnd());
    EXPECT_EQ(L"IDS_START_TXT_SCAN_FINISH_STATUS_ABORT", Text(CStartStep1Dlg::IDC_PROGRESS_TEXT));
    EXPECT_TRUE(Enabled(CStartStep1Dlg::IDC_ABORT_REPAIR));
    EXPECT_TRUE(ReadStoredScore().hasScore);

    // The next scan runs to its end.
    m_step->StartQuickScan();
    EXPECT_EQ(RunState::Scanning, m_step->Run().State());
    EXPECT_EQ(ScanCounts(), m_step->Counts());
    ASSERT_TRUE(WaitEnded());
    EXPECT_EQ(RunEnd::ScanFinished, m_step->Run().LastEnd());
}

TEST_F(StartStep1Page, BootModeEndsWithOnePopupAndIsSwitchedOff) {
    const std::set<HWND> before = Popups();
    CEntryApp::m_bBootMode = TRUE;
    m_step->StartQuickScan();
    ASSERT_TRUE(WaitEnded());
    EXPECT_FALSE(CEntryApp::m_bBootMode);
    std::set<HWND> shown = Popups();
    for (HWND old : before) shown.erase(old);
    EXPECT_EQ(1u, shown.size());

    // The first pop-up may close itself while the second scan runs; no new one may appear.
    m_step->StartQuickScan();
    ASSERT_TRUE(WaitEnded());
    for (HWND popup : Popups())
        EXPECT_TRUE(before.count(popup) || shown.count(popup)) << "only the boot-mode scan shows the pop-up";
}
