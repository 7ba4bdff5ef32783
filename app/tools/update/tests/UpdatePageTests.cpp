// The update page in this process against the scripted update agent: search, a run with failing downloads and
// installs, stops in every state. Every scenario must end with the page idle and each row telling its outcome.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "FakeAgent.h"
#include "PageIds.h"
#include "QAppDriver.h"
#include "QTestSupport.h"
#include "WindowTestHost.h"
#include "YarrowbyWinUpdateDlg.h"

using namespace skarloe_test;
using Page = CYarrowbyWinUpdateDlg;

namespace {

FakeUpdateSpec Update(const wchar_t* id, const wchar_t* title)
{
    FakeUpdateSpec u = {};
    u.id = id;
    u.title = title;
    u.description = L"About it";
    u.kb = L"100";
    u.severity = L"Critical";
    u.size = 1572864;
    u.date = 40246.0;  // 9 March 2010
    u.downloadResult = 2;
    u.installResult = 2;
    return u;
}

const std::wstring kInstalled = L"IDS_SYS_TOOLS_WIN_UPDATE_INSTALLED";  // no dictionary is loaded here

class UpdatePage : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(RegisterFakeAgent()); }
    void SetUp() override
    {
        m_container.Create(IDD_FUNCTION_PAGE, &m_host);
        m_container.MoveWindow(186, 126, 737, 536);
        m_container.ShowWindow(SW_SHOW);
        m_page = new Page;
        CFunctionDlgContainer::AddPage(m_page, &m_container, PAGE_ID_TOOLS_WINDOWS_UPDATE);
        m_container.ShowPage(PAGE_ID_TOOLS_WINDOWS_UPDATE);
    }
    void TearDown() override
    {
        ReleaseHeld();
        m_container.DestroyWindow();
        delete m_page;
    }

    HWND Item(int id) { return m_page->GetDlgItem(id)->GetSafeHwnd(); }
    void Click(int id) { ::SendMessageW(Item(id), BM_CLICK, 0, 0); }
    std::wstring Cell(int row, int column) { return shell_test::ListCellText(Item(Page::IDC_LIST), row, column); }
    int Rows() { return ListView_GetItemCount(Item(Page::IDC_LIST)); }
    bool Idle() { return !m_page->IsWorking(); }
    bool Enabled(int id) { return shell_test::WindowText(Item(id)).size() > 0 && ::IsWindowEnabled(Item(id)); }

    // Scripts the agent, searches, and ticks every row.
    void SearchAndTickAll(FakeWuaScenario scenario)
    {
        scenario.progressSteps = 3;
        Script(scenario);
        Click(Page::IDC_CHECK);
        ASSERT_TRUE(shell_test::PumpUntil([&] { return Idle(); }, 10000));
        ASSERT_EQ(Rows(), scenario.count);
        if (::SendMessageW(Item(Page::IDC_SELECT_ALL), BM_GETCHECK, 0, 0) != BST_CHECKED) Click(Page::IDC_SELECT_ALL);
    }
    static FakeWuaScenario Scenario(std::initializer_list<FakeUpdateSpec> updates)
    {
        FakeWuaScenario s = {};
        for (const FakeUpdateSpec& u : updates) s.updates[s.count++] = u;
        return s;
    }
    bool StopAvailable() { return static_cast<CImageButton*>(m_page->GetDlgItem(Page::IDC_STOP))->m_bDisabled == 0; }

    shell_test::HostWindow m_host;
    CFunctionDlgContainer m_container;
    Page* m_page = nullptr;
};

}  // namespace

TEST_F(UpdatePage, ASearchListsTheUpdatesAndARunInstallsEachOrSaysWhyNot)
{
    FakeWuaScenario s =
        Scenario({Update(L"id-a", L"Security update A"), Update(L"id-b", L"Update B"), Update(L"id-c", L"Update C")});
    s.updates[1].downloadMode = kDownloadCannotStart;
    s.updates[2].installResult = 4;
    s.updates[2].installHResult = static_cast<LONG>(0x80240022);
    SearchAndTickAll(s);
    EXPECT_EQ(Cell(0, Page::kTitle), L"Security update A");
    EXPECT_EQ(Cell(0, Page::kSize), L"1.50M");
    EXPECT_EQ(Cell(0, Page::kDate), L"2010-3-9");
    EXPECT_EQ(Cell(0, Page::kSeverity), L"Critical");
    EXPECT_EQ(Cell(0, Page::kKb), L"KB100");
    EXPECT_EQ(Cell(0, Page::kStatus), L"");
    EXPECT_EQ(Cell(0, Page::kUpdateId), L"id-a");

    Click(Page::IDC_UPDATE);
    ASSERT_TRUE(shell_test::PumpUntil([&] { return Idle(); }, 20000));
    EXPECT_EQ(Cell(0, Page::kStatus), kInstalled);
    EXPECT_EQ(Cell(1, Page::kStatus), L"IDS_SYS_TOOLS_WIN_UPDATE_DOWNLOADFAIL");
    EXPECT_EQ(Cell(2, Page::kStatus), L"IDS_SYS_TOOLS_WIN_UPDATE_INSTALLFAIL");
    EXPECT_EQ(Counters().maxRunningDownloads, 1) << "one download at a time";
    EXPECT_FALSE(StopAvailable());
    EXPECT_TRUE(::IsWindowEnabled(Item(Page::IDC_SELECT_ALL)));

    // A second run leaves out what is installed.
    Script(s);
    Click(Page::IDC_UPDATE);
    ASSERT_TRUE(shell_test::PumpUntil([&] { return Idle(); }, 20000));
    EXPECT_EQ(Counters().install, 1) << "only C is installed again (B still cannot download)";
}

