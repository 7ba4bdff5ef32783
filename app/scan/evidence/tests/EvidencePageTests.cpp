// The privacy-trace page: its catalog, result model and clean plan, and the page as a user drives it over the
// real privacy-trace scanner, with traces seeded in the test prefix, in English and in German.
#include <gtest/gtest.h>

#include <windows.h>

#include <shellapi.h>
#include <shlobj.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

#include <Common.h>

#include "Dictionary.h"
#include "EvidenceCatalog.h"
#include "EvidenceResults.h"
#include "EvidenceTree.h"
#include "PageIds.h"
#include "QTestSupport.h"
#include "ScanCleanEvidenceDlg.h"
#include "ScanTestHost.h"

using namespace EvidencePage;
using namespace scan_test;
using Item = Lumbrey::CSysEvidence::ScanResultItem;
using shell_test::MessageBoxDriver;
using shell_test::PumpUntil;
using shell_test::WindowText;

namespace {

// ---- catalog, result model and clean plan ----------------------------------------------------------------------

TEST(EvidenceCatalog, FourGroupsCoverEveryCategoryOnce)
{
    std::set<std::wstring> keys;
    int next = 0;
    for (int group = 0; group < kGroupCount; ++group) {
        EXPECT_EQ(next, GroupAt(group).first);
        for (int category = GroupAt(group).first; category <= GroupAt(group).last; ++category) {
            EXPECT_EQ(group, GroupOf(category));
            EXPECT_TRUE(keys.insert(CategoryKey(category)).second) << CategoryKey(category);
        }
        next = GroupAt(group).last + 1;
    }
    EXPECT_EQ(kCategoryCount, next);
    EXPECT_EQ(-1, GroupOf(-1));
    EXPECT_EQ(-1, GroupOf(60));
    EXPECT_EQ(Dispatcher::WindowsSystem, GroupAt(GroupOf(41)).dispatcher);
    EXPECT_EQ(Dispatcher::InternetSoftware, GroupAt(GroupOf(44)).dispatcher);
    // Each label names what the scanner runs for its number.
    EXPECT_STREQ(L"IDS_EVIDENT_INTERNET_SOFTWARE_NETSCAPE", CategoryKey(48));
    EXPECT_STREQ(L"IDS_EVIDENT_INTERNET_SOFTWARE_FIREFOX", CategoryKey(51));
    EXPECT_STREQ(L"IDS_EVIDENT_INTERNET_SOFTWARE_CHROMECACHE", CategoryKey(56));
    EXPECT_EQ(L"Run (x)   (12)", LabelWithCount(L"Run (x)", 12));
}

Item FileTrace(const std::wstring& path, int size = 0, const std::wstring& category = L"Recent Files")
{
    Item item;
    item.category = category;
    item.filePath = path;
    item.kind = 1;
    item.size = size;
    return item;
}

Item ValueTrace(const std::wstring& key, const std::wstring& value)
{
    Item item;
    item.category = L"Run History";
    item.keyPath = key;
    item.valueName = value;
    item.kind = 0;
    return item;
}

TEST(EvidenceResults, TreeIsBuiltByNumberLeavingOutWhatIsEmpty)
{
    // Display names play no part: a trace whose name matches another category still goes where its number says.
    const std::vector<Trace> traces = {
        {ValueTrace(L"K", L"a"), 27},   {FileTrace(L"C:\\r1"), 29},
        {ValueTrace(L"T", L"url1"), 1}, {FileTrace(L"C:\\r2", 0, L"Run History"), 29},
        {FileTrace(L"C:\\x"), 77},      {ValueTrace(L"T", L"url2"), 1},
    };
    const std::vector<ResultGroup> tree = BuildResultTree(traces);
    ASSERT_EQ(2u, tree.size()) << "groups without traces are left out";
    EXPECT_EQ(0, tree[0].group);
    ASSERT_EQ(1u, tree[0].categories.size());
    EXPECT_EQ(1, tree[0].categories[0].category);
    EXPECT_EQ((std::vector<size_t>{2, 5}), tree[0].categories[0].traces);
    EXPECT_EQ(2, tree[1].group);
    ASSERT_EQ(2u, tree[1].categories.size());
    EXPECT_EQ(27, tree[1].categories[0].category);
    EXPECT_EQ(29, tree[1].categories[1].category);
    EXPECT_EQ((std::vector<size_t>{1, 3}), tree[1].categories[1].traces);

    EXPECT_EQ(L"Software\\Run\\a", LeafText(ValueTrace(L"Software\\Run", L"a")));
    EXPECT_EQ(L"C:\\r1", LeafText(FileTrace(L"C:\\r1")));
    EXPECT_EQ(L"0.00 KB", SizeText(0));
    EXPECT_EQ(L"4194304.00 KB", SizeText(4ull << 30)) << "sizes add up past 32 bits";
}

TEST(EvidenceResults, RecycleBinIsEmptiedOnlyWhenEveryEntryIsTicked)
{
    const std::wstring bin = Lumbrey::CSysEvidence::RecycleBinShellPrefix();
    const std::vector<Trace> traces = {
        {FileTrace(bin + L"one.txt", 0, L"RecycleBin"), 41},
        {FileTrace(bin + L"two.txt", 0, L"RecycleBin"), 41},
        {FileTrace(L"C:\\recent\\a.lnk"), 29},
        {FileTrace(L"a.lnk"), 29},
        {ValueTrace(L"Software\\Run", L"a"), 27},
        {ValueTrace(L"", L"b"), 27},
    };
    CleanPlan partly = PlanClean(traces, {{0, true}, {1, false}, {2, true}, {3, true}, {4, true}, {5, true}});
    EXPECT_FALSE(partly.emptyRecycleBin);
    EXPECT_TRUE(partly.recycleBin.empty());
    EXPECT_EQ(std::vector<size_t>{0}, partly.recycleKept);
    EXPECT_EQ((std::vector<size_t>{2, 4}), partly.oneByOne);
    EXPECT_EQ((std::vector<size_t>{3, 5}), partly.refused) << "a relative path or an empty key is never deleted";

    CleanPlan all = PlanClean(traces, {{0, true}, {1, true}, {2, false}});
    EXPECT_TRUE(all.emptyRecycleBin);
    EXPECT_EQ((std::vector<size_t>{0, 1}), all.recycleBin);
    EXPECT_TRUE(all.oneByOne.empty());

    EXPECT_TRUE(PlanClean(traces, {{0, false}, {1, false}, {2, false}}).Empty());
}

// ---- the page over the real scanner -----------------------------------------------------------------------------

const wchar_t kTypedUrls[] = L"Software\\Microsoft\\Internet Explorer\\TypedURLs";
const wchar_t kRunMru[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU";
const wchar_t kShellFolders[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const int kTypedUrlsCategory = 1, kRunCategory = 27, kRecentCategory = 29, kRecycleCategory = 41, kChromeCache = 56;

std::wstring LocalAppData()
{
    wchar_t path[MAX_PATH] = L"";
    ::SHGetSpecialFolderPathW(nullptr, path, CSIDL_LOCAL_APPDATA, TRUE);
    return path;
}

void WriteFile(const std::wstring& path, DWORD size)
{
    SBRecursiveCreateDirectoryW(path.substr(0, path.rfind(L'\\')).c_str());
    HANDLE h = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, h) << path;
    std::string bytes(size, 'x');
    DWORD written = 0;
    ::WriteFile(h, bytes.data(), size, &written, nullptr);
    ::CloseHandle(h);
}

bool Exists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool Recycle(const std::wstring& path)
{
    std::wstring from = path + L'\0';
    SHFILEOPSTRUCTW op = {};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI;
    return ::SHFileOperationW(&op) == 0 && !op.fAnyOperationsAborted;
}

std::wstring Tr(const wchar_t* key) { return static_cast<const wchar_t*>(nsVendrel::TranslateCode(key)); }

class EvidencePageTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        nsVendrel::LoadDictionarys((shell_test::ProgramFolder() + L"dic\\" + Language()).c_str());
        SBRegSetStringValueW(HKEY_CURRENT_USER, kTypedUrls, L"url1", L"http://one.example/");
        SBRegSetStringValueW(HKEY_CURRENT_USER, kTypedUrls, L"url2", L"http://two.example/");
        SBRegSetStringValueW(HKEY_CURRENT_USER, kRunMru, L"a", L"notepad\\1");
        recent = shell_test::MakeScratchFolder(L"recent");
        SBRegSetStringValueW(HKEY_CURRENT_USER, kShellFolders, L"Recent", recent.c_str());
        WriteFile(recent + L"report.doc.lnk", 300);
        WriteFile(recent + L"notes.txt.lnk", 200);
        cacheFile = LocalAppData() + L"\\Google\\Chrome\\User Data\\Default\\Cache\\f_000001";
        WriteFile(cacheFile, 4096);

        page = std::make_unique<PageUnderTest>(host, PAGE_ID_SCAN_CLEAN_EVIDENCE);
        dlg = page->As<CScanCleanEvidenceDlg>();
        ASSERT_NE(nullptr, dlg) << "the privacy-trace page is not what the factory makes for its id";
        scan = &dlg->GetScanPage();
        result = &dlg->GetResultPage();
        host.ClearBusyCalls();
    }

