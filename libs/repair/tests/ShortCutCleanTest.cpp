// The shortcut scan against link files made in a temp tree of the prefix.
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <Common.h>
#include <Moravin/ShortCutClean.h>

#include <algorithm>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "LinkFixtures.h"
#include "ScanCapture.h"

using Moravin::CShortCutClean;

namespace {

struct ComScope {
    ComScope() { CoInitialize(nullptr); }
    ~ComScope() { CoUninitialize(); }
};

// Runs a threaded scan of the folders and returns what the parent window received.
std::vector<ScanMessage> ScanFolders(const std::vector<std::wstring>& folders)
{
    ScanCapture capture;
    CShortCutClean scan;
    scan.SetParentWnd(capture.Window());
    EXPECT_TRUE(scan.FindShortCutLink(folders));
    EXPECT_TRUE(capture.WaitForDone());
    return capture.Messages();
}

std::map<std::wstring, std::wstring> InvalidFound(const std::vector<ScanMessage>& messages)
{
    std::map<std::wstring, std::wstring> found;
    for (const ScanMessage& m : messages)
        if (m.msg == WM_SHORTCUT_INVALID_FOUND) {
            EXPECT_EQ(0u, found.count(m.path)) << "reported twice: " << m.path;
            found[m.path] = m.target;
        }
    return found;
}

// Same messages with the same texts, in the same order.
testing::AssertionResult SameMessages(const std::vector<ScanMessage>& expected, const std::vector<ScanMessage>& actual)
{
    if (expected.size() != actual.size())
        return testing::AssertionFailure() << expected.size() << " messages expected, " << actual.size() << " came";
    for (size_t i = 0; i < actual.size(); ++i)
        if (expected[i].msg != actual[i].msg || expected[i].path != actual[i].path ||
            expected[i].target != actual[i].target)
            return testing::AssertionFailure() << "message " << i << " differs: " << actual[i].path;
    return testing::AssertionSuccess();
}

std::set<std::wstring> ProgressPaths(const std::vector<ScanMessage>& messages)
{
    std::set<std::wstring> paths;
    for (const ScanMessage& m : messages)
        if (m.msg == WM_SHORTCUT_SCAN_PROGRESS) paths.insert(m.path);
    return paths;
}

// A tree whose scan takes many messages: `folders` folders of `links` dead links each.
void MakeBigTree(const TempTree& tree, int folders, int links)
{
    const std::wstring model = tree.Path(L"model.lnk");
    MakeLink(model, tree.Path(L"missing.exe"));
    for (int f = 0; f < folders; ++f) {
        std::wstring folder = tree.Folder(L"w" + std::to_wstring(f));
        for (int i = 0; i < links; ++i)
            CopyFileW(model.c_str(), (folder + L"\\l" + std::to_wstring(i) + L".lnk").c_str(), FALSE);
    }
}

class ShortcutScanTest : public testing::Test {
protected:
    ComScope com;
};

}  // namespace

