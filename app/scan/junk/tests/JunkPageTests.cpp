// The junk-file page: its type table and path rules, its walk (protected Windows folder, link loops, stop), and
// the page as a user drives it on the fixture drive Y: of the test prefix.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "Dictionary.h"
#include "JunkTypeTable.h"
#include "JunkWalk.h"
#include "PageIds.h"
#include "QTestSupport.h"
#include "ScanCleanJunkCleanDlg.h"
#include "ScanTestHost.h"

using namespace JunkPage;
using namespace scan_test;
using shell_test::ListCellText;
using shell_test::MessageBoxDriver;
using shell_test::PumpUntil;

namespace {

// ---- rules without a file system ----------------------------------------------------------------------------

TEST(JunkTypeTable, FirstMatchingRowDescribesTheFile)
{
    struct Case {
        const wchar_t* name;
        int row;  // -1: not junk
    } cases[] = {
        {L"A.TMP", 2},      {L"b.Tmp", 2},     {L"x.temp", 3},      {L".tmp", 2},       {L"a.$$$", 1},
        {L"X.DB$", 6},      {L"crash.??~", 4}, {L"ERRORS.LOG", 25}, {L"setup.log", 25}, {L"x.bak", 28},
        {L"c.tmp.txt", -1}, {L"tmp", -1},      {L"name.", -1},      {L"a.tempo", -1},   {L"old", -1},
        {L"file.nu3", 29},  {L"f._dd", 23},    {L"a.b.c.ilk", 10},
    };
    for (const Case& c : cases) EXPECT_EQ(c.row, MatchJunkType(c.name)) << c.name;
    // ".$$$" is listed twice; the first row (junk files) always wins over the memory-dump row.
    EXPECT_STREQ(L"IDS_SCAN_CLEAN_JUNK_TYPE_JUNKFILES", JunkTypeAt(MatchJunkType(L"a.$$$")).key);
    EXPECT_STREQ(L"ID_SCAN_CLEAN_JUNK_LOGFILE", JunkTypeAt(MatchJunkType(L"A.LOG")).key);
}

TEST(JunkTypeTable, StatusLineShortensLongPathsTo58Characters)
{
    const std::wstring exact = L"C:\\" + std::wstring(55, L'a');
    ASSERT_EQ(58u, exact.size());
    EXPECT_EQ(exact, StatusPath(exact));
    const std::wstring longer = L"C:\\" + std::wstring(50, L'b') + L"\\tail.tmp";
    ASSERT_EQ(62u, longer.size());
    const std::wstring shown = StatusPath(longer);
    EXPECT_EQ(58u, shown.size());
    EXPECT_EQ(L"C:\\bb...", shown.substr(0, 8));
    EXPECT_EQ(longer.substr(longer.size() - 50), shown.substr(8));
    EXPECT_EQ(58u, StatusPath(std::wstring(59, L'x')).size());
}

TEST(JunkTypeTable, WindowsFolderIsProtectedButItsTempFolderIsNot)
{
    const std::wstring windows = L"C:\\WINDOWS\\";
    EXPECT_TRUE(IsProtectedFolder(L"C:\\WINDOWS\\", windows));
    EXPECT_TRUE(IsProtectedFolder(L"C:\\Windows\\System32\\", windows));
    EXPECT_FALSE(IsProtectedFolder(L"C:\\WINDOWS\\TEMP\\", windows));
    EXPECT_FALSE(IsProtectedFolder(L"c:\\windows\\Temp\\sub\\", windows));
    EXPECT_FALSE(IsProtectedFolder(L"C:\\WINDOWSX\\", windows));
    EXPECT_FALSE(IsProtectedFolder(L"D:\\WINDOWS\\", windows));
    EXPECT_FALSE(IsProtectedFolder(L"C:\\WINDOWS\\", L""));
}

// ---- the walk -----------------------------------------------------------------------------------------------

void MakeFile(const std::wstring& path)
{
    for (size_t pos = path.find(L'\\', 3); pos != std::wstring::npos; pos = path.find(L'\\', pos + 1))
        ::CreateDirectoryW(path.substr(0, pos).c_str(), nullptr);
    HANDLE h = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (h != INVALID_HANDLE_VALUE) ::CloseHandle(h);
}

std::set<std::wstring> Walk(const std::vector<std::wstring>& roots, const std::wstring& windows)
{
    std::atomic<bool> stop{false};
    JunkWalkReport report;
    EXPECT_TRUE(WalkForJunk(roots, windows, stop, report));
    std::vector<JunkFind> finds;
    report.TakeFinds(finds);
    std::set<std::wstring> paths;
    for (const JunkFind& f : finds) EXPECT_TRUE(paths.insert(f.path).second) << "listed twice: " << f.path;
    return paths;
}

TEST(JunkWalk, SkipsTheWindowsFolderWithEverythingInIt)
{
    const std::wstring root = shell_test::MakeScratchFolder(L"junkwalk");
    MakeFile(root + L"top.tmp");
    MakeFile(root + L"Win\\inside.tmp");
    MakeFile(root + L"Win\\System32\\deep.log");
    MakeFile(root + L"Win\\Temp\\setup.log");
    MakeFile(root + L"WinX\\other.bak");
    std::wstring windows = root + L"WIN\\";
    CharUpperW(&windows[0]);
    // Given with and without its trailing backslash, the root is walked the same way; from a root the Windows
    // folder is skipped before its TEMP folder could be reached.
    const std::set<std::wstring> expected = {root + L"top.tmp", root + L"WinX\\other.bak"};
    EXPECT_EQ(expected, Walk({root}, windows));
    EXPECT_EQ(expected, Walk({root.substr(0, root.size() - 1)}, windows));
    // The TEMP folder itself is walked when it is where a walk starts.
    EXPECT_EQ(std::set<std::wstring>{root + L"Win\\Temp\\setup.log"}, Walk({root + L"Win\\Temp"}, windows));
    shell_test::RemoveTree(root);
}

TEST(JunkWalk, NeverEntersLinkedFoldersSoALoopEnds)
{
    // Made by the build: loop\again -> . and loop\out -> ..\outside (host symbolic links, reparse points here).
    const std::wstring fixture = shell_test::ProgramFolder() + L"junkpage-fixtures\\";
    const DWORD attributes = ::GetFileAttributesW((fixture + L"loop\\again").c_str());
    ASSERT_NE(INVALID_FILE_ATTRIBUTES, attributes);
    ASSERT_TRUE(attributes & FILE_ATTRIBUTE_REPARSE_POINT);
    EXPECT_EQ(std::set<std::wstring>{fixture + L"loop\\a.tmp"}, Walk({fixture + L"loop"}, L""));
}

TEST(JunkWalk, StopEndsTheWalkAndReportsItStopped)
{
    const std::wstring root = shell_test::MakeScratchFolder(L"junkstop");
    MakeFile(root + L"a.tmp");
    std::atomic<bool> stop{true};
    JunkWalkReport report;
    EXPECT_FALSE(WalkForJunk({root}, L"", stop, report));
    std::vector<JunkFind> finds;
    report.TakeFinds(finds);
    EXPECT_TRUE(finds.empty());
    shell_test::RemoveTree(root);
}

// ---- the page on the fixture drive ------------------------------------------------------------------------------

const wchar_t kDrive[] = L"Y:\\";

class JunkPageTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { nsVendrel::LoadDictionarys((shell_test::ProgramFolder() + L"dic\\en").c_str()); }

