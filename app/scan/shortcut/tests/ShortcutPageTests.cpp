// The shortcut page: its rules, and the page as a user drives it on the fixture drive Y: holding valid, invalid
// and shell-object links, with the repair library's real scan behind it.
#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "Dictionary.h"
#include "LinkFixtures.h"
#include "PageIds.h"
#include "QGuards.h"
#include "QTestSupport.h"
#include "ScanCleanShortcutCleanDlg.h"
#include "ScanTestHost.h"
#include "ShortcutPageRules.h"

#include <shlobj.h>

using namespace ShortcutPage;
using namespace scan_test;
using shell_test::PumpUntil;
using shell_test::WindowText;

namespace {

// ---- rules --------------------------------------------------------------------------------------------------

TEST(ShortcutPageRules, PathLineKeeps85CharactersAndShortensLongerPaths)
{
    const std::wstring exact = L"C:\\" + std::wstring(82, L'a');
    EXPECT_EQ(exact, ProgressPathText(exact));
    const std::wstring longer = L"C:\\" + std::wstring(82, L'b') + L"c";
    const std::wstring shown = ProgressPathText(longer);
    ASSERT_EQ(85u, shown.size());
    EXPECT_EQ(L"C:\\...", shown.substr(0, 6));
    EXPECT_EQ(longer.substr(longer.size() - 79), shown.substr(6));
}

TEST(ShortcutPageRules, LinkPathSplitsAtItsLastBackslash)
{
    LinkParts parts = SplitLinkPath(L"C:\\Users\\me\\Desktop\\Old game.lnk");
    EXPECT_EQ(L"Old game.lnk", parts.name);
    EXPECT_EQ(L"C:\\Users\\me\\Desktop", parts.folder);
    parts = SplitLinkPath(L"Y:\\x.lnk");
    EXPECT_EQ(L"x.lnk", parts.name);
    EXPECT_EQ(L"Y:", parts.folder);
    parts = SplitLinkPath(L"bare.lnk");
    EXPECT_EQ(L"bare.lnk", parts.name);
    EXPECT_EQ(L"", parts.folder);
}

TEST(ShortcutPageRules, EveryDriveButCdAndDvdDrivesIsOffered)
{
    EXPECT_FALSE(IsOfferedDriveType(DRIVE_CDROM));
    for (UINT type : {DRIVE_FIXED, DRIVE_REMOVABLE, DRIVE_REMOTE, DRIVE_RAMDISK}) EXPECT_TRUE(IsOfferedDriveType(type));
}

TEST(ShortcutPageRules, ClockAndEndlessProgress)
{
    EXPECT_EQ(L"00:00:01", ElapsedText(1));
    EXPECT_EQ(L"01:01:01", ElapsedText(3661));
    std::vector<int> positions;
    int position = 0;
    for (int tick = 0; tick < 12; ++tick) positions.push_back(position = NextProgressPosition(position));
    EXPECT_EQ((std::vector<int>{10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 0, 10}), positions);
}

// ---- the page on the fixture drive ------------------------------------------------------------------------------

const std::wstring kRoot = L"Y:\\";

class ShortcutPageTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { nsVendrel::LoadDictionarys((shell_test::ProgramFolder() + L"dic\\en").c_str()); }

    void SetUp() override
    {
        ::CreateDirectoryW((kRoot + L"links").c_str(), nullptr);
        ::CreateDirectoryW((kRoot + L"links\\sub").c_str(), nullptr);
        HANDLE target =
            ::CreateFileW((kRoot + L"there.txt").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, target);
        ::CloseHandle(target);
        ASSERT_TRUE(MakeLink(kRoot + L"links\\valid.lnk", kRoot + L"there.txt"));
        ASSERT_TRUE(MakeLink(kRoot + L"links\\gone.lnk", kRoot + L"gone\\missing.exe"));
        ASSERT_TRUE(MakeLink(kRoot + L"links\\sub\\UPPER.LNK", kRoot + L"gone\\other.exe"));
        ASSERT_TRUE(MakeShellObjectLink(kRoot + L"links\\computer.lnk", CSIDL_DRIVES));

        page = std::make_unique<PageUnderTest>(host, PAGE_ID_SCAN_CLEAN_SHORTCUT);
        dlg = page->As<CScanCleanShortcutCleanDlg>();
        ASSERT_NE(nullptr, dlg) << "the shortcut page is not what the factory makes for its id";
        step0 = dlg->GetStep0().GetSafeHwnd();
        step1 = dlg->GetStep1().GetSafeHwnd();
        step2 = dlg->GetStep2().GetSafeHwnd();
        list1 = ::GetDlgItem(step1, CScanCleanShortcutCleanStep1::IDC_RESULT_LIST);
        list2 = ::GetDlgItem(step2, CScanCleanShortcutCleanStep2::IDC_RESULT_LIST);
        host.ClearBusyCalls();
    }

