#include "HomeButtonCaption.h"

#include <algorithm>

#include "QGuards.h"

void CHomeButtonCaption::DrawItem(LPDRAWITEMSTRUCT dis)
{
    CString caption;
    GetWindowText(caption);
    const HDC dc = dis->hDC;
    const qcore::GdiSelection font(dc, m_font.GetSafeHandle());
    ::SetTextColor(dc, m_crText);
    ::SetBkMode(dc, TRANSPARENT);
    const RECT& all = dis->rcItem;
    const UINT format = DT_CENTER | DT_WORDBREAK | DT_NOPREFIX;
    const int centre = (all.left + all.right) / 2;
    RECT text = {centre - m_nWrapWidth / 2, all.top, centre + m_nWrapWidth / 2, all.bottom};
    RECT measured = text;
    ::DrawTextW(dc, caption, -1, &measured, format | DT_CALCRECT);
    const int width = measured.right - measured.left;
    if (width > m_nWrapWidth) {
        text.left = std::max<int>(all.left, centre - width / 2);
        text.right = std::min<int>(all.right, centre + (width + 1) / 2);
    }
    ::DrawTextW(dc, caption, -1, &text, format);
}