    void SetUp() override
    {
        for (const wchar_t* name : {L"a\\A.TMP", L"a\\b.Tmp", L"a\\c.tmp.txt", L"x.temp", L"logs\\y.LOG", L".tmp",
                                    L"deep\\d1\\d2\\z.bak", L"keep.txt", L"locked.tmp"})
            MakeFile(std::wstring(kDrive) + name);
        page = std::make_unique<PageUnderTest>(host, PAGE_ID_SCAN_CLEAN_JUNK);
        dlg = page->As<CScanCleanJunkCleanDlg>();
        ASSERT_NE(nullptr, dlg) << "the junk page is not what the factory makes for its id";
        step0 = dlg->GetStep0().GetSafeHwnd();
        step1 = dlg->GetStep1().GetSafeHwnd();
        list = ::GetDlgItem(step1, CScanCleanJunkCleanStep1::IDC_RESULT_LIST);
        host.ClearBusyCalls();
    }

    void TearDown() override
    {
        page.reset();
        std::wstring root = kDrive;
        shell_test::RemoveTree(root + L"a");
        shell_test::RemoveTree(root + L"logs");
        shell_test::RemoveTree(root + L"deep");
        for (const wchar_t* name : {L"x.temp", L".tmp", L"keep.txt", L"locked.tmp"})
            ::DeleteFileW((root + name).c_str());
    }

