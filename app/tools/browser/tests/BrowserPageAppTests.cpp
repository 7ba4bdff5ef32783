// The real Quorvel.exe: the drawer leads to the browser page; each tab shows the seeded browser and a screenshot of
// the main window on each tab goes to Q:\artifacts. One switch is flipped through the program.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include "BrowserSeed.h"
#include "QAppDriver.h"
#include "QTestSupport.h"
#include "RegistrySeed.h"

using namespace shell_test;
using namespace browser_test;

namespace {

bool Shown(HWND wnd) { return wnd && (::GetWindowLongW(wnd, GWL_STYLE) & WS_VISIBLE) != 0; }

// An edit's text (another process's edit answers only WM_GETTEXT).
std::wstring EditText(HWND edit)
{
    wchar_t text[1024] = L"";
    ::SendMessageW(edit, WM_GETTEXT, 1024, (LPARAM)text);
    return text;
}

int Rows(HWND list) { return (int)::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0); }

// The program paints the whole window before the picture is taken: the update sends WM_PAINT to its windows and
// returns when they are drawn, so the picture never shows a tab half painted on a busy machine. The short pump
// leaves the program idle long enough to hand its drawing to the display.
bool SaveFinishedShot(HWND main, const std::wstring& path)
{
    ::RedrawWindow(main, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    return SaveWindowShot(main, path);
}

TEST(BrowserPageApp, TheDrawerLeadsToTheBrowserPageAndEachTabShowsTheBrowser)
{
    SeedBrowser();
    SetRecentLastScan();
    QuorvelProcess app;
    ASSERT_TRUE(app.Start());
    ASSERT_GE(app.WaitUntilVisible(), 0);
    HWND main = app.MainWindow();

    HWND page = OpenPageFromDrawer(main, 150000, 150005);
    ASSERT_NE(nullptr, page);

    const struct {
        int button, tab;
        const wchar_t* shot;
    } tabs[] = {{52001, 52007, L"browser-general.bmp"},    {52002, 52008, L"browser-plugins.bmp"},
                {52003, 52009, L"browser-activex.bmp"},    {52004, 52010, L"browser-security.bmp"},
                {52005, 52011, L"browser-extensions.bmp"}, {52006, 52012, L"browser-restore.bmp"}};
    const std::wstring folder = ProgramFolder() + L"artifacts\\";
    ::CreateDirectoryW(folder.c_str(), nullptr);
    for (const auto& t : tabs) {
        SCOPED_TRACE(t.tab);
        HWND button = FindDescendant(page, t.button);
        ASSERT_NE(nullptr, button);
        PressButton(button);
        HWND tab = FindDescendant(page, t.tab);
        ASSERT_TRUE(PumpUntil([&] { return Shown(tab); }));
        for (const auto& other : tabs) {
            if (other.tab == t.tab) continue;
            EXPECT_FALSE(Shown(FindDescendant(page, other.tab))) << other.tab;
        }
        EXPECT_TRUE(SaveFinishedShot(main, folder + t.shot));
    }

    // What the tabs show (read back from the running program).
    EXPECT_EQ(L"http://start.example.test/", EditText(FindDescendant(page, 52017)));
    EXPECT_EQ(L"C:\\Saved pages", EditText(FindDescendant(page, 52029)));
    EXPECT_EQ(2, Rows(FindDescendant(page, 52102)));
    EXPECT_EQ(2, Rows(FindDescendant(page, 52202)));
    EXPECT_EQ(3, Rows(FindDescendant(page, 52401)));
    EXPECT_EQ(20, Rows(FindDescendant(page, 52501)));

    // Background sounds off, through the program.
    PressButton(FindDescendant(page, 52004));
    PressButton(FindDescendant(page, 52314));
    ASSERT_TRUE(PumpUntil(
        [&] { return grennow_test::Read(HKEY_CURRENT_USER, kMainKey, L"Play_Background_Sounds").text == L"no"; }));
    app.Exit();
}

}  // namespace