// Which links are invalid: only those whose stored target is an absolute path on a present fixed drive that
// definitely does not exist. Shell objects, advertised links, folders, corrupt files and undecidable paths are not.
TEST_F(ShortcutScanTest, ReportsOnlyLinksWhoseTargetIsDefinitelyMissing)
{
    TempTree tree(L"links");
    const std::wstring kept = tree.File(L"kept.txt");
    const std::wstring gone = tree.File(L"gone.txt");
    const std::wstring keptDir = tree.Folder(L"keptdir");
    const std::wstring goneDir = tree.Folder(L"gonedir");
    tree.Folder(L"sub\\deeper");

    ASSERT_TRUE(MakeLink(tree.Path(L"good.lnk"), kept));
    ASSERT_TRUE(MakeLink(tree.Path(L"dead.lnk"), gone));
    ASSERT_TRUE(MakeLink(tree.Path(L"folder.lnk"), keptDir));
    ASSERT_TRUE(MakeLink(tree.Path(L"deadfolder.lnk"), goneDir));
    ASSERT_TRUE(MakeLink(tree.Path(L"LOUD.LNK"), gone));
    ASSERT_TRUE(MakeLink(tree.Path(L".lnk"), gone));          // only an extension: not examined
    ASSERT_TRUE(MakeLink(tree.Path(L"dead.lnk.bak"), gone));  // another extension: not examined
    ASSERT_TRUE(MakeLink(tree.Path(L"sub\\deeper\\nested.lnk"), gone));
    ASSERT_TRUE(MakeShellObjectLink(tree.Path(L"computer.lnk"), CSIDL_DRIVES));
    ASSERT_TRUE(WriteBytes(tree.Path(L"corrupt.lnk"), std::string("\x4c\0\0\0garbage, not a link", 24)));
    const std::wstring absent = AbsentDriveRoot();
    ASSERT_FALSE(absent.empty());
    MakeLink(tree.Path(L"otherdrive.lnk"), absent + L"gone\\app.exe");
    ASSERT_EQ(absent + L"gone\\app.exe", StoredTarget(tree.Path(L"otherdrive.lnk")));
    ASSERT_TRUE(RemovePath(gone));
    ASSERT_TRUE(RemovePath(goneDir));
    ASSERT_TRUE(StoredTarget(tree.Path(L"computer.lnk")).empty());

    std::map<std::wstring, std::wstring> found = InvalidFound(ScanFolders({tree.Root()}));

    std::map<std::wstring, std::wstring> expected = {
        {tree.Path(L"dead.lnk"), gone},
        {tree.Path(L"deadfolder.lnk"), goneDir},
        {tree.Path(L"LOUD.LNK"), gone},
        {tree.Path(L"sub\\deeper\\nested.lnk"), gone},
    };
    EXPECT_EQ(expected, found);
}

TEST_F(ShortcutScanTest, AdvertisedShortcutIsNotInvalid)
{
    TempTree tree(L"advertised");
    ASSERT_TRUE(MakeAdvertisedLink(tree.Path(L"office.lnk")));
    if (!IsAdvertisedLink(tree.Path(L"office.lnk"))) GTEST_SKIP() << "the shell link object does not load it";
    ASSERT_TRUE(MakeLink(tree.Path(L"dead.lnk"), tree.Path(L"missing.exe")));

    std::map<std::wstring, std::wstring> found = InvalidFound(ScanFolders({tree.Root()}));
    EXPECT_EQ(1u, found.size());
    EXPECT_EQ(1u, found.count(tree.Path(L"dead.lnk")));
}

// Progress for every entry, "." and ".." included, depth first; a report right after the progress of its link;
// exactly one done message, last.
TEST_F(ShortcutScanTest, MessagesComeInWalkOrder)
{
    TempTree tree(L"order");
    tree.File(L"a.txt");
    tree.Folder(L"sub");
    ASSERT_TRUE(MakeLink(tree.Path(L"sub\\b.lnk"), tree.Path(L"missing.exe")));

    std::vector<ScanMessage> messages = ScanFolders({tree.Root()});

    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(static_cast<UINT>(WM_SHORTCUT_SCAN_DONE), messages.back().msg);
    EXPECT_EQ(1, std::count_if(messages.begin(), messages.end(),
                               [](const ScanMessage& m) { return m.msg == WM_SHORTCUT_SCAN_DONE; }));

    std::vector<std::wstring> progress;
    for (size_t i = 0; i < messages.size(); ++i) {
        if (messages[i].msg == WM_SHORTCUT_SCAN_PROGRESS) progress.push_back(messages[i].path);
        if (messages[i].msg == WM_SHORTCUT_INVALID_FOUND) {
            ASSERT_GT(i, 0u);
            EXPECT_EQ(static_cast<UINT>(WM_SHORTCUT_SCAN_PROGRESS), messages[i - 1].msg);
            EXPECT_EQ(messages[i].path, messages[i - 1].path);
        }
    }
    std::set<std::wstring> expected = {tree.Path(L"."),         tree.Path(L".."),     tree.Path(L"a.txt"),
                                       tree.Path(L"sub"),       tree.Path(L"sub\\."), tree.Path(L"sub\\.."),
                                       tree.Path(L"sub\\b.lnk")};
    EXPECT_EQ(expected, std::set<std::wstring>(progress.begin(), progress.end()));
    EXPECT_EQ(expected.size(), progress.size());
    auto at = [&](const std::wstring& p) { return std::find(progress.begin(), progress.end(), p) - progress.begin(); };
    EXPECT_LT(at(tree.Path(L"sub")), at(tree.Path(L"sub\\.")));
    EXPECT_LT(at(tree.Path(L"sub\\.")), at(tree.Path(L"sub\\b.lnk")));
    EXPECT_EQ(1u, InvalidFound(messages).count(tree.Path(L"sub\\b.lnk")));
}