    void TearDown() override
    {
        page.reset();
        SBRegDeleteTreeW(HKEY_CURRENT_USER, kTypedUrls);
        SBRegDeleteTreeW(HKEY_CURRENT_USER, kRunMru);
        shell_test::RemoveTree(recent);
        ::DeleteFileW(cacheFile.c_str());
    }

    virtual const wchar_t* Language() const { return L"en"; }

    // Ticks exactly these categories in the scan tree.
    void Choose(std::initializer_list<int> categories)
    {
        CTreeCtrl& tree = scan->GetTree();
        tree.SetCheck(scan->RootItem(), FALSE);
        for (int group = 0; group < kGroupCount; ++group) tree.SetCheck(scan->GroupItem(group), FALSE);
        for (int category = 0; category < kCategoryCount; ++category)
            tree.SetCheck(scan->CategoryItem(category), FALSE);
        for (int category : categories) tree.SetCheck(scan->CategoryItem(category), TRUE);
    }

    void ScanToTheEnd()
    {
        ClickButton(scan->GetSafeHwnd(), CScanCleanEvidenceScanDlg::IDC_SCAN_ABORT);
        ASSERT_EQ(CScanCleanEvidenceScanDlg::State::Scanning, scan->GetState());
        ASSERT_TRUE(PumpUntil([&] { return scan->GetState() == CScanCleanEvidenceScanDlg::State::Idle; }, 60000));
        ASSERT_TRUE(HasVisibleStyle(result->GetSafeHwnd())) << "the result tab comes to the front";
    }

