// A top-level window for in-process window tests: it paints a known colour and records the page messages
// and commands it receives.
#pragma once

#include <QMfc.h>

#include <vector>

#include "PageIds.h"
#include "QTestSupport.h"
#include "resource.h"

namespace shell_test {

class HostWindow : public CDialog {
public:
    static constexpr COLORREF kBackground = RGB(10, 200, 30);

    HostWindow() : CDialog(IDD_ENTRY_DIALOG, nullptr)
    {
        Create(IDD_ENTRY_DIALOG, nullptr);
        SetWindowPos(nullptr, 0, 0, 930, 688, SWP_NOZORDER | SWP_NOMOVE);
        ShowWindow(SW_SHOW);
    }
    ~HostWindow() override { DestroyWindow(); }

    std::vector<WPARAM> switches;
    std::vector<WPARAM> busy;  // WM_SET_BUSY flags in order
    std::vector<UINT> commands;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        switch (message) {
        case WM_SWITCH_PAGE: switches.push_back(wParam); return 0;
        case WM_SET_BUSY: busy.push_back(wParam); return 0;
        case WM_COMMAND:
            if (HIWORD(wParam) == BN_CLICKED) commands.push_back(LOWORD(wParam));
            break;
        case WM_ERASEBKGND: {
            RECT r;
            ::GetClientRect(GetSafeHwnd(), &r);
            HBRUSH brush = ::CreateSolidBrush(kBackground);
            ::FillRect(reinterpret_cast<HDC>(wParam), &r, brush);
            ::DeleteObject(brush);
            return TRUE;
        }
        }
        return CDialog::WindowProc(message, wParam, lParam);
    }
};

// A bitmap of one colour, optionally with a differently coloured top-left pixel.
inline HBITMAP SolidBitmap(int w, int h, COLORREF colour, COLORREF corner = CLR_INVALID)
{
    HDC screen = ::GetDC(nullptr);
    HDC dc = ::CreateCompatibleDC(screen);
    HBITMAP bmp = ::CreateCompatibleBitmap(screen, w, h);
    HGDIOBJ old = ::SelectObject(dc, bmp);
    RECT r = {0, 0, w, h};
    HBRUSH brush = ::CreateSolidBrush(colour);
    ::FillRect(dc, &r, brush);
    ::DeleteObject(brush);
    if (corner != CLR_INVALID) ::SetPixel(dc, 0, 0, corner);
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    ::ReleaseDC(nullptr, screen);
    return bmp;
}

// The colour of a pixel of a window's client area as painted (read from the window's own surface, so windows
// of other test programs on the same display cannot cover it). A window that is not on the screen yet has no
// pixels to read (CLR_INVALID): the read waits for it, up to 5 s.
inline COLORREF ScreenPixel(HWND wnd, int x, int y)
{
    COLORREF c = CLR_INVALID;
    PumpUntil(
        [&] {
            HDC dc = ::GetDC(wnd);
            c = ::GetPixel(dc, x, y);
            ::ReleaseDC(wnd, dc);
            return c != CLR_INVALID;
        },
        5000);
    return c;
}

inline SIZE WindowSize(HWND wnd)
{
    RECT r;
    ::GetWindowRect(wnd, &r);
    return SIZE{r.right - r.left, r.bottom - r.top};
}

}  // namespace shell_test