TEST_F(ShortcutScanTest, FolderSpellingsGiveTheSamePaths)
{
    TempTree tree(L"spelling");
    tree.File(L"x.txt");
    tree.Folder(L"sub");
    ASSERT_TRUE(MakeLink(tree.Path(L"sub\\dead.lnk"), tree.Path(L"missing.exe")));

    std::vector<ScanMessage> reference = ScanFolders({tree.Root()});
    std::wstring slashed = tree.Root();
    std::replace(slashed.begin(), slashed.end(), L'\\', L'/');
    for (const std::wstring& spelling : {tree.Root() + L"\\", tree.Root() + L"\\\\", slashed}) {
        SCOPED_TRACE(testing::Message() << "folder " << spelling);
        EXPECT_TRUE(SameMessages(reference, ScanFolders({spelling})));
    }
}

// Folders that cannot be listed are skipped; empty or relative ones are never taken from the current folder.
TEST_F(ShortcutScanTest, UnlistableFoldersAreSkipped)
{
    TempTree tree(L"skip");
    ASSERT_TRUE(MakeLink(tree.Path(L"dead.lnk"), tree.Path(L"missing.exe")));
    wchar_t previous[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, previous);
    SetCurrentDirectoryW(tree.Root().c_str());

    std::vector<ScanMessage> none = ScanFolders({});
    std::vector<ScanMessage> bad = ScanFolders({L"", L".", L"dead.lnk", tree.Path(L"nowhere")});
    std::vector<ScanMessage> mixed = ScanFolders({tree.Path(L"nowhere"), tree.Root()});
    SetCurrentDirectoryW(previous);

    ASSERT_EQ(1u, none.size());
    EXPECT_EQ(static_cast<UINT>(WM_SHORTCUT_SCAN_DONE), none[0].msg);
    ASSERT_EQ(1u, bad.size());
    EXPECT_EQ(static_cast<UINT>(WM_SHORTCUT_SCAN_DONE), bad[0].msg);
    EXPECT_EQ(1u, InvalidFound(mixed).count(tree.Path(L"dead.lnk")));
}

TEST_F(ShortcutScanTest, ScanOnTheCallingThread)
{
    TempTree tree(L"nothread");
    ASSERT_TRUE(MakeLink(tree.Path(L"dead.lnk"), tree.Path(L"missing.exe")));
    ScanCapture capture;
    CShortCutClean scan;

    // Without a parent window nothing is reported, and the scan still ends.
    scan.FindShortCutLinkNoThread({tree.Root()});
    EXPECT_TRUE(capture.Messages().empty());

    scan.SetParentWnd(capture.Window());
    scan.FindShortCutLinkNoThread({tree.Root()});  // messages arrive before it returns
    EXPECT_EQ(1, capture.Count(WM_SHORTCUT_SCAN_DONE));
    EXPECT_EQ(1u, InvalidFound(capture.Messages()).count(tree.Path(L"dead.lnk")));
    EXPECT_EQ(3, capture.Count(WM_SHORTCUT_SCAN_PROGRESS));  // ".", ".." and dead.lnk
}

namespace {

DWORD WINAPI StopScanThread(LPVOID param)
{
    static_cast<CShortCutClean*>(param)->StopScan();
    return 0;
}

}  // namespace

