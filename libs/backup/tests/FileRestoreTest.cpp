// Folder restore end to end: listing, extraction on a worker thread, refusals and failures reported.
#include "FileBackup.h"
#include "FileRestore.h"
#include "MessageSink.h"
#include "RestoreStaging.h"
#include "TestSupport.h"
#include "ZipTestUtil.h"
#include "zip/ZipEntryName.h"

#include <QTestSupport.h>
#include <gtest/gtest.h>

#include <algorithm>

using namespace ColdrithTest;

namespace {
struct RestoreRun {
    CMessageSink sink;
    Coldrith::CFileRestore restore;
    std::vector<Coldrith::CFileRestore::ZipItem> items;
    RestoreRun() { restore.SetParentWnd(sink.Window()); }
    LPARAM Run(const std::wstring& archive, const std::wstring& target)
    {
        EXPECT_TRUE(restore.OpenZipFile(archive, items));
        EXPECT_TRUE(restore.UnZipFile(target));
        EXPECT_TRUE(sink.WaitForDone());
        return sink.outcome;
    }
};

LPARAM Backup(const std::wstring& folder, const std::wstring& name, std::vector<std::wstring> sources)
{
    CMessageSink sink;
    Coldrith::CFileBackup backup;
    backup.SetParentWnd(sink.Window());
    EXPECT_TRUE(backup.ZipFiles(folder, name, sources, 1));
    EXPECT_TRUE(sink.WaitForDone());
    return sink.outcome;
}

FILETIME WriteTime(const std::wstring& path)
{
    WIN32_FILE_ATTRIBUTE_DATA d;
    GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &d);
    return d.ftLastWriteTime;
}

int64_t SecondsBetween(const FILETIME& a, const FILETIME& b)
{
    ULARGE_INTEGER x, y;
    x.LowPart = a.dwLowDateTime;
    x.HighPart = a.dwHighDateTime;
    y.LowPart = b.dwLowDateTime;
    y.HighPart = b.dwHighDateTime;
    return (static_cast<int64_t>(x.QuadPart) - static_cast<int64_t>(y.QuadPart)) / 10000000;
}

// Where a restore into target puts what was backed up from source: the source's path below the target.
std::wstring RestoredPlace(const std::wstring& target, const std::wstring& source)
{
    return target + L"\\" + Zip::StoredPathFromFull(source);
}

// Every file below root with its bytes (folders with none), by relative path.
std::vector<std::pair<std::wstring, std::string>> Snapshot(const std::wstring& root)
{
    std::vector<std::pair<std::wstring, std::string>> out;
    for (const auto& rel : ListTree(root))
        out.emplace_back(rel, rel.back() == L'\\' ? std::string() : ReadBytes(root + L"\\" + rel));
    return out;
}
}  // namespace

TEST(FileRestore, BackupRoundTripsContentTimesAndAttributes)
{
    CScratchDir dir(L"rt");
    std::wstring src = dir / L"src";
    MakeDirs(src + L"\\sub");
    std::vector<std::pair<std::wstring, std::string>> files = {{L"text.txt", TextBytes(300000)},
                                                               {L"random.bin", RandomBytes(200000, 5)},
                                                               {L"zero", ""},
                                                               {L"sub\\hidden.txt", "hidden file"},
                                                               {L"caf\x00e9.txt", "oem"},
                                                               {L"\x0444\x0430\x0439\x043b.txt", "cyr"},
                                                               {L"\x6587\x4ef6.txt", "cjk"}};
    for (const auto& f : files) WriteBytes(src + L"\\" + f.first, f.second);
    SetFileAttributesW((src + L"\\sub\\hidden.txt").c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE);
    ASSERT_EQ(Backup(dir.Path(), L"b", {src}), 0);

    RestoreRun run;
    ASSERT_EQ(run.Run(dir / L"b.fbk", dir / L"out"), 0);
    EXPECT_TRUE(run.restore.GetRunErrors().empty());
    std::wstring place = RestoredPlace(dir / L"out", src);
    for (const auto& f : files) {
        std::wstring back = place + L"\\" + f.first;
        ASSERT_TRUE(Exists(back)) << f.second;
        EXPECT_EQ(ReadBytes(back), f.second);
        EXPECT_LE(std::abs(SecondsBetween(WriteTime(back), WriteTime(src + L"\\" + f.first))), 2);
    }
    EXPECT_EQ(Snapshot(place), Snapshot(src));
    EXPECT_TRUE(GetFileAttributesW((place + L"\\sub\\hidden.txt").c_str()) & FILE_ATTRIBUTE_HIDDEN);

    // Listing: last name component, folder flag, size and a formatted time.
    auto it = std::find_if(run.items.begin(), run.items.end(), [](const auto& i) { return i.name == L"text.txt"; });
    ASSERT_NE(it, run.items.end());
    EXPECT_EQ(it->size, 300000u);
    EXPECT_FALSE(it->isDirectory);
    EXPECT_FALSE(it->time.empty());
    auto sub = std::find_if(run.items.begin(), run.items.end(), [](const auto& i) { return i.name == L"sub"; });
    ASSERT_NE(sub, run.items.end());
    EXPECT_TRUE(sub->isDirectory);

    // Progress is cumulative over the whole run.
    ASSERT_FALSE(run.sink.restoreProgress.empty());
    EXPECT_TRUE(std::is_sorted(run.sink.restoreProgress.begin(), run.sink.restoreProgress.end()));
    EXPECT_EQ(run.sink.restoreProgress.back(), 10000);
}

