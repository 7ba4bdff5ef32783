#include "StartScanList.h"

#include <cstring>
#include <cwchar>
#include <vector>

#include "Dictionary.h"
#include "QGuards.h"
#include "ScanCategories.h"
#include "SkinDraw.h"
#include "controls/BitmapDraw.h"

namespace {

const COLORREF kNormalBack = RGB(243, 248, 255);
const COLORREF kHoverBack = RGB(224, 238, 255);
const UINT kFirstLevelBitmap = 472;

HFONT BoldFont(int height, const wchar_t* face)
{
    return ::CreateFontW(height, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                         CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, face);
}

void DrawLine(HDC dc, const wchar_t* text, HFONT font, COLORREF colour, RECT rc)
{
    const qcore::GdiSelection selected(dc, font);
    ::SetTextColor(dc, colour);
    ::DrawTextW(dc, text, -1, &rc, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
}

void CopyText(wchar_t* to, const wchar_t* from)
{
    std::wcsncpy(to, from ? from : L"", CStartScanList::kTextMax - 1);
    to[CStartScanList::kTextMax - 1] = 0;
}

}  // namespace

HBITMAP RecolourBitmap(HBITMAP source, COLORREF from, COLORREF to)
{
    if (!source) return nullptr;
    const SIZE size = Shell::BitmapSize(source);
    if (size.cx <= 0 || size.cy <= 0) return nullptr;
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = size.cx;
    bi.bmiHeader.biHeight = -size.cy;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    std::vector<RGBQUAD> pixels(size_t(size.cx) * size_t(size.cy));
    HDC screen = ::GetDC(nullptr);
    ::GetDIBits(screen, source, 0, UINT(size.cy), pixels.data(), &bi, DIB_RGB_COLORS);
    for (RGBQUAD& p : pixels)
        if (RGB(p.rgbRed, p.rgbGreen, p.rgbBlue) == from) {
            p.rgbRed = GetRValue(to);
            p.rgbGreen = GetGValue(to);
            p.rgbBlue = GetBValue(to);
        }
    void* bits = nullptr;
    HBITMAP copy = ::CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (copy && bits) std::memcpy(bits, pixels.data(), pixels.size() * sizeof(RGBQUAD));
    ::ReleaseDC(nullptr, screen);
    return copy;
}

CStartScanList::StartScanRow::~StartScanRow()
{
    if (bitmap) ::DeleteObject(bitmap);
    if (hoverBitmap) ::DeleteObject(hoverBitmap);
}

CStartScanList::CStartScanList() = default;

CStartScanList::~CStartScanList()
{
    for (auto& row : m_rows) row.reset();
    HGDIOBJ objects[] = {m_hNormalBrush, m_hHoverBrush, m_hNameFont, m_hDescFont, m_hCountFont, m_hSpareFont};
    for (HGDIOBJ o : objects)
        if (o) ::DeleteObject(o);
    for (int i = 0; i < 5; ++i) {
        if (m_hLevel[i]) ::DeleteObject(m_hLevel[i]);
        if (m_hLevelHover[i]) ::DeleteObject(m_hLevelHover[i]);
    }
}

void CStartScanList::CreateResources()
{
    if (m_hNormalBrush) return;
    m_hNormalBrush = ::CreateSolidBrush(kNormalBack);
    m_hHoverBrush = ::CreateSolidBrush(kHoverBack);
    m_hNameFont = BoldFont(20, L"Verdana");
    m_hDescFont = BoldFont(14, L"Arial");
    m_hCountFont = BoldFont(12, L"Arial");
    m_hSpareFont = BoldFont(12, L"Arial");
    for (int i = 0; i < 5; ++i) {
        m_hLevel[i] = Shell::LoadSkinBitmap(kFirstLevelBitmap + i);
        m_hLevelHover[i] = RecolourBitmap(m_hLevel[i], kNormalBack, kHoverBack);
    }
}

int CStartScanList::AddRow(const wchar_t* name, UINT bitmapId, const wchar_t* spare, const wchar_t* description, int t1,
                           int t2, int t3, int t4, int count)
{
    int slot = 0;
    while (slot < kMaxRows && m_rows[slot]) ++slot;
    if (slot == kMaxRows) return -1;
    std::unique_ptr<StartScanRow> row(new StartScanRow);
    CopyText(row->name, name);
    CopyText(row->spare, spare);
    CopyText(row->description, description);
    row->count = count;
    row->thresholds[0] = t1;
    row->thresholds[1] = t2;
    row->thresholds[2] = t3;
    row->thresholds[3] = t4;
    row->bitmap = Shell::LoadSkinBitmap(bitmapId);
    row->hoverBitmap = RecolourBitmap(row->bitmap, kNormalBack, kHoverBack);
    m_rows[slot] = std::move(row);
    if (m_hWnd) {
        InsertItem(GetItemCount(), L"item");
        Invalidate(FALSE);
    }
    return slot;
}

void CStartScanList::InsertCategoryColumns(int width)
{
    InsertColumn(0, nsVendrel::TranslateCode(L"IDS_START_LIST_CATEGORY"), LVCFMT_LEFT, width / 3);
    InsertColumn(1, nsVendrel::TranslateCode(L"IDS_START_LIST_DESCRIPTION"), LVCFMT_LEFT, width / 3);
    InsertColumn(2, nsVendrel::TranslateCode(L"IDS_START_LIST_STATUS"), LVCFMT_LEFT, width - 2 * (width / 3));
}

void CStartScanList::RemoveAllRows()
{
    for (auto& row : m_rows) row.reset();
    if (m_hWnd) DeleteAllItems();
    m_nHover = -1;
}

void CStartScanList::RepaintRow(int row)
{
    if (!m_hWnd) return;
    if (m_bDeferRepaint) {
        m_bDirty = true;
        return;
    }
    CRect rc;
    if (GetItemRect(row, &rc, LVIR_BOUNDS)) InvalidateRect(&rc, FALSE);
}

void CStartScanList::FlushRepaint()
{
    if (!m_bDirty || !m_hWnd) return;
    m_bDirty = false;
    Invalidate(FALSE);
}

void CStartScanList::SetRowDescription(int row, const wchar_t* text)
{
    if (row < 0 || row >= kMaxRows || !m_rows[row]) return;
    CopyText(m_rows[row]->description, text);
    RepaintRow(row);
}

void CStartScanList::SetRowCount(int row, int count)
{
    if (row < 0 || row >= kMaxRows || !m_rows[row]) return;
    m_rows[row]->count = count;
    RepaintRow(row);
}

void CStartScanList::MeasureItem(LPMEASUREITEMSTRUCT mis) { mis->itemHeight = UINT(m_nRowHeight); }

void CStartScanList::DrawItem(LPDRAWITEMSTRUCT dis)
{
    const int index = int(dis->itemID);
    if (index < 0 || index > 4 || !m_rows[index]) return;
    CreateResources();
    const StartScanRow& row = *m_rows[index];
    const bool hover = index == m_nHover;
    HDC dc = dis->hDC;
    RECT rc = dis->rcItem;
    ::FillRect(dc, &rc, hover ? m_hHoverBrush : m_hNormalBrush);
    const int oldMode = ::SetBkMode(dc, TRANSPARENT);

    DrawBitmap(dc, rc.left + 13, rc.top + 17, hover && row.hoverBitmap ? row.hoverBitmap : row.bitmap);
    DrawLine(dc, row.name, m_hNameFont, RGB(71, 130, 195), RECT{rc.left + 48, rc.top + 13, rc.right, rc.bottom});
    DrawLine(dc, row.description, m_hDescFont, RGB(204, 204, 204),
             RECT{rc.left + 48, rc.top + 38, rc.right, rc.bottom});
    wchar_t count[32];
    std::swprintf(count, 32, L"%d", row.count);
    DrawLine(dc, count, m_hCountFont, RGB(204, 0, 0), RECT{rc.left + 430, rc.top + 12, rc.right, rc.bottom});

    const int level = OneClick::ScanRowLevel(row.count, row.thresholds);
    HBITMAP status = hover && m_hLevelHover[level] ? m_hLevelHover[level] : m_hLevel[level];
    DrawBitmap(dc, rc.right - Shell::BitmapSize(status).cx - 10, rc.top + 13, status);
    ::SetBkMode(dc, oldMode);
}

void CStartScanList::TrackHover(CPoint point, bool rearm)
{
    LVHITTESTINFO hit = {};
    hit.pt = point;
    const int row = SubItemHitTest(&hit);
    if (row != m_nHover) {
        m_nHover = row;
        Invalidate(FALSE);
    }
    if (!m_bTracking || rearm) {
        TRACKMOUSEEVENT tme = {};
        tme.cbSize = sizeof(tme);
        tme.dwFlags = rearm ? (TME_HOVER | TME_LEAVE) : TME_LEAVE;
        tme.hwndTrack = m_hWnd;
        tme.dwHoverTime = 100;
        m_bTracking = ::TrackMouseEvent(&tme) != FALSE;
    }
}

LRESULT CStartScanList::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE: {
        LRESULT result = CListCtrl::WindowProc(message, wParam, lParam);
        CreateResources();
        return result;
    }
    case WM_MOUSEMOVE: TrackHover(CPoint(short(LOWORD(lParam)), short(HIWORD(lParam))), false); break;
    case WM_MOUSEHOVER: TrackHover(CPoint(short(LOWORD(lParam)), short(HIWORD(lParam))), true); return 0;
    case WM_MOUSELEAVE:
        m_nHover = -1;
        m_bTracking = false;
        Invalidate(FALSE);
        return 0;
    default: break;
    }
    return CListCtrl::WindowProc(message, wParam, lParam);
}

void CStartScanList::OnCustomDraw(NMHDR* pNMHDR, LRESULT* pResult)
{
    NMLVCUSTOMDRAW* cd = reinterpret_cast<NMLVCUSTOMDRAW*>(pNMHDR);
    switch (cd->nmcd.dwDrawStage) {
    case CDDS_PREPAINT: *pResult = CDRF_NOTIFYITEMDRAW; return;
    case CDDS_ITEMPREPAINT: *pResult = CDRF_NOTIFYSUBITEMDRAW; return;
    case CDDS_ITEMPREPAINT | CDDS_SUBITEM:
        cd->clrText = cd->iSubItem == 2 ? RGB(255, 0, 0) : ::GetSysColor(COLOR_WINDOWTEXT);
        *pResult = CDRF_DODEFAULT;
        return;
    default: *pResult = CDRF_DODEFAULT; return;
    }
}