// A stop from another thread (as the pages do it) ends the walk at the next entry; done still comes, once.
TEST_F(ShortcutScanTest, StopFromAnotherThreadEndsTheWalkEarly)
{
    TempTree tree(L"stop");
    MakeBigTree(tree, 20, 10);
    ScanCapture capture;
    CShortCutClean scan;
    scan.SetParentWnd(capture.Window());
    HANDLE stopper = nullptr;
    capture.onMessage = [&](const ScanMessage&) {
        if (!stopper && capture.Count(WM_SHORTCUT_SCAN_PROGRESS) == 10) {
            stopper = CreateThread(nullptr, 0, StopScanThread, &scan, 0, nullptr);
            Sleep(50);  // let the stopping thread set the flag while the worker still waits for this message
        }
    };

    ASSERT_TRUE(scan.FindShortCutLink({tree.Root()}));
    ASSERT_TRUE(capture.WaitForDone());
    ASSERT_NE(nullptr, stopper);
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(stopper, 10000));
    CloseHandle(stopper);

    // The stop was asked while the worker waited for the 10th of about 260 progress messages; the stopping
    // thread may start late on a loaded machine, so allow some slack.
    EXPECT_LT(capture.Count(WM_SHORTCUT_SCAN_PROGRESS), 60);
    capture.PumpFor(100);
    EXPECT_EQ(1, capture.Count(WM_SHORTCUT_SCAN_DONE));
    EXPECT_EQ(static_cast<UINT>(WM_SHORTCUT_SCAN_DONE), capture.Messages().back().msg);
}

// A stop made inside a message handler, on the thread that owns the window, does not dead-lock: it returns once
// the worker has ended, and the done message has been handled by then.
TEST_F(ShortcutScanTest, StopInsideAMessageHandler)
{
    TempTree tree(L"stopinside");
    MakeBigTree(tree, 5, 10);
    ScanCapture capture;
    CShortCutClean scan;
    scan.SetParentWnd(capture.Window());
    bool stopped = false;
    int doneWhenStopReturned = -1;
    capture.onMessage = [&](const ScanMessage& m) {
        if (m.msg == WM_SHORTCUT_INVALID_FOUND && !stopped) {
            stopped = true;
            scan.StopScan();
            doneWhenStopReturned = capture.Count(WM_SHORTCUT_SCAN_DONE);
        }
    };

    ASSERT_TRUE(scan.FindShortCutLink({tree.Root()}));
    ASSERT_TRUE(capture.WaitForDone());
    capture.PumpFor(100);
    EXPECT_EQ(1, doneWhenStopReturned);
    EXPECT_EQ(1, capture.Count(WM_SHORTCUT_SCAN_DONE));
    EXPECT_EQ(1, capture.Count(WM_SHORTCUT_INVALID_FOUND));
}

TEST_F(ShortcutScanTest, StopWithoutAScanReturnsAtOnce)
{
    CShortCutClean scan;
    scan.StopScan();
    ScanCapture capture;
    scan.SetParentWnd(capture.Window());
    scan.StopScan();
    EXPECT_TRUE(capture.Messages().empty());
}

// Starting again while a scan runs stops the first one and waits for it: its messages, done included, all come
// before the second scan's, and the second scan is complete.
TEST_F(ShortcutScanTest, StartingAgainWhileRunningStopsTheFirstScan)
{
    TempTree tree(L"restart");
    MakeBigTree(tree, 10, 10);
    std::vector<ScanMessage> reference = ScanFolders({tree.Root()});

    ScanCapture capture;
    CShortCutClean scan;
    scan.SetParentWnd(capture.Window());
    ASSERT_TRUE(scan.FindShortCutLink({tree.Root()}));
    ASSERT_TRUE(scan.FindShortCutLink({tree.Root()}));
    ASSERT_TRUE(capture.WaitForDone(2));
    capture.PumpFor(100);

    const std::vector<ScanMessage>& all = capture.Messages();
    ASSERT_EQ(2, capture.Count(WM_SHORTCUT_SCAN_DONE));
    auto firstDone =
        std::find_if(all.begin(), all.end(), [](const ScanMessage& m) { return m.msg == WM_SHORTCUT_SCAN_DONE; });
    EXPECT_TRUE(SameMessages(reference, std::vector<ScanMessage>(firstDone + 1, all.end())));
}

// Destroying the object while its worker runs stops and waits; nothing arrives afterwards.
TEST_F(ShortcutScanTest, DestructorStopsAndWaits)
{
    TempTree tree(L"destroy");
    MakeBigTree(tree, 10, 10);
    ScanCapture capture;
    {
        CShortCutClean scan;
        scan.SetParentWnd(capture.Window());
        ASSERT_TRUE(scan.FindShortCutLink({tree.Root()}));
    }
    size_t count = capture.Messages().size();
    EXPECT_EQ(1, capture.Count(WM_SHORTCUT_SCAN_DONE));
    capture.PumpFor(200);
    EXPECT_EQ(count, capture.Messages().size());
}

