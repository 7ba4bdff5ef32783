// The real Quorvel.exe: the scan-and-clean group's home page leads to the privacy-trace, junk-file and shortcut
// pages, and the drawer does too; each page scans seeded problems and shows them. A screenshot of the main window
// with each page after its scan goes to Q:\artifacts.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include <Common.h>

#include "LinkFixtures.h"
#include "QAppDriver.h"
#include "QGuards.h"
#include "QTestSupport.h"

using namespace shell_test;

namespace {

const wchar_t kTypedUrls[] = L"Software\\Microsoft\\Internet Explorer\\TypedURLs";
const wchar_t kRunMru[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU";

// Ticks the last row of a drive list (Y:, the fixture drive, sorts last) with the keyboard, as a user can.
void TickLastRow(HWND list)
{
    ::SendMessageW(list, WM_KEYDOWN, VK_END, 0);
    ::SendMessageW(list, WM_KEYUP, VK_END, 0);
    ::SendMessageW(list, WM_KEYDOWN, VK_SPACE, 0);
    ::SendMessageW(list, WM_KEYUP, VK_SPACE, 0);
}

void Touch(const std::wstring& path)
{
    SBRecursiveCreateDirectoryW(path.substr(0, path.rfind(L'\\')).c_str());
    HANDLE h = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, h) << path;
    ::CloseHandle(h);
}

bool Exists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

class ScanCleanApp : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetRecentLastScan();
        SBRegSetStringValueW(HKEY_CURRENT_USER, kTypedUrls, L"url1", L"http://one.example/");
        SBRegSetStringValueW(HKEY_CURRENT_USER, kRunMru, L"a", L"notepad\\1");
        Touch(L"Y:\\junk\\setup.tmp");
        Touch(L"Y:\\junk\\install.log");
        Touch(L"Y:\\junk\\keep.txt");
        ::CreateDirectoryW(L"Y:\\links", nullptr);
        ASSERT_TRUE(MakeLink(L"Y:\\links\\gone.lnk", L"Y:\\gone\\missing.exe"));
        artifacts = ProgramFolder() + L"artifacts\\";
        ::CreateDirectoryW(artifacts.c_str(), nullptr);
        ASSERT_TRUE(app.Start());
        ASSERT_GE(app.WaitUntilVisible(), 0);
        main = app.MainWindow();
        PumpFor(500);
    }

    void TearDown() override { app.Exit(); }

    HWND Page(int id) { return FindDescendant(PageContainer(main), id); }

    void Shot(const wchar_t* name) { EXPECT_TRUE(SaveWindowShot(main, artifacts + name)) << name; }

    // The group's home page, through the drawer's header.
    void OpenHome()
    {
        HWND header = DrawerEntry(main, 110000);
        ASSERT_NE(nullptr, header);
        ClickWindow(header);
        ASSERT_TRUE(PumpUntil([&] { return VisiblePageId(main) == 110000; }));
    }

    qcore::ComInit com;
    QuorvelProcess app;
    HWND main = nullptr;
    std::wstring artifacts;
};

TEST_F(ScanCleanApp, EveryPageOfTheGroupIsReachedAndScansWhatWasSeeded)
{
    OpenHome();
    Shot(L"scan-clean-home.bmp");
    // Each picture button asks for its page.
    const struct {
        int button, page;
    } buttons[] = {{11000, 110001}, {11002, 110003}, {11003, 110004}, {11001, 110002}};
    for (const auto& b : buttons) {
        OpenHome();
        HWND button = FindDescendant(Page(110000), b.button);
        ASSERT_TRUE(::IsWindowVisible(button)) << b.button;
        PressButton(button);
        ASSERT_TRUE(PumpUntil([&] { return VisiblePageId(main) == b.page; })) << b.button;
    }

    // Privacy traces (reached last from the home page): every category is ticked at first.
    HWND privacy = Page(110002);
    HWND amount = FindDescendant(privacy, 11409);
    PressButton(FindDescendant(privacy, 11406));
    ASSERT_TRUE(PumpUntil([&] { return ::IsWindowVisible(amount) != 0; }, 120000)) << "the privacy scan did not end";
    EXPECT_NE(L"0", WindowText(amount));
    Shot(L"privacy-page.bmp");

    // Junk files, from the drawer: the fixture drive, then remove everything found.
    HWND junkItem = DrawerEntry(main, 110003);
    ASSERT_NE(nullptr, junkItem);
    ClickWindow(junkItem);
    ASSERT_TRUE(PumpUntil([&] { return VisiblePageId(main) == 110003; }));
    HWND junk = Page(110003);
    TickLastRow(FindDescendant(junk, 11200));
    PressButton(FindDescendant(junk, 11201));
    HWND junkCount = FindDescendant(junk, 11207);
    HWND abortReturn = FindDescendant(junk, 11203);
    ASSERT_TRUE(PumpUntil([&] { return WindowText(abortReturn) == L"Back"; }, 60000)) << "the junk walk did not end";
    EXPECT_EQ(L"2", WindowText(junkCount));
    Shot(L"junk-page.bmp");
    HWND selectAll = FindDescendant(junk, 11205);
    ::SendMessageW(selectAll, BM_SETCHECK, BST_CHECKED, 0);
    PressButton(selectAll);
    {
        // The page tells the outcome in a message box.
        shell_test::MessageBoxDriver boxes(IDOK, app.ProcessId());
        PostButtonClick(FindDescendant(junk, 11204));
        EXPECT_TRUE(PumpUntil([&] { return !boxes.Texts().empty(); }, 20000));
        EXPECT_EQ((std::vector<std::wstring>{L"All selected files have been removed."}), boxes.Texts());
    }
    EXPECT_TRUE(PumpUntil([&] { return WindowText(junkCount) == L"0"; }));
    EXPECT_FALSE(Exists(L"Y:\\junk\\setup.tmp"));
    EXPECT_FALSE(Exists(L"Y:\\junk\\install.log"));
    EXPECT_TRUE(Exists(L"Y:\\junk\\keep.txt"));

    // Shortcuts, from the home page again: the fixture drive, then delete what was found.
    OpenHome();
    PressButton(FindDescendant(Page(110000), 11003));
    ASSERT_TRUE(PumpUntil([&] { return VisiblePageId(main) == 110004; }));
    HWND shortcut = Page(110004);
    TickLastRow(FindDescendant(shortcut, 11401));
    PressButton(FindDescendant(shortcut, 11402));
    HWND results = FindDescendant(shortcut, 11414);
    ASSERT_TRUE(PumpUntil([&] { return ::IsWindowVisible(results) != 0; }, 60000)) << "the shortcut scan did not end";
    EXPECT_EQ(1, (int)::SendMessageW(results, LVM_GETITEMCOUNT, 0, 0));
    Shot(L"shortcut-page.bmp");
    PressButton(FindDescendant(shortcut, 11416));
    EXPECT_TRUE(PumpUntil([&] { return (int)::SendMessageW(results, LVM_GETITEMCOUNT, 0, 0) == 0; }));
    EXPECT_FALSE(Exists(L"Y:\\links\\gone.lnk"));
}

}  // namespace