TEST_F(UpdatePage, NothingToUpdateShowsTheNoticeAndStartsNothing)
{
    SearchAndTickAll(Scenario({Update(L"id-a", L"A")}));
    Click(Page::IDC_SELECT_ALL);  // untick all
    shell_test::MessageBoxDriver boxes;
    Click(Page::IDC_UPDATE);
    ASSERT_TRUE(shell_test::PumpUntil([&] { return boxes.Texts().size() == 1; }));
    EXPECT_EQ(boxes.Texts()[0], L"IDS_SYS_TOOLS_WIN_UPDATE_NOTSELECT");
    EXPECT_EQ(Counters().beginDownload, 0);
    EXPECT_TRUE(Idle());
}

TEST_F(UpdatePage, StopEndsADownloadAndWorksForEveryRun)
{
    FakeUpdateSpec held = Update(L"id-h", L"Held");
    held.downloadMode = kDownloadUntilAborted;
    SearchAndTickAll(Scenario({held}));
    EXPECT_FALSE(StopAvailable()) << "nothing to stop before a run";

    for (int run = 1; run <= 2; ++run) {
        Click(Page::IDC_UPDATE);
        ASSERT_TRUE(shell_test::PumpUntil([&] { return Cell(0, Page::kStatus) == L"0%"; }));
        if (run == 1) {
            ::CreateDirectoryW((shell_test::ProgramFolder() + L"artifacts").c_str(), nullptr);
            shell_test::SaveWindowShot(m_page->GetSafeHwnd(),
                                       shell_test::ProgramFolder() + L"artifacts\\update-page-running.bmp");
        }
        ASSERT_TRUE(StopAvailable());
        Click(Page::IDC_STOP);
        Click(Page::IDC_STOP);  // a second click while the stop goes is ignored
        ASSERT_TRUE(shell_test::PumpUntil([&] { return Idle(); }, 10000));
        EXPECT_EQ(Counters().requestAbort, run);
        EXPECT_EQ(Cell(0, Page::kStatus), L"");
        EXPECT_FALSE(StopAvailable());
    }
}

TEST_F(UpdatePage, StopWhileAnInstallRunsFreesThePageAndTheInstallStillReportsItsEnd)
{
    FakeUpdateSpec slow = Update(L"id-slow", L"Slow install");
    slow.installHeld = true;
    FakeUpdateSpec held = Update(L"id-held", L"Held download");
    held.downloadMode = kDownloadUntilAborted;
    SearchAndTickAll(Scenario({slow, held}));
    Click(Page::IDC_UPDATE);
    ASSERT_TRUE(shell_test::PumpUntil([&] {
        return Cell(0, Page::kStatus) == L"IDS_SYS_TOOLS_WIN_UPDATE_INSTALLING" && Cell(1, Page::kStatus) == L"0%";
    }));
    Click(Page::IDC_STOP);
    ASSERT_TRUE(shell_test::PumpUntil([&] { return Idle(); }, 10000));
    EXPECT_EQ(Counters().requestAbort, 1);
    ReleaseHeld();
    EXPECT_TRUE(shell_test::PumpUntil([&] { return Cell(0, Page::kStatus) == kInstalled; }, 10000));
}

// Stop during an install, then a new search that lists the updates in another order: when the old install ends,
// its result lands on its own update's row, not on the row that now has its old place.
TEST_F(UpdatePage, AnInstallOfAStoppedRunReportsOnItsOwnUpdatesRowAfterANewSearch)
{
    FakeUpdateSpec slow = Update(L"id-slow", L"Slow install");
    slow.installHeld = true;
    FakeUpdateSpec other = Update(L"id-other", L"Never installed");
    other.downloadMode = kDownloadUntilAborted;
    SearchAndTickAll(Scenario({slow, other}));
    Click(Page::IDC_UPDATE);
    ASSERT_TRUE(
        shell_test::PumpUntil([&] { return Cell(0, Page::kStatus) == L"IDS_SYS_TOOLS_WIN_UPDATE_INSTALLING"; }));
    Click(Page::IDC_STOP);
    ASSERT_TRUE(shell_test::PumpUntil([&] { return Idle(); }, 10000));

    SearchAndTickAll(Scenario({other, slow}));
    ASSERT_EQ(L"Never installed", Cell(0, 0));
    ReleaseHeld();
    EXPECT_TRUE(shell_test::PumpUntil([&] { return Cell(1, Page::kStatus) == kInstalled; }, 10000));
    shell_test::PumpFor(200);
    EXPECT_EQ(L"", Cell(0, Page::kStatus));
}

TEST_F(UpdatePage, AFailedSearchSaysSo)
{
    FakeWuaScenario s = Scenario({Update(L"id-a", L"A")});
    s.searchResult = static_cast<HRESULT>(0x8024402C);
    Script(s);
    Click(Page::IDC_CHECK);
    ASSERT_TRUE(shell_test::PumpUntil([&] { return Idle(); }, 10000));
    EXPECT_EQ(Rows(), 0);
    EXPECT_EQ(shell_test::WindowText(Item(Page::IDC_SUMMARY)), L"IDS_SYS_TOOLS_WIN_UPDATE_CHECKFAIL");
}
