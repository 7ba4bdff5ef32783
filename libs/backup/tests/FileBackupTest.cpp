// Folder backup end to end: a worker thread writes the .fbk and reports to a window.
#include "FileBackup.h"
#include "MessageSink.h"
#include "TestSupport.h"
#include "ZipTestUtil.h"
#include "zip/ZipEntryName.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace ColdrithTest;

namespace {
std::wstring Slashed(std::wstring s)
{
    std::replace(s.begin(), s.end(), L'\\', L'/');
    return s;
}

std::vector<std::wstring> EntryNames(const std::wstring& archive)
{
    CZipArchive zip;
    zip.Open(archive, CZipArchive::zipOpenReadOnly);
    std::vector<std::wstring> names;
    for (uint16_t i = 0; i < zip.GetCount(); ++i) {
        CZipFileHeader h;
        zip.GetEntryInfo(h, i);
        names.push_back(Slashed(h.GetFileName()));
    }
    return names;
}

struct BackupRun {
    CMessageSink sink;
    Coldrith::CFileBackup backup;
    BackupRun()
    {
        backup.SetParentWnd(sink.Window());
        backup.SetProgressCtrl(sink.Progress());
    }
    LPARAM Run(const std::wstring& folder, const std::wstring& name, std::vector<std::wstring> sources, int choice = 1)
    {
        EXPECT_TRUE(backup.ZipFiles(folder, name, sources, choice));
        EXPECT_TRUE(sink.WaitForDone());
        return sink.outcome;
    }
};
}  // namespace

TEST(FileBackup, PlansFilesBeforeSubFoldersAndReportsProgress)
{
    CScratchDir dir(L"plan");
    std::wstring src = dir / L"src";
    MakeDirs(src + L"\\s");
    WriteBytes(src + L"\\a", TextBytes(100000));
    WriteBytes(src + L"\\b", RandomBytes(70000, 1));
    WriteBytes(src + L"\\s\\c", TextBytes(5));
    WriteBytes(dir / L"single.txt", "one file as a source");

    BackupRun run;
    ASSERT_EQ(run.Run(dir.Path(), L"out", {src, dir / L"single.txt"}), 0);
    std::wstring base = Slashed(Zip::StoredPathFromFull(src));
    std::vector<std::wstring> expected = {base + L"/a", base + L"/b", base + L"/s/", base + L"/s/c",
                                          Slashed(Zip::StoredPathFromFull(dir / L"single.txt"))};
    EXPECT_EQ(EntryNames(dir / L"out.fbk"), expected);

    ASSERT_EQ(run.sink.ranges.size(), 1u);
    EXPECT_EQ(run.sink.ranges[0], 100000 + 70000 + 5 + 20);
    ASSERT_FALSE(run.sink.backupProgress.empty());
    EXPECT_TRUE(std::is_sorted(run.sink.backupProgress.begin(), run.sink.backupProgress.end()));
    EXPECT_EQ(run.sink.backupProgress.back(), 10000);
    EXPECT_TRUE(run.backup.GetRunErrors().empty());
}

TEST(FileBackup, CompressionChoiceSetsLevelFlagsAndFoldersAreStored)
{
    CScratchDir dir(L"levels");
    std::wstring src = dir / L"src";
    MakeDirs(src + L"\\sub");
    WriteBytes(src + L"\\t.txt", TextBytes(50000));
    const std::pair<int, uint16_t> cases[] = {{0, 6}, {1, 0}, {2, 2}, {7, 0}};
    for (const auto& c : cases) {
        BackupRun run;
        ASSERT_EQ(run.Run(dir.Path(), L"c", {src}, c.first), 0);
        CZipArchive zip;
        zip.Open(dir / L"c.fbk", CZipArchive::zipOpenReadOnly);
        ASSERT_EQ(zip.GetCount(), 2);
        CZipFileHeader file, folder;
        zip.GetEntryInfo(file, 0);
        zip.GetEntryInfo(folder, 1);
        EXPECT_EQ(file.m_uMethod, 8);
        EXPECT_EQ(file.m_uFlag, c.second) << "choice " << c.first;
        EXPECT_EQ(folder.m_uMethod, 0);
        EXPECT_TRUE(folder.IsDirectory());
        EXPECT_EQ(folder.m_uExternalAttr & 0x10, 0x10u);
    }
}

