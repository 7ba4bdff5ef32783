// The real Quorvel.exe: each page on Yarrowby is reached from the drawer and works there (files chosen in the
// shredder's open dialog are shredded), with a screenshot of each into Q:\artifacts.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <QAppDriver.h>
#include <QTestSupport.h>
#include <ToolRecorder.h>

#include <string>

using namespace shell_test;

namespace {

void PressButton(HWND page, int id)
{
    ::PostMessageW(page, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)::GetDlgItem(page, id));
}

std::wstring RemoteText(HWND wnd)
{
    // WM_GETTEXT: GetWindowText does not ask a window of another process for its text.
    wchar_t text[1024] = L"";
    ::SendMessageTimeoutW(wnd, WM_GETTEXT, 1024, (LPARAM)text, SMTO_ABORTIFHUNG, 2000, nullptr);
    return text;
}

struct DialogSearch {
    DWORD pid;
    HWND main;
    int childId;  // a control the dialog must hold
    HWND found;
};

BOOL CALLBACK FindDialog(HWND wnd, LPARAM param)
{
    auto* search = reinterpret_cast<DialogSearch*>(param);
    wchar_t cls[16] = L"";
    DWORD owner = 0;
    ::GetClassNameW(wnd, cls, 16);
    ::GetWindowThreadProcessId(wnd, &owner);
    if (owner != search->pid || wnd == search->main || !::IsWindowVisible(wnd) || wcscmp(cls, L"#32770") != 0 ||
        !::GetDlgItem(wnd, search->childId))
        return TRUE;
    search->found = wnd;
    return FALSE;
}

HWND WaitForDialog(const QuorvelProcess& app, int childId)
{
    DialogSearch search = {app.ProcessId(), app.MainWindow(), childId, nullptr};
    PumpUntil([&] { return !::EnumWindows(FindDialog, reinterpret_cast<LPARAM>(&search)) && search.found; }, 15000);
    return search.found;
}

// Answers the program's next message box with OK and returns its text ("" when none came).
std::wstring AnswerMessageBox(const QuorvelProcess& app)
{
    HWND box = WaitForDialog(app, 0xFFFF);
    if (!box) return std::wstring();
    const std::wstring text = RemoteText(::GetDlgItem(box, 0xFFFF));
    ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    return text;
}

// Types into the open dialog's file name box and presses Open.
void EnterInOpenDialog(HWND dialog, const std::wstring& text)
{
    HWND box = ::GetDlgItem(dialog, 0x47C);
    HWND edit = ::FindWindowExW(box, nullptr, L"Edit", nullptr);
    ::SendMessageTimeoutW(edit ? edit : box, WM_SETTEXT, 0, (LPARAM)text.c_str(), SMTO_ABORTIFHUNG, 2000, nullptr);
    ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), (LPARAM)::GetDlgItem(dialog, IDOK));
}

int RemoteRowCount(HWND list) { return int(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)); }

std::wstring Artifacts()
{
    std::wstring folder = ProgramFolder() + L"artifacts\\";
    ::CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

// Other test programs share the display: keep the program above their windows and have it repaint what they
// covered, so the shot reads its own pixels.
bool Shoot(HWND main, const std::wstring& name)
{
    ::SetWindowPos(main, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ::RedrawWindow(main, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    return SaveWindowShot(main, Artifacts() + name);
}

HWND OpenFromDrawer(HWND main, int pageId)
{
    HWND entry = DrawerEntry(main, pageId);
    if (!entry) return nullptr;
    ClickWindow(entry);
    if (!PumpUntil([&] { return VisiblePageId(main) == pageId; })) return nullptr;
    PumpFor(300);
    return FindDescendant(PageContainer(main), pageId);
}

void SeedInstalledProgram()
{
    const std::wstring icon = ProgramFolder() + L"Quorvel.exe,0";
    HKEY key = nullptr;
    ::RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\QuorvelSample", 0,
                      nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr);
    const std::pair<const wchar_t*, std::wstring> texts[] = {{L"DisplayName", L"Sample Editor"},
                                                             {L"Publisher", L"Sample Software"},
                                                             {L"DisplayVersion", L"3.1"},
                                                             {L"URLInfoAbout", L"http://sample.example"},
                                                             {L"DisplayIcon", icon},
                                                             {L"UninstallString", L"cmd.exe /c exit"}};
    for (const auto& text : texts)
        ::RegSetValueExW(key, text.first, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.second.c_str()),
                         DWORD((text.second.size() + 1) * sizeof(wchar_t)));
    const DWORD kib = 20480;
    ::RegSetValueExW(key, L"EstimatedSize", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&kib), sizeof(kib));
    ::RegCloseKey(key);
}

