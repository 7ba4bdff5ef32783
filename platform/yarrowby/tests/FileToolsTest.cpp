// The shredder, the splitter and the joiner through the DLL, on files of the test prefix: the messages they
// send, what they write, and what they refuse.
#include <gtest/gtest.h>

#include <QTestSupport.h>
#include <QExactPath.h>
#include <Yarrowby.h>

#include <map>
#include <set>

#include "ToolRecorder.h"
#include "WriteBehind.h"

using namespace yarrowby_test;
using shell_test::MakeScratchFolder;
using shell_test::RemoveTree;

namespace {

class Scratch {
public:
    explicit Scratch(const wchar_t* name) : m_folder(MakeScratchFolder(name)) {}
    ~Scratch() { RemoveTree(m_folder); }
    std::wstring operator/(const std::wstring& name) const { return m_folder + name; }
    std::wstring Folder() const { return m_folder.substr(0, m_folder.size() - 1); }

private:
    std::wstring m_folder;
};

}  // namespace

TEST(FileShredder, OverwritesInPassesThenDeletesWithoutLeftovers)
{
    Scratch scratch(L"shred-inplace");
    for (int passes : {1, 3}) {
        const std::wstring victim = scratch / L"secret.bin";
        ASSERT_TRUE(WriteBytes(victim, RandomBytes(300 * 1024 + 123, 7 + passes)));
        ASSERT_TRUE(::SetFileAttributesW(victim.c_str(), FILE_ATTRIBUTE_READONLY));

        ToolRecorder recorder(WM_SHRED_PROGRESS, WM_SHRED_DONE);
        CFileShredder shredder;
        shredder.SetParentWnd(recorder.Window());
        EXPECT_TRUE(shredder.ShredderFiles({victim}, passes));
        ASSERT_TRUE(recorder.WaitForDone());

        ASSERT_EQ(1u, recorder.Done().size());
        EXPECT_EQ(0u, recorder.Done()[0].wParam);
        EXPECT_EQ(size_t(100 * passes), recorder.Progress().size()) << passes;
        EXPECT_TRUE(FolderNames(scratch.Folder()).empty());  // no renamed leftover
    }
}

// Each case: the fixture files (name, contents), the one chosen, the done message, and what the folder holds after.
struct ExactNameCase {
    const wchar_t* label;
    std::vector<std::pair<std::wstring, std::string>> files;
    const wchar_t* hardLinkOf;  // the chosen name is made a second name of this file
    const wchar_t* chosen;
    WPARAM failed;
    LPARAM error;
};

TEST(FileShredder, HandlesExactlyTheChosenNameAndRefusesFilesWithOtherNames)
{
    const std::vector<ExactNameCase> cases = {
        {L"trailing dot", {{L"name", "keep"}, {L"name.", "dot"}}, nullptr, L"name.", 0, 0},
        {L"trailing blank", {{L"name", "keep"}, {L"name ", "blank"}}, nullptr, L"name ", 0, 0},
        {L"plain beside dotted", {{L"name", "plain"}, {L"name.", "keep"}}, nullptr, L"name", 0, 0},
        {L"hard link", {{L"data.bin", "shared"}}, L"data.bin", L"other.bin", 1, YARROWBY_ERROR_HARD_LINKS},
    };
    for (const ExactNameCase& c : cases) {
        Scratch scratch(L"shred-exact");
        std::map<std::wstring, std::string> expected;
        for (const auto& file : c.files) {
            ASSERT_TRUE(WriteBytes(qcore::ExactPath(scratch / file.first), file.second)) << c.label;
            expected[file.first] = file.second;
        }
        if (c.hardLinkOf) {
            ASSERT_TRUE(::CreateHardLinkW((scratch / c.chosen).c_str(), (scratch / c.hardLinkOf).c_str(), nullptr));
            expected[c.chosen] = expected[c.hardLinkOf];
        }
        if (c.failed == 0) expected.erase(c.chosen);

        ToolRecorder recorder(WM_SHRED_PROGRESS, WM_SHRED_DONE);
        CFileShredder shredder;
        shredder.SetParentWnd(recorder.Window());
        shredder.ShredderFiles({scratch / c.chosen}, 1);
        ASSERT_TRUE(recorder.WaitForDone()) << c.label;
        EXPECT_EQ(c.failed, recorder.Done()[0].wParam) << c.label;
        EXPECT_EQ(c.error, recorder.Done()[0].lParam) << c.label;

        std::map<std::wstring, std::string> after;
        for (const std::wstring& name : FolderNames(scratch.Folder()))
            after[name] = ReadBytes(qcore::ExactPath(scratch / name));
        EXPECT_EQ(expected, after) << c.label;
        for (const std::wstring& name : FolderNames(scratch.Folder())) qcore::DeleteExactFile(scratch / name);
    }
}

