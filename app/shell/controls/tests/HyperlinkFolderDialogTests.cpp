// The hyperlink and the folder dialog in windows of this process: the link's look, cursor, hit test and click
// (which starts a stand-in program), and the folder browser driven from a thread as a user would.
#include <gtest/gtest.h>

#include "QTestSupport.h"
#include "controls/FolderDialog.h"
#include "controls/Hyperlink.h"

using namespace shell_test;

namespace {

const COLORREF kParentColour = RGB(10, 200, 30);

class ParentWnd : public CWnd {
public:
    ParentWnd()
    {
        CreateEx(0, AfxRegisterWndClass(0), L"parent", WS_POPUP | WS_VISIBLE, 0, 0, 400, 200, nullptr, nullptr);
    }
    ~ParentWnd() override { DestroyWindow(); }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_ERASEBKGND) {
            RECT r;
            ::GetClientRect(m_hWnd, &r);
            HBRUSH brush = ::CreateSolidBrush(kParentColour);
            ::FillRect(reinterpret_cast<HDC>(wParam), &r, brush);
            ::DeleteObject(brush);
            return TRUE;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

// How many pixels of the window's client area have the colour (the window as painted).
int CountPixels(HWND wnd, COLORREF colour)
{
    ::RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    RECT r;
    ::GetClientRect(wnd, &r);
    HDC dc = ::GetDC(wnd);
    int n = 0;
    for (int y = 0; y < r.bottom; ++y)
        for (int x = 0; x < r.right; ++x)
            if (::GetPixel(dc, x, y) == colour) ++n;
    ::ReleaseDC(wnd, dc);
    return n;
}

COLORREF PixelAt(HWND wnd, int x, int y)
{
    HDC dc = ::GetDC(wnd);
    COLORREF c = ::GetPixel(dc, x, y);
    ::ReleaseDC(wnd, dc);
    return c;
}

LOGFONTW FontOf(const CHyperlink& link)
{
    LOGFONTW lf = {};
    ::GetObjectW(link.m_font.GetSafeHandle(), sizeof(lf), &lf);
    return lf;
}

// The stand-in program copied into a scratch folder; its runs are the lines of runs.txt there.
struct Recorder {
    std::wstring folder = MakeScratchFolder(L"hyperlink");
    std::wstring exe = folder + L"linked.exe";
    Recorder() { ::CopyFileW((ProgramFolder() + L"QRunRecorder.exe").c_str(), exe.c_str(), FALSE); }
    ~Recorder() { RemoveTree(folder); }
    int Runs() const
    {
        HANDLE file = ::CreateFileW((folder + L"runs.txt").c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE) return 0;
        char buffer[4096];
        DWORD read = 0;
        int n = 0;
        while (::ReadFile(file, buffer, sizeof(buffer), &read, nullptr) && read > 0)
            for (DWORD i = 0; i < read; ++i) n += buffer[i] == '\n';
        ::CloseHandle(file);
        return n;
    }
};

void Click(HWND wnd)
{
    ::SendMessageW(wnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    ::SendMessageW(wnd, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
}

TEST(Hyperlink, LooksLikeALinkAndRecreatesItsFontWhenThePageChangesIt)
{
    ParentWnd parent;
    CHyperlink link;
    EXPECT_FALSE(link.GetLink().IsEmpty());
    ASSERT_TRUE(link.Create(L"www.quorvel.com", WS_CHILD | WS_VISIBLE, CRect(10, 10, 210, 40), &parent, 5001));

    // Blue, underlined Tahoma of height 15, drawn over what the parent shows.
    EXPECT_GT(CountPixels(link, RGB(0, 0, 255)), 20);
    EXPECT_EQ(kParentColour, PixelAt(link, 199, 29));
    LOGFONTW lf = FontOf(link);
    EXPECT_STREQ(L"Tahoma", lf.lfFaceName);
    EXPECT_EQ(15, lf.lfHeight);
    EXPECT_TRUE(lf.lfUnderline);
    EXPECT_LT(lf.lfWeight, FW_BOLD);

    link.SetBold(TRUE);
    link.SetFontHeight(20);
    link.SetUnderline(FALSE);
    lf = FontOf(link);
    EXPECT_EQ(FW_BOLD, lf.lfWeight);
    EXPECT_EQ(20, lf.lfHeight);
    EXPECT_FALSE(lf.lfUnderline);

    link.SetTextColor(RGB(255, 0, 0));
    EXPECT_EQ(0, CountPixels(link, RGB(0, 0, 255)));
    EXPECT_GT(CountPixels(link, RGB(255, 0, 0)), 20);

    // A member changed directly takes effect at the next paint.
    link.m_nFontHeight = 11;
    CountPixels(link, RGB(255, 0, 0));
    EXPECT_EQ(11, FontOf(link).lfHeight);
}

TEST(Hyperlink, TakesTheMouseAndShowsTheHandCursor)
{
    ParentWnd parent;
    CHyperlink link;
    ASSERT_TRUE(link.Create(L"link", WS_CHILD | WS_VISIBLE, CRect(10, 10, 110, 30), &parent, 5002));
    EXPECT_EQ(HTCLIENT, link.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(20, 20)));
    EXPECT_EQ(TRUE, link.SendMessage(WM_SETCURSOR, (WPARAM)link.m_hWnd, MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
    EXPECT_EQ(::LoadCursorW(nullptr, IDC_HAND), ::GetCursor());

    // Without a cursor the message is left to the parent.
    HCURSOR hand = link.m_hCursor;
    link.m_hCursor = nullptr;
    EXPECT_EQ(FALSE, link.SendMessage(WM_SETCURSOR, (WPARAM)link.m_hWnd, MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
    link.m_hCursor = hand;
}

TEST(Hyperlink, AClickOpensTheLinkAndAnEmptyLinkDoesNothing)
{
    Recorder recorder;
    ParentWnd parent;
    CHyperlink empty, link;
    ASSERT_TRUE(empty.Create(L"nothing", WS_CHILD | WS_VISIBLE, CRect(10, 10, 110, 30), &parent, 5003));
    ASSERT_TRUE(link.Create(L"program", WS_CHILD | WS_VISIBLE, CRect(10, 40, 110, 60), &parent, 5004));
    empty.SetLink(L"");
    link.SetLink(recorder.exe.c_str());

    Click(empty);
    Click(link);
    ASSERT_TRUE(PumpUntil([&] { return recorder.Runs() >= 1; }, 10000));
    PumpFor(300);
    EXPECT_EQ(1, recorder.Runs());  // the empty link started nothing
}

using BrowserDriver = FolderBrowserDriver;

void Press(HWND browser, int id) { FolderBrowserDriver::Press(browser, id); }

// Records what the browser told the dialog, and whether the browser's window was known at that moment.
class RecordingFolderDialog : public CFolderDialog {
public:
    int initialized = 0, selChanges = 0, validateFailures = 0;
    bool windowKnown = true;
    std::wstring validateText;
    void OnInitialized() override
    {
        ++initialized;
        windowKnown = windowKnown && m_hBrowseWnd != nullptr;
        CFolderDialog::OnInitialized();
    }
    void OnSelChanged(LPCITEMIDLIST item) override
    {
        ++selChanges;
        windowKnown = windowKnown && m_hBrowseWnd != nullptr;
        CFolderDialog::OnSelChanged(item);
    }
    int OnValidateFailed(LPCWSTR text) override
    {
        ++validateFailures;
        validateText = text ? text : L"";
        return CFolderDialog::OnValidateFailed(text);
    }
};

TEST(FolderDialog, OpensOnTheInitialFolderAndReturnsItOnOk)
{
    // Under C:\ : Wine's old-style tree does not reach the profile's Temp folder on its first expansion.
    const std::wstring folder = L"C:\\shelltest folder dialog";
    ::CreateDirectoryW(folder.c_str(), nullptr);
    RecordingFolderDialog dialog;
    dialog.SetInitialFolder(folder.c_str());
    dialog.m_bi.ulFlags |= BIF_STATUSTEXT;
    std::wstring status;
    INT_PTR result = 0;
    {
        BrowserDriver driver([&](HWND browser) {
            // The status line shows the selected folder's path.
            for (HWND child : Descendants(browser))
                if (WindowText(child) == folder) status = WindowText(child);
            Press(browser, IDOK);
        });
        result = dialog.DoModal();
    }
    EXPECT_EQ(IDOK, result);
    EXPECT_EQ(folder, std::wstring(dialog.GetFolderPath()));
    EXPECT_EQ(folder, status);
    EXPECT_EQ(1, dialog.initialized);
    EXPECT_GE(dialog.selChanges, 1);
    EXPECT_TRUE(dialog.windowKnown);
    EXPECT_EQ(nullptr, dialog.m_hBrowseWnd);  // known only while a notification runs
    RemoveTree(folder);
}

TEST(FolderDialog, CancelGivesIdCancelAndNoPath)
{
    CFolderDialog dialog;
    dialog.SetInitialFolder(L"C:\\windows");
    INT_PTR result = 0;
    {
        BrowserDriver driver([](HWND browser) { Press(browser, IDCANCEL); });
        result = dialog.DoModal();
        EXPECT_TRUE(driver.Found());
    }
    EXPECT_EQ(IDCANCEL, result);
    EXPECT_TRUE(dialog.GetFolderPath().IsEmpty());
}

TEST(FolderDialog, AVirtualFolderWithoutAPathGivesMinusOne)
{
    CFolderDialog dialog;
    dialog.m_bi.ulFlags = 0;  // without "file-system folders only" the browser accepts virtual folders
    LPITEMIDLIST computer = nullptr;
    ASSERT_EQ(S_OK, ::SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &computer));
    INT_PTR result = 0;
    {
        BrowserDriver driver([&](HWND browser) {
            ::SendMessageW(browser, BFFM_SETSELECTIONW, FALSE, reinterpret_cast<LPARAM>(computer));
            Press(browser, IDOK);
        });
        result = dialog.DoModal();
    }
    ::CoTaskMemFree(computer);
    EXPECT_EQ(-1, result);
    EXPECT_TRUE(dialog.GetFolderPath().IsEmpty());
}

// Wine's browser has no edit box, so the validation notice is handed to the callback as the browser would.
TEST(FolderDialog, AFailedValidationBeepsAndKeepsTheBrowserOpen)
{
    RecordingFolderDialog dialog;
    HWND browser = ::GetDesktopWindow();
    LPARAM self = reinterpret_cast<LPARAM>(&dialog);
    EXPECT_EQ(1, CFolderDialog::BrowseCallbackProc(browser, BFFM_VALIDATEFAILEDW,
                                                   reinterpret_cast<LPARAM>(L"C:\\no such folder"), self));
    EXPECT_EQ(1, dialog.validateFailures);
    EXPECT_EQ(L"C:\\no such folder", dialog.validateText);
    EXPECT_EQ(nullptr, dialog.m_hBrowseWnd);
    EXPECT_EQ(0, CFolderDialog::BrowseCallbackProc(browser, BFFM_IUNKNOWN, 0, self));
    EXPECT_EQ(0, dialog.initialized + dialog.selChanges);
}

}  // namespace