TEST(FileBackup, UnreadableSourcesAreReportedNotStoredEmpty)
{
    CScratchDir dir(L"locked");
    std::wstring src = dir / L"src";
    MakeDirs(src);
    WriteBytes(src + L"\\locked.txt", "held open by someone else");
    WriteBytes(src + L"\\free.txt", "readable");
    HANDLE holder = CreateFileW((src + L"\\locked.txt").c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);

    BackupRun run;
    LPARAM outcome = run.Run(dir.Path(), L"l", {src, dir / L"missing.txt"});
    CloseHandle(holder);
    EXPECT_EQ(outcome, 2);
    std::vector<std::wstring> names = EntryNames(dir / L"l.fbk");
    ASSERT_EQ(names.size(), 1u);
    EXPECT_NE(names[0].find(L"free.txt"), std::wstring::npos);
    std::vector<std::wstring> errors = run.backup.GetRunErrors();
    ASSERT_EQ(errors.size(), 2u);
    EXPECT_NE(errors[0].find(L"missing.txt"), std::wstring::npos);
    EXPECT_NE(errors[1].find(L"locked.txt"), std::wstring::npos);
}

TEST(FileBackup, ArchiveInsideASourceIsLeftOutAndEmptyFilesFinish)
{
    CScratchDir dir(L"self");
    MakeDirs(dir / L"e");
    WriteBytes(dir / L"e\\empty1", "");
    WriteBytes(dir / L"e\\empty2", "");
    BackupRun run;
    // The archive goes into the very folder being backed up; a second run finds the first archive there.
    ASSERT_EQ(run.Run(dir / L"e", L"inside", {dir / L"e"}), 0);
    ASSERT_EQ(run.Run(dir / L"e", L"inside", {dir / L"e", dir / L"e\\empty1"}), 0);
    std::vector<std::wstring> names = EntryNames(dir / L"e\\inside.fbk");
    EXPECT_EQ(names.size(), 2u) << "no self entry and no duplicate of empty1";
    ASSERT_FALSE(run.sink.ranges.empty());
    EXPECT_EQ(run.sink.ranges.back(), 0);
    ASSERT_FALSE(run.sink.backupProgress.empty());
    EXPECT_EQ(run.sink.backupProgress.back(), 10000);
}