    // Ticks the fixture drive's row in step 0 (only that one).
    void ChooseFixtureDrive()
    {
        CListCtrl& drives = dlg->GetStep0().GetDriveList();
        bool found = false;
        for (int row = 0; row < drives.GetItemCount(); ++row) {
            const bool isFixture = drives.GetItemText(row, 0) == kDrive;
            drives.SetCheck(row, isFixture);
            found = found || isFixture;
        }
        ASSERT_TRUE(found) << "the fixture drive is not offered";
    }

    bool WalkEnded() { return dlg->GetStep1().GetState() == CScanCleanJunkCleanStep1::State::Ended; }

    std::set<std::wstring> RowPaths()
    {
        std::set<std::wstring> paths;
        for (int row = 0; row < ListCount(list); ++row) paths.insert(ListCellText(list, row));
        return paths;
    }

    std::wstring Description(const std::wstring& path)
    {
        CListCtrl& rows = dlg->GetStep1().GetList();
        for (int row = 0; row < rows.GetItemCount(); ++row)
            if (rows.GetItemText(row, 0) == path.c_str()) return static_cast<const wchar_t*>(rows.GetItemText(row, 1));
        return L"(no row)";
    }

    std::set<std::wstring> Expected()
    {
        std::set<std::wstring> paths;
        for (const wchar_t* name :
             {L"a\\A.TMP", L"a\\b.Tmp", L"x.temp", L"logs\\y.LOG", L".tmp", L"deep\\d1\\d2\\z.bak", L"locked.tmp"})
            paths.insert(std::wstring(kDrive) + name);
        return paths;
    }

    HostMainWindow host;
    std::unique_ptr<PageUnderTest> page;
    CScanCleanJunkCleanDlg* dlg = nullptr;
    HWND step0 = nullptr, step1 = nullptr, list = nullptr;
};

TEST_F(JunkPageTest, ScanListsTheJunkOfTheChosenDriveWithItsType)
{
    ChooseFixtureDrive();
    ClickButton(step0, CScanCleanJunkCleanStep0::IDC_SCAN);
    ASSERT_TRUE(HasVisibleStyle(step1));
    ASSERT_TRUE(PumpUntil([&] { return WalkEnded(); }, 30000));
    EXPECT_EQ(Expected(), RowPaths());
    EXPECT_EQ(L"Log files", Description(L"Y:\\logs\\y.LOG"));
    EXPECT_EQ(nsVendrel::TranslateCode(L"IDS_SCAN_CLEAN_JUNK_TYPE_JUNKFILES"), Description(L"Y:\\x.temp").c_str());
    EXPECT_EQ(L"7", shell_test::WindowText(::GetDlgItem(step1, CScanCleanJunkCleanStep1::IDC_COUNT)));
    EXPECT_EQ(nsVendrel::TranslateCode(L"IDS_SCAN_CLEAN_JUNK_STEP1_SCAN_COMPLETED"),
              shell_test::WindowText(::GetDlgItem(step1, CScanCleanJunkCleanStep1::IDC_STATUS)).c_str());
    EXPECT_EQ(nsVendrel::TranslateCode(L"IDS_SCAN_CLEAN_JUNK_STEP1_BTN_RETURN"),
              shell_test::WindowText(::GetDlgItem(step1, CScanCleanJunkCleanStep1::IDC_ABORT_RETURN)).c_str());
    EXPECT_EQ((std::vector<WPARAM>{1, 0}), host.BusyCalls());
    for (int row = 0; row < ListCount(list); ++row) EXPECT_EQ(0, ListCheck(list, row)) << "rows start unticked";

    // Return goes back to the drive choice.
    ClickButton(step1, CScanCleanJunkCleanStep1::IDC_ABORT_RETURN);
    EXPECT_TRUE(HasVisibleStyle(step0));
    EXPECT_FALSE(HasVisibleStyle(step1));
}

