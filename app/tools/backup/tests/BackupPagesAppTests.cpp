// The real Quorvel.exe: every backup page is reached from the drawer and from the backup home page, and a
// screenshot of each goes to Q:\artifacts. With Wine set to report Windows XP, the system restore page runs
// against Wine's own System Restore: its failures are shown as failures.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <Common.h>

#include <string>
#include <vector>

#include "Dictionary.h"
#include "PageIds.h"
#include "QAppDriver.h"
#include "QTestSupport.h"

using namespace shell_test;

namespace {

// Waits for a state of the program: generous, since a machine shared by many test runs can be slow to answer.
const DWORD kWaitMs = 20000;

std::wstring Text(const wchar_t* key) { return static_cast<LPCWSTR>(nsVendrel::TranslateCode(key)); }

// WM_GETTEXT: GetWindowText does not ask a window of another process for its text.
std::wstring RemoteText(HWND wnd)
{
    wchar_t text[1024] = L"";
    ::SendMessageTimeoutW(wnd, WM_GETTEXT, 1024, (LPARAM)text, SMTO_ABORTIFHUNG, kWaitMs, nullptr);
    return text;
}

// Posted: a page that opens with a message box holds the click until the box is answered.
void Click(HWND wnd)
{
    ::PostMessageW(wnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    ::PostMessageW(wnd, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
}

void Press(HWND button)
{
    ::PostMessageW(::GetParent(button), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(button), BN_CLICKED), (LPARAM)button);
}

struct FoundBox {
    DWORD pid;
    HWND main;    // the main window is a dialog too, whose plain statics also carry the id 0xFFFF
    int childId;  // the control that tells the wanted dialog (the options window is a dialog as well)
    HWND box;
};

BOOL CALLBACK FindBoxProc(HWND wnd, LPARAM param)
{
    FoundBox* found = reinterpret_cast<FoundBox*>(param);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(wnd, &pid);
    wchar_t cls[32] = L"";
    ::GetClassNameW(wnd, cls, 32);
    if (pid == found->pid && wnd != found->main && ::IsWindowVisible(wnd) && wcscmp(cls, L"#32770") == 0 &&
        ::GetDlgItem(wnd, found->childId)) {
        found->box = wnd;
        return FALSE;
    }
    return TRUE;
}

const int kMessageText = 0xFFFF;  // the text of a message box
const int kNameEdit = 63007;      // the edit of the restore point's name dialog

// A visible dialog of the program holding that control, waited for.
HWND WaitForDialog(const QuorvelProcess& app, int childId = kMessageText, DWORD timeoutMs = kWaitMs)
{
    FoundBox found = {app.ProcessId(), app.MainWindow(), childId, nullptr};
    PumpUntil(
        [&] {
            found.box = nullptr;
            ::EnumWindows(FindBoxProc, reinterpret_cast<LPARAM>(&found));
            return found.box != nullptr;
        },
        timeoutMs);
    return found.box;
}

// Answers the program's next message box with the button and returns its text.
std::wstring Answer(const QuorvelProcess& app, int button)
{
    HWND box = WaitForDialog(app);
    if (!box) return L"<no message box>";
    std::wstring text = RemoteText(::GetDlgItem(box, 0xFFFF));
    ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
    PumpUntil([&] { return !::IsWindow(box) || !::IsWindowVisible(box); }, kWaitMs);
    return text;
}

BOOL CALLBACK FindUnpaintedProc(HWND wnd, LPARAM param)
{
    if (::IsWindowVisible(wnd) && ::GetUpdateRect(wnd, nullptr, FALSE)) {
        *reinterpret_cast<bool*>(param) = true;
        return FALSE;
    }
    return TRUE;
}

// True once the program has painted all of its window: a page just shown (and the drawer's new highlight)
// waits for WM_PAINT, which a busy machine delays well past any fixed pause.
bool Painted(HWND main)
{
    bool unpainted = ::GetUpdateRect(main, nullptr, FALSE) != FALSE;
    if (!unpainted) ::EnumChildWindows(main, FindUnpaintedProc, reinterpret_cast<LPARAM>(&unpainted));
    return !unpainted;
}

void Shot(HWND main, const wchar_t* name)
{
    // A round trip first, so what the page queued on being shown has been handled.
    ::SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, nullptr);
    EXPECT_TRUE(PumpUntil([&] { return Painted(main); }, 20000)) << name << ": still unpainted";
    std::wstring folder = ProgramFolder() + L"artifacts\\";
    ::CreateDirectoryW(folder.c_str(), nullptr);
    EXPECT_TRUE(SaveWindowShot(main, folder + name)) << name;
}

class BackupApp : public ::testing::Test {
protected:
    static void SetUpTestSuite() { nsVendrel::LoadDictionarys((ProgramFolder() + L"dic\\en").c_str()); }
    void Start()
    {
        SetRecentLastScan();
        ASSERT_TRUE(app.Start());
        ASSERT_GE(app.WaitUntilVisible(3 * kWaitMs), 0);
        main = app.MainWindow();
        PumpFor(500);
    }
    // Opens the backup group in the drawer and clicks one of its entries (the group's header is the home page).
    void FromDrawer(int pageId)
    {
        HWND header = DrawerEntry(main, PAGE_ID_BACKUP_HOME);
        ASSERT_NE(nullptr, header);
        Click(header);
        if (pageId != PAGE_ID_BACKUP_HOME) {
            HWND item = DrawerEntry(main, pageId);
            ASSERT_NE(nullptr, item);
            ASSERT_TRUE(PumpUntil([&] { return ::IsWindowVisible(item); }, kWaitMs));
            Click(item);
        }
        ASSERT_TRUE(PumpUntil([&] { return VisiblePageId(main) == pageId; }, kWaitMs)) << pageId;
    }
    HWND Page(int pageId) { return FindDescendant(PageContainer(main), pageId); }