// Files of the same name in different folders each come back in their own folder, byte for byte.
TEST(FileRestore, EqualNamesInDifferentFoldersAllComeBack)
{
    CScratchDir dir(L"samename");
    std::wstring src = dir / L"src";
    const std::pair<const wchar_t*, std::string> files[] = {{L"same.txt", "top"},
                                                            {L"a\\same.txt", TextBytes(70000)},
                                                            {L"b\\SAME.TXT", RandomBytes(5000, 1)},
                                                            {L"a\\deep\\same.txt", "deep"},
                                                            {L"b\\a\\same.txt", ""}};
    for (const auto& f : files) {
        std::wstring path = src + L"\\" + f.first;
        MakeDirs(path.substr(0, path.rfind(L'\\')));
        WriteBytes(path, f.second);
    }
    ASSERT_EQ(Backup(dir.Path(), L"b", {src}), 0);

    RestoreRun run;
    ASSERT_EQ(run.Run(dir / L"b.fbk", dir / L"out"), 0);
    EXPECT_TRUE(run.restore.GetRunErrors().empty());
    EXPECT_EQ(Snapshot(RestoredPlace(dir / L"out", src)), Snapshot(src));
}

// The same stored path twice (letter case aside) is one file: the later entry is skipped and counted.
TEST(FileRestore, SamePathIsNeverOverwrittenInOneRun)
{
    CScratchDir dir(L"dup");
    BuildArchive(dir / L"d.fbk",
                 {{L"A\\same.txt", "first", -1}, {L"a\\SAME.TXT", "second", -1}, {L"C\\other.txt", "other", -1}});
    RestoreRun run;
    EXPECT_EQ(run.Run(dir / L"d.fbk", dir / L"out"), 1);
    EXPECT_EQ(ReadBytes(dir / L"out\\A\\same.txt"), "first");
    EXPECT_EQ(ReadBytes(dir / L"out\\C\\other.txt"), "other");
    ASSERT_EQ(run.restore.GetRunErrors().size(), 1u);
    EXPECT_NE(run.restore.GetRunErrors()[0].find(L"SAME.TXT"), std::wstring::npos);
}

TEST(FileRestore, CorruptEntryFailsAloneAndLeavesNothing)
{
    CScratchDir dir(L"crc");
    std::string text = TextBytes(100000);
    std::string archive = BuildArchive(dir / L"x.zip", {{L"bad.txt", text, 6}, {L"good.txt", "fine", 6}});
    archive[30 + 7 + 300] ^= 0x40;
    WriteBytes(dir / L"c.fbk", archive);
    RestoreRun run;
    EXPECT_EQ(run.Run(dir / L"c.fbk", dir / L"out"), 1);
    EXPECT_FALSE(Exists(dir / L"out\\bad.txt"));
    EXPECT_EQ(ReadBytes(dir / L"out\\good.txt"), "fine");
    EXPECT_EQ(ListTree(dir / L"out"), std::vector<std::wstring>{L"good.txt"}) << "no temporary file left";
}