TEST_F(JunkPageTest, RemoveAllKeepsOnlyTheRowOfAFileThatCannotBeDeleted)
{
    ChooseFixtureDrive();
    ClickButton(step0, CScanCleanJunkCleanStep0::IDC_SCAN);
    ASSERT_TRUE(PumpUntil([&] { return WalkEnded(); }, 30000));
    ASSERT_EQ(7, ListCount(list));

    // Nothing ticked: nothing is removed, and the page asks for a choice.
    MessageBoxDriver boxes;
    ClickButton(step1, CScanCleanJunkCleanStep1::IDC_REMOVE);
    EXPECT_EQ(7, ListCount(list));
    const std::wstring chooseFile = nsVendrel::TranslateCode(L"IDS_SCAN_CLEAN_JUNK_STEP1_SELECT_FILE").GetString();
    EXPECT_EQ((std::vector<std::wstring>{chooseFile}), boxes.Texts());

    // A file held open without sharing cannot be deleted.
    HANDLE locked = ::CreateFileW(L"Y:\\locked.tmp", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, locked);
    ::SendMessageW(::GetDlgItem(step1, CScanCleanJunkCleanStep1::IDC_SELECT_ALL), BM_SETCHECK, BST_CHECKED, 0);
    ClickButton(step1, CScanCleanJunkCleanStep1::IDC_SELECT_ALL);
    for (int row = 0; row < ListCount(list); ++row) ASSERT_EQ(1, ListCheck(list, row));
    ClickButton(step1, CScanCleanJunkCleanStep1::IDC_REMOVE);
    ::CloseHandle(locked);

    ASSERT_EQ(1, ListCount(list));
    EXPECT_EQ(L"Y:\\locked.tmp", ListCellText(list, 0));
    EXPECT_EQ(1, ListCheck(list, 0)) << "the row that failed stays ticked";
    EXPECT_EQ(nsVendrel::TranslateCode(L"IDS_SCAN_CLEAN_JUNK_NOT_REMOVED"), Description(L"Y:\\locked.tmp").c_str());
    EXPECT_EQ(L"1", shell_test::WindowText(::GetDlgItem(step1, CScanCleanJunkCleanStep1::IDC_COUNT)));
    const std::wstring status = shell_test::WindowText(::GetDlgItem(step1, CScanCleanJunkCleanStep1::IDC_STATUS));
    EXPECT_NE(std::wstring(nsVendrel::TranslateCode(L"IDS_SCAN_CLEAN_JUNK_DELETE_COMPLETE")), status);
    EXPECT_EQ((std::vector<std::wstring>{chooseFile, status}), boxes.Texts()) << "the failure is told";
    for (const std::wstring& path : Expected())
        EXPECT_EQ(path == L"Y:\\locked.tmp", ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES) << path;
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesW(L"Y:\\keep.txt"));

    // Now it can go: every ticked row is removed and the page says so.
    ClickButton(step1, CScanCleanJunkCleanStep1::IDC_REMOVE);
    EXPECT_EQ(0, ListCount(list));
    EXPECT_EQ(L"0", shell_test::WindowText(::GetDlgItem(step1, CScanCleanJunkCleanStep1::IDC_COUNT)));
    const std::wstring complete = nsVendrel::TranslateCode(L"IDS_SCAN_CLEAN_JUNK_DELETE_COMPLETE").GetString();
    EXPECT_EQ(complete, shell_test::WindowText(::GetDlgItem(step1, CScanCleanJunkCleanStep1::IDC_STATUS)));
    EXPECT_EQ(complete, boxes.Texts().back()) << "the success is told";
}