TEST(FileShredder, RefusesFoldersRootsAndLinksAndKeepsFilesItCannotOpen)
{
    Scratch scratch(L"shred-refuse");
    const std::wstring held = scratch / L"held.bin", good = scratch / L"good.bin", folder = scratch / L"folder";
    const std::string heldBytes = RandomBytes(5000, 1);
    ASSERT_TRUE(WriteBytes(held, heldBytes));
    ASSERT_TRUE(WriteBytes(good, RandomBytes(5000, 2)));
    ASSERT_TRUE(::CreateDirectoryW(folder.c_str(), nullptr));
    ASSERT_TRUE(WriteBytes(folder + L"\\inside.txt", "x"));
    HANDLE open = ::CreateFileW(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, open);

    ToolRecorder recorder(WM_SHRED_PROGRESS, WM_SHRED_DONE);
    CFileShredder shredder;
    shredder.SetParentWnd(recorder.Window());
    shredder.ShredderFiles({held, folder, L"C:\\", good}, 2);
    ASSERT_TRUE(recorder.WaitForDone());
    ::CloseHandle(open);

    ASSERT_EQ(1u, recorder.Done().size());
    EXPECT_EQ(3u, recorder.Done()[0].wParam);
    EXPECT_EQ(LPARAM(ERROR_SHARING_VIOLATION), recorder.Done()[0].lParam);
    EXPECT_EQ(200u, recorder.Progress().size());
    EXPECT_EQ(heldBytes, ReadBytes(held));
    EXPECT_TRUE(Exists(folder + L"\\inside.txt"));
    EXPECT_FALSE(Exists(good));

    // A linked folder (a Unix symbolic link of the fixtures, a reparse point to Windows) is refused; what it
    // leads to stays. (Wine shows linked files as plain files, so a linked file is refused only on Windows.)
    const std::wstring fixtures = shell_test::ProgramFolder() + L"yarrowby-fixtures\\";
    const std::string target = ReadBytes(fixtures + L"folder\\target.txt");
    ASSERT_FALSE(target.empty());
    ASSERT_NE(0u, ::GetFileAttributesW((fixtures + L"link").c_str()) & FILE_ATTRIBUTE_REPARSE_POINT);
    recorder.Clear();
    shredder.ShredderFiles({fixtures + L"link"}, 1);
    ASSERT_TRUE(recorder.WaitForDone());
    EXPECT_EQ(1u, recorder.Done()[0].wParam);
    EXPECT_EQ(LPARAM(YARROWBY_ERROR_NOT_A_FILE), recorder.Done()[0].lParam);
    EXPECT_EQ(target, ReadBytes(fixtures + L"link\\target.txt"));
    EXPECT_TRUE(Exists(fixtures + L"link"));
}

