#include "KeyboardFocus.h"

#include <wchar.h>

namespace Shell {

LRESULT ActivationDialogCode(LPARAM askedMessage, LRESULT base)
{
    const MSG* msg = reinterpret_cast<const MSG*>(askedMessage);
    if (msg && msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN) return base | DLGC_WANTMESSAGE;
    return base;
}

bool IsActivationKey(UINT message, WPARAM key)
{
    return (message == WM_KEYDOWN && key == VK_RETURN) || (message == WM_KEYUP && key == VK_SPACE);
}

void MakeControlParent(HWND wnd)
{
    if (!wnd) return;
    ::SetWindowLongW(wnd, GWL_EXSTYLE, ::GetWindowLongW(wnd, GWL_EXSTYLE) | WS_EX_CONTROLPARENT);
}

void DrawFocusFrame(HWND wnd, HDC dc, const RECT& rect)
{
    if (::SendMessageW(wnd, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS) return;
    RECT frame = rect;
    ::InflateRect(&frame, -2, -2);
    if (frame.right <= frame.left || frame.bottom <= frame.top) return;
    COLORREF oldText = ::SetTextColor(dc, RGB(0, 0, 0));
    COLORREF oldBk = ::SetBkColor(dc, RGB(255, 255, 255));
    ::DrawFocusRect(dc, &frame);
    ::SetTextColor(dc, oldText);
    ::SetBkColor(dc, oldBk);
}

bool MoveFocusToNextTabStop(HWND from, bool previous)
{
    HWND root = ::GetAncestor(from, GA_ROOT);
    if (!root) return false;
    HWND next = ::GetNextDlgTabItem(root, from == root ? nullptr : from, previous);
    if (!next || next == from) return next == from;
    if (::SendMessageW(next, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) ::SendMessageW(next, EM_SETSEL, 0, -1);
    ::SetFocus(next);
    return true;
}

HFONT CreateFittingFont(HDC dc, const wchar_t* text, int width, int height, int minHeight, BOOL bold,
                        const wchar_t* face)
{
    int length = text ? static_cast<int>(wcslen(text)) : 0;
    for (int h = height;; --h) {
        HFONT font =
            ::CreateFontW(h, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE, 0, 0, 0, 0, FF_SWISS, face);
        if (h <= minHeight || length == 0) return font;
        HGDIOBJ old = ::SelectObject(dc, font);
        SIZE extent = {};
        ::GetTextExtentPoint32W(dc, text, length, &extent);
        ::SelectObject(dc, old);
        if (extent.cx <= width) return font;
        ::DeleteObject(font);
    }
}

}  // namespace Shell