// Paths longer than the system limit are skipped whole, never cut: a cut path could name another link.
TEST_F(ShortcutScanTest, OverlongPathsAreSkippedNotCut)
{
    TempTree tree(L"long");
    // A folder whose path leaves room for "\dead.lnk" exactly at the limit of 259 characters.
    const std::wstring linkName = L"dead.lnk";
    size_t folderLength = MAX_PATH - 1 - 1 - linkName.size();
    std::wstring folder = tree.Root();
    while (folder.size() + 1 < folderLength) {
        size_t remaining = folderLength - folder.size();
        size_t segment = remaining <= 61 ? remaining - 1 : std::min<size_t>(60, remaining - 3);
        folder += L"\\" + std::wstring(segment, L'd');
    }
    ASSERT_EQ(folderLength, folder.size());
    ASSERT_TRUE(SBRecursiveCreateDirectoryW(folder.c_str()));
    const std::wstring model = tree.Path(L"model.lnk");
    ASSERT_TRUE(MakeLink(model, tree.Path(L"missing.exe")));
    const std::wstring atLimit = folder + L"\\" + linkName;
    const std::wstring overLimit = atLimit + L"_longer.lnk";  // cut at the limit it would read atLimit
    ASSERT_TRUE(CopyFileW(model.c_str(), atLimit.c_str(), FALSE));
    ASSERT_TRUE(CopyFileW(model.c_str(), (L"\\\\?\\" + overLimit).c_str(), FALSE));
    ASSERT_TRUE(DeleteFileW(model.c_str()));

    std::vector<ScanMessage> messages = ScanFolders({tree.Root()});

    std::map<std::wstring, std::wstring> found = InvalidFound(messages);
    EXPECT_EQ(1u, found.size());
    EXPECT_EQ(1u, found.count(atLimit));
    for (const ScanMessage& m : messages) EXPECT_LT(m.path.size(), static_cast<size_t>(MAX_PATH)) << m.path;
    EXPECT_EQ(1u, ProgressPaths(messages).count(atLimit));
    DeleteFileW((L"\\\\?\\" + overLimit).c_str());
}

// A directory link (a Unix symbolic link, made beside the test program by the build) is listed but not entered:
// nothing outside the requested tree is found.
TEST_F(ShortcutScanTest, DirectoryLinksAreNotEntered)
{
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring fixtures = self;
    fixtures = fixtures.substr(0, fixtures.rfind(L'\\')) + L"\\moravin-fixtures";
    const std::wstring tree = fixtures + L"\\tree";
    const std::wstring escape = tree + L"\\outside";
    DWORD attrs = GetFileAttributesW(escape.c_str());
    ASSERT_NE(INVALID_FILE_ATTRIBUTES, attrs) << "fixture missing: " << escape;
    ASSERT_TRUE(attrs & FILE_ATTRIBUTE_REPARSE_POINT);
    const std::wstring outsideLink = fixtures + L"\\outside\\dead.lnk";
    const std::wstring insideLink = tree + L"\\inside\\dead.lnk";
    ASSERT_TRUE(MakeLink(outsideLink, fixtures + L"\\missing.exe"));
    ASSERT_TRUE(MakeLink(insideLink, fixtures + L"\\missing.exe"));

    std::vector<ScanMessage> messages = ScanFolders({tree});
    DeleteFileW(outsideLink.c_str());
    DeleteFileW(insideLink.c_str());

    std::set<std::wstring> progress = ProgressPaths(messages);
    EXPECT_EQ(1u, progress.count(escape));
    for (const std::wstring& p : progress) EXPECT_NE(0u, p.compare(0, escape.size() + 1, escape + L"\\")) << p;
    std::map<std::wstring, std::wstring> found = InvalidFound(messages);
    EXPECT_EQ(1u, found.size());
    EXPECT_EQ(1u, found.count(insideLink));
}