TEST(YarrowbyPagesApp, EachPageFromTheDrawerWorksInTheProgramWithScreenshots)
{
    const std::wstring folder = MakeScratchFolder(L"app-shred");
    for (const wchar_t* name : {L"old letter.doc", L"notes.txt"})
        ASSERT_TRUE(yarrowby_test::WriteBytes(folder + name, yarrowby_test::RandomBytes(70000, 3)));
    SeedInstalledProgram();
    SetRecentLastScan();
    QuorvelProcess app;
    ASSERT_TRUE(app.Start());
    ASSERT_GE(app.WaitUntilVisible(60000), 0);  // a start under Wine can take long on a busy machine
    HWND main = app.MainWindow();
    PumpFor(300);

    // The shredder: two files chosen in its open dialog, shown, then shredded.
    HWND shredder = OpenFromDrawer(main, 150004);
    ASSERT_NE(nullptr, shredder);
    PressButton(shredder, 56007);
    HWND dialog = WaitForDialog(app, 0x47C);
    ASSERT_NE(nullptr, dialog);
    EnterInOpenDialog(dialog, folder);  // opens the folder
    PumpFor(500);
    EnterInOpenDialog(dialog, L"\"old letter.doc\" \"notes.txt\"");
    HWND list = ::GetDlgItem(shredder, 56003);
    ASSERT_TRUE(PumpUntil([&] { return RemoteRowCount(list) == 2; }, 10000));
    EXPECT_TRUE(Shoot(main, L"tools-shredder.bmp"));
    PressButton(shredder, 56009);
    EXPECT_EQ(L"The files have been shredded.", AnswerMessageBox(app));
    EXPECT_TRUE(PumpUntil([&] { return RemoteRowCount(list) == 0; }));
    EXPECT_FALSE(yarrowby_test::Exists(folder + L"notes.txt"));
    EXPECT_FALSE(yarrowby_test::Exists(folder + L"old letter.doc"));

    HWND splitter = OpenFromDrawer(main, 150003);
    ASSERT_NE(nullptr, splitter);
    EXPECT_TRUE(Shoot(main, L"tools-splitter-split.bmp"));
    PressButton(splitter, 55003);
    EXPECT_TRUE(Shoot(main, L"tools-splitter-join.bmp"));

    HWND activex = OpenFromDrawer(main, 150001);
    ASSERT_NE(nullptr, activex);
    EXPECT_EQ(13, RemoteRowCount(::GetDlgItem(activex, 53004)));
    EXPECT_EQ(L"13 ActiveX controls are not blocked.", RemoteText(::GetDlgItem(activex, 53002)));
    EXPECT_TRUE(Shoot(main, L"tools-activex.bmp"));

    HWND uninstall = OpenFromDrawer(main, 150002);
    ASSERT_NE(nullptr, uninstall);
    HWND programs = ::GetDlgItem(uninstall, 54002);
    ASSERT_GE(RemoteRowCount(programs), 1);
    ::SendMessageW(programs, WM_KEYDOWN, VK_HOME, 0);
    ::SendMessageW(programs, WM_KEYUP, VK_HOME, 0);
    EXPECT_TRUE(PumpUntil([&] { return RemoteText(::GetDlgItem(uninstall, 54005)) != L"Title"; }));
    EXPECT_TRUE(Shoot(main, L"tools-uninstall.bmp"));

    app.Exit();
    RemoveTree(folder);
}

}  // namespace