TEST(FileShredder, OneDoneMessagePerCallAlsoWhenRefusedOrStopped)
{
    Scratch scratch(L"shred-stop");
    const std::wstring big = scratch / L"big.bin";
    ASSERT_TRUE(WriteBytes(big, RandomBytes(8 << 20, 3)));
    ToolRecorder recorder(WM_SHRED_PROGRESS, WM_SHRED_DONE);
    CFileShredder shredder;
    shredder.SetParentWnd(recorder.Window());
    ASSERT_TRUE(shredder.ShredderFiles({big, big}, 100));
    EXPECT_TRUE(shredder.IsRunning());
    // A second call while the first runs is refused at once, from this thread.
    EXPECT_FALSE(shredder.ShredderFiles({big}, 1));
    ASSERT_EQ(1u, recorder.Done().size());
    EXPECT_EQ(1u, recorder.Done()[0].wParam);
    EXPECT_EQ(LPARAM(ERROR_BUSY), recorder.Done()[0].lParam);

    shredder.Stop();
    EXPECT_FALSE(shredder.IsRunning());
    ASSERT_EQ(2u, recorder.Done().size());
    EXPECT_EQ(2u, recorder.Done()[1].wParam) << "the file being overwritten and the one not reached";
    EXPECT_EQ(LPARAM(ERROR_CANCELLED), recorder.Done()[1].lParam);
    EXPECT_TRUE(Exists(big));
    EXPECT_LT(recorder.Progress().size(), 10000u);

    // An empty list still ends with its progress and one done message; a pass count below 1 makes one pass.
    recorder.Clear();
    EXPECT_TRUE(shredder.ShredderFiles({}, 0));
    ASSERT_TRUE(recorder.WaitForDone());
    EXPECT_EQ(100u, recorder.Progress().size());
    EXPECT_EQ(0u, recorder.Done()[0].wParam);
}

std::vector<std::wstring> Pieces(const Scratch& folder, const wchar_t* name, std::initializer_list<int> numbers)
{
    std::vector<std::wstring> paths;
    for (int n : numbers) paths.push_back(folder / (std::wstring(name) + L"," + std::to_wstring(n) + L".splt"));
    return paths;
}

TEST(FileSplitJoin, SplitsIntoNumberedPiecesAndJoinsThemBackByteExact)
{
    Scratch in(L"split-in"), pieces(L"split-pieces"), out(L"split-out");
    const std::string source = RandomBytes(10 * 1000 * 1000, 11);
    ASSERT_TRUE(WriteBytes(in / L"data.bin", source));

    ToolRecorder splits(WM_FILESPLIT_PROGRESS, WM_FILESPLIT_DONE);
    CFileSpliter spliter;
    spliter.SetParentWnd(splits.Window());
    // 2.5 MiB pieces, into a folder given without its last backslash.
    EXPECT_TRUE(spliter.SplitFiles(in / L"data.bin", pieces.Folder(), 2621440));
    ASSERT_TRUE(splits.WaitForDone());
    EXPECT_EQ(0u, splits.Done()[0].wParam);
    const std::vector<std::wstring> names = FolderNames(pieces.Folder());
    EXPECT_EQ((std::set<std::wstring>{L"data.bin,1.splt", L"data.bin,2.splt", L"data.bin,3.splt", L"data.bin,4.splt"}),
              std::set<std::wstring>(names.begin(), names.end()));
    std::string concatenated;
    for (const std::wstring& piece : Pieces(pieces, L"data.bin", {1, 2, 3, 4})) {
        const std::string bytes = ReadBytes(piece);
        EXPECT_EQ(piece == pieces / L"data.bin,4.splt" ? source.size() - 3 * 2621440 : 2621440u, bytes.size());
        concatenated += bytes;
    }
    EXPECT_TRUE(concatenated == source);
    // Progress on the 10,000 scale, rising, ending full.
    ASSERT_FALSE(splits.Progress().empty());
    WPARAM last = 0;
    for (const ToolMessage& m : splits.Progress()) {
        EXPECT_EQ(LPARAM(YARROWBY_PROGRESS_SCALE), m.lParam);
        EXPECT_GE(m.wParam, last);
        last = m.wParam;
    }
    EXPECT_EQ(WPARAM(YARROWBY_PROGRESS_SCALE), last);

    ToolRecorder joins(WM_FILEJOIN_PROGRESS, WM_FILEJOIN_DONE);
    CFileJoin join;
    join.SetParentWnd(joins.Window());
    EXPECT_EQ(L"data.bin", CFileJoin::JoinedFileName(pieces / L"data.bin,1.splt"));
    EXPECT_TRUE(join.JoinSpliterFiles(Pieces(pieces, L"data.bin", {1, 2, 3, 4}), out.Folder() + L"\\", L"data.bin"));
    ASSERT_TRUE(joins.WaitForDone());
    EXPECT_EQ(0u, joins.Done()[0].wParam);
    EXPECT_TRUE(ReadBytes(out / L"data.bin") == source);
    EXPECT_EQ(std::vector<std::wstring>{L"data.bin"}, FolderNames(out.Folder()));
    EXPECT_EQ(WPARAM(YARROWBY_PROGRESS_SCALE), joins.Progress().back().wParam);
}