    QuorvelProcess app;
    HWND main = nullptr;
};

}  // namespace

TEST_F(BackupApp, EveryBackupPageFromTheDrawerAndFromTheHomePage)
{
    Start();
    if (HasFatalFailure()) return;
    const struct {
        int button;
        int page;
        const wchar_t* shot;
    } pages[] = {
        {29928, PAGE_ID_BACKUP_REGISTRY, L"backup-registry.bmp"},
        {29929, PAGE_ID_BACKUP_RESTORE_POINT, L"backup-restore-points.bmp"},
        {29930, PAGE_ID_BACKUP_FAVORITES, L"backup-favorites.bmp"},
        {29931, PAGE_ID_BACKUP_FOLDER, L"backup-folder-backup.bmp"},
    };
    FromDrawer(PAGE_ID_BACKUP_HOME);
    Shot(main, L"backup-home.bmp");
    for (const auto& p : pages) {
        // From the home page's button...
        FromDrawer(PAGE_ID_BACKUP_HOME);
        HWND button = FindDescendant(Page(PAGE_ID_BACKUP_HOME), p.button);
        ASSERT_NE(nullptr, button);
        Press(button);
        // Wine reports Windows 7, where the system restore page says it cannot be used here.
        if (p.page == PAGE_ID_BACKUP_RESTORE_POINT) {
            EXPECT_EQ(Text(L"IDS_BACKUP_RESTOREPOINT_NOTUSE"), Answer(app, IDOK));
        }
        ASSERT_TRUE(PumpUntil([&] { return VisiblePageId(main) == p.page; }, kWaitMs)) << p.page;
        Shot(main, p.shot);
        // ...and from the drawer.
        FromDrawer(PAGE_ID_BACKUP_HOME);
        if (p.page == PAGE_ID_BACKUP_RESTORE_POINT) {
            HWND item = DrawerEntry(main, p.page);
            ASSERT_NE(nullptr, item);
            Click(item);
            EXPECT_EQ(Text(L"IDS_BACKUP_RESTOREPOINT_NOTUSE"), Answer(app, IDOK));
            ASSERT_TRUE(PumpUntil([&] { return VisiblePageId(main) == p.page; }, kWaitMs));
        } else {
            FromDrawer(p.page);
        }
    }
    // The folder page's restore tab.
    HWND tab = FindDescendant(Page(PAGE_ID_BACKUP_FOLDER), 65004);
    ASSERT_NE(nullptr, tab);
    Press(tab);
    ASSERT_TRUE(
        PumpUntil([&] { return ::IsWindowVisible(FindDescendant(Page(PAGE_ID_BACKUP_FOLDER), 65212)); }, kWaitMs));
    Shot(main, L"backup-folder-restore.bmp");
    app.Exit();
}