    // Leaf texts under a category item of the result tree.
    std::set<std::wstring> Leaves(int category)
    {
        std::set<std::wstring> texts;
        CTreeCtrl& tree = result->GetTree();
        HTREEITEM item = result->CategoryItem(category);
        if (!item) return texts;
        for (HTREEITEM leaf = tree.GetChildItem(item); leaf; leaf = tree.GetNextSiblingItem(leaf))
            texts.insert(static_cast<const wchar_t*>(tree.GetItemText(leaf)));
        return texts;
    }

    HTREEITEM Leaf(int category, const std::wstring& text)
    {
        CTreeCtrl& tree = result->GetTree();
        for (HTREEITEM leaf = tree.GetChildItem(result->CategoryItem(category)); leaf;
             leaf = tree.GetNextSiblingItem(leaf))
            if (tree.GetItemText(leaf) == text.c_str()) return leaf;
        return nullptr;
    }

    std::wstring ResultText(int id) { return WindowText(::GetDlgItem(result->GetSafeHwnd(), id)); }

    void Clean()
    {
        ClickButton(result->GetSafeHwnd(), CScanCleanEvidenceResultDlg::IDC_CLEAN);
        ASSERT_TRUE(PumpUntil([&] { return !result->IsCleaning(); }, 30000));
    }

