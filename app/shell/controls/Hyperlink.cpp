#include "Hyperlink.h"

#include <shellapi.h>

#include "MemDC.h"
#include "QGuards.h"
#include "SkinDraw.h"

namespace {

const wchar_t kDefaultLink[] = L"http://www.quorvel.com/";

// Older systems have no IDC_HAND; the help viewer of the Windows folder carries the same hand as cursor 106.
HCURSOR CopyHelpViewerHand()
{
    wchar_t path[MAX_PATH] = L"";
    UINT len = ::GetWindowsDirectoryW(path, MAX_PATH);
    if (len == 0 || len + 14 >= MAX_PATH) return nullptr;
    lstrcatW(path, L"\\winhlp32.exe");
    HMODULE viewer = ::LoadLibraryExW(path, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!viewer) return nullptr;
    HCURSOR copy = nullptr;
    if (HCURSOR hand = ::LoadCursorW(viewer, MAKEINTRESOURCEW(106))) copy = CopyCursor(hand);  // a macro over CopyIcon
    ::FreeLibrary(viewer);
    return copy;
}

}  // namespace

CHyperlink::CHyperlink() : m_strLink(kDefaultLink) { m_hCursor = ::LoadCursorW(nullptr, IDC_HAND); }

CHyperlink::~CHyperlink()
{
    if (m_bOwnCursor && m_hCursor) ::DestroyCursor(m_hCursor);
    m_font.DeleteObject();
}

void CHyperlink::PreSubclassWindow()
{
    CStatic::PreSubclassWindow();
    if (!m_hCursor) {
        m_hCursor = CopyHelpViewerHand();
        m_bOwnCursor = m_hCursor != nullptr;
    }
}

void CHyperlink::SetLink(LPCWSTR link) { m_strLink = link ? link : L""; }

void CHyperlink::SetTextColor(COLORREF colour)
{
    m_crText = colour;
    Restyle();
}

void CHyperlink::SetBold(BOOL bold)
{
    m_bBold = bold;
    Restyle();
}

void CHyperlink::SetFontHeight(int height)
{
    m_nFontHeight = height;
    Restyle();
}

void CHyperlink::SetUnderline(BOOL underline)
{
    m_bUnderline = underline;
    Restyle();
}

void CHyperlink::Restyle()
{
    CurrentFont();
    if (GetSafeHwnd()) RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

HFONT CHyperlink::CurrentFont()
{
    if (m_font.GetSafeHandle() && m_bFontBold == m_bBold && m_nFontMadeHeight == m_nFontHeight &&
        m_bFontUnderline == m_bUnderline)
        return (HFONT)m_font.GetSafeHandle();
    m_font.DeleteObject();
    // Weight 100 for the regular face: Tahoma has no thin face, so it renders regular.
    m_font.CreateFont(m_nFontHeight, 0, 0, 0, m_bBold ? FW_BOLD : FW_THIN, FALSE, m_bUnderline ? TRUE : FALSE, FALSE,
                      DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                      DEFAULT_PITCH | FF_SWISS, L"Tahoma");
    m_bFontBold = m_bBold;
    m_nFontMadeHeight = m_nFontHeight;
    m_bFontUnderline = m_bUnderline;
    return (HFONT)m_font.GetSafeHandle();
}

void CHyperlink::Paint()
{
    CPaintDC paint(this);
    CRect client;
    GetClientRect(&client);
    nsVendrel::CMemDC dc(&paint, client);
    // Transparent: what the parent shows under the link, then the text.
    Shell::PaintParentBackground(m_hWnd, dc.GetSafeHdc());
    CString text;
    GetWindowText(text);
    const qcore::GdiSelection font(dc.GetSafeHdc(), CurrentFont());
    dc.SetTextColor(m_crText);
    dc.SetBkMode(TRANSPARENT);
    ::DrawTextExW(dc.GetSafeHdc(), const_cast<LPWSTR>(static_cast<LPCWSTR>(text)), text.GetLength(), &client,
                  DT_NOPREFIX, nullptr);
}

LRESULT CHyperlink::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT: Paint(); return 0;
    case WM_ERASEBKGND: return TRUE;  // the paint covers the whole client area
    case WM_SETTEXT: {
        LRESULT result = CStatic::WindowProc(message, wParam, lParam);
        Invalidate();
        return result;
    }
    case WM_LBUTTONUP:
        if (!m_strLink.IsEmpty()) ::ShellExecuteW(nullptr, L"open", m_strLink, nullptr, nullptr, SW_SHOW);
        break;
    case WM_SETCURSOR:
        if (!m_hCursor) return FALSE;
        ::SetCursor(m_hCursor);
        return TRUE;
    case WM_NCHITTEST: return HTCLIENT;  // a static is transparent to the mouse otherwise
    }
    return CStatic::WindowProc(message, wParam, lParam);
}
