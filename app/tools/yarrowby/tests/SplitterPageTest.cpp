// The splitter's page, its split and join tabs, in this process with the real library on files of the test
// prefix.
#include <gtest/gtest.h>

#include <QTestSupport.h>
#include <ToolRecorder.h>

#include "ToolPageHost.h"
#include "splitter/YarrowbyFileSplitterHomeDlg.h"

using namespace tools_test;
using shell_test::MessageBoxDriver;
using shell_test::PumpUntil;
using yarrowby_test::Exists;
using yarrowby_test::FolderNames;
using yarrowby_test::RandomBytes;
using yarrowby_test::ReadBytes;
using yarrowby_test::WriteBytes;

namespace {

using Home = CYarrowbyFileSplitterHomeDlg;
using Split = CYarrowbyFSSplitDlg;
using Join = CYarrowbyFSJoinDlg;

struct Folder {
    std::wstring path;
    explicit Folder(const wchar_t* name) : path(shell_test::MakeScratchFolder(name)) {}
    ~Folder() { shell_test::RemoveTree(path); }
    std::wstring operator/(const std::wstring& name) const { return path + name; }
};

// Clicks and answers the one message box it brings; returns its text ("" when none came).
std::wstring ClickForMessage(CWnd* page, int id, int answer = IDOK, DWORD timeoutMs = 60000)
{
    MessageBoxDriver boxes(answer);
    Click(page, id);
    PumpUntil([&] { return !boxes.Texts().empty(); }, timeoutMs);
    return boxes.Texts().empty() ? std::wstring() : boxes.Texts()[0];
}

TEST(SplitterPage, ShowsTheSplitTabAndSwitchesTabs)
{
    PageHost host;
    Home* home = host.Add<Home>(PAGE_ID_TOOLS_FILE_SPLITTER);
    EXPECT_TRUE(home->SplitPage().IsWindowVisible());
    EXPECT_FALSE(home->JoinPage().IsWindowVisible());
    Click(home, Home::IDC_TAB_JOIN);
    EXPECT_FALSE(home->SplitPage().IsWindowVisible());
    EXPECT_TRUE(home->JoinPage().IsWindowVisible());
    // Showing the page again comes back to the split tab with its defaults.
    Type(&home->SplitPage(), Split::IDC_CUSTOM, L"7");
    host.Show(PAGE_ID_TOOLS_FILE_SPLITTER);
    EXPECT_TRUE(home->SplitPage().IsWindowVisible());
    EXPECT_FALSE(home->JoinPage().IsWindowVisible());
    EXPECT_EQ(L"1", ItemText(&home->SplitPage(), Split::IDC_CUSTOM));
    EXPECT_EQ(BST_CHECKED, home->SplitPage().IsDlgButtonChecked(Split::IDC_SIZE_FIRST + 1));
    Click(&home->SplitPage(), Split::IDC_SIZE_LAST);
    for (int id = Split::IDC_SIZE_FIRST; id <= Split::IDC_SIZE_LAST; ++id)
        EXPECT_EQ(id == Split::IDC_SIZE_LAST ? BST_CHECKED : BST_UNCHECKED, home->SplitPage().IsDlgButtonChecked(id));
}

TEST(SplitterPage, SplitsIntoCustomPiecesAndJoinsThemBackFromAlphabeticalOrder)
{
    Folder in(L"page-split-in"), pieces(L"page-split-pieces"), out(L"page-split-out");
    const std::string source = RandomBytes(10 * 1000 * 1000, 77);
    ASSERT_TRUE(WriteBytes(in / L"movie.avi", source));
    PageHost host;
    Home* home = host.Add<Home>(PAGE_ID_TOOLS_FILE_SPLITTER);
    Split& split = home->SplitPage();

    split.SetSource((in / L"movie.avi").c_str());
    split.SetFolder((pieces / L"sub").c_str());  // made when missing
    Click(&split, Split::IDC_SIZE_LAST);
    Type(&split, Split::IDC_CUSTOM, L"0.75");  // below 1: a mebibyte, and the edit shows it
    EXPECT_EQ(L"The file has been split.", ClickForMessage(&split, Split::IDC_SPLIT));
    EXPECT_EQ(L"1", ItemText(&split, Split::IDC_CUSTOM));
    EXPECT_EQ(10u, FolderNames(pieces / L"sub").size());
    EXPECT_EQ(1048576u, ReadBytes(pieces / L"sub\\movie.avi,1.splt").size());
    EXPECT_EQ(L"", ItemText(&split, Split::IDC_SOURCE));
    EXPECT_EQ(L"", ItemText(&split, Split::IDC_FOLDER));
    EXPECT_EQ(100, split.Progress().GetPos());
    EXPECT_TRUE(home->IsWindowEnabled());
    EXPECT_TRUE(split.IsWindowEnabled());

    split.SetSource((in / L"movie.avi").c_str());
    split.SetFolder(pieces.path.c_str());
    Click(&split, Split::IDC_SIZE_LAST);
    Type(&split, Split::IDC_CUSTOM, L"2.5");
    EXPECT_EQ(L"The file has been split.", ClickForMessage(&split, Split::IDC_SPLIT));
    EXPECT_EQ((std::vector<WPARAM>{1, 0, 1, 0}), host.Busy());
    std::vector<std::wstring> chosen;
    for (const wchar_t* n : {L"1", L"2", L"3", L"4"})
        chosen.push_back(pieces / (std::wstring(L"movie.avi,") + n + L".splt"));
    EXPECT_EQ(2621440u, ReadBytes(chosen[0]).size());
    EXPECT_EQ(source.size() - 3 * 2621440u, ReadBytes(chosen[3]).size());

    // The ten 1 MiB pieces, chosen in the order an open dialog lists them.
    Join& join = home->JoinPage();
    Click(home, Home::IDC_TAB_JOIN);
    std::vector<std::wstring> alphabetical;
    for (int n : {1, 10, 2, 3, 4, 5, 6, 7, 8, 9})
        alphabetical.push_back(pieces / (L"sub\\movie.avi," + std::to_wstring(n) + L".splt"));
    join.SetPieces(alphabetical);
    EXPECT_EQ(pieces / L"sub\\movie.avi,10.splt", Column(join.List()).back());
    join.SetFolder(out.path.c_str());
    EXPECT_EQ(L"The pieces have been joined.", ClickForMessage(&join, Join::IDC_JOIN));
    EXPECT_TRUE(ReadBytes(out / L"movie.avi") == source);
    EXPECT_EQ(0, join.List().GetItemCount());
    EXPECT_EQ(L"", ItemText(&join, Join::IDC_FOLDER));
    EXPECT_EQ(100, join.Progress().GetPos());
}

TEST(SplitterPage, RefusesWhatCannotBeSplitOrJoined)
{
    Folder folder(L"page-split-refuse");
    ASSERT_TRUE(WriteBytes(folder / L"small.bin", RandomBytes(1048575, 1)));
    ASSERT_TRUE(WriteBytes(folder / L"exact.bin", RandomBytes(1048576, 2)));
    PageHost host;
    Home* home = host.Add<Home>(PAGE_ID_TOOLS_FILE_SPLITTER);
    Split& split = home->SplitPage();
    // Each missing choice is asked for: no file, then no folder.
    const struct {
        const wchar_t* source;
        const wchar_t* folder;
        const wchar_t* text;
    } missing[] = {
        {L"", L"out", L"Please choose a file of at least 1 MB."},
        {L"", L"", L"Please choose a file of at least 1 MB."},
        {L"exact.bin", L"", L"Please choose a folder."},
    };
    for (const auto& c : missing) {
        split.SetSource(*c.source ? (folder / c.source).c_str() : L"");
        split.SetFolder(*c.folder ? (folder / c.folder).c_str() : L"");
        EXPECT_EQ(c.text, ClickForMessage(&split, Split::IDC_SPLIT, IDOK, 5000)) << c.source << L"|" << c.folder;
    }
    EXPECT_FALSE(Exists(folder / L"out"));
    split.SetFolder((folder / L"out").c_str());
    split.SetSource((folder / L"small.bin").c_str());
    EXPECT_EQ(L"Please choose a file of at least 1 MB.", ClickForMessage(&split, Split::IDC_SPLIT, IDOK, 5000));
    split.SetSource((folder / L"exact.bin").c_str());
    EXPECT_EQ(L"The file has been split.", ClickForMessage(&split, Split::IDC_SPLIT));
    EXPECT_TRUE(Exists(folder / L"out\\exact.bin,1.splt"));
    EXPECT_EQ((std::vector<WPARAM>{1, 0}), host.Busy());

    // The pieces of that split are there: asked first; No keeps them and starts nothing, Yes splits anew.
    ASSERT_TRUE(WriteBytes(folder / L"out\\exact.bin,1.splt", "earlier piece"));
    split.SetFolder((folder / L"out").c_str());
    split.SetSource((folder / L"exact.bin").c_str());
    const std::wstring question =
        L"Pieces of an earlier split with the same names are already in the folder. Replace them?";
    EXPECT_EQ(question, ClickForMessage(&split, Split::IDC_SPLIT, IDNO, 5000));
    EXPECT_EQ("earlier piece", ReadBytes(folder / L"out\\exact.bin,1.splt"));
    EXPECT_EQ((std::vector<WPARAM>{1, 0}), host.Busy());
    split.SetFolder((folder / L"out").c_str());
    split.SetSource((folder / L"exact.bin").c_str());
    {
        MessageBoxDriver boxes(IDYES);
        Click(&split, Split::IDC_SPLIT);
        ASSERT_TRUE(PumpUntil([&] { return boxes.Texts().size() == 2; }, 30000));
        EXPECT_EQ(question, boxes.Texts()[0]);
        EXPECT_EQ(L"The file has been split.", boxes.Texts()[1]);
    }
    EXPECT_TRUE(ReadBytes(folder / L"out\\exact.bin,1.splt") == ReadBytes(folder / L"exact.bin"));

    Join& join = home->JoinPage();
    join.SetPieces({folder / L"out\\exact.bin,1.splt"});
    join.SetFolder(folder.path.c_str());
    EXPECT_EQ(L"Please choose at least two pieces to join.", ClickForMessage(&join, Join::IDC_JOIN, IDOK, 5000));
    join.SetPieces({folder / L"out\\exact.bin,1.splt", folder / L"out\\exact.bin,1.splt"});
    join.SetFolder(L"");
    EXPECT_EQ(L"Please choose a folder.", ClickForMessage(&join, Join::IDC_JOIN, IDOK, 5000));
    join.SetFolder(folder.path.c_str());

    // A first piece without a comma in its own name gives no output name: nothing happens.
    join.SetPieces({L"C:\\v1,2\\file.bin", L"C:\\v1,2\\file2.bin"});
    EXPECT_EQ(L"", ClickForMessage(&join, Join::IDC_JOIN, IDOK, 1000));
    EXPECT_EQ((std::vector<WPARAM>{1, 0, 1, 0}), host.Busy());
}

TEST(SplitterPage, AnExistingOutputIsReplacedOnlyWhenTheUserSaysSoAndTheJoinSucceeds)
{
    Folder folder(L"page-join-exists");
    const std::string a = RandomBytes(3000, 3), b = RandomBytes(1000, 4);
    ASSERT_TRUE(WriteBytes(folder / L"doc.txt,1.splt", a));
    ASSERT_TRUE(WriteBytes(folder / L"doc.txt,2.splt", b));
    ASSERT_TRUE(WriteBytes(folder / L"doc.txt,4.splt", b));
    ASSERT_TRUE(WriteBytes(folder / L"doc.txt", "mine"));
    PageHost host;
    Home* home = host.Add<Home>(PAGE_ID_TOOLS_FILE_SPLITTER);
    Join& join = home->JoinPage();
    Click(home, Home::IDC_TAB_JOIN);
    join.SetFolder(folder.path.c_str());

    join.SetPieces({folder / L"doc.txt,1.splt", folder / L"doc.txt,2.splt"});
    EXPECT_EQ(L"A file of that name is already in the folder. Replace it once the pieces are joined?",
              ClickForMessage(&join, Join::IDC_JOIN, IDNO, 5000));
    EXPECT_EQ("mine", ReadBytes(folder / L"doc.txt"));
    EXPECT_TRUE(host.Busy().empty()) << "nothing started";

    // A missing piece: the failure and its reason; the file and the list stay.
    join.SetPieces({folder / L"doc.txt,1.splt", folder / L"doc.txt,2.splt", folder / L"doc.txt,4.splt"});
    {
        MessageBoxDriver boxes(IDYES);
        Click(&join, Join::IDC_JOIN);
        ASSERT_TRUE(PumpUntil([&] { return boxes.Texts().size() == 2; }, 30000));
        EXPECT_EQ(
            L"The pieces could not be joined; no file was written.\n\n"
            L"A piece is missing or was chosen twice, so nothing was joined.",
            boxes.Texts()[1]);
    }
    EXPECT_EQ("mine", ReadBytes(folder / L"doc.txt"));
    EXPECT_EQ(3, join.List().GetItemCount());
    EXPECT_EQ(0, join.Progress().GetPos());

    join.SetPieces({folder / L"doc.txt,2.splt", folder / L"doc.txt,1.splt"});
    {
        MessageBoxDriver boxes(IDYES);
        Click(&join, Join::IDC_JOIN);
        ASSERT_TRUE(PumpUntil([&] { return boxes.Texts().size() == 2; }, 30000));
        EXPECT_EQ(L"The pieces have been joined.", boxes.Texts()[1]);
    }
    EXPECT_TRUE(ReadBytes(folder / L"doc.txt") == a + b);
    EXPECT_EQ((std::vector<WPARAM>{1, 0, 1, 0}), host.Busy());
}

TEST(SplitterPage, ThePieceDialogsChoiceIsListedInNumberOrder)
{
    Folder folder(L"page-join-dialog");
    for (int n = 1; n <= 11; ++n) WriteBytes(folder / (L"x," + std::to_wstring(n) + L".splt"), "p");
    PageHost host;
    Home* home = host.Add<Home>(PAGE_ID_TOOLS_FILE_SPLITTER);
    Click(home, Home::IDC_TAB_JOIN);
    ::SetCurrentDirectoryW(folder.path.c_str());
    {
        FileDialogDriver dialog(L"\"x,10.splt\" \"x,1.splt\" \"x,11.splt\" \"x,2.splt\"");
        Click(&home->JoinPage(), Join::IDC_BROWSE_PIECES);
        EXPECT_TRUE(dialog.Found());
    }
    ::SetCurrentDirectoryW(shell_test::ProgramFolder().c_str());
    EXPECT_EQ((std::vector<std::wstring>{folder / L"x,1.splt", folder / L"x,2.splt", folder / L"x,10.splt",
                                         folder / L"x,11.splt"}),
              Column(home->JoinPage().List()));
}

}  // namespace