TEST_F(BackupApp, SystemRestoreOnWindowsXpShowsWinesAnswers)
{
    // Wine reads its version per process: the program started below sees Windows XP.
    ASSERT_EQ(0, SBRegSetStringValueW(HKEY_CURRENT_USER, L"Software\\Wine", L"Version", L"winxp64"));
    Start();
    if (HasFatalFailure()) return;
    HWND item = DrawerEntry(main, PAGE_ID_BACKUP_HOME);
    ASSERT_NE(nullptr, item);
    Click(item);
    item = DrawerEntry(main, PAGE_ID_BACKUP_RESTORE_POINT);
    ASSERT_TRUE(PumpUntil([&] { return ::IsWindowVisible(item); }, kWaitMs));
    Click(item);
    // Wine has no System Restore service: the page offers to switch it on, and Wine's WMI says it did.
    EXPECT_EQ(Text(L"IDS_BACKUP_RESTOREPOINT_SRVSTART"), Answer(app, IDYES));
    HWND page = Page(PAGE_ID_BACKUP_RESTORE_POINT);
    HWND list = FindDescendant(page, 63002);
    ASSERT_TRUE(PumpUntil([&] { return ::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0) >= 1; }, 20000));
    for (int id = 63003; id <= 63006; ++id) EXPECT_TRUE(::IsWindowEnabled(FindDescendant(page, id))) << id;
    Shot(main, L"backup-restore-points-xp.bmp");

    // Create: Cancel in the name dialog creates nothing; a named point is refused by Wine and shown as refused.
    Press(FindDescendant(page, 63004));
    HWND ask = WaitForDialog(app, kNameEdit);
    ASSERT_NE(nullptr, ask);
    EXPECT_EQ(L"Please Enter", RemoteText(ask));
    ::PostMessageW(ask, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    ASSERT_TRUE(PumpUntil([&] { return !::IsWindow(ask); }, kWaitMs));
    Press(FindDescendant(page, 63004));
    ask = WaitForDialog(app, kNameEdit);
    ASSERT_NE(nullptr, ask);
    ::SetDlgItemTextW(ask, 63007, L"Before the test");
    ::PostMessageW(ask, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    EXPECT_EQ(Text(L"IDS_BACKUP_RESTOREPOINT_BACKFAIL"), Answer(app, IDOK));
    EXPECT_EQ(Text(L"IDS_BACKUP_RESTOREPOINT_BACKFAIL"), RemoteText(FindDescendant(page, 63009)));

    // Roll back to Wine's listed point: Wine's WMI cannot take the point's number, so nothing is scheduled,
    // the page says so, and no restart is offered.
    ::SetFocus(list);
    ::SendMessageW(list, WM_KEYDOWN, VK_HOME, 0);
    ASSERT_TRUE(PumpUntil([&] { return ::SendMessageW(list, LVM_GETNEXTITEM, (WPARAM)-1, LVNI_SELECTED) >= 0; }));
    Press(FindDescendant(page, 63005));
    EXPECT_EQ(Text(L"IDS_BACKUP_RESTOREPOINT_RESTORE_QUESTION"), Answer(app, IDYES));
    EXPECT_EQ(Text(L"IDS_BACKUP_RESTOREPOINT_RESTOREFAIL"), Answer(app, IDOK));
    PumpFor(500);
    EXPECT_EQ(nullptr, WaitForDialog(app, kMessageText, 500)) << "no restart question after a failed roll-back";
    EXPECT_TRUE(app.IsRunning());
    app.Exit();
    SBRegDeleteValueW(HKEY_CURRENT_USER, L"Software\\Wine", L"Version");
}
