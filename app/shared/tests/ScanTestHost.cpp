#include "ScanTestHost.h"

#include <commctrl.h>

#include "PageFactory.h"
#include "PageIds.h"
#include "QLock.h"
#include "QTestSupport.h"

namespace scan_test {

namespace {
qcore::Lock g_lock;
std::vector<WPARAM> g_busy;
WNDPROC g_oldProc = nullptr;

LRESULT CALLBACK HostProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_SET_BUSY) {
        qcore::ScopedLock hold(g_lock);
        g_busy.push_back(wp);
        return 0;
    }
    return CallWindowProcW(g_oldProc, wnd, msg, wp, lp);
}

// The application object of the test program: AfxGetMainWnd answers the host window through it.
CWinApp& TestApp()
{
    static CWinApp app(L"ScanPageTests");
    return app;
}
}  // namespace

HostMainWindow::HostMainWindow()
{
    m_wnd.CreateEx(0, AfxRegisterWndClass(0), L"Quorvel test host", WS_POPUP, 0, 0, 930, 688, nullptr, nullptr);
    g_oldProc = (WNDPROC)SetWindowLongPtrW(m_wnd.GetSafeHwnd(), GWLP_WNDPROC, (LONG_PTR)&HostProc);
    TestApp().m_pMainWnd = &m_wnd;
    ClearBusyCalls();
}

HostMainWindow::~HostMainWindow()
{
    TestApp().m_pMainWnd = nullptr;
    SetWindowLongPtrW(m_wnd.GetSafeHwnd(), GWLP_WNDPROC, (LONG_PTR)g_oldProc);
    m_wnd.DestroyWindow();
}

std::vector<WPARAM> HostMainWindow::BusyCalls() const
{
    qcore::ScopedLock hold(g_lock);
    return g_busy;
}

void HostMainWindow::ClearBusyCalls()
{
    qcore::ScopedLock hold(g_lock);
    g_busy.clear();
}

PageUnderTest::PageUnderTest(HostMainWindow& host, int pageId)
{
    m_container.Create(IDD_FUNCTION_PAGE, host.Wnd());
    m_container.MoveWindow(186, 126, 737, 536);
    m_page = Shell::CreatePageObject(pageId);
    CFunctionDlgContainer::AddPage(m_page, &m_container, pageId);
    m_container.ShowPage(pageId);
}

PageUnderTest::~PageUnderTest()
{
    if (m_page) {
        m_page->DestroyWindow();
        delete m_page;
    }
    m_container.DestroyWindow();
}

bool HasVisibleStyle(HWND wnd) { return wnd && (::GetWindowLongW(wnd, GWL_STYLE) & WS_VISIBLE) != 0; }

void ClickButton(HWND parent, int id)
{
    ::SendMessageW(parent, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)::GetDlgItem(parent, id));
}

void ClickAt(HWND wnd, int x, int y)
{
    ::SendMessageW(wnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    ::SendMessageW(wnd, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

int ListCount(HWND list) { return (int)::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0); }

LPARAM ListItemData(HWND list, int item)
{
    LVITEMW lv = {};
    lv.mask = LVIF_PARAM;
    lv.iItem = item;
    ::SendMessageW(list, LVM_GETITEMW, 0, (LPARAM)&lv);
    return lv.lParam;
}

int ListCheck(HWND list, int item)
{
    UINT state = (UINT)::SendMessageW(list, LVM_GETITEMSTATE, (WPARAM)item, LVIS_STATEIMAGEMASK);
    return int(state >> 12) - 1;
}

std::vector<DWORD> RenderWindow(HWND wnd, int& width, int& height)
{
    RECT rc;
    ::GetWindowRect(wnd, &rc);
    width = rc.right - rc.left;
    height = rc.bottom - rc.top;
    std::vector<DWORD> pixels;
    if (width <= 0 || height <= 0) return pixels;
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC screen = ::GetDC(nullptr);
    HDC mem = ::CreateCompatibleDC(screen);
    HBITMAP dib = ::CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = ::SelectObject(mem, dib);
    RECT all = {0, 0, width, height};
    ::FillRect(mem, &all, (HBRUSH)::GetStockObject(WHITE_BRUSH));
    ::SendMessageW(wnd, WM_PRINT, (WPARAM)mem, PRF_CLIENT | PRF_NONCLIENT | PRF_CHILDREN | PRF_ERASEBKGND);
    ::GdiFlush();
    const DWORD* p = static_cast<const DWORD*>(bits);
    pixels.assign(p, p + size_t(width) * size_t(height));
    ::SelectObject(mem, old);
    ::DeleteObject(dib);
    ::DeleteDC(mem);
    ::ReleaseDC(nullptr, screen);
    for (DWORD& px : pixels) px &= 0x00FFFFFF;
    return pixels;
}

bool CaptureWindowToBmp(HWND wnd, const std::wstring& path)
{
    int w = 0, h = 0;
    std::vector<DWORD> pixels = RenderWindow(wnd, w, h);
    if (pixels.empty()) return false;
    int stride = (w * 3 + 3) & ~3;
    std::vector<BYTE> data(size_t(stride) * size_t(h));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            DWORD px = pixels[size_t(y) * size_t(w) + size_t(x)];
            BYTE* out = &data[size_t(h - 1 - y) * size_t(stride) + size_t(x) * 3];
            out[0] = BYTE(px & 0xFF);
            out[1] = BYTE((px >> 8) & 0xFF);
            out[2] = BYTE((px >> 16) & 0xFF);
        }
    BITMAPFILEHEADER fh = {};
    BITMAPINFOHEADER ih = {};
    ih.biSize = sizeof(ih);
    ih.biWidth = w;
    ih.biHeight = h;
    ih.biPlanes = 1;
    ih.biBitCount = 24;
    ih.biSizeImage = DWORD(data.size());
    fh.bfType = 0x4D42;
    fh.bfOffBits = sizeof(fh) + sizeof(ih);
    fh.bfSize = fh.bfOffBits + ih.biSizeImage;
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    bool ok = ::WriteFile(file, &fh, sizeof(fh), &written, nullptr) &&
              ::WriteFile(file, &ih, sizeof(ih), &written, nullptr) &&
              ::WriteFile(file, data.data(), DWORD(data.size()), &written, nullptr);
    ::CloseHandle(file);
    return ok;
}

std::wstring ArtifactsFolder()
{
    std::wstring folder = shell_test::ProgramFolder() + L"artifacts\\";
    ::CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

}  // namespace scan_test
