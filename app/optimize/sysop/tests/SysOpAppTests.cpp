// The real Quorvel.exe: every optimisation page is reachable from the drawer and from the group's home page, a
// setting applied on the desktop page is in the registry and shown again after a restart, and a screenshot of each
// page goes to Q:\artifacts.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "QAppDriver.h"
#include "QTestSupport.h"

using namespace shell_test;

namespace {

const wchar_t kAdvanced[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced";

HWND Page(HWND main, int id) { return FindDescendant(PageContainer(main), id); }

struct BoxSearch {
    DWORD pid;
    HWND main;  // a dialog too, whose plain statics also carry the id 0xFFFF
    HWND found;
};

BOOL CALLBACK FindBoxOf(HWND wnd, LPARAM param)
{
    BoxSearch* search = reinterpret_cast<BoxSearch*>(param);
    wchar_t cls[16] = L"";
    DWORD owner = 0;
    ::GetClassNameW(wnd, cls, 16);
    ::GetWindowThreadProcessId(wnd, &owner);
    if (owner != search->pid || wnd == search->main || wcscmp(cls, L"#32770") != 0 || !::GetDlgItem(wnd, 0xFFFF))
        return TRUE;
    search->found = wnd;
    return FALSE;
}

// Answers the program's next message box with OK and returns its text ("" when none came).
std::wstring AnswerMessageBox(const QuorvelProcess& app)
{
    BoxSearch search = {app.ProcessId(), app.MainWindow(), nullptr};
    if (!PumpUntil([&] { return !::EnumWindows(FindBoxOf, reinterpret_cast<LPARAM>(&search)) && search.found; }, 10000))
        return std::wstring();
    // WM_GETTEXT: GetWindowText does not ask a window of another process for its text.
    wchar_t text[1024] = L"";
    ::SendMessageTimeoutW(::GetDlgItem(search.found, 0xFFFF), WM_GETTEXT, 1024, (LPARAM)text, SMTO_ABORTIFHUNG, 2000,
                          nullptr);
    ::PostMessageW(search.found, WM_COMMAND, IDOK, 0);
    return text;
}

std::wstring Artifacts()
{
    std::wstring folder = ProgramFolder() + L"artifacts\\";
    ::CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

HWND StartAndOpenGroup(QuorvelProcess& app)
{
    SetRecentLastScan();
    if (!app.Start() || app.WaitUntilVisible() < 0) return nullptr;
    HWND main = app.MainWindow();
    PumpFor(300);
    HWND header = DrawerEntry(main, 120000);
    if (!header) return nullptr;
    ClickWindow(header);
    return PumpUntil([&] { return VisiblePageId(main) == 120000; }) ? main : nullptr;
}

bool Checked(HWND page, int id) { return ::SendMessageW(::GetDlgItem(page, id), BM_GETCHECK, 0, 0) == BST_CHECKED; }

TEST(SysOpApp, EveryPageFromTheDrawerAndTheHomePageWithScreenshots)
{
    // One start-up entry, so the start-up page's picture shows a row.
    const std::wstring program = L"\"" + ProgramFolder() + L"Quorvel.exe\" --boot";
    HKEY run = nullptr;
    RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Run", 0, nullptr, 0,
                    KEY_SET_VALUE, nullptr, &run, nullptr);
    RegSetValueExW(run, L"Quorvel", 0, REG_SZ, reinterpret_cast<const BYTE*>(program.c_str()),
                   DWORD((program.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(run);

    QuorvelProcess app;
    HWND main = StartAndOpenGroup(app);
    ASSERT_NE(nullptr, main);
    const std::wstring folder = Artifacts();
    EXPECT_TRUE(SaveWindowShot(main, folder + L"sysop-home.bmp"));

    const struct {
        int page;
        int homeButton;
        const wchar_t* shot;
    } pages[] = {{120002, 21000, L"sysop-menu.bmp"},    {120003, 21001, L"sysop-desktop.bmp"},
                 {120004, 21002, L"sysop-network.bmp"}, {120005, 21003, L"sysop-service.bmp"},
                 {120006, 21004, L"sysop-startup.bmp"}, {120007, 21005, L"sysop-other.bmp"}};
    for (const auto& p : pages) {
        HWND item = DrawerEntry(main, p.page);
        ASSERT_NE(nullptr, item) << p.page;
        ClickWindow(item);
        ASSERT_TRUE(PumpUntil([&] { return VisiblePageId(main) == p.page; })) << p.page;
        EXPECT_TRUE(SaveWindowShot(main, folder + p.shot)) << p.page;
    }
    HWND home = Page(main, 120000);
    ASSERT_NE(nullptr, home);
    for (const auto& p : pages) {
        ClickWindow(DrawerEntry(main, 120000));
        ASSERT_TRUE(PumpUntil([&] { return VisiblePageId(main) == 120000; }));
        HWND button = ::GetDlgItem(home, p.homeButton);
        ASSERT_NE(nullptr, button) << p.homeButton;
        ::PostMessageW(home, WM_COMMAND, MAKEWPARAM(p.homeButton, BN_CLICKED), (LPARAM)button);
        EXPECT_TRUE(PumpUntil([&] { return VisiblePageId(main) == p.page; })) << p.homeButton;
    }
    // No button leads to the placeholder page; the main window still shows it on request.
    ::PostMessageW(main, 0x401, 120008, 0);
    ASSERT_TRUE(PumpUntil([&] { return VisiblePageId(main) == 120008; }));
    EXPECT_TRUE(SaveWindowShot(main, folder + L"sysop-fast.bmp"));
    app.Exit();
}

TEST(SysOpApp, AnAppliedTickIsInTheRegistryAndShownAfterARestart)
{
    HKEY k = nullptr;
    RegCreateKeyExW(HKEY_CURRENT_USER, kAdvanced, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &k, nullptr);
    RegDeleteValueW(k, L"DisableThumbnailCache");
    RegCloseKey(k);
    {
        QuorvelProcess app;
        HWND main = StartAndOpenGroup(app);
        ASSERT_NE(nullptr, main);
        ClickWindow(DrawerEntry(main, 120003));
        ASSERT_TRUE(PumpUntil([&] { return VisiblePageId(main) == 120003; }));
        HWND page = Page(main, 120003);
        ASSERT_FALSE(Checked(page, 23007));
        ::SendMessageW(::GetDlgItem(page, 23007), BM_CLICK, 0, 0);
        ASSERT_TRUE(Checked(page, 23007));
        // Posted: the program's message box holds the click handler until it is answered.
        ::PostMessageW(page, WM_COMMAND, MAKEWPARAM(23001, BN_CLICKED), (LPARAM)::GetDlgItem(page, 23001));
        EXPECT_EQ(L"The settings have been applied.", AnswerMessageBox(app));
        app.Exit();
    }
    DWORD value = 0, size = sizeof(value), type = 0;
    ASSERT_EQ(ERROR_SUCCESS,
              RegGetValueW(HKEY_CURRENT_USER, kAdvanced, L"DisableThumbnailCache", RRF_RT_ANY, &type, &value, &size));
    EXPECT_EQ(DWORD(REG_DWORD), type);
    EXPECT_EQ(1u, value);

    QuorvelProcess again;
    HWND main = StartAndOpenGroup(again);
    ASSERT_NE(nullptr, main);
    ClickWindow(DrawerEntry(main, 120003));
    ASSERT_TRUE(PumpUntil([&] { return VisiblePageId(main) == 120003; }));
    EXPECT_TRUE(Checked(Page(main, 120003), 23007));
    again.Exit();
}

}  // namespace
