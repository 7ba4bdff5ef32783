// The home page in this process: what step 0 shows from the stored result, and when it starts a scan by itself.
#include <gtest/gtest.h>

#include <windows.h>

#include <ctime>

#include <Common.h>

#include "Settings.h"
#include "EntryApp.h"
#include "FuncStartDlg.h"
#include "PageIds.h"
#include "ScanTime.h"
#include "ScoreStore.h"
#include "StartStep0Dlg.h"
#include "QTestSupport.h"
#include "StartStep1Dlg.h"
#include "WindowTestHost.h"

using namespace OneClick;

namespace {

std::wstring DaysAgo(int days)
{
    std::time_t then = std::time(nullptr) - std::time_t(days) * 86400;
    return FormatScanTime(*std::localtime(&then));
}

void Store(int score, const std::wstring& time, int registryCount)
{
    SBRegDeleteTreeW(HKEY_LOCAL_MACHINE, Settings::kLastScanKey);
    ScanCounts counts;
    counts[kRegistry] = registryCount;
    counts[kFileAssoc] = 3;
    WriteStoredScore(counts, time, score);
}

class HomePage : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_container.Create(IDD_FUNCTION_PAGE, &m_host);
        m_container.MoveWindow(186, 126, 737, 536);
        m_container.ShowWindow(SW_SHOW);
    }
    void TearDown() override
    {
        // A scan the page started by itself ends before the windows go.
        if (m_home && m_home->Step1()) shell_test::PumpUntil([&] { return !Scan()->Run().IsBusy(); }, 120000);
        m_container.DestroyWindow();
        delete m_home;
    }
    void Show()
    {
        m_home = new CFuncStartDlg;
        CFunctionDlgContainer::AddPage(m_home, &m_container, PAGE_ID_START);
        m_container.ShowPage(PAGE_ID_START);
    }
    std::wstring Text(int id) { return shell_test::WindowText(m_home->Step0()->GetDlgItem(id)->GetSafeHwnd()); }
    CStartStep1Dlg* Scan() { return dynamic_cast<CStartStep1Dlg*>(m_home->Step1()); }
    bool ScanStarted() { return Scan()->Run().State() != RunState::Idle; }

    shell_test::HostWindow m_host;
    CFunctionDlgContainer m_container;
    CFuncStartDlg* m_home = nullptr;
};

}  // namespace

TEST_F(HomePage, FirstStartSwitchesToTheScanStep)
{
    SBRegDeleteTreeW(HKEY_LOCAL_MACHINE, Settings::kLastScanKey);
    Show();
    EXPECT_TRUE(ScanStarted());
    EXPECT_TRUE(m_home->Step1()->IsWindowVisible());
    EXPECT_FALSE(m_home->Step0()->IsWindowVisible());
    EXPECT_EQ(L"IDS_START_LASTSCANSCORE_TIP", Text(CStartStep0Dlg::IDC_SCORE));  // initial texts kept
}

TEST_F(HomePage, RecentResultIsShownAndStartsNothing)
{
    Store(61, DaysAgo(1), 12);
    Show();
    EXPECT_FALSE(ScanStarted());
    EXPECT_TRUE(m_home->Step0()->IsWindowVisible());
    EXPECT_EQ(L"61", Text(CStartStep0Dlg::IDC_SCORE));
    EXPECT_EQ(L"IDS_START_HIGHSTATUS", Text(CStartStep0Dlg::IDC_STATUS));
    const std::wstring time = Text(CStartStep0Dlg::IDC_TIME);
    EXPECT_FALSE(time.empty());
    EXPECT_NE(L"IDS_START_UNKNOWN", time);
    CStartScanList& list = m_home->Step0()->List();
    ASSERT_EQ(5, list.GetItemCount());
    EXPECT_EQ(12, list.GetRow(0)->count);
    EXPECT_STREQ(L"12 IDS_START_REGISTRYFILE", list.GetRow(0)->description);
    EXPECT_EQ(3, list.GetRow(4)->count);
}

TEST_F(HomePage, StatusAndScoreTextsByScore)
{
    const struct {
        int score;
        const wchar_t* status;
        const wchar_t* scoreText;
    } cases[] = {{59, L"IDS_START_LOWSSTATUS", L"59"},
                 {60, L"IDS_START_HIGHSTATUS", L"60"},  // the scan step's boundary
                 {0, L"IDS_START_UNKONWSTATUS", L"IDS_START_UNKONWSCROE"}};
    for (const auto& c : cases) {
        Store(c.score, DaysAgo(2), 0);
        if (!m_home) Show();
        m_home->Step0()->RefreshLastResult();
        EXPECT_EQ(c.status, Text(CStartStep0Dlg::IDC_STATUS)) << c.score;
        EXPECT_EQ(c.scoreText, Text(CStartStep0Dlg::IDC_SCORE)) << c.score;
    }
}

TEST_F(HomePage, InvalidStoredTimeShowsUnknownTextsKeepsTheListAndStartsAScan)
{
    Store(80, L"2026-13-01_10:00:00", 4);
    Show();
    EXPECT_EQ(L"IDS_START_UNKNOWN", Text(CStartStep0Dlg::IDC_TIME));
    EXPECT_EQ(L"IDS_START_UNKNOWN_SCORE", Text(CStartStep0Dlg::IDC_SCORE));
    EXPECT_EQ(0, m_home->Step0()->List().GetItemCount());
    EXPECT_TRUE(ScanStarted());
}

TEST_F(HomePage, BootModeScansEvenWhenNotDue)
{
    Store(100, DaysAgo(0), 0);
    CEntryApp::m_bBootMode = TRUE;
    Show();
    EXPECT_TRUE(ScanStarted());
    shell_test::PumpUntil([&] { return !Scan()->Run().IsBusy(); }, 120000);
    EXPECT_FALSE(CEntryApp::m_bBootMode);
}
