// CFileDialog (filter conversion, multi-selection walk, a dialog driven like a user) and CInternetSession errors.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "QMfcHtmlView.h"
#include "QMfcInternet.h"
#include "TestSupport.h"

namespace {

BOOL CALLBACK FindFileBox(HWND h, LPARAM lp)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(h, &pid);
    wchar_t cls[16] = {};
    GetClassNameW(h, cls, 16);
    if (pid == GetCurrentProcessId() && lstrcmpW(cls, L"#32770") == 0 && IsWindowVisible(h)) {
        *reinterpret_cast<HWND*>(lp) = h;
        return FALSE;
    }
    return TRUE;
}

// The file name field: the first visible edit (a plain edit or the edit inside the name combo box).
BOOL CALLBACK FindNameEdit(HWND h, LPARAM lp)
{
    wchar_t cls[16] = {};
    GetClassNameW(h, cls, 16);
    if (lstrcmpiW(cls, L"Edit") == 0 && IsWindowVisible(h)) {
        *reinterpret_cast<HWND*>(lp) = h;
        return FALSE;
    }
    return TRUE;
}

// Types a path into the open dialog's file name field and presses Open, as a user would.
DWORD WINAPI DriveFileDialog(LPVOID p)
{
    const wchar_t* path = static_cast<const wchar_t*>(p);
    for (int i = 0; i < 500; ++i) {
        HWND box = NULL;
        EnumWindows(FindFileBox, (LPARAM)&box);
        HWND name = NULL;
        if (box) EnumChildWindows(box, FindNameEdit, (LPARAM)&name);
        if (name) {
            SendMessageW(name, WM_SETTEXT, 0, (LPARAM)path);
            PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), (LPARAM)GetDlgItem(box, IDOK));
            return 0;
        }
        if (box && i > 100) {  // no name field found: close the dialog so the test fails instead of hanging
            PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
            return 2;
        }
        Sleep(20);
    }
    return 1;
}

}  // namespace

TEST(FileDialog, WalksMultiSelectionResults)
{
    struct Case {
        const wchar_t* buffer;  // as the system fills it (NUL separated, double NUL at the end)
        size_t length;
        DWORD flags;
        std::vector<std::wstring> expected;
    };
    const Case cases[] = {
        {L"C:\\dir\0a.txt\0b.txt\0", 21, OFN_ALLOWMULTISELECT | OFN_EXPLORER, {L"C:\\dir\\a.txt", L"C:\\dir\\b.txt"}},
        {L"C:\\dir\\only.txt\0", 17, OFN_ALLOWMULTISELECT | OFN_EXPLORER, {L"C:\\dir\\only.txt"}},
        {L"C:\\\0a\0b\0", 9, OFN_ALLOWMULTISELECT | OFN_EXPLORER, {L"C:\\a", L"C:\\b"}},
        {L"C:\\single.fbk\0", 15, 0, {L"C:\\single.fbk"}},
    };
    for (const Case& c : cases) {
        CFileDialog dlg(TRUE, L"fbk", NULL, c.flags, L"Backups (*.fbk)|*.fbk|All|*.*||");
        std::vector<wchar_t> buffer(2412, L'\0');  // a caller buffer, as the pages pass
        std::copy(c.buffer, c.buffer + c.length, buffer.begin());
        dlg.m_ofn.lpstrFile = buffer.data();
        dlg.m_ofn.nMaxFile = (DWORD)buffer.size();
        std::vector<std::wstring> got;
        for (POSITION pos = dlg.GetStartPosition(); pos;) got.push_back((LPCWSTR)dlg.GetNextPathName(pos));
        EXPECT_EQ(c.expected, got);
        // The filter became the system's NUL-separated list.
        const wchar_t* f = dlg.m_ofn.lpstrFilter;
        EXPECT_STREQ(L"Backups (*.fbk)", f);
        f += wcslen(f) + 1;
        EXPECT_STREQ(L"*.fbk", f);
    }
}

TEST(FileDialog, OpenDialogReturnsTheTypedPath)
{
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    std::wstring path = std::wstring(temp) + L"qmfc-open.txt";
    HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    CloseHandle(f);
    CFileDialog dlg(TRUE, NULL, NULL, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST, L"Text|*.txt||");
    HANDLE driver = CreateThread(NULL, 0, DriveFileDialog, (LPVOID)path.c_str(), 0, NULL);
    EXPECT_EQ(IDOK, dlg.DoModal());
    WaitForSingleObject(driver, 10000);
    CloseHandle(driver);
    EXPECT_EQ(0, dlg.GetPathName().CompareNoCase(path.c_str()));
    EXPECT_EQ(CString(L"txt"), dlg.GetFileExt());
    DeleteFileW(path.c_str());
}

TEST(Internet, FailedOpenThrowsAnInternetException)
{
    CInternetSession session(L"HttpClient", 1, PRE_CONFIG_INTERNET_ACCESS);
    DWORD error = 0;
    try {
        CStdioFile* file = session.OpenURL(L"http://127.0.0.1:1/none.txt", 1, INTERNET_FLAG_TRANSFER_ASCII);
        delete file;
    } catch (CInternetException* e) {
        error = e->m_dwError;
        e->Delete();
    }
    EXPECT_NE(0u, error);
}

namespace {
class CFlatHtmlView : public CHtmlView {
public:
    HRESULT OnGetHostInfo(DOCHOSTUIINFO* info) override
    {
        info->dwFlags |= DOCHOSTUIFLAG_NO3DBORDER | DOCHOSTUIFLAG_SCROLL_NO;
        return S_OK;
    }
};
}  // namespace

TEST(HtmlView, HostsTheBrowserAndAnswersHostInfoThroughTheView)
{
    OleInitialize(NULL);
    {
        CWnd host;
        ASSERT_TRUE(qmfc_test::CreateHost(host));
        CFlatHtmlView view;
        ASSERT_TRUE(view.Create(NULL, NULL, WS_CHILD | WS_VISIBLE, CRect(10, 10, 210, 110), &host, 58004));
        ASSERT_NE(nullptr, view.GetBrowser());
        EXPECT_EQ(&view, CWnd::FromHandlePermanent(::GetDlgItem(host, 58004)));

        // What the browser's document asks the container for.
        IDocHostUIHandler* handler = view.GetHostUIHandler();
        ASSERT_NE(nullptr, handler);
        DOCHOSTUIINFO info = {};
        info.cbSize = sizeof(info);
        info.dwFlags = 0x100;
        EXPECT_EQ(S_OK, handler->GetHostInfo(&info));
        EXPECT_EQ(0x10Cu, info.dwFlags);
        IOleInPlaceSite* site = NULL;
        ASSERT_EQ(S_OK, handler->QueryInterface(IID_IOleInPlaceSite, (void**)&site));
        HWND siteWnd = NULL;
        EXPECT_EQ(S_OK, site->GetWindow(&siteWnd));
        EXPECT_EQ(view.m_hWnd, siteWnd);
        site->Release();

        view.MoveWindow(0, 0, 300, 150);
        host.DestroyWindow();  // takes the view with it; the browser is closed and released
        EXPECT_EQ(nullptr, view.GetBrowser());
    }
    OleUninitialize();
}
