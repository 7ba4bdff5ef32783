#include <gtest/gtest.h>

#include <JunkFileScanner.h>

#include <memory>
#include <set>

#include "MessageRecorder.h"
#include "QTestSupport.h"
#include "TestFiles.h"

using namespace LumbreyTest;
using Lumbrey::CJunkFileScanner;

namespace {

// How long a test waits for the scanner to reach a state.
const DWORD kWaitMs = 30000;

std::set<std::wstring> Set(const std::vector<std::wstring>& v) { return std::set<std::wstring>(v.begin(), v.end()); }

MessageRecorder JunkRecorder()
{
    return MessageRecorder(WM_JUNKSCAN_CURRENT_FILE, WM_JUNKSCAN_DONE,
                           {WM_JUNKSCAN_CURRENT_FILE, WM_JUNKSCAN_FILE_FOUND});
}

// Checks the protocol: every FOUND directly follows the CURRENT_FILE of the same path, and exactly one DONE
// closes the sequence.
void ExpectWellFormed(const std::vector<Recorded>& msgs)
{
    ASSERT_FALSE(msgs.empty());
    EXPECT_EQ(msgs.back().msg, static_cast<UINT>(WM_JUNKSCAN_DONE));
    for (size_t i = 0; i + 1 < msgs.size(); ++i) {
        EXPECT_NE(msgs[i].msg, static_cast<UINT>(WM_JUNKSCAN_DONE)) << "DONE before the end, at " << i;
        if (msgs[i].msg == WM_JUNKSCAN_FILE_FOUND) {
            ASSERT_GT(i, 0u);
            EXPECT_EQ(msgs[i - 1].msg, static_cast<UINT>(WM_JUNKSCAN_CURRENT_FILE));
            EXPECT_EQ(msgs[i - 1].text, msgs[i].text);
        }
    }
}

// Runs one scan to its DONE on this thread's recorder window.
void RunScan(CJunkFileScanner& scanner, MessageRecorder& rec, const std::vector<std::wstring>& folders,
             const std::vector<std::wstring>* exts = nullptr)
{
    if (exts)
        scanner.ScanJunkFile(folders, *exts, rec.Window());
    else
        scanner.ScanJunkFile(folders, rec.Window());
    ASSERT_TRUE(rec.PumpUntil(WM_JUNKSCAN_DONE));
}

// Ends the process when a test hangs (a dead-locked wait would otherwise block until the runner's limit).
class Watchdog {
public:
    explicit Watchdog(DWORD ms) : m_event(CreateEventW(NULL, TRUE, FALSE, NULL)), m_ms(ms)
    {
        m_thread = CreateThread(NULL, 0, &Run, this, 0, NULL);
    }
    ~Watchdog()
    {
        SetEvent(m_event);
        WaitForSingleObject(m_thread, INFINITE);
        CloseHandle(m_thread);
        CloseHandle(m_event);
    }

private:
    static DWORD WINAPI Run(LPVOID p)
    {
        auto* self = static_cast<Watchdog*>(p);
        if (WaitForSingleObject(self->m_event, self->m_ms) == WAIT_TIMEOUT) {
            fprintf(stderr, "watchdog: the test hung\n");
            fflush(stderr);
            TerminateProcess(GetCurrentProcess(), 3);
        }
        return 0;
    }
    HANDLE m_event;
    HANDLE m_thread;
    DWORD m_ms;
};

DWORD WINAPI StopScanThread(LPVOID scanner)
{
    static_cast<CJunkFileScanner*>(scanner)->StopScan();
    return 0;
}

std::wstring MakeManyFiles(const std::wstring& name, int count)
{
    const std::wstring root = NewTempFolder(name);
    for (int i = 0; i < count; ++i)
        MakeFile(root + L"\\d" + std::to_wstring(i % 4) + L"\\f" + std::to_wstring(i) + L".tmp");
    return root;
}

}  // namespace

