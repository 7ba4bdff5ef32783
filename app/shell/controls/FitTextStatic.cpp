#include "FitTextStatic.h"

#include "ImageButton.h"

void CFitTextStatic::SetFontSizes(std::initializer_list<int> heights, BOOL bold)
{
    m_fonts.clear();
    for (int height : heights) {
        m_fonts.emplace_back(new CFont);
        CreateSkinFont(*m_fonts.back(), height, bold);
    }
    Fit();
}

void CFitTextStatic::Fit()
{
    const HWND wnd = GetSafeHwnd();
    if (!wnd || m_fonts.empty()) return;
    CString text;
    GetWindowText(text);
    RECT client;
    ::GetClientRect(wnd, &client);
    HDC dc = ::GetDC(wnd);
    CFont* chosen = m_fonts.back().get();
    for (const auto& font : m_fonts) {
        HGDIOBJ old = ::SelectObject(dc, font->GetSafeHandle());
        SIZE size = {};
        ::GetTextExtentPoint32W(dc, text.GetString(), text.GetLength(), &size);
        ::SelectObject(dc, old);
        if (size.cx <= client.right) {
            chosen = font.get();
            break;
        }
    }
    ::ReleaseDC(wnd, dc);
    if (reinterpret_cast<HFONT>(::SendMessageW(wnd, WM_GETFONT, 0, 0)) != chosen->GetSafeHandle())
        SetFont(chosen, TRUE);
}

LRESULT CFitTextStatic::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    const LRESULT result = CStatic::WindowProc(message, wParam, lParam);
    if (message == WM_SETTEXT) Fit();
    return result;
}
