#include "RegScanResultListCtrl.h"

#include "controls/BitmapDraw.h"
#include "Dictionary.h"
#include "ImageButton.h"
#include "SkinDraw.h"
#include "RegResultText.h"

namespace {
SIZE TextSize(HDC dc, HFONT font, const std::wstring& text)
{
    HGDIOBJ old = SelectObject(dc, font);
    SIZE size = {};
    GetTextExtentPoint32W(dc, text.c_str(), int(text.size()), &size);
    SelectObject(dc, old);
    return size;
}
}  // namespace

CRegScanResultListCtrl::CRegScanResultListCtrl()
{
    m_boldFont.CreateFont(13, 0, 0, 0, 900, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                          CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, L"Verdana");
    CreateSkinFont(m_normalFont, 13, FALSE);
}

CRegScanResultListCtrl::~CRegScanResultListCtrl()
{
    if (m_hChecked) DeleteObject(m_hChecked);
    if (m_hUnchecked) DeleteObject(m_hUnchecked);
}

void CRegScanResultListCtrl::PreSubclassWindow()
{
    CListCtrl::PreSubclassWindow();
    if (!m_hChecked) m_hChecked = Shell::LoadSkinBitmap(333);
    if (!m_hUnchecked) m_hUnchecked = Shell::LoadSkinBitmap(343);
    SetRowHeight();
}

void CRegScanResultListCtrl::SetRowHeight()
{
    m_nRowHeight = kRowHeight;
    if (!m_hWnd) return;
    CRect rc;
    GetWindowRect(&rc);
    WINDOWPOS wp = {};
    wp.hwnd = m_hWnd;
    wp.cx = rc.Width();
    wp.cy = rc.Height();
    wp.flags = SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER;
    ::SendMessageW(m_hWnd, WM_WINDOWPOSCHANGED, 0, (LPARAM)&wp);
}

void CRegScanResultListCtrl::AddScanResult(const CRegistryData::SCAN_RESULT* pResult)
{
    if (!pResult || !m_hWnd) return;
    RegResultLines lines = MakeRegResultLines(*pResult, &nsVendrel::TranslateString);

    HDC dc = ::GetDC(m_hWnd);
    SIZE first = TextSize(dc, (HFONT)m_boldFont.m_hObject, lines.title);
    SIZE second = TextSize(dc, (HFONT)m_normalFont.m_hObject, lines.path);
    ::ReleaseDC(m_hWnd, dc);
    int needed = (first.cx > second.cx ? first.cx : second.cx) + 56;
    if ((int)::SendMessageW(m_hWnd, LVM_GETCOLUMNWIDTH, 0, 0) < needed)
        ::SendMessageW(m_hWnd, LVM_SETCOLUMNWIDTH, 0, MAKELPARAM(needed, 0));

    std::wstring text = JoinRegResultLines(lines);
    LVITEMW item = {};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = 0;
    item.pszText = const_cast<wchar_t*>(text.c_str());
    item.lParam = (LPARAM)pResult;
    ::SendMessageW(m_hWnd, LVM_INSERTITEMW, 0, (LPARAM)&item);
}

const CRegistryData::SCAN_RESULT* CRegScanResultListCtrl::GetResult(int nItem) const
{
    return reinterpret_cast<const CRegistryData::SCAN_RESULT*>(GetItemData(nItem));
}

bool CRegScanResultListCtrl::IsRowChecked(int nItem) const { return GetCheck(nItem) != 0; }

void CRegScanResultListCtrl::OnClick(const NMHDR* hdr)
{
    const NMITEMACTIVATE* act = reinterpret_cast<const NMITEMACTIVATE*>(hdr);
    LVHITTESTINFO hit = {};
    hit.pt = act->ptAction;
    int item = (int)::SendMessageW(m_hWnd, LVM_HITTEST, 0, (LPARAM)&hit);
    if (item < 0) return;
    SetCheck(item, !GetCheck(item));
    CRect rc;
    if (GetItemRect(item, &rc, LVIR_BOUNDS)) InvalidateRect(&rc);
}

BOOL CRegScanResultListCtrl::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message == WM_MEASUREITEM) {
        reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight = UINT(m_nRowHeight);
        if (pResult) *pResult = TRUE;
        return TRUE;
    }
    if (message == WM_DRAWITEM) {
        DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
        if (pResult) *pResult = TRUE;
        return TRUE;
    }
    if (message == WM_NOTIFY && reinterpret_cast<const NMHDR*>(lParam)->code == NM_CLICK) {
        OnClick(reinterpret_cast<const NMHDR*>(lParam));
        if (pResult) *pResult = 0;
        return TRUE;
    }
    return CListCtrl::OnChildNotify(message, wParam, lParam, pResult);
}

void CRegScanResultListCtrl::DrawItem(LPDRAWITEMSTRUCT dis)
{
    HDC dc = dis->hDC;
    const RECT& row = dis->rcItem;
    FillRect(dc, &row, (HBRUSH)GetStockObject(WHITE_BRUSH));
    int item = int(dis->itemID);

    HBITMAP image = GetCheck(item) != 0 ? m_hChecked : m_hUnchecked;
    SIZE imageSize = Shell::BitmapSize(image);
    DrawBitmap(dc, row.left + 20, row.top + (row.bottom - row.top - imageSize.cy) / 2, image);

    std::wstring title, rest;
    SplitRegResultText(std::wstring(GetItemText(item, 0).GetString()), title, rest);
    int x = row.left + 20 + imageSize.cx + 20;
    int middle = (row.top + row.bottom) / 2;
    SetBkMode(dc, TRANSPARENT);
    HGDIOBJ oldFont = SelectObject(dc, m_boldFont.m_hObject);
    ::SetTextColor(dc, RGB(0, 0, 0));
    RECT tr = {x, row.top + 6, row.right, middle};
    DrawTextW(dc, title.c_str(), int(title.size()), &tr, DT_NOPREFIX);
    SelectObject(dc, m_normalFont.m_hObject);
    ::SetTextColor(dc, RGB(0x99, 0x99, 0x99));
    RECT pr = {x, middle, row.right, row.bottom};
    DrawTextW(dc, rest.c_str(), int(rest.size()), &pr, DT_NOPREFIX);
    SelectObject(dc, oldFont);
}