TEST(JunkFileName, MatchesListedExtensionsIgnoringCase)
{
    const std::vector<std::wstring> exts = CJunkFileScanner().GetExtList();
    const struct {
        const wchar_t* path;
        bool junk;
    } cases[] = {
        {L"C:\\x\\A.TMP", true},     {L"C:\\x\\b.Tmp", true},   {L"C:\\x\\c.tmp.txt", false},
        {L"C:\\x.tmp\\file", false}, {L"C:\\x\\.tmp", true},    {L"C:\\x\\e.$$$", true},
        {L"C:\\x\\w.??~", true},     {L"C:\\x\\s.DB$", true},   {L"C:\\x\\noext", false},
        {L"C:\\x\\dot.", false},     {L"C:\\x\\a.tmpx", false}, {L"C:\\x\\a.mp", false},
        {L"C:\\x\\arc._dd", true},   {L"C:\\x\\a.nu3", true},   {L"", false},
    };
    for (const auto& c : cases) EXPECT_EQ(Lumbrey::IsJunkFileName(c.path, exts), c.junk) << c.path;

    // '?' and '$' are plain characters, not wildcards.
    EXPECT_FALSE(Lumbrey::IsJunkFileName(L"C:\\x\\a.ab~", exts));
    EXPECT_FALSE(Lumbrey::IsJunkFileName(L"C:\\x\\a.dbx", exts));
}

TEST(JunkFileScanner, DefaultListIsTheShippedOne)
{
    const std::vector<std::wstring> exts = CJunkFileScanner().GetExtList();
    ASSERT_EQ(exts.size(), 29u);
    EXPECT_EQ(exts.front(), L".swp");
    EXPECT_EQ(exts[1], L".$$$");
    EXPECT_EQ(exts[21], L".$$$");
    EXPECT_EQ(exts.back(), L".nu3");
    EXPECT_TRUE(CJunkFileScanner::m_bInitialized);
}

// The main fixture: junk and other files, a file in use, a link loop, a link leading out of the tree and
// paths too long for the file API.
TEST(JunkFileScanner, FindsJunkNotInUseInsideTheTreeOnly)
{
    const std::wstring root = NewTempFolder(L"junk");
    const std::wstring outside = NewTempFolder(L"outside");
    MakeFile(outside + L"\\outside.tmp");
    const wchar_t* files[] = {L"A.TMP",      L"b.Tmp",    L"c.tmp.txt",        L"d.BAK",     L".tmp", L"e.$$$",
                              L"locked.tmp", L"keep.txt", L"sub\\deep\\f.old", L"sub\\g.doc"};
    for (const wchar_t* f : files) MakeFile(root + L"\\" + f, 16);

    // Long paths: a file name that overflows MAX_PATH and a folder that cannot be listed.
    const std::wstring longDir = root + L"\\long\\" + std::wstring(250 - root.size(), L'a');
    const std::wstring longName = longDir + L"\\" + std::wstring(30, L'c') + L".tmp";
    const std::wstring deepFile = longDir + L"\\" + std::wstring(40, L'b') + L"\\x.tmp";
    MakeFile(longName);
    MakeFile(deepFile);
    ASSERT_TRUE(Exists(longName) && Exists(deepFile));
    ASSERT_GT(longName.size(), static_cast<size_t>(MAX_PATH));

    ASSERT_TRUE(MakeHostSymlink(root + L"\\sub\\loop", ".."));
    ASSERT_TRUE(MakeHostSymlink(root + L"\\sub\\escape", HostPath(outside)));
    ASSERT_TRUE(Exists(root + L"\\sub\\escape\\outside.tmp"));

    HeldOpen locked(root + L"\\locked.tmp");
    ASSERT_TRUE(locked.IsOpen());

    CJunkFileScanner scanner;
    MessageRecorder rec = JunkRecorder();
    RunScan(scanner, rec, {root});
    ExpectWellFormed(rec.Messages());

    // Every file is met, and so are the two links (met, not entered).
    std::set<std::wstring> all = AsSet({root + L"\\sub\\loop", root + L"\\sub\\escape"});
    for (const wchar_t* f : files) all.insert(root + L"\\" + f);
    EXPECT_EQ(Set(rec.Texts(WM_JUNKSCAN_CURRENT_FILE)), all);
    EXPECT_EQ(rec.Count(WM_JUNKSCAN_CURRENT_FILE), all.size()) << "a file was met twice (a link was followed)";
    EXPECT_EQ(Set(rec.Texts(WM_JUNKSCAN_FILE_FOUND)),
              AsSet({root + L"\\A.TMP", root + L"\\b.Tmp", root + L"\\d.BAK", root + L"\\.tmp", root + L"\\e.$$$",
                     root + L"\\sub\\deep\\f.old"}));
    EXPECT_EQ(rec.Count(WM_JUNKSCAN_DONE), 1u);
}