// Files already in the target: a complete entry replaces one (read-only too, as before), a damaged entry
// leaves it as it was. A damaged entry is never counted as restored, and nothing of it stays behind.
TEST(FileRestore, ExistingFilesAreReplacedOnlyByCompleteEntries)
{
    CScratchDir dir(L"keep");
    std::string text = TextBytes(100000);
    std::string archive = BuildArchive(
        dir / L"x.zip",
        {{L"bad.txt", text, 6}, {L"short.txt", text, 6}, {L"good.txt", "fine", 6}, {L"locked.txt", "new", 6}});
    archive[30 + 7 + 300] ^= 0x40;                           // bad.txt: its checksum no longer matches
    size_t shortData = archive.find("short.txt") + 9 + 300;  // short.txt: its data damaged mid-stream
    archive.replace(shortData, 64, std::string(64, '\xFF'));
    WriteBytes(dir / L"c.fbk", archive);
    MakeDirs(dir / L"out");
    const std::pair<const wchar_t*, const char*> before[] = {
        {L"bad.txt", "mine"}, {L"short.txt", "mine too"}, {L"good.txt", "old"}, {L"locked.txt", "old"}};
    for (const auto& f : before) WriteBytes(dir / (std::wstring(L"out\\") + f.first), f.second);
    SetFileAttributesW((dir / L"out\\locked.txt").c_str(), FILE_ATTRIBUTE_READONLY);

    RestoreRun run;
    EXPECT_EQ(run.Run(dir / L"c.fbk", dir / L"out"), 2);
    EXPECT_EQ(ReadBytes(dir / L"out\\bad.txt"), "mine");
    EXPECT_EQ(ReadBytes(dir / L"out\\short.txt"), "mine too");
    EXPECT_EQ(ReadBytes(dir / L"out\\good.txt"), "fine");
    EXPECT_EQ(ReadBytes(dir / L"out\\locked.txt"), "new");
    EXPECT_EQ(ListTree(dir / L"out"), (std::vector<std::wstring>{L"bad.txt", L"good.txt", L"locked.txt", L"short.txt"}))
        << "no temporary file left";
    ASSERT_EQ(run.restore.GetRunErrors().size(), 2u);
    EXPECT_NE(run.restore.GetRunErrors()[0].find(L"bad.txt"), std::wstring::npos);
    EXPECT_NE(run.restore.GetRunErrors()[1].find(L"short.txt"), std::wstring::npos);
}

// A new file written under its final name goes again when its entry turns out damaged at any point: at the
// checksum after the last byte, or in the middle of the data.
TEST(FileRestore, DamagedEntriesLeaveNoFileUnderTheirName)
{
    CScratchDir dir(L"dmg");
    std::string text = TextBytes(200000);
    std::string archive =
        BuildArchive(dir / L"x.zip", {{L"crc.txt", text, 6}, {L"mid.txt", text, 6}, {L"stored.txt", text, 0}});
    archive[30 + 7 + 300] ^= 0x40;
    size_t mid = archive.find("mid.txt") + 7 + 500;
    archive.replace(mid, 64, std::string(64, '\xFF'));
    archive[archive.find("stored.txt") + 10 + 150000] ^= 0x01;
    WriteBytes(dir / L"c.fbk", archive);

    RestoreRun run;
    EXPECT_EQ(run.Run(dir / L"c.fbk", dir / L"out"), 3);
    EXPECT_EQ(ListTree(dir / L"out"), std::vector<std::wstring>{});
    EXPECT_EQ(run.restore.GetRunErrors().size(), 3u);
}

