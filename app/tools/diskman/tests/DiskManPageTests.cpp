// The disk optimiser page in this process over the test build of Velmora (simulated disks set through
// VELMORA_SIMULATION): the drive list, a job that finishes, one that is stopped, one that fails, a drive the
// library refuses, Optimise without a drive, and the progress callback's record shown in the counters, the bar
// and the map.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <thread>
#include <vector>

#include "DiskManText.h"
#include "PageIds.h"
#include "PageTestHost.h"
#include "QTestSupport.h"
#include "YarrowbyDiskManDlg.h"

using Page = CYarrowbyDiskManDlg;
using namespace wizard_test;
using shell_test::ListCellText;

namespace {

// No dictionary is loaded here: texts are their keys.
const std::wstring kOptimising = L"IDS_SYS_TOOL_DISKMAN_OPTIMIZING";

class DiskManPage : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_page = new Page;
        m_host.Add(m_page, PAGE_ID_TOOLS_DISK_MANAGER);
        m_list = ::GetDlgItem(m_page->GetSafeHwnd(), Page::IDC_DRIVES);
    }
    void TearDown() override
    {
        m_host.Container().DestroyWindow();
        delete m_page;
        ::SetEnvironmentVariableW(L"VELMORA_SIMULATION", nullptr);
    }
    static void Simulate(const wchar_t* settings) { ::SetEnvironmentVariableW(L"VELMORA_SIMULATION", settings); }

    int RowOfC()
    {
        for (int row = 0; row < RowCount(m_list); ++row)
            if (ListCellText(m_list, row).rfind(L"C:", 0) == 0) return row;
        return -1;
    }
    void Optimise()
    {
        const int row = RowOfC();
        ASSERT_GE(row, 0);
        SelectRow(m_list, row);
        Click(m_page, Page::IDC_OPTIMIZE);
    }
    bool ButtonOn(int id) { return !static_cast<CImageButton*>(m_page->GetDlgItem(id))->m_bDisabled; }
    bool IdleControls()
    {
        return ButtonOn(Page::IDC_OPTIMIZE) && ButtonOn(Page::IDC_REFRESH) && !ButtonOn(Page::IDC_STOP) &&
               ::IsWindowEnabled(::GetDlgItem(m_page->GetSafeHwnd(), Page::IDC_SKIP));
    }
    std::wstring Status() { return ListCellText(m_list, RowOfC(), Page::kStatus); }
    int Bar() { return static_cast<CProgressCtrlEx*>(m_page->GetDlgItem(Page::IDC_PROGRESS))->GetPos(); }
    int CellsInState(int state)
    {
        int n = 0;
        for (int r = 0; r < Page::kMapRows; ++r)
            for (int c = 0; c < Page::kMapColumns; ++c) n += m_page->Map()->GetCell(r, c) == state;
        return n;
    }

    PageHost m_host;
    Page* m_page = nullptr;
    HWND m_list = nullptr;
};

}  // namespace

TEST_F(DiskManPage, ListsTheFixedDrivesWithTheirSizesAndStartsIdle)
{
    const int row = RowOfC();
    ASSERT_GE(row, 0);
    EXPECT_EQ(L"C:\\", ListCellText(m_list, row));
    ULARGE_INTEGER available, total, free;
    ASSERT_TRUE(::GetDiskFreeSpaceExW(L"C:\\", &available, &total, &free));
    const diskman::DriveSizeTexts sizes = diskman::DriveSizes(total.QuadPart, free.QuadPart);
    EXPECT_EQ(L"", ListCellText(m_list, row, Page::kStatus));
    EXPECT_EQ(sizes.total, ListCellText(m_list, row, Page::kTotal));
    // Other programs write to the same disk meanwhile: the free space shown may be that of a moment earlier.
    bool freeShown = false;
    for (LONGLONG mb = -256; mb <= 256 && !freeShown; ++mb) {
        const diskman::DriveSizeTexts then = diskman::DriveSizes(total.QuadPart, free.QuadPart + mb * 1048576);
        freeShown = then.free == ListCellText(m_list, row, Page::kFree) &&
                    then.freeShare == ListCellText(m_list, row, Page::kFreeShare);
    }
    EXPECT_TRUE(freeShown);
    EXPECT_TRUE(IdleControls());
    EXPECT_EQ(BST_CHECKED, ::SendMessageW(::GetDlgItem(m_page->GetSafeHwnd(), Page::IDC_SKIP), BM_GETCHECK, 0, 0));
    for (int id : {Page::IDC_FILES, Page::IDC_DIRS, Page::IDC_COMPRESSED, Page::IDC_FRAGMENTS, Page::IDC_MFT})
        EXPECT_EQ(L"0", ItemText(m_page, id)) << id;
    EXPECT_EQ(Page::kMapRows * Page::kMapColumns, CellsInState(1));
    EXPECT_EQ(5, m_page->Map()->LegendCount());

    // Every fixed drive when the box is cleared: C: is still there.
    Click(m_page, Page::IDC_SKIP);
    ::SendMessageW(::GetDlgItem(m_page->GetSafeHwnd(), Page::IDC_SKIP), BM_SETCHECK, BST_UNCHECKED, 0);
    Click(m_page, Page::IDC_REFRESH);
    EXPECT_GE(RowOfC(), 0);
}