TEST(FileBackup, FilesOfFourGigabytesAreReportedNotWrapped)
{
    CScratchDir dir(L"huge");
    std::wstring src = dir / L"src";
    MakeDirs(src);
    WriteBytes(src + L"\\small.txt", "small");
    // A sparse file just over 4 GiB: its size no longer fits the archive's 32-bit fields.
    HANDLE h = CreateFileW((src + L"\\huge.bin").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    LARGE_INTEGER size;
    size.QuadPart = 0x100000001LL;
    ASSERT_TRUE(SetFilePointerEx(h, size, nullptr, FILE_BEGIN));
    ASSERT_TRUE(SetEndOfFile(h));
    CloseHandle(h);

    BackupRun run;
    EXPECT_EQ(run.Run(dir.Path(), L"h", {src}), 1);
    std::vector<std::wstring> names = EntryNames(dir / L"h.fbk");
    ASSERT_EQ(names.size(), 1u);
    EXPECT_NE(names[0].find(L"small.txt"), std::wstring::npos);
    ASSERT_EQ(run.backup.GetRunErrors().size(), 1u);
    EXPECT_NE(run.backup.GetRunErrors()[0].find(L"huge.bin"), std::wstring::npos);
    EXPECT_EQ(run.sink.ranges.at(0), 5) << "the total holds only what is backed up";
}

TEST(FileBackup, AFileTooLargeForTheArchiveIsSkippedAndTheRestFollows)
{
    CScratchDir dir(L"toolarge");
    WriteBytes(dir / L"first.txt", "before the large one");
    WriteBytes(dir / L"last.txt", "after the large one");
    // A sparse file just under 4 GiB: its size fits the fields, but not with its worst-case deflated size and
    // the archive's headers, so it cannot go in; the files after it can.
    HANDLE h = CreateFileW((dir / L"large.bin").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    LARGE_INTEGER size;
    size.QuadPart = 0xFFFFFF00LL;
    ASSERT_TRUE(SetFilePointerEx(h, size, nullptr, FILE_BEGIN));
    ASSERT_TRUE(SetEndOfFile(h));
    CloseHandle(h);

    BackupRun run;
    EXPECT_EQ(run.Run(dir.Path(), L"t", {dir / L"first.txt", dir / L"large.bin", dir / L"last.txt"}), 1);
    std::vector<std::wstring> names = EntryNames(dir / L"t.fbk");
    ASSERT_EQ(names.size(), 2u);
    EXPECT_NE(names[0].find(L"first.txt"), std::wstring::npos);
    EXPECT_NE(names[1].find(L"last.txt"), std::wstring::npos);
    EXPECT_EQ(ReadAll(ReadBytes(dir / L"t.fbk")),
              (std::vector<std::string>{"before the large one", "after the large one"}));
    ASSERT_EQ(run.backup.GetRunErrors().size(), 1u);
    EXPECT_NE(run.backup.GetRunErrors()[0].find(L"large.bin"), std::wstring::npos);
}

TEST(FileBackup, StopKeepsAValidArchiveAndReportsTheRest)
{
    CScratchDir dir(L"stop");
    std::wstring src = dir / L"src";
    MakeDirs(src);
    for (int i = 0; i < 20; ++i) WriteBytes(src + L"\\f" + std::to_wstring(i), TextBytes(20000));
    BackupRun run;
    run.sink.onProgress = [&](UINT, WPARAM) { run.backup.StopZipProcess(); };
    LPARAM outcome = run.Run(dir.Path(), L"s", {src});
    EXPECT_GT(outcome, 0);
    std::vector<std::wstring> names = EntryNames(dir / L"s.fbk");
    EXPECT_GE(names.size(), 1u);
    EXPECT_EQ(static_cast<size_t>(outcome) + names.size(), 20u);
    EXPECT_EQ(ReadAll(ReadBytes(dir / L"s.fbk")).size(), names.size());
}

TEST(FileBackup, NeedsAParentWindowAndAWritableFolder)
{
    CScratchDir dir(L"noparent");
    Coldrith::CFileBackup lonely;
    std::vector<std::wstring> sources = {dir.Path()};
    EXPECT_FALSE(lonely.ZipFiles(dir.Path(), L"x", sources, 1));

    WriteBytes(dir / L"f", "data");
    BackupRun run;
    EXPECT_GT(run.Run(dir / L"no\\such\\folder", L"x", {dir / L"f"}), 0);
    EXPECT_FALSE(run.backup.GetRunErrors().empty());
}

TEST(FileBackup, LevelFromChoice)
{
    EXPECT_EQ(Coldrith::LevelFromChoice(0), 1);
    EXPECT_EQ(Coldrith::LevelFromChoice(1), -1);
    EXPECT_EQ(Coldrith::LevelFromChoice(2), 9);
    EXPECT_EQ(Coldrith::LevelFromChoice(-3), -1);
}

TEST(FileBackup, ProgressArithmeticAndThrottle)
{
    EXPECT_EQ(Coldrith::ProgressPermyriad(0, 0), 10000) << "nothing to do is done";
    EXPECT_EQ(Coldrith::ProgressPermyriad(1, 3), 3333);
    EXPECT_EQ(Coldrith::ProgressPermyriad(5, 3), 10000);
    EXPECT_EQ(Coldrith::ProgressPermyriad(0xFFFFFFFFull, 0x1FFFFFFFEull), 5000) << "past 32 bits";
    EXPECT_EQ(Coldrith::ProgressPermyriad(UINT64_MAX / 2, UINT64_MAX), 5000);

    Coldrith::CProgressThrottle throttle(40);
    EXPECT_TRUE(throttle.ShouldSend(0, 1000));
    EXPECT_FALSE(throttle.ShouldSend(0, 2000)) << "unchanged";
    EXPECT_TRUE(throttle.ShouldSend(5, 2000));
    EXPECT_FALSE(throttle.ShouldSend(6, 2010)) << "too soon";
    EXPECT_TRUE(throttle.ShouldSend(10000, 2011)) << "the end always goes";
    EXPECT_TRUE(throttle.ShouldSend(7, 2052));
}
