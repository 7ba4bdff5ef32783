#include "ImageButton.h"

#include "HoverTracking.h"
#include "KeyboardFocus.h"
#include "SkinDraw.h"
#include "resource.h"

void CreateSkinFont(CFont& font, int height, BOOL bold)
{
    font.DeleteObject();
    font.CreateFont(height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE, 0, 0, 0, 0, FF_SWISS, L"Verdana");
}

void LoadSkinBitmap(CBitmap& bitmap, UINT id)
{
    bitmap.DeleteObject();
    bitmap.Attach(Shell::LoadSkinBitmap(id));
}

IMPLEMENT_DYNAMIC(CImageButton, CButton)

CImageButton::CImageButton()
{
    SetBitmaps(IDB_BUTTON_NORMAL, IDB_BUTTON_HOVER, IDB_BUTTON_PRESSED, RGB(255, 255, 255));
    CreateTextFont();
}

CImageButton::~CImageButton() = default;

void CImageButton::SetBitmaps(UINT normal, UINT hover, UINT pressed, COLORREF transparent)
{
    // Each is loaded when first drawn or measured: most buttons are given bitmaps of their own before that, and
    // the hover and pressed ones of many are never drawn.
    const UINT ids[] = {normal, hover, pressed};
    for (int i = 0; i < 3; ++i) {
        StateBitmap(i)->DeleteObject();
        m_nPendingIds[i] = ids[i];
    }
    m_crTransNormal = m_crTransHover = m_crTransPressed = transparent;
    m_nState = -1;
    if (GetSafeHwnd()) Invalidate();
}

CBitmap* CImageButton::StateBitmap(int state)
{
    return state == StateHover ? &m_bmpHover : state == StatePressed ? &m_bmpPressed : &m_bmpNormal;
}

HBITMAP CImageButton::LoadedBitmap(int state)
{
    const int slot = state == StateHover || state == StatePressed ? state : StateNormal;
    CBitmap* bitmap = StateBitmap(slot);
    // One attached directly (as the tests do) stands.
    if (m_nPendingIds[slot] && !bitmap->GetSafeHandle()) LoadSkinBitmap(*bitmap, m_nPendingIds[slot]);
    m_nPendingIds[slot] = 0;
    return static_cast<HBITMAP>(bitmap->GetSafeHandle());
}

void CImageButton::CreateTextFont() { CreateSkinFont(m_font, m_nFontSize, m_bBold); }

void CImageButton::SetDisabled(bool disabled)
{
    m_bDisabled = disabled ? 1 : 0;
    if (GetSafeHwnd()) Invalidate();
}

bool CImageButton::IsDisabledLook() const
{
    return m_bDisabled || (GetSafeHwnd() && !::IsWindowEnabled(GetSafeHwnd()));
}

void CImageButton::PreSubclassWindow()
{
    CButton::PreSubclassWindow();
    ModifyStyle(0, BS_OWNERDRAW | WS_TABSTOP);
}

HFONT CImageButton::CaptionFont(HDC dc, const CString& caption, int width)
{
    int room = m_bCenter ? width - 4 : width - m_nTextX - 2;
    if (caption != m_strFitCaption || room != m_nFitWidth || m_nFontSize != m_nFitFontSize) {
        m_strFitCaption = caption;
        m_nFitWidth = room;
        m_nFitFontSize = m_nFontSize;
        m_fitFont.DeleteObject();
        HGDIOBJ old = ::SelectObject(dc, m_font.GetSafeHandle());
        SIZE extent = {};
        ::GetTextExtentPoint32W(dc, caption, caption.GetLength(), &extent);
        ::SelectObject(dc, old);
        if (extent.cx > room)
            m_fitFont.Attach(
                Shell::CreateFittingFont(dc, caption, room, m_nFontSize - 1, kMinFontSize, m_bBold, L"Verdana"));
    }
    HGDIOBJ fitted = m_fitFont.GetSafeHandle();
    return static_cast<HFONT>(fitted ? fitted : m_font.GetSafeHandle());
}

void CImageButton::ResizeTo(HBITMAP bitmap)
{
    SIZE size = Shell::BitmapSize(bitmap);
    if (size.cx > 0 && GetSafeHwnd())
        SetWindowPos(nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CImageButton::SizeToBitmap() { ResizeTo(LoadedBitmap(StateNormal)); }

void CImageButton::DrawItem(LPDRAWITEMSTRUCT dis)
{
    int state = IsDisabledLook()                  ? StateDisabled
                : (dis->itemState & ODS_SELECTED) ? StatePressed
                : m_bHover                        ? StateHover
                                                  : StateNormal;
    COLORREF transparent = state == StateHover     ? m_crTransHover
                           : state == StatePressed ? m_crTransPressed
                                                   : m_crTransNormal;
    HBITMAP hbm = LoadedBitmap(state);
    RECT client = dis->rcItem;
    if (state != m_nState) {
        m_nState = state;
        SIZE size = Shell::BitmapSize(hbm);
        if (size.cx > 0 && (size.cx != client.right - client.left || size.cy != client.bottom - client.top)) {
            ResizeTo(hbm);
            client = RECT{0, 0, size.cx, size.cy};
        }
    }
    CString caption;
    GetWindowText(caption);
    HFONT font = CaptionFont(dis->hDC, caption, client.right - client.left);
    COLORREF text = state == StateDisabled ? Shell::kDisabledTextColour : m_crText;
    Shell::DrawButtonFace(GetSafeHwnd(), dis->hDC, client, hbm, transparent, caption, font, text, m_bCenter, m_nTextX,
                          m_nTextY);
    if ((dis->itemState & ODS_FOCUS) && !(dis->itemState & ODS_NOFOCUSRECT))
        Shell::DrawFocusFrame(GetSafeHwnd(), dis->hDC, client);
}

LRESULT CImageButton::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (Shell::TrackHover(GetSafeHwnd(), message, m_bTracking, m_bHover)) return 0;
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case BM_CLICK:
        if (m_bDisabled) return 0;
        break;
    case WM_KEYDOWN:
    case WM_KEYUP:
        if (IsDisabledLook() && (wParam == VK_SPACE || wParam == VK_RETURN)) return 0;
        if (message == WM_KEYDOWN && wParam == VK_RETURN) {
            if (CWnd* parent = GetParent())
                parent->SendMessage(WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), BN_CLICKED), (LPARAM)GetSafeHwnd());
            return 0;
        }
        break;
    case WM_GETDLGCODE: return Shell::ActivationDialogCode(lParam, CButton::WindowProc(message, wParam, lParam));
    case BM_SETSTYLE:
        // The dialog manager marks the default push button this way; the button stays owner-drawn.
        return CButton::WindowProc(message, (wParam & ~BS_TYPEMASK) | BS_OWNERDRAW, lParam);
    case WM_GETFONT: {
        CString caption;
        GetWindowText(caption);
        CRect client;
        GetClientRect(&client);
        HDC dc = ::GetDC(GetSafeHwnd());
        HFONT font = CaptionFont(dc, caption, client.Width());
        ::ReleaseDC(GetSafeHwnd(), dc);
        return reinterpret_cast<LRESULT>(font);
    }
    case WM_ERASEBKGND: return TRUE;
    }
    return CButton::WindowProc(message, wParam, lParam);
}

IMPLEMENT_DYNAMIC(CGeneralImageButton, CImageButton)

// The base constructor has loaded the standard page-button bitmaps already.
CGeneralImageButton::CGeneralImageButton() { m_bCenter = TRUE; }
