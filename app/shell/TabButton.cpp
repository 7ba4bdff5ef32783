#include "TabButton.h"

#include "ImageButton.h"
#include "HoverTracking.h"
#include "KeyboardFocus.h"
#include "SkinDraw.h"

IMPLEMENT_DYNAMIC(CTabButton, CButton)

CTabButton::CTabButton() { CreateTextFont(); }

CTabButton::~CTabButton() = default;

BOOL CTabButton::Create(LPCTSTR caption, DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    if (!CButton::Create(caption, style, rect, parent, id)) return FALSE;
    SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(m_font.GetSafeHandle()), TRUE);
    FitTextFont();
    return TRUE;
}

void CTabButton::FitTextFont()
{
    const HWND wnd = GetSafeHwnd();
    if (!wnd) return;
    SIZE picture = Shell::BitmapSize(static_cast<HBITMAP>(m_bmpNormal.GetSafeHandle()));
    if (picture.cx <= 0) {
        RECT client;
        ::GetClientRect(wnd, &client);
        picture.cx = client.right;
    }
    const int room = picture.cx - 2 * kTextPadding;
    CString caption;
    GetWindowText(caption);
    HDC dc = ::GetDC(wnd);
    HFONT fitted = Shell::CreateFittingFont(dc, caption, room, m_nFontSize, kMinFontSize, m_bBold, L"Verdana");
    ::ReleaseDC(wnd, dc);
    LOGFONTW made = {};
    ::GetObjectW(fitted, sizeof(made), &made);
    const int size = made.lfHeight;
    if (size == m_nFontMade && m_font.GetSafeHandle()) {
        ::DeleteObject(fitted);
        return;
    }
    m_font.DeleteObject();
    m_font.Attach(fitted);
    m_nFontMade = size;
    SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(m_font.GetSafeHandle()), TRUE);
}

void CTabButton::CreateTextFont()
{
    m_font.DeleteObject();
    CreateSkinFont(m_font, m_nFontSize, m_bBold);
    m_nFontMade = m_nFontSize;
    FitTextFont();
}

void CTabButton::CreateRegionFromBitmap(CBitmap* pBitmap, CRgn* pRgn)
{
    // Every pixel of the bitmap belongs to the region, so it is the bitmap's rectangle.
    SIZE size = Shell::BitmapSize(pBitmap ? static_cast<HBITMAP>(pBitmap->GetSafeHandle()) : nullptr);
    pRgn->DeleteObject();
    pRgn->CreateRectRgn(0, 0, size.cx, size.cy);
}

void CTabButton::SetBitmaps(UINT normal, UINT hover, UINT pressed, UINT selected, COLORREF transparent)
{
    struct Look {
        CBitmap* bitmap;
        CRgn* region;
        UINT id;
    } looks[] = {{&m_bmpNormal, &m_rgnNormal, normal},
                 {&m_bmpHover, &m_rgnHover, hover},
                 {&m_bmpPressed, &m_rgnPressed, pressed},
                 {&m_bmpSelected, &m_rgnSelected, selected}};
    for (Look& look : looks) {
        LoadSkinBitmap(*look.bitmap, look.id);
        CreateRegionFromBitmap(look.bitmap, look.region);
    }
    m_crTransNormal = m_crTransHover = m_crTransPressed = m_crTransSelected = transparent;
    m_nState = -1;
    FitTextFont();
    if (GetSafeHwnd()) Invalidate();
}

void CTabButton::SetSelected(BOOL selected)
{
    m_bSelected = selected;
    if (GetSafeHwnd()) Invalidate();
}

void CTabButton::PreSubclassWindow()
{
    CButton::PreSubclassWindow();
    ModifyStyle(0, BS_OWNERDRAW | WS_TABSTOP);
}

void CTabButton::DrawItem(LPDRAWITEMSTRUCT dis)
{
    int state = m_bSelected                       ? StateSelected
                : (dis->itemState & ODS_SELECTED) ? StatePressed
                : m_bHover                        ? StateHover
                                                  : StateNormal;
    CBitmap* bitmaps[] = {&m_bmpNormal, &m_bmpHover, &m_bmpPressed, &m_bmpSelected};
    CRgn* regions[] = {&m_rgnNormal, &m_rgnHover, &m_rgnPressed, &m_rgnSelected};
    COLORREF transparents[] = {m_crTransNormal, m_crTransHover, m_crTransPressed, m_crTransSelected};
    HBITMAP hbm = static_cast<HBITMAP>(bitmaps[state]->GetSafeHandle());
    RECT client = dis->rcItem;
    if (state != m_nState) {
        m_nState = state;
        // The system owns a region once it is set: give it a copy, keep ours for the next change.
        HRGN region = static_cast<HRGN>(regions[state]->GetSafeHandle());
        if (region) ::SetWindowRgn(GetSafeHwnd(), Shell::CopyRegion(region), FALSE);
        SIZE size = Shell::BitmapSize(hbm);
        if (size.cx > 0) {
            SetWindowPos(nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
            client = RECT{0, 0, size.cx, size.cy};
        }
    }

    CString caption;
    GetWindowText(caption);
    COLORREF text = IsWindowEnabled() ? m_crText : Shell::kDisabledTextColour;
    Shell::DrawButtonFace(GetSafeHwnd(), dis->hDC, client, hbm, transparents[state], caption,
                          static_cast<HFONT>(m_font.GetSafeHandle()), text, m_bCenter, m_nTextX, m_nTextY);
    if ((dis->itemState & ODS_FOCUS) && !(dis->itemState & ODS_NOFOCUSRECT))
        Shell::DrawFocusFrame(GetSafeHwnd(), dis->hDC, client);
}

LRESULT CTabButton::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (Shell::TrackHover(GetSafeHwnd(), message, m_bTracking, m_bHover)) return 0;
    switch (message) {
    case WM_ERASEBKGND: return TRUE;
    case WM_GETDLGCODE: return Shell::ActivationDialogCode(lParam, CButton::WindowProc(message, wParam, lParam));
    case WM_KEYDOWN:
        if (wParam == VK_RETURN) {
            if (CWnd* parent = GetParent())
                parent->SendMessage(WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), BN_CLICKED), (LPARAM)GetSafeHwnd());
            return 0;
        }
        break;
    case BM_SETSTYLE: return CButton::WindowProc(message, (wParam & ~BS_TYPEMASK) | BS_OWNERDRAW, lParam);
    case WM_GETFONT: return reinterpret_cast<LRESULT>(m_font.GetSafeHandle());
    case WM_SETTEXT: {
        const LRESULT result = CButton::WindowProc(message, wParam, lParam);
        FitTextFont();
        return result;
    }
    }
    return CButton::WindowProc(message, wParam, lParam);
}