TEST(FileSplitJoin, AFaultySetOfPiecesWritesNothingAndKeepsAnEarlierOutput)
{
    Scratch folder(L"join-faults");
    const std::string piece = RandomBytes(4096, 5);
    for (int n = 1; n <= 12; ++n) ASSERT_TRUE(WriteBytes(folder / (L"f," + std::to_wstring(n) + L".splt"), piece));
    ASSERT_TRUE(WriteBytes(folder / L"g,2.splt", piece));
    ASSERT_TRUE(WriteBytes(folder / L"short,1.splt", piece));
    ASSERT_TRUE(WriteBytes(folder / L"short,2.splt", piece.substr(10)));
    ASSERT_TRUE(WriteBytes(folder / L"short,3.splt", piece));
    ASSERT_TRUE(WriteBytes(folder / L"f", "earlier output"));
    ASSERT_TRUE(WriteBytes(folder / L"short", "earlier output"));

    const struct {
        std::vector<std::wstring> pieces;
        const wchar_t* name;
        LPARAM fault;
    } cases[] = {
        {Pieces(folder, L"f", {1, 10, 11, 12, 2, 3, 4, 5, 6, 7, 8, 9}), L"f", YARROWBY_ERROR_PIECE_ORDER},
        {Pieces(folder, L"f", {1, 2, 4}), L"f", YARROWBY_ERROR_PIECE_MISSING},
        {Pieces(folder, L"f", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}), L"f", YARROWBY_ERROR_PIECE_MISSING},
        {{folder / L"f,1.splt", folder / L"g,2.splt"}, L"f", YARROWBY_ERROR_PIECE_NAME},
        {Pieces(folder, L"short", {1, 2, 3}), L"short", YARROWBY_ERROR_PIECE_SIZE},
        {Pieces(folder, L"f", {1, 2, 3}), L"sub\\f", ERROR_INVALID_NAME},
        {{}, L"f", ERROR_INVALID_PARAMETER},
        {Pieces(folder, L"gone", {1, 2}), L"gone", ERROR_FILE_NOT_FOUND},
    };
    ToolRecorder joins(WM_FILEJOIN_PROGRESS, WM_FILEJOIN_DONE);
    CFileJoin join;
    join.SetParentWnd(joins.Window());
    for (const auto& c : cases) {
        joins.Clear();
        join.JoinSpliterFiles(c.pieces, folder.Folder(), c.name);
        ASSERT_TRUE(joins.WaitForDone());
        EXPECT_EQ(1u, joins.Done()[0].wParam) << c.name;
        EXPECT_EQ(c.fault, joins.Done()[0].lParam) << c.name;
    }
    EXPECT_EQ("earlier output", ReadBytes(folder / L"f"));
    EXPECT_EQ("earlier output", ReadBytes(folder / L"short"));
    EXPECT_EQ(18u, FolderNames(folder.Folder()).size()) << "nothing written, no temporary file left";

    // In number order the same pieces join, and replace the earlier file.
    joins.Clear();
    join.JoinSpliterFiles(Pieces(folder, L"f", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}), folder.Folder(), L"f");
    ASSERT_TRUE(joins.WaitForDone());
    EXPECT_EQ(0u, joins.Done()[0].wParam);
    std::string expected;
    for (int n = 0; n < 12; ++n) expected += piece;
    EXPECT_TRUE(ReadBytes(folder / L"f") == expected);
}