TEST(FileRestore, HostileNamesStayInsideTheTarget)
{
    CScratchDir dir(L"slip");
    const wchar_t* names[] = {L"../evil1.txt",
                              L"..\\..\\evil2.txt",
                              L"/abs.txt",
                              L"C:\\drive.txt",
                              L"\\\\srv\\share\\unc.txt",
                              L"NUL",
                              L"com1.txt",
                              L"a:b",
                              L"x/../../y",
                              L"q?x",
                              L"..",
                              L"dir/",
                              L"ok.txt"};
    std::vector<TestEntry> entries;
    for (const wchar_t* n : names) entries.push_back({n, "payload", 0, std::wstring(n).back() == L'/'});
    BuildArchive(dir / L"h.fbk", entries);
    MakeDirs(dir / L"deep\\target");
    std::vector<std::wstring> before = ListTree(dir.Path());

    RestoreRun run;
    EXPECT_EQ(run.Run(dir / L"h.fbk", dir / L"deep\\target"), 11);
    EXPECT_EQ(run.restore.GetRunErrors().size(), 11u);
    std::vector<std::wstring> after = ListTree(dir.Path());
    std::vector<std::wstring> added;
    std::set_difference(after.begin(), after.end(), before.begin(), before.end(), std::back_inserter(added));
    EXPECT_EQ(added, (std::vector<std::wstring>{L"deep\\target\\dir\\", L"deep\\target\\ok.txt"}));
}

TEST(FileRestore, EntriesNamedLikeTheStagingFolderAreRestoredAndKept)
{
    CScratchDir dir(L"stagenames");
    std::wstring prefix = Coldrith::CRestoreStaging::NamePrefix();
    BuildArchive(dir / L"s.fbk", {{prefix + L"1/", "", 0, true},
                                  {prefix + L"2", "a file named like the staging folder", -1},
                                  {L"x\\" + prefix + L"3", "in a sub-folder of the archive", -1}});
    RestoreRun run;
    EXPECT_EQ(run.Run(dir / L"s.fbk", dir / L"out"), 0);
    EXPECT_EQ(ListTree(dir / L"out"),
              (std::vector<std::wstring>{prefix + L"1\\", prefix + L"2", L"x\\", L"x\\" + prefix + L"3"}));
    EXPECT_EQ(ReadBytes(dir / L"out\\" + prefix + L"2"), "a file named like the staging folder");
}

TEST(FileRestore, StagingLeftByAKilledRunGoesAtTheNextRun)
{
    CScratchDir dir(L"leftover");
    std::wstring prefix = Coldrith::CRestoreStaging::NamePrefix();
    std::wstring marker = Coldrith::CRestoreStaging::MarkerName();
    std::wstring target = dir / L"out";
    // What a killed run leaves: its staging folder with the marker and a half-written file.
    MakeDirs(target + L"\\" + prefix + L"1");
    WriteBytes(target + L"\\" + prefix + L"1\\" + marker, "");
    WriteBytes(target + L"\\" + prefix + L"1\\big.bin.tmp~0", TextBytes(1000));
    // A folder of the user's with the same kind of name but no marker, and one whose run is still going.
    MakeDirs(target + L"\\" + prefix + L"2");
    WriteBytes(target + L"\\" + prefix + L"2\\mine.txt", "user data");
    MakeDirs(target + L"\\" + prefix + L"3");
    HANDLE live = CreateFileW((target + L"\\" + prefix + L"3\\" + marker).c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                              nullptr, CREATE_NEW, 0, nullptr);
    ASSERT_NE(live, INVALID_HANDLE_VALUE);

    BuildArchive(dir / L"a.fbk", {{L"a.txt", "restored", -1}});
    RestoreRun run;
    EXPECT_EQ(run.Run(dir / L"a.fbk", target), 0);
    CloseHandle(live);
    EXPECT_EQ(ListTree(target), (std::vector<std::wstring>{L"a.txt", prefix + L"2\\", prefix + L"2\\mine.txt",
                                                           prefix + L"3\\", prefix + L"3\\" + marker}));
}

namespace {
// Bytes of the files below root, the staging folder's marker left out.
uint64_t BytesBelow(const std::wstring& root)
{
    uint64_t total = 0;
    for (const auto& rel : ListTree(root)) {
        WIN32_FILE_ATTRIBUTE_DATA d;
        if (rel.back() != L'\\' && GetFileAttributesExW((root + L"\\" + rel).c_str(), GetFileExInfoStandard, &d))
            total += (static_cast<uint64_t>(d.nFileSizeHigh) << 32) | d.nFileSizeLow;
    }
    return total;
}
}  // namespace