    HostMainWindow host;
    std::unique_ptr<PageUnderTest> page;
    CScanCleanEvidenceDlg* dlg = nullptr;
    CScanCleanEvidenceScanDlg* scan = nullptr;
    CScanCleanEvidenceResultDlg* result = nullptr;
    std::wstring recent, cacheFile;
};

TEST_F(EvidencePageTest, SeededTracesAreFoundUnderTheirCategoriesAndCleaned)
{
    Choose({kTypedUrlsCategory, kRunCategory, kRecentCategory, kChromeCache});
    ScanToTheEnd();
    EXPECT_EQ((std::vector<WPARAM>{1, 0}), host.BusyCalls());

    const std::wstring typed = std::wstring(kTypedUrls) + L"\\";
    EXPECT_EQ((std::set<std::wstring>{typed + L"url1", typed + L"url2"}), Leaves(kTypedUrlsCategory));
    EXPECT_EQ(1u, Leaves(kRunCategory).count(std::wstring(kRunMru) + L"\\a"));
    EXPECT_EQ((std::set<std::wstring>{recent + L"report.doc.lnk", recent + L"notes.txt.lnk"}), Leaves(kRecentCategory));
    EXPECT_EQ(std::set<std::wstring>{cacheFile}, Leaves(kChromeCache));
    EXPECT_EQ(nullptr, result->CategoryItem(kRecycleCategory)) << "a category without traces is left out";

    // Counts: in the scan tree and the result tree, from the model.
    EXPECT_EQ(2, scan->Count(kTypedUrlsCategory));
    EXPECT_EQ(LabelWithCount(Tr(CategoryKey(kTypedUrlsCategory)), 2),
              std::wstring(scan->GetTree().GetItemText(scan->CategoryItem(kTypedUrlsCategory))));
    EXPECT_EQ(LabelWithCount(Tr(CategoryKey(kRecentCategory)), 2),
              std::wstring(result->GetTree().GetItemText(result->CategoryItem(kRecentCategory))));
    const int total = result->Count(kTypedUrlsCategory) + result->Count(kRunCategory) + result->Count(kRecentCategory) +
                      result->Count(kChromeCache);
    EXPECT_EQ(std::to_wstring(total), ResultText(CScanCleanEvidenceResultDlg::IDC_AMOUNT));
    EXPECT_EQ(L"4.49 KB", ResultText(CScanCleanEvidenceResultDlg::IDC_SIZE_VALUE)) << "4096 + 300 + 200 bytes";

    // One leaf unticked stays; every ticked trace goes.
    result->GetTree().SetCheck(Leaf(kTypedUrlsCategory, typed + L"url2"), FALSE);
    Clean();
    EXPECT_FALSE(SBRegValueExistW(HKEY_CURRENT_USER, kTypedUrls, L"url1"));
    EXPECT_TRUE(SBRegValueExistW(HKEY_CURRENT_USER, kTypedUrls, L"url2"));
    EXPECT_FALSE(SBRegValueExistW(HKEY_CURRENT_USER, kRunMru, L"a"));
    EXPECT_FALSE(Exists(recent + L"report.doc.lnk"));
    EXPECT_FALSE(Exists(cacheFile));
    EXPECT_EQ(std::set<std::wstring>{typed + L"url2"}, Leaves(kTypedUrlsCategory));
    EXPECT_TRUE(Leaves(kRecentCategory).empty());
    EXPECT_EQ(LabelWithCount(Tr(CategoryKey(kTypedUrlsCategory)), 1),
              std::wstring(result->GetTree().GetItemText(result->CategoryItem(kTypedUrlsCategory))));
    EXPECT_EQ(Tr(L"IDS_SCAN_CLEAN_EVIDENCE_CLEAN_DONE"), ResultText(CScanCleanEvidenceResultDlg::IDC_STATUS));
    EXPECT_EQ((std::vector<WPARAM>{1, 0, 1, 0}), host.BusyCalls());
}