TEST(JunkFileScanner, FolderSpellingsAndCustomListGiveTheSamePaths)
{
    const std::wstring root = NewTempFolder(L"spell");
    MakeFile(root + L"\\one.tmp");
    MakeFile(root + L"\\two.txt");
    MakeFile(root + L"\\in\\three.TXT");
    const std::set<std::wstring> defaultHits = AsSet({root + L"\\one.tmp"});

    std::wstring slashed = root;
    for (wchar_t& c : slashed)
        if (c == L'\\') c = L'/';
    const struct {
        std::wstring folder;
        bool defaultList;
        std::vector<std::wstring> exts;
        std::set<std::wstring> found;
    } cases[] = {
        {root, true, {}, defaultHits},
        {root + L"\\", true, {}, defaultHits},
        {slashed, true, {}, defaultHits},
        {root, false, {L".TXT"}, AsSet({root + L"\\two.txt", root + L"\\in\\three.TXT"})},
        {root, false, {L"txt", L""}, {}},
        {root, false, {}, {}},
    };
    for (const auto& c : cases) {
        CJunkFileScanner scanner;
        MessageRecorder rec = JunkRecorder();
        RunScan(scanner, rec, {c.folder}, c.defaultList ? nullptr : &c.exts);
        EXPECT_EQ(Set(rec.Texts(WM_JUNKSCAN_FILE_FOUND)), c.found) << c.folder;
        EXPECT_EQ(rec.Count(WM_JUNKSCAN_CURRENT_FILE), 3u) << c.folder;
    }
}

TEST(JunkFileScanner, MissingEmptyAndSeveralFoldersEndWithOneDone)
{
    const std::wstring a = NewTempFolder(L"multiA");
    const std::wstring b = NewTempFolder(L"multiB");
    MakeFile(a + L"\\x.tmp");
    MakeFile(b + L"\\y.tmp");
    CJunkFileScanner scanner;
    MessageRecorder rec = JunkRecorder();
    RunScan(scanner, rec, {a, L"", a + L"\\missing", b});
    ExpectWellFormed(rec.Messages());
    EXPECT_EQ(Set(rec.Texts(WM_JUNKSCAN_FILE_FOUND)), AsSet({a + L"\\x.tmp", b + L"\\y.tmp"}));

    MessageRecorder none = JunkRecorder();
    RunScan(scanner, none, {});
    EXPECT_EQ(none.Messages().size(), 1u);
}

TEST(JunkFileScanner, NoWindowNoScanAndStopWithoutScanReturns)
{
    const std::wstring root = NewTempFolder(L"nownd");
    MakeFile(root + L"\\x.tmp");
    Watchdog dog(20000);
    CJunkFileScanner scanner;
    scanner.StopScan();
    MessageRecorder rec = JunkRecorder();
    HWND gone = rec.Window();
    {
        MessageRecorder other = JunkRecorder();
        gone = other.Window();
    }
    scanner.ScanJunkFile({root}, gone);
    scanner.StopScan();
    // The object is still usable: a real scan afterwards reports normally.
    RunScan(scanner, rec, {root});
    EXPECT_EQ(rec.Count(WM_JUNKSCAN_FILE_FOUND), 1u);
}