TEST_F(JunkPageTest, AbortReturnScanInQuickSuccessionRunsOneWalkAtATime)
{
    ChooseFixtureDrive();
    MessageBoxDriver boxes;
    ClickButton(step0, CScanCleanJunkCleanStep0::IDC_SCAN);
    // Before the page has heard the walk end (nothing is pumped): Abort holds, Return and Scan wait for the end,
    // Remove is refused.
    ClickButton(step1, CScanCleanJunkCleanStep1::IDC_ABORT_RETURN);
    EXPECT_EQ(CScanCleanJunkCleanStep1::State::Aborting, dlg->GetStep1().GetState());
    EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(step1, CScanCleanJunkCleanStep1::IDC_ABORT_RETURN)));
    ClickButton(step1, CScanCleanJunkCleanStep1::IDC_ABORT_RETURN);
    EXPECT_TRUE(HasVisibleStyle(step1)) << "Return before the walk has ended";
    ClickButton(step0, CScanCleanJunkCleanStep0::IDC_SCAN);
    ClickButton(step1, CScanCleanJunkCleanStep1::IDC_REMOVE);

    ASSERT_TRUE(PumpUntil([&] { return WalkEnded(); }, 30000));
    EXPECT_EQ((std::vector<WPARAM>{1, 0}), host.BusyCalls()) << "one walk, busy ends once";
    EXPECT_EQ(nsVendrel::TranslateCode(L"IDS_SCAN_CLEAN_JUNK_STEP1_SCAN_ABORTED"),
              shell_test::WindowText(::GetDlgItem(step1, CScanCleanJunkCleanStep1::IDC_STATUS)).c_str());
    const std::vector<std::wstring> texts = boxes.Texts();
    ASSERT_EQ(1u, texts.size());
    EXPECT_EQ(nsVendrel::TranslateCode(L"IDS_SCAN_CLEAN_JUNK_SCAN_IN_PROGRESS"), texts[0].c_str());

    // Once it has ended: Return, Scan, and a full walk into an empty list.
    ClickButton(step1, CScanCleanJunkCleanStep1::IDC_ABORT_RETURN);
    ASSERT_TRUE(HasVisibleStyle(step0));
    ClickButton(step0, CScanCleanJunkCleanStep0::IDC_SCAN);
    ASSERT_TRUE(PumpUntil([&] { return WalkEnded(); }, 30000));
    EXPECT_EQ((std::vector<WPARAM>{1, 0, 1, 0}), host.BusyCalls());
    EXPECT_EQ(Expected(), RowPaths());
    EXPECT_EQ(7, ListCount(list)) << "no row of the aborted walk is left";
}

TEST_F(JunkPageTest, ScanWithoutADriveAsksForOne)
{
    CListCtrl& drives = dlg->GetStep0().GetDriveList();
    for (int row = 0; row < drives.GetItemCount(); ++row) drives.SetCheck(row, FALSE);
    MessageBoxDriver boxes;
    ClickButton(step0, CScanCleanJunkCleanStep0::IDC_SCAN);
    const std::vector<std::wstring> texts = boxes.Texts();
    ASSERT_EQ(1u, texts.size());
    EXPECT_EQ(nsVendrel::TranslateCode(L"IDS_SCAN_CLEAN_JUNK_STEP1_SELECT_DRIVE"), texts[0].c_str());
    EXPECT_TRUE(HasVisibleStyle(step0));
    EXPECT_TRUE(host.BusyCalls().empty());
}

}  // namespace
