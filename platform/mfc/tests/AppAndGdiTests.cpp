// Application start-up and globals, message boxes driven like a user, GDI temporary wrappers, list check states.
#include <gtest/gtest.h>

#include <string>

#include "TestIds.h"
#include "TestSupport.h"

using namespace qmfc_test;

namespace {

BOOL CALLBACK FindProcessBox(HWND h, LPARAM lp)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(h, &pid);
    wchar_t cls[16] = {};
    GetClassNameW(h, cls, 16);
    // A message box: a visible dialog of this process with the message text control 0xFFFF.
    if (pid == GetCurrentProcessId() && lstrcmpW(cls, L"#32770") == 0 && IsWindowVisible(h) && GetDlgItem(h, 0xFFFF)) {
        *reinterpret_cast<HWND*>(lp) = h;
        return FALSE;
    }
    return TRUE;
}

// Finds this process's message box, records its caption and text, and presses the button.
struct BoxDriver {
    std::wstring caption, text;
    int button;
    HANDLE thread = NULL;
    static DWORD WINAPI Drive(LPVOID p)
    {
        BoxDriver* d = static_cast<BoxDriver*>(p);
        for (int i = 0; i < 500; ++i) {
            HWND box = NULL;
            EnumWindows(FindProcessBox, (LPARAM)&box);
            if (box) {
                wchar_t buf[256] = {};
                GetWindowTextW(box, buf, 256);
                d->caption = buf;
                GetDlgItemTextW(box, 0xFFFF, buf, 256);
                d->text = buf;
                SendMessageW(GetDlgItem(box, d->button), BM_CLICK, 0, 0);
                return 0;
            }
            Sleep(20);
        }
        return 1;
    }
    explicit BoxDriver(int b) : button(b) { thread = CreateThread(NULL, 0, Drive, this, 0, NULL); }
    ~BoxDriver()
    {
        WaitForSingleObject(thread, 10000);
        CloseHandle(thread);
    }
};

std::wstring ProgramFolder()
{
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(NULL, path, MAX_PATH);
    std::wstring p(path);
    return p.substr(0, p.find_last_of(L'\\') + 1);
}

DWORD RunProbe(const wchar_t* args)
{
    std::wstring cmd = L"\"" + ProgramFolder() + L"QMfcStartupProbe.exe\" " + args;
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessW(NULL, &cmd[0], NULL, NULL, FALSE, 0, NULL, NULL, &si, &pi)) return 0xDEAD;
    WaitForSingleObject(pi.hProcess, 20000);
    DWORD code = 0xBEEF;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    return code;
}

}  // namespace

TEST(Application, StartupRunsInitInstanceAndReturnsTheExitCode)
{
    // The probe program links the layer's entry point; its InitInstance reads the command line.
    EXPECT_EQ(7u, RunProbe(L"fail 7"));  // InitInstance FALSE -> ExitInstance's value
    EXPECT_EQ(3u, RunProbe(L"quit 3"));  // TRUE -> message loop until WM_QUIT(3)
}

TEST(Application, MessageBoxUsesTheApplicationNameAndReturnsTheUsersChoice)
{
    CWinApp app(L"Layer Test");
    int result = 0;
    {
        BoxDriver driver(IDNO);
        result = AfxMessageBox(L"Continue?", MB_YESNO);
        WaitForSingleObject(driver.thread, 10000);
        EXPECT_EQ(L"Layer Test", driver.caption);
        EXPECT_EQ(L"Continue?", driver.text);
    }
    EXPECT_EQ(IDNO, result);
    EXPECT_EQ(GetModuleHandleW(NULL), AfxGetInstanceHandle());
    EXPECT_EQ(GetModuleHandleW(NULL), AfxGetResourceHandle());
}