// StopScan mid-walk, called on the thread that owns the window (the wait must serve the worker's messages)
// and from another thread while the window's thread pumps: the walk ends early with exactly one DONE.
TEST(JunkFileScanner, StopMidWalkEndsEarlyWithOneDone)
{
    const int total = 400;
    const std::wstring root = MakeManyFiles(L"stop", total);
    for (const bool fromWindowThread : {true, false}) {
        SCOPED_TRACE(fromWindowThread ? "window thread" : "other thread");
        Watchdog dog(30000);
        CJunkFileScanner scanner;
        MessageRecorder rec = JunkRecorder();
        bool stopNow = false;
        rec.onMessage = [&](const Recorded& r, WPARAM) {
            if (r.msg == WM_JUNKSCAN_CURRENT_FILE && rec.Count(WM_JUNKSCAN_CURRENT_FILE) == 20) stopNow = true;
        };
        scanner.ScanJunkFile({root}, rec.Window());
        ASSERT_TRUE(shell_test::PumpUntil([&] { return stopNow || rec.Count(WM_JUNKSCAN_DONE) > 0; }, kWaitMs));
        ASSERT_TRUE(stopNow);
        if (fromWindowThread) {
            scanner.StopScan();
        } else {
            HANDLE stopper = CreateThread(NULL, 0, &StopScanThread, &scanner, 0, NULL);
            ASSERT_TRUE(
                shell_test::PumpUntil([&] { return WaitForSingleObject(stopper, 0) == WAIT_OBJECT_0; }, kWaitMs));
            CloseHandle(stopper);
        }
        EXPECT_EQ(rec.Count(WM_JUNKSCAN_DONE), 1u);
        EXPECT_LT(rec.Count(WM_JUNKSCAN_CURRENT_FILE), static_cast<size_t>(total) / 2);
        ExpectWellFormed(rec.Messages());
    }
}

// A second scan started while one runs: the first ends (with its own DONE) before the second starts, and
// nothing of the first comes after its DONE.
TEST(JunkFileScanner, NewScanWhileRunningStopsTheFirstThenRunsFully)
{
    const std::wstring big = MakeManyFiles(L"first", 400);
    const std::wstring small = NewTempFolder(L"second");
    MakeFile(small + L"\\s1.tmp");
    MakeFile(small + L"\\s2.bak");
    Watchdog dog(30000);
    CJunkFileScanner scanner;
    MessageRecorder rec = JunkRecorder();
    bool restart = false;
    rec.onMessage = [&](const Recorded& r, WPARAM) {
        if (r.msg == WM_JUNKSCAN_CURRENT_FILE && rec.Count(WM_JUNKSCAN_CURRENT_FILE) == 10) restart = true;
    };
    scanner.ScanJunkFile({big}, rec.Window());
    ASSERT_TRUE(shell_test::PumpUntil([&] { return restart; }, kWaitMs));
    scanner.ScanJunkFile({small}, rec.Window());
    ASSERT_TRUE(rec.PumpUntil(WM_JUNKSCAN_DONE, 2));
    rec.PumpUntil(WM_JUNKSCAN_DONE, 3, 300);  // nothing more may arrive
    EXPECT_EQ(rec.Count(WM_JUNKSCAN_DONE), 2u);

    const std::vector<Recorded>& msgs = rec.Messages();
    size_t firstDone = 0;
    while (msgs[firstDone].msg != WM_JUNKSCAN_DONE) ++firstDone;
    std::set<std::wstring> second;
    for (size_t i = firstDone + 1; i < msgs.size(); ++i) {
        if (msgs[i].msg == WM_JUNKSCAN_FILE_FOUND) second.insert(msgs[i].text);
        if (msgs[i].msg != WM_JUNKSCAN_DONE) {
            EXPECT_EQ(msgs[i].text.compare(0, small.size(), small), 0) << "first scan after its DONE";
        }
    }
    EXPECT_EQ(second, AsSet({small + L"\\s1.tmp", small + L"\\s2.bak"}));
}

TEST(JunkFileScanner, DestroyingARunningScannerStopsAndWaits)
{
    const std::wstring root = MakeManyFiles(L"dtor", 400);
    Watchdog dog(30000);
    auto scanner = std::make_unique<CJunkFileScanner>();
    MessageRecorder rec = JunkRecorder();
    bool destroyNow = false;
    rec.onMessage = [&](const Recorded& r, WPARAM) {
        if (r.msg == WM_JUNKSCAN_CURRENT_FILE && rec.Count(WM_JUNKSCAN_CURRENT_FILE) == 10) destroyNow = true;
    };
    scanner->ScanJunkFile({root}, rec.Window());
    ASSERT_TRUE(shell_test::PumpUntil([&] { return destroyNow; }, kWaitMs));
    scanner.reset();
    EXPECT_EQ(rec.Count(WM_JUNKSCAN_DONE), 1u);
    const size_t seen = rec.Messages().size();
    rec.PumpUntil(WM_JUNKSCAN_DONE, 2, 300);
    EXPECT_EQ(rec.Messages().size(), seen) << "the worker outlived its scanner";
}