    void TearDown() override
    {
        page.reset();
        shell_test::RemoveTree(kRoot + L"links");
        shell_test::RemoveTree(kRoot + L"many");
        ::DeleteFileW((kRoot + L"there.txt").c_str());
    }

    void ChooseFixtureDrive()
    {
        CListCtrl& drives = dlg->GetStep0().GetDriveList();
        bool found = false;
        for (int row = 0; row < drives.GetItemCount(); ++row) {
            const bool isFixture = drives.GetItemText(row, 0) == kRoot.c_str();
            drives.SetCheck(row, isFixture);
            found = found || isFixture;
        }
        ASSERT_TRUE(found) << "the fixture drive is not offered";
    }

    void ScanToTheEnd()
    {
        ChooseFixtureDrive();
        ClickButton(step0, CScanCleanShortcutCleanStep0::IDC_SCAN);
        ASSERT_TRUE(HasVisibleStyle(step1));
        ASSERT_TRUE(PumpUntil([&] { return HasVisibleStyle(step2); }, 60000)) << "the scan did not end";
    }

    // Link paths of the rows of step 2, as the step keeps them.
    std::set<std::wstring> Step2Links()
    {
        std::set<std::wstring> links;
        for (int row = 0; row < ListCount(list2); ++row)
            if (const InvalidShortcut* s = dlg->GetStep2().RowShortcut(row)) links.insert(s->link);
        return links;
    }

    // A cell of step 2's list.
    std::wstring Cell(int row, int column)
    {
        return static_cast<const wchar_t*>(dlg->GetStep2().GetList().GetItemText(row, column));
    }

    qcore::ComInit com;
    HostMainWindow host;
    std::unique_ptr<PageUnderTest> page;
    CScanCleanShortcutCleanDlg* dlg = nullptr;
    HWND step0 = nullptr, step1 = nullptr, step2 = nullptr, list1 = nullptr, list2 = nullptr;
};

TEST_F(ShortcutPageTest, OnlyTheInvalidShortcutsAreListedAllTicked)
{
    ScanToTheEnd();
    EXPECT_EQ((std::set<std::wstring>{kRoot + L"links\\gone.lnk", kRoot + L"links\\sub\\UPPER.LNK"}), Step2Links());
    ASSERT_EQ(2, ListCount(list2));
    for (int row = 0; row < 2; ++row) EXPECT_EQ(1, ListCheck(list2, row));
    // Name, stored target and folder of each row.
    const int gone = Cell(0, 0) == L"gone.lnk" ? 0 : 1;
    EXPECT_EQ(L"gone.lnk", Cell(gone, 0));
    EXPECT_EQ(kRoot + L"gone\\missing.exe", Cell(gone, 1));
    EXPECT_EQ(kRoot + L"links", Cell(gone, 2));
    // Step 1 still shows what it found.
    EXPECT_EQ(2, ListCount(list1));
    EXPECT_EQ(L"2", WindowText(::GetDlgItem(step1, CScanCleanShortcutCleanStep1::IDC_COUNT)));
    EXPECT_EQ((std::vector<WPARAM>{1, 0}), host.BusyCalls());

    ClickButton(step2, CScanCleanShortcutCleanStep2::IDC_BACK);
    EXPECT_TRUE(HasVisibleStyle(step0));
}