TEST(Gdi, SelectObjectReturnsTemporaryWrappersThatNeverDeleteTheirHandle)
{
    CDC mem;
    ASSERT_TRUE(mem.CreateCompatibleDC(NULL));
    CBitmap bmp;
    ASSERT_TRUE(bmp.CreateBitmap(8, 8, 1, 1, NULL));
    CBitmap* oldBmp = mem.SelectObject(&bmp);
    ASSERT_NE(nullptr, oldBmp);

    LOGFONTW small = {}, large = {};
    small.lfHeight = 12;
    large.lfHeight = 24;
    CFont first, second;
    ASSERT_TRUE(first.CreateFontIndirect(&small));
    ASSERT_TRUE(second.CreateFontIndirect(&large));
    CFont* stock = mem.SelectObject(&first);
    ASSERT_NE(nullptr, stock);
    CFont* previous = mem.SelectObject(&second);
    ASSERT_NE(nullptr, previous);
    EXPECT_EQ(first.m_hObject, previous->m_hObject);
    EXPECT_NE(&first, previous);  // a temporary wrapper, not the owner
    CWnd::DeleteTempMap();
    EXPECT_EQ((DWORD)OBJ_FONT, GetObjectType(first.m_hObject));  // still alive
    mem.SelectObject(CFont::FromHandle((HFONT)GetStockObject(SYSTEM_FONT)));
    mem.SelectObject(CBitmap::FromHandle((HBITMAP)oldBmp->m_hObject));

    // A region handed to the system is detached first, so the wrapper never deletes it.
    CWnd host;
    ASSERT_TRUE(CreateHost(host));
    CRgn rgn;
    ASSERT_TRUE(rgn.CreateRectRgn(0, 0, 50, 40));
    EXPECT_NE(0, host.SetWindowRgn((HRGN)rgn.Detach(), FALSE));
    EXPECT_EQ(nullptr, rgn.m_hObject);
    CRgn current;
    current.CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(SIMPLEREGION, host.GetWindowRgn(current));
    host.DestroyWindow();
}

TEST(ListCtrl, CheckStateFollowsTheStateImageFormula)
{
    CWnd host;
    ASSERT_TRUE(CreateHost(host));
    CListCtrl list;
    ASSERT_TRUE(list.Create(LVS_REPORT, CRect(0, 0, 200, 100), &host, 40));
    list.InsertColumn(0, L"c", LVCFMT_LEFT, 80);
    ASSERT_EQ(0, list.InsertItem(0, L"new"));
    EXPECT_EQ(-1, list.GetCheck(0));  // no state image: (0 >> 12) - 1, which reads as checked
    list.SetExtendedStyle(LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
    ASSERT_TRUE(list.SetCheck(0, FALSE));
    EXPECT_EQ(0, list.GetCheck(0));
    ASSERT_TRUE(list.SetCheck(0, TRUE));
    EXPECT_EQ(1, list.GetCheck(0));
    list.SetItemText(0, 0, L"renamed");
    EXPECT_EQ(CString(L"renamed"), list.GetItemText(0, 0));
    list.SetItemData(0, 0x1234);
    EXPECT_EQ(0x1234u, list.GetItemData(0));
    list.SetItemState(0, LVIS_SELECTED, LVIS_SELECTED);
    POSITION pos = list.GetFirstSelectedItemPosition();
    ASSERT_NE(nullptr, pos);
    EXPECT_EQ(0, list.GetNextSelectedItem(pos));
    EXPECT_EQ(nullptr, pos);
    host.DestroyWindow();
}

namespace {
class CNumberDlg : public CDialog {
public:
    int value = -1;
    void DoDataExchange(CDataExchange* dx) override { DDX_Text(dx, IDC_TEST_EDIT, value); }
};
}  // namespace

TEST(DataExchange, IntegerFieldRefusesTextWithTheUsualMessage)
{
    CWinApp app(L"Layer Test");
    CNumberDlg dlg;
    ASSERT_TRUE(dlg.Create(IDD_TEST_MODAL, NULL));
    dlg.SetDlgItemText(IDC_TEST_EDIT, L" 12 ");
    EXPECT_TRUE(dlg.UpdateData(TRUE));
    EXPECT_EQ(12, dlg.value);
    dlg.value = 345;
    EXPECT_TRUE(dlg.UpdateData(FALSE));
    CString text;
    dlg.GetDlgItemText(IDC_TEST_EDIT, text);
    EXPECT_EQ(CString(L"345"), text);

    dlg.SetDlgItemText(IDC_TEST_EDIT, L"12abc");
    {
        BoxDriver driver(IDOK);
        EXPECT_FALSE(dlg.UpdateData(TRUE));
        WaitForSingleObject(driver.thread, 10000);
        EXPECT_EQ(L"Please enter an integer.", driver.text);
    }
    EXPECT_EQ(345, dlg.value);  // unchanged after a refused entry
    dlg.DestroyWindow();
}