TEST(FileSplitJoin, AFailedSplitRemovesOnlyThePiecesItCreated)
{
    Scratch folder(L"split-fail");
    ToolRecorder splits(WM_FILESPLIT_PROGRESS, WM_FILESPLIT_DONE);
    CFileSpliter spliter;
    spliter.SetParentWnd(splits.Window());
    spliter.SplitFiles(folder / L"missing.bin", folder.Folder(), 1 << 20);
    ASSERT_TRUE(splits.WaitForDone());
    EXPECT_EQ(1u, splits.Done()[0].wParam);
    EXPECT_EQ(LPARAM(ERROR_FILE_NOT_FOUND), splits.Done()[0].lParam);

    // A piece that cannot be written (a folder holds its name) ends the split and takes the earlier pieces away.
    ASSERT_TRUE(WriteBytes(folder / L"src.bin", RandomBytes(3 << 20, 9)));
    ASSERT_TRUE(::CreateDirectoryW((folder / L"src.bin,3.splt").c_str(), nullptr));
    splits.Clear();
    spliter.SplitFiles(folder / L"src.bin", folder.Folder(), 1 << 20);
    ASSERT_TRUE(splits.WaitForDone());
    EXPECT_EQ(1u, splits.Done()[0].wParam);
    EXPECT_NE(0, splits.Done()[0].lParam);
    EXPECT_FALSE(Exists(folder / L"src.bin,1.splt"));
    EXPECT_FALSE(Exists(folder / L"src.bin,2.splt"));
    EXPECT_TRUE(Exists(folder / L"src.bin"));
    EXPECT_EQ(2u, FolderNames(folder.Folder()).size());

    // A piece left from before is neither written over nor taken away by the failed run.
    ASSERT_TRUE(::RemoveDirectoryW((folder / L"src.bin,3.splt").c_str()));
    ASSERT_TRUE(WriteBytes(folder / L"src.bin,2.splt", "earlier piece"));
    const std::string source = ReadBytes(folder / L"src.bin");
    splits.Clear();
    spliter.SplitFiles(folder / L"src.bin", folder.Folder(), 1 << 20);
    ASSERT_TRUE(splits.WaitForDone());
    EXPECT_EQ(1u, splits.Done()[0].wParam);
    EXPECT_EQ(LPARAM(ERROR_FILE_EXISTS), splits.Done()[0].lParam);

    std::map<std::wstring, std::string> after;
    for (const std::wstring& name : FolderNames(folder.Folder())) after[name] = ReadBytes(folder / name);
    const std::map<std::wstring, std::string> expected = {{L"src.bin", source}, {L"src.bin,2.splt", "earlier piece"}};
    EXPECT_TRUE(expected == after) << "the run's first piece went, the earlier one stayed as it was";
}

// The flushes behind a copy: every queued file is flushed (each is closed at once, so the next one may get the
// same handle value), the first error is kept, and after Finish or Abandon no handle of the queue's own stays
// open (the files were opened without sharing, so deleting them shows it).
TEST(WriteBehind, ReportsTheFirstFailedFlushAndKeepsNoHandleOpen)
{
    Scratch scratch(L"write-behind");
    const auto open = [&](const std::wstring& name, DWORD access) {
        return ::CreateFileW((scratch / name).c_str(), access, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                             nullptr);
    };
    for (const bool abandon : {false, true}) {
        WriteBehind flushes;
        DWORD expected = 0;
        for (const wchar_t* name : {L"a.bin", L"b.bin", L"read-only.bin", L"c.bin"}) {
            const bool readOnly = std::wstring(name) == L"read-only.bin";
            HANDLE file = open(name, readOnly ? GENERIC_READ : GENERIC_WRITE);
            ASSERT_NE(INVALID_HANDLE_VALUE, file) << name;
            DWORD written = 0;
            if (!readOnly) {
                ASSERT_TRUE(::WriteFile(file, "data", 4, &written, nullptr));
            }
            if (readOnly && !abandon) {
                expected = ::FlushFileBuffers(file) ? 0 : ::GetLastError();  // what the system says of it
                ASSERT_NE(0u, expected);
            }
            flushes.Flush(file);
            flushes.Flush(file);  // twice: harmless
            ::CloseHandle(file);
        }
        if (abandon)
            flushes.Abandon();
        else
            EXPECT_EQ(expected, flushes.Finish());
        for (const wchar_t* name : {L"a.bin", L"b.bin", L"read-only.bin", L"c.bin"})
            EXPECT_TRUE(::DeleteFileW((scratch / name).c_str())) << name << " abandon " << abandon;
    }
}