TEST_F(DiskManPage, EachSizeColumnHasItsOwnHeader)
{
    const HWND header = ListView_GetHeader(m_list);
    auto title = [header](int column) {
        wchar_t text[64] = L"";
        HDITEMW item = {};
        item.mask = HDI_TEXT;
        item.pszText = text;
        item.cchTextMax = 64;
        Header_GetItem(header, column, &item);
        return std::wstring(text);
    };
    EXPECT_EQ(L"IDS_SYS_TOOL_DISKMAN_LISTFREESPACE", title(Page::kFree));
    EXPECT_EQ(L"IDS_SYS_TOOL_DISKMAN_LISTFREESHARE", title(Page::kFreeShare));
}

TEST_F(DiskManPage, OptimiseWithoutADriveOrOnARefusedDriveStartsNothing)
{
    Simulate(L"refused=C");
    {
        shell_test::MessageBoxDriver boxes;
        Click(m_page, Page::IDC_OPTIMIZE);
        ASSERT_EQ(1u, boxes.Texts().size());
        EXPECT_EQ(L"IDS_SYS_TOOL_DISKMAN_NOITEM", boxes.Texts()[0]);
    }
    Optimise();  // the library refuses C: here
    EXPECT_FALSE(m_page->IsWorking());
    EXPECT_EQ(L"IDS_SYS_TOOL_DISKMAN_REFUSED", Status());
    EXPECT_TRUE(IdleControls());
    EXPECT_TRUE(m_host.Main().busy.empty());
}

TEST_F(DiskManPage, AJobShowsItsProgressAndEndsFinished)
{
    Simulate(L"clusters=16384;files=300;seed=7");
    Optimise();
    ASSERT_TRUE(m_page->IsWorking());
    EXPECT_FALSE(ButtonOn(Page::IDC_OPTIMIZE));
    EXPECT_TRUE(ButtonOn(Page::IDC_STOP));
    EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(m_page->GetSafeHwnd(), Page::IDC_SKIP)));
    EXPECT_EQ(kOptimising, Status());
    ASSERT_TRUE(shell_test::PumpUntil([&] { return !m_page->IsWorking(); }, 20000));

    EXPECT_EQ(L"IDS_SYS_TOOL_DISKMAN_FINISH", Status());
    EXPECT_EQ(1000, Bar());
    EXPECT_TRUE(IdleControls());
    EXPECT_EQ(L"300", ItemText(m_page, Page::IDC_FILES));
    EXPECT_NE(L"0", ItemText(m_page, Page::IDC_DIRS));
    EXPECT_NE(L"0", ItemText(m_page, Page::IDC_COMPRESSED));
    EXPECT_GT(CellsInState(6), 0) << "contiguous files";
    EXPECT_GT(CellsInState(2), 0) << "system area";
    EXPECT_EQ((std::vector<WPARAM>{1, 0}), m_host.Main().busy);
}