TEST_F(ShortcutPageTest, DeleteRemovesTheTickedShortcutsAndKeepsOneThatCannotBeDeleted)
{
    ScanToTheEnd();
    ASSERT_EQ(2, ListCount(list2));

    // Nothing ticked: nothing changes.
    ::SendMessageW(::GetDlgItem(step2, CScanCleanShortcutCleanStep2::IDC_SELECT_ALL), BM_SETCHECK, BST_UNCHECKED, 0);
    ClickButton(step2, CScanCleanShortcutCleanStep2::IDC_SELECT_ALL);
    ClickButton(step2, CScanCleanShortcutCleanStep2::IDC_DELETE);
    EXPECT_EQ(2, ListCount(list2));
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesW((kRoot + L"links\\gone.lnk").c_str()));
    EXPECT_EQ(nsVendrel::TranslateCode(L"IDS_SCAN_CLEAN_SHORTCUT_STEP2_TXT_TIPS"),
              WindowText(::GetDlgItem(step2, CScanCleanShortcutCleanStep2::IDC_TIPS)).c_str());

    // "Select All" is ticked exactly while every row is, whoever ticks the rows.
    const HWND selectAll = ::GetDlgItem(step2, CScanCleanShortcutCleanStep2::IDC_SELECT_ALL);
    const struct {
        int row;
        BOOL tick;
        UINT box;
    } ticks[] = {{0, TRUE, BST_UNCHECKED}, {1, TRUE, BST_CHECKED}, {0, FALSE, BST_UNCHECKED}, {0, TRUE, BST_CHECKED}};
    for (const auto& t : ticks) {
        ListView_SetCheckState(list2, t.row, t.tick);
        EXPECT_EQ(t.box, ::SendMessageW(selectAll, BM_GETCHECK, 0, 0)) << "row " << t.row << " ticked " << t.tick;
    }
    ::SendMessageW(selectAll, BM_SETCHECK, BST_UNCHECKED, 0);
    ClickButton(step2, CScanCleanShortcutCleanStep2::IDC_SELECT_ALL);

    // Both ticked, one held open without sharing.
    ::SendMessageW(::GetDlgItem(step2, CScanCleanShortcutCleanStep2::IDC_SELECT_ALL), BM_SETCHECK, BST_CHECKED, 0);
    ClickButton(step2, CScanCleanShortcutCleanStep2::IDC_SELECT_ALL);
    HANDLE held =
        ::CreateFileW((kRoot + L"links\\sub\\UPPER.LNK").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    ClickButton(step2, CScanCleanShortcutCleanStep2::IDC_DELETE);
    ::CloseHandle(held);

    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesW((kRoot + L"links\\gone.lnk").c_str()));
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesW((kRoot + L"links\\valid.lnk").c_str()));
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesW((kRoot + L"links\\computer.lnk").c_str()));
    ASSERT_EQ(1, ListCount(list2));
    EXPECT_EQ(L"UPPER.LNK", Cell(0, 0));
    EXPECT_EQ(1, ListCheck(list2, 0)) << "the row that failed stays ticked";
    EXPECT_EQ(nsVendrel::TranslateCode(L"IDS_SCAN_CLEAN_SHORTCUT_STEP2_NOT_REMOVED"), Cell(0, 1).c_str());
    EXPECT_NE(std::wstring(nsVendrel::TranslateCode(L"IDS_SCAN_CLEAN_SHORTCUT_STEP2_DELETE_DONE")),
              WindowText(::GetDlgItem(step2, CScanCleanShortcutCleanStep2::IDC_TIPS)));

    ClickButton(step2, CScanCleanShortcutCleanStep2::IDC_DELETE);
    EXPECT_EQ(0, ListCount(list2));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesW((kRoot + L"links\\sub\\UPPER.LNK").c_str()));
    EXPECT_EQ(std::wstring(nsVendrel::TranslateCode(L"IDS_SCAN_CLEAN_SHORTCUT_STEP2_DELETE_DONE")),
              WindowText(::GetDlgItem(step2, CScanCleanShortcutCleanStep2::IDC_TIPS)));
}

TEST_F(ShortcutPageTest, StopDuringTheScanLeadsToTheShortcutsFoundSoFar)
{
    const int kMany = 300;
    const std::wstring many = kRoot + L"many\\";
    ::CreateDirectoryW(many.c_str(), nullptr);
    for (int i = 0; i < kMany; ++i)
        ASSERT_TRUE(
            ::CopyFileW((kRoot + L"links\\gone.lnk").c_str(), (many + std::to_wstring(i) + L".lnk").c_str(), FALSE));

    ChooseFixtureDrive();
    ClickButton(step0, CScanCleanShortcutCleanStep0::IDC_SCAN);
    EXPECT_EQ(L"00:00:01", WindowText(::GetDlgItem(step1, CScanCleanShortcutCleanStep1::IDC_ELAPSED)));
    // The scan waits in its next message until this thread pumps again, so Stop lands mid-scan.
    ASSERT_TRUE(PumpUntil([&] { return ListCount(list1) >= 1; }, 60000));
    ClickButton(step1, CScanCleanShortcutCleanStep1::IDC_STOP);
    EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(step1, CScanCleanShortcutCleanStep1::IDC_STOP)));
    ASSERT_TRUE(PumpUntil([&] { return HasVisibleStyle(step2); }, 60000));

    const int rows = ListCount(list2);
    EXPECT_GE(rows, 1);
    EXPECT_LT(rows, kMany + 2) << "the scan went on after Stop";
    for (int row = 0; row < rows; ++row) EXPECT_EQ(1, ListCheck(list2, row));
    EXPECT_EQ((std::vector<WPARAM>{1, 0}), host.BusyCalls());
    EXPECT_TRUE(
        PumpUntil([&] { return ::IsWindowEnabled(::GetDlgItem(step1, CScanCleanShortcutCleanStep1::IDC_STOP)) != 0; }));
}

}  // namespace