TEST_F(EvidencePageTest, AFileThatCannotBeDeletedStaysTickedAndNoDoneTextIsShown)
{
    Choose({kRecentCategory});
    ScanToTheEnd();
    ASSERT_EQ(2u, Leaves(kRecentCategory).size());
    HANDLE held =
        ::CreateFileW((recent + L"notes.txt.lnk").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    Clean();
    ::CloseHandle(held);
    EXPECT_FALSE(Exists(recent + L"report.doc.lnk"));
    EXPECT_TRUE(Exists(recent + L"notes.txt.lnk"));
    const std::set<std::wstring> left = Leaves(kRecentCategory);
    ASSERT_EQ(1u, left.size());
    EXPECT_EQ(0u, left.begin()->find(recent + L"notes.txt.lnk"));
    EXPECT_NE(std::wstring::npos, left.begin()->find(Tr(L"IDS_SCAN_CLEAN_EVIDENCE_NOT_REMOVED")));
    HTREEITEM leaf = result->GetTree().GetChildItem(result->CategoryItem(kRecentCategory));
    EXPECT_EQ(1, result->GetTree().GetCheck(leaf));
    EXPECT_EQ(0u,
              ResultText(CScanCleanEvidenceResultDlg::IDC_STATUS).find(Tr(L"IDS_SCAN_CLEAN_EVIDENCE_CLEAN_FAILED")));

    // Cleaned again once it is free, by its leaf (the marked text plays no part).
    Clean();
    EXPECT_FALSE(Exists(recent + L"notes.txt.lnk"));
    EXPECT_TRUE(Leaves(kRecentCategory).empty());
}

TEST_F(EvidencePageTest, APartlyTickedRecycleBinIsNotEmptied)
{
    const std::wstring scratch = shell_test::MakeScratchFolder(L"binned");
    WriteFile(scratch + L"one.txt", 10);
    WriteFile(scratch + L"two.txt", 20);
    ASSERT_TRUE(Recycle(scratch + L"one.txt"));
    ASSERT_TRUE(Recycle(scratch + L"two.txt"));

    Choose({kRecycleCategory});
    ScanToTheEnd();
    ASSERT_EQ(2u, Leaves(kRecycleCategory).size());
    CTreeCtrl& tree = result->GetTree();
    tree.SetCheck(tree.GetChildItem(result->CategoryItem(kRecycleCategory)), FALSE);
    Clean();
    EXPECT_EQ(2u, Leaves(kRecycleCategory).size()) << "nothing of the bin went";
    SHQUERYRBINFO info = {};
    info.cbSize = sizeof(info);
    ASSERT_EQ(S_OK, ::SHQueryRecycleBinW(nullptr, &info));
    EXPECT_EQ(2, info.i64NumItems);
    EXPECT_NE(Tr(L"IDS_SCAN_CLEAN_EVIDENCE_CLEAN_DONE"), ResultText(CScanCleanEvidenceResultDlg::IDC_STATUS));

    // All ticked: the bin is emptied and its leaves go.
    tree.SetCheck(result->CategoryItem(kRecycleCategory), TRUE);
    ApplyCheckToDescendants(tree, result->CategoryItem(kRecycleCategory));
    Clean();
    EXPECT_TRUE(Leaves(kRecycleCategory).empty());
    ASSERT_EQ(S_OK, ::SHQueryRecycleBinW(nullptr, &info));
    EXPECT_EQ(0, info.i64NumItems);
    shell_test::RemoveTree(scratch);
}

TEST_F(EvidencePageTest, NothingTickedAsksForACategoryAndStaysIdle)
{
    Choose({});
    MessageBoxDriver boxes;
    ClickButton(scan->GetSafeHwnd(), CScanCleanEvidenceScanDlg::IDC_SCAN_ABORT);
    const std::vector<std::wstring> texts = boxes.Texts();
    ASSERT_EQ(1u, texts.size());
    EXPECT_EQ(Tr(L"IDS_SCAN_CLEAN_EVIDENCE_SELECT_ITEM"), texts[0]);
    EXPECT_EQ(CScanCleanEvidenceScanDlg::State::Idle, scan->GetState());
    EXPECT_TRUE(host.BusyCalls().empty());
    EXPECT_EQ(Tr(L"IDS_SCAN_CLEAN_EVIDENCE_SCAN_BUTTON_SCAN"),
              WindowText(::GetDlgItem(scan->GetSafeHwnd(), CScanCleanEvidenceScanDlg::IDC_SCAN_ABORT)));
}

// A click on an item's check box: every item below it takes the item's new state.
TEST_F(EvidencePageTest, AClickOnACheckBoxCarriesItsStateDown)
{
    CTreeCtrl& tree = scan->GetTree();
    HTREEITEM group = scan->GroupItem(2);
    tree.EnsureVisible(group);
    RECT text;
    ASSERT_TRUE(tree.GetItemRect(group, &text, TRUE));
    POINT at = {text.left - 1, (text.top + text.bottom) / 2};
    UINT flags = 0;
    while (at.x > 0 && !(tree.HitTest(CPoint(at), &flags) == group && (flags & TVHT_ONITEMSTATEICON))) --at.x;
    ASSERT_GT(at.x, 0) << "no check box left of the group's text";
    POINT screen = at;
    ::ClientToScreen(tree.GetSafeHwnd(), &screen);
    ::SetCursorPos(screen.x, screen.y);
    ASSERT_EQ(1, tree.GetCheck(group));
    ::PostMessageW(tree.GetSafeHwnd(), WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
    ::SendMessageW(tree.GetSafeHwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
    ASSERT_TRUE(PumpUntil([&] { return tree.GetCheck(scan->CategoryItem(GroupAt(2).first)) == 0; }));
    EXPECT_EQ(0, tree.GetCheck(group));
    for (int category = GroupAt(2).first; category <= GroupAt(2).last; ++category)
        EXPECT_EQ(0, tree.GetCheck(scan->CategoryItem(category))) << category;
    EXPECT_EQ(1, tree.GetCheck(scan->CategoryItem(GroupAt(1).last))) << "other groups keep theirs";
}

// Under another language the traces land under the same categories: nothing depends on the labels' words.
class EvidencePageGermanTest : public EvidencePageTest {
protected:
    const wchar_t* Language() const override { return L"de"; }
    void TearDown() override
    {
        EvidencePageTest::TearDown();
        nsVendrel::LoadDictionarys((shell_test::ProgramFolder() + L"dic\\en").c_str());
    }
};

TEST_F(EvidencePageGermanTest, TracesAreFoundUnderTheirCategoriesAndCleaned)
{
    ASSERT_EQ(L"Adressleisten-Verlauf", Tr(CategoryKey(kTypedUrlsCategory))) << "the German dictionary is loaded";
    Choose({kTypedUrlsCategory, kRunCategory, kRecentCategory, kChromeCache});
    ScanToTheEnd();
    const std::wstring typed = std::wstring(kTypedUrls) + L"\\";
    EXPECT_EQ((std::set<std::wstring>{typed + L"url1", typed + L"url2"}), Leaves(kTypedUrlsCategory));
    EXPECT_EQ(1u, Leaves(kRunCategory).count(std::wstring(kRunMru) + L"\\a"));
    EXPECT_EQ(2u, Leaves(kRecentCategory).size());
    EXPECT_EQ(std::set<std::wstring>{cacheFile}, Leaves(kChromeCache));
    EXPECT_EQ(L"Adressleisten-Verlauf   (2)",
              std::wstring(result->GetTree().GetItemText(result->CategoryItem(kTypedUrlsCategory))));
    Clean();
    EXPECT_FALSE(SBRegValueExistW(HKEY_CURRENT_USER, kTypedUrls, L"url1"));
    EXPECT_FALSE(SBRegValueExistW(HKEY_CURRENT_USER, kTypedUrls, L"url2"));
    EXPECT_FALSE(SBRegValueExistW(HKEY_CURRENT_USER, kRunMru, L"a"));
    EXPECT_FALSE(Exists(recent + L"notes.txt.lnk"));
    EXPECT_FALSE(Exists(cacheFile));
    EXPECT_EQ(Tr(L"IDS_SCAN_CLEAN_EVIDENCE_CLEAN_DONE"), ResultText(CScanCleanEvidenceResultDlg::IDC_STATUS));
}

}  // namespace