TEST_F(DiskManPage, StopEndsTheJobBeforeOptimiseComesBack)
{
    Simulate(L"clusters=16384;files=300;seed=8;move_ms=40");
    Optimise();
    ASSERT_TRUE(shell_test::PumpUntil([&] { return Bar() > 0; }, 10000));
    ASSERT_TRUE(m_page->IsWorking());
    const DWORD start = ::GetTickCount();
    Click(m_page, Page::IDC_STOP);
    EXPECT_EQ(L"IDS_SYS_TOOL_DISKMAN_STOP", Status());
    // The job really ended (the next one cannot run beside it) within about a second.
    ASSERT_TRUE(shell_test::PumpUntil([&] { return !m_page->IsWorking(); }, 2000));
    EXPECT_LE(::GetTickCount() - start, 2000u);
    EXPECT_TRUE(IdleControls());
    EXPECT_EQ(L"IDS_SYS_TOOL_DISKMAN_STOP", Status());
    EXPECT_EQ((std::vector<WPARAM>{1, 0}), m_host.Main().busy);

    // The same disk again: a new job runs to its end, with a fresh stop flag.
    Optimise();
    ASSERT_TRUE(m_page->IsWorking());
    EXPECT_EQ(kOptimising, Status());
    ASSERT_TRUE(shell_test::PumpUntil([&] { return !m_page->IsWorking(); }, 60000));
    EXPECT_EQ(L"IDS_SYS_TOOL_DISKMAN_FINISH", Status());
}

TEST_F(DiskManPage, AFailingJobShowsAFailure)
{
    for (const wchar_t* settings : {L"clusters=16384;files=300;seed=9;fail_after_moves=3", L"fail_open=C"}) {
        m_host.Main().busy.clear();
        Simulate(settings);
        Optimise();
        ASSERT_TRUE(shell_test::PumpUntil([&] { return !m_page->IsWorking(); }, 20000)) << settings;
        EXPECT_EQ(L"IDS_SYS_TOOL_DISKMAN_FAILED", Status()) << settings;
        EXPECT_TRUE(IdleControls()) << settings;
        EXPECT_EQ((std::vector<WPARAM>{1, 0}), m_host.Main().busy) << settings;
    }
}

TEST_F(DiskManPage, TheProgressRecordFillsTheCountersTheBarAndTheMap)
{
    std::vector<signed char> map(Page::kMapRows * Page::kMapColumns, 6);
    map[0] = -1;                     // stored as it is, painted in a fixed colour
    map[Page::kMapColumns + 1] = 4;  // row 1, column 1
    map[map.size() - 1] = 8;         // row 31, column 89
    udefrag_job_progress record = {};
    record.files = 12;
    record.directories = 3;
    record.compressed = 1;
    record.fragments = (1ll << 32) + 5;
    record.mft_size = 3 * 1024 * 1024;
    record.percentage = 37.46;
    record.cluster_map = map.data();
    // From another thread, as the library calls it.
    std::thread([&] { Page::OnJobProgress(&record, m_page); }).join();
    ASSERT_TRUE(shell_test::PumpUntil([&] { return ItemText(m_page, Page::IDC_FILES) == L"12"; }));
    EXPECT_EQ(L"3", ItemText(m_page, Page::IDC_DIRS));
    EXPECT_EQ(L"1", ItemText(m_page, Page::IDC_COMPRESSED));
    EXPECT_EQ(L"5", ItemText(m_page, Page::IDC_FRAGMENTS));
    EXPECT_EQ(L"3.00 MB", ItemText(m_page, Page::IDC_MFT));
    EXPECT_EQ(374, Bar());
    CDiskManControl* cells = m_page->Map();
    EXPECT_EQ(-1, cells->GetCell(0, 0));
    EXPECT_EQ(4, cells->GetCell(1, 1));
    EXPECT_EQ(8, cells->GetCell(31, 89));
    EXPECT_EQ(6, cells->GetCell(0, 1));
    EXPECT_EQ(1, cells->GetCell(32, 0)) << "below the map";
    EXPECT_EQ(1, cells->GetCell(0, 90)) << "right of the map";
    m_page->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);

    // A record without a map updates the rest and leaves the map.
    record.files = 13;
    record.percentage = 50;
    record.cluster_map = nullptr;
    std::thread([&] { Page::OnJobProgress(&record, m_page); }).join();
    ASSERT_TRUE(shell_test::PumpUntil([&] { return ItemText(m_page, Page::IDC_FILES) == L"13"; }));
    EXPECT_EQ(500, Bar());
    EXPECT_EQ(-1, cells->GetCell(0, 0));
    EXPECT_EQ(8, cells->GetCell(31, 89));
}