// A restore killed while it writes leaves nothing that looks restored once the next run into that folder has
// started: the file it was writing is removed by that run (whatever that run restores), and what it finished stays.
TEST(FileRestore, AKilledRunLeavesNoPartialFileBehind)
{
    CScratchDir dir(L"killed");
    std::vector<TestEntry> entries;
    for (int i = 0; i < 3; ++i)
        entries.push_back({L"big" + std::to_wstring(i) + L".txt", TextBytes((24u << 20) + i), 1});
    BuildArchive(dir / L"k.fbk", entries, 1 << 20);
    std::wstring target = dir / L"out";
    std::wstring command = L"\"" + shell_test::ProgramFolder() + L"ColdrithZipTool.exe\" restore \"" +
                           (dir / L"k.fbk") + L"\" \"" + target + L"\"";
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    ASSERT_TRUE(CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
    bool writing = shell_test::PumpUntil([&] { return BytesBelow(target) > 0; }, 120000);
    TerminateProcess(pi.hProcess, 1);
    WaitForSingleObject(pi.hProcess, 30000);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    ASSERT_TRUE(writing) << "the restore wrote nothing";

    // Another archive into the same folder.
    BuildArchive(dir / L"other.fbk", {{L"other.txt", "other", -1}});
    RestoreRun other;
    EXPECT_EQ(other.Run(dir / L"other.fbk", target), 0);
    std::vector<std::wstring> left = ListTree(target);
    EXPECT_NE(std::find(left.begin(), left.end(), L"other.txt"), left.end());
    for (const auto& rel : left) {
        auto entry = std::find_if(entries.begin(), entries.end(), [&](const TestEntry& e) { return e.name == rel; });
        EXPECT_TRUE(rel == L"other.txt" || (entry != entries.end() && ReadBytes(target + L"\\" + rel) == entry->data))
            << "left behind: " << rel;
    }

    RestoreRun again;
    EXPECT_EQ(again.Run(dir / L"k.fbk", target), 0);
    EXPECT_EQ(ListTree(target), (std::vector<std::wstring>{L"big0.txt", L"big1.txt", L"big2.txt", L"other.txt"}));
    for (const auto& e : entries) EXPECT_TRUE(ReadBytes(target + L"\\" + e.name) == e.data) << e.name;
}

TEST(FileRestore, UnreadableArchivesAreNotListed)
{
    CScratchDir dir(L"open");
    WriteBytes(dir / L"not.fbk", TextBytes(5000));
    Coldrith::CFileRestore restore;
    std::vector<Coldrith::CFileRestore::ZipItem> items;
    EXPECT_FALSE(restore.OpenZipFile(dir / L"not.fbk", items));
    EXPECT_FALSE(restore.OpenZipFile(dir / L"missing.fbk", items));
    EXPECT_TRUE(items.empty());

    // Held by another program that only shares reading: listing still works (the archive is only read).
    BuildArchive(dir / L"held.fbk", {{L"a", "x", -1}});
    HANDLE holder =
        CreateFileW((dir / L"held.fbk").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(restore.OpenZipFile(dir / L"held.fbk", items));
    CloseHandle(holder);
    EXPECT_EQ(items.size(), 1u);

    CMessageSink sink;
    Coldrith::CFileRestore unopened;
    unopened.SetParentWnd(sink.Window());
    EXPECT_TRUE(unopened.UnZipFile(dir / L"t"));
    ASSERT_TRUE(sink.WaitForDone());
    EXPECT_EQ(sink.outcome, 1) << "nothing open is a failure, not success";
    Coldrith::CFileRestore lonely;
    EXPECT_FALSE(lonely.UnZipFile(dir / L"t"));
}

TEST(FileRestore, FormatsDosTimes)
{
    // 2024-03-05 14:07:32 and an impossible date (month 0) that reads as 1980-01-01.
    uint16_t date = static_cast<uint16_t>(((2024 - 1980) << 9) | (3 << 5) | 5);
    uint16_t time = static_cast<uint16_t>((14 << 11) | (7 << 5) | 16);
    EXPECT_EQ(Coldrith::FormatDosTime(date, time), L"05 Mar 2024, 14:07:32");
    EXPECT_EQ(Coldrith::FormatDosTime(static_cast<uint16_t>((10 << 9) | 1), 0), L"01 Jan 1980, 00:00:00");
}
