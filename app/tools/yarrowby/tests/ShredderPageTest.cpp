// The shredder page in this process with the real library, on files of the test prefix.
#include <gtest/gtest.h>

#include <QTestSupport.h>
#include <ToolRecorder.h>

#include "ToolPageHost.h"
#include "shredder/YarrowbyFileShredderDlg.h"

using namespace tools_test;
using shell_test::MessageBoxDriver;
using shell_test::PumpUntil;
using yarrowby_test::Exists;
using yarrowby_test::RandomBytes;
using yarrowby_test::WriteBytes;

namespace {

using Page = CYarrowbyFileShredderDlg;

struct Files {
    std::wstring folder = shell_test::MakeScratchFolder(L"shred-page");
    ~Files() { shell_test::RemoveTree(folder); }
    std::wstring Make(const wchar_t* name, size_t size)
    {
        const std::wstring path = folder + name;
        WriteBytes(path, RandomBytes(size, unsigned(size)));
        return path;
    }
};

TEST(ShredderPage, ListsFilesOnceIgnoringCaseAndRemovesTheSelectedRows)
{
    Files files;
    PageHost host;
    Page* page = host.Add<Page>(PAGE_ID_TOOLS_FILE_SHREDDER);
    const std::wstring a = files.Make(L"a.bin", 1025), b = files.Make(L"b.bin", 1048577);
    std::wstring upper = a;
    for (wchar_t& c : upper) c = wchar_t(towupper(c));
    {
        MessageBoxDriver boxes;
        page->AddFiles({a, b, upper});
        ASSERT_TRUE(PumpUntil([&] { return boxes.Texts().size() == 1; }));
        EXPECT_EQ(L"The file \"" + upper + L"\" is already in the list.", boxes.Texts()[0]);
    }
    EXPECT_EQ((std::vector<std::wstring>{a, b}), Column(page->List()));
    EXPECT_EQ((std::vector<std::wstring>{L"1KB", L"  1.0MB"}), Column(page->List(), 1));
    EXPECT_FALSE(Column(page->List(), 2)[0].empty());

    std::vector<std::wstring> many;
    for (int i = 0; i < 8; ++i) many.push_back(files.Make((L"row" + std::to_wstring(i) + L".txt").c_str(), 10));
    page->List().DeleteAllItems();
    page->AddFiles(many);
    {
        MessageBoxDriver boxes;
        SelectRows(page->List(), {});
        Click(page, Page::IDC_REMOVE);
        ASSERT_TRUE(PumpUntil([&] { return boxes.Texts().size() == 1; }));
        EXPECT_EQ(L"Please select the files to remove from the list.", boxes.Texts()[0]);
    }
    SelectRows(page->List(), {2, 5, 7});
    Click(page, Page::IDC_REMOVE);
    EXPECT_EQ((std::vector<std::wstring>{many[0], many[1], many[3], many[4], many[6]}), Column(page->List()));
}

TEST(ShredderPage, ThePassCountKeepsNumbersAndPutsBackOne)
{
    PageHost host;
    Page* page = host.Add<Page>(PAGE_ID_TOOLS_FILE_SHREDDER);
    EXPECT_EQ(L"1", ItemText(page, Page::IDC_PASSES));
    const struct {
        const wchar_t* typed;
        const wchar_t* shown;
    } cases[] = {{L"x", L"1"}, {L"0", L"0"}, {L"2.5", L"2.5"}, {L"150", L"150"}, {L"3", L"3"}, {L"3-", L"1"}};
    for (const auto& c : cases) {
        Type(page, Page::IDC_PASSES, c.typed);
        EXPECT_EQ(c.shown, ItemText(page, Page::IDC_PASSES)) << c.typed;
    }
}

TEST(ShredderPage, ShredsTheListedFilesWithTheBarFollowingThePasses)
{
    Files files;
    PageHost host;
    Page* page = host.Add<Page>(PAGE_ID_TOOLS_FILE_SHREDDER);
    {
        MessageBoxDriver boxes;
        Click(page, Page::IDC_ERASE);
        ASSERT_TRUE(PumpUntil([&] { return boxes.Texts().size() == 1; }));
        EXPECT_EQ(L"Please add the files to shred first.", boxes.Texts()[0]);
    }
    EXPECT_TRUE(host.Busy().empty());

    const std::wstring a = files.Make(L"a.bin", 3 << 20), b = files.Make(L"b.bin", 5000);
    page->AddFiles({a, b});
    Type(page, Page::IDC_PASSES, L"3");
    MessageBoxDriver boxes;
    Click(page, Page::IDC_ERASE);
    EXPECT_FALSE(page->IsWindowEnabled());
    ASSERT_TRUE(PumpUntil([&] { return boxes.Texts().size() == 1; }, 60000));
    EXPECT_EQ(L"The files have been shredded.", boxes.Texts()[0]);
    EXPECT_TRUE(page->IsWindowEnabled());
    EXPECT_EQ((std::vector<WPARAM>{1, 0}), host.Busy());
    EXPECT_EQ(0, page->List().GetItemCount());
    EXPECT_EQ(100, page->Progress().GetPos());
    EXPECT_FALSE(Exists(a));
    EXPECT_FALSE(Exists(b));
}

TEST(ShredderPage, AFileThatCannotBeShreddedStaysListedWithTheReason)
{
    Files files;
    PageHost host;
    Page* page = host.Add<Page>(PAGE_ID_TOOLS_FILE_SHREDDER);
    const std::wstring held = files.Make(L"held.bin", 4000), good = files.Make(L"good.bin", 4000);
    HANDLE open = ::CreateFileW(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, open);
    page->AddFiles({held, good});
    MessageBoxDriver boxes;
    Click(page, Page::IDC_ERASE);
    ASSERT_TRUE(PumpUntil([&] { return boxes.Texts().size() == 1; }, 30000));
    ::CloseHandle(open);
    const std::wstring text = boxes.Texts()[0];
    EXPECT_EQ(0u, text.find(L"1 file(s) could not be shredded and are still in the list.\n\n")) << text;
    EXPECT_GT(text.size(), 62u) << "the system's reason follows";
    EXPECT_EQ((std::vector<std::wstring>{held}), Column(page->List()));
    EXPECT_TRUE(Exists(held));
    EXPECT_FALSE(Exists(good));
    EXPECT_TRUE(page->IsWindowEnabled());
    EXPECT_EQ((std::vector<WPARAM>{1, 0}), host.Busy());
}

TEST(ShredderPage, AddTakesTheFilesChosenInTheOpenDialog)
{
    Files files;
    files.Make(L"one.txt", 10);
    files.Make(L"two.txt", 20);
    PageHost host;
    Page* page = host.Add<Page>(PAGE_ID_TOOLS_FILE_SHREDDER);
    ::SetCurrentDirectoryW(files.folder.c_str());
    {
        FileDialogDriver dialog(L"\"one.txt\" \"two.txt\"");
        Click(page, Page::IDC_ADD);
        EXPECT_TRUE(dialog.Found());
    }
    ::SetCurrentDirectoryW(shell_test::ProgramFolder().c_str());
    std::vector<std::wstring> rows = Column(page->List());
    std::sort(rows.begin(), rows.end());
    EXPECT_EQ((std::vector<std::wstring>{files.folder + L"one.txt", files.folder + L"two.txt"}), rows);
}

}  // namespace
