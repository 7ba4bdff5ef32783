#include "DrawerMenu.h"

#include "ImageButton.h"
#include "KeyboardFocus.h"
#include "MemDC.h"
#include "QGuards.h"
#include "SkinDraw.h"

namespace {

// Statics of the drawer show the skin of the main window behind them.
BOOL EraseWithParentBackground(CWnd* wnd, WPARAM dc)
{
    Shell::PaintParentBackground(wnd->GetSafeHwnd(), reinterpret_cast<HDC>(dc));
    return TRUE;
}

// A static paints its background with the dialog's colour in WM_PAINT; the drawer's containers only erase.
void PaintNothing(CWnd* wnd)
{
    PAINTSTRUCT ps;
    ::BeginPaint(wnd->GetSafeHwnd(), &ps);
    ::EndPaint(wnd->GetSafeHwnd(), &ps);
}

// What every container of the drawer does: pass page switches up to its parent, show the parent's skin behind
// it and paint nothing of its own. False for any other message.
bool HandleContainerMessage(CWnd* wnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    switch (message) {
    case WM_SWITCH_PAGE:
        result = wnd->GetParent() ? wnd->GetParent()->SendMessage(message, wParam, lParam) : 0;
        return true;
    case WM_ERASEBKGND: result = EraseWithParentBackground(wnd, wParam); return true;
    case WM_PAINT:
        PaintNothing(wnd);
        result = 0;
        return true;
    }
    return false;
}

}  // namespace

// ---- CMenuButtonItem ----------------------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CMenuButtonItem, CStatic)

CMenuButtonItem::CMenuButtonItem() { SetFont(12, L"Verdana", FALSE); }

BOOL CMenuButtonItem::Create(LPCTSTR caption, const RECT& rect, CWnd* parent, UINT id, UINT normal, UINT hover,
                             UINT selected)
{
    // Loaded when the item first shows in that state: most items sit in closed groups at start.
    m_looks[0] = {normal, nullptr};
    m_looks[1] = {hover, nullptr};
    m_looks[2] = {selected, nullptr};
    m_bHover = false;
    // SS_NOTIFY: a plain static is transparent to the mouse.
    return CStatic::Create(caption, WS_CHILD | WS_VISIBLE | WS_TABSTOP | SS_NOTIFY, rect, parent, id);
}

void CMenuButtonItem::SetFont(int size, LPCTSTR face, BOOL bold)
{
    m_font.DeleteObject();
    m_font.CreateFont(size, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE, 0, 0, 0, 0, FF_SWISS, face);
    m_nFontSize = size;
    m_bBold = bold;
    m_strFace = face;
    m_fitFont.DeleteObject();
    m_strFitCaption.Empty();
}

HFONT CMenuButtonItem::CaptionFont(HDC dc)
{
    CString caption;
    GetWindowText(caption);
    if (caption != m_strFitCaption || !m_fitFont.GetSafeHandle()) {
        m_strFitCaption = caption;
        m_fitFont.DeleteObject();
        CRect client;
        GetClientRect(&client);
        m_fitFont.Attach(Shell::CreateFittingFont(dc, caption, client.Width() - m_nTextX - 2, m_nFontSize,
                                                  CImageButton::kMinFontSize, m_bBold, m_strFace));
    }
    return static_cast<HFONT>(m_fitFont.GetSafeHandle());
}

void CMenuButtonItem::SetSelected(BOOL selected) { m_bSelected = selected; }

void CMenuButtonItem::SetHover(bool hover)
{
    if (m_bHover == hover) return;
    m_bHover = hover;
    Invalidate(FALSE);
}

void CMenuButtonItem::Paint()
{
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(GetSafeHwnd(), &ps);
    CRect client;
    GetClientRect(&client);
    {
        nsVendrel::CMemDC mem(CDC::FromHandle(dc), client);
        Look& look = m_looks[m_bSelected ? 2 : m_bHover ? 1 : 0];
        if (!look.bitmap) look.bitmap = Shell::SharedSkinBitmap(look.id);
        HBITMAP bitmap = look.bitmap;
        Shell::DrawMaskedBitmap(mem.GetSafeHdc(), 0, 0, bitmap, CLR_INVALID);
        CString caption;
        GetWindowText(caption);
        const qcore::GdiSelection font(mem.GetSafeHdc(), CaptionFont(mem.GetSafeHdc()));
        ::SetBkMode(mem.GetSafeHdc(), TRANSPARENT);
        COLORREF colour = m_bSelected && m_crSelectedText != CLR_INVALID ? m_crSelectedText : m_crText;
        ::SetTextColor(mem.GetSafeHdc(), colour);
        RECT text = client;
        text.left += m_nTextX;
        ::DrawTextW(mem.GetSafeHdc(), caption, -1, &text, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        if (::GetFocus() == GetSafeHwnd()) Shell::DrawFocusFrame(GetSafeHwnd(), mem.GetSafeHdc(), client);
    }
    ::EndPaint(GetSafeHwnd(), &ps);
}

void CMenuButtonItem::Activate()
{
    if (m_bEnabled && GetParent()) GetParent()->SendMessage(WM_SWITCH_PAGE, static_cast<WPARAM>(GetDlgCtrlID()), 0);
}

LRESULT CMenuButtonItem::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_ERASEBKGND: return TRUE;  // the paint covers the whole item
    case WM_PAINT: Paint(); return 0;
    case WM_MOUSEMOVE: {
        CRect client;
        GetClientRect(&client);
        POINT pt = {(short)LOWORD(lParam), (short)HIWORD(lParam)};
        if (client.PtInRect(pt)) {
            if (::GetCapture() != GetSafeHwnd()) ::SetCapture(GetSafeHwnd());
            SetHover(true);
        } else {
            if (::GetCapture() == GetSafeHwnd()) ::ReleaseCapture();
            SetHover(false);
        }
        return 0;
    }
    case WM_CAPTURECHANGED: SetHover(false); break;
    case WM_LBUTTONUP: {
        LRESULT result = CStatic::WindowProc(message, wParam, lParam);
        Activate();
        return result;
    }
    case WM_GETDLGCODE: return Shell::ActivationDialogCode(lParam, DLGC_BUTTON);
    case WM_KEYDOWN:
    case WM_KEYUP:
        if (Shell::IsActivationKey(message, wParam)) Activate();
        return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: Invalidate(FALSE); break;
    case WM_GETFONT: {
        HDC dc = ::GetDC(GetSafeHwnd());
        HFONT font = CaptionFont(dc);
        ::ReleaseDC(GetSafeHwnd(), dc);
        return reinterpret_cast<LRESULT>(font);
    }
    }
    return CStatic::WindowProc(message, wParam, lParam);
}

// ---- CMenuItemContainer -------------------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CMenuItemContainer, CStatic)

CMenuItemContainer::~CMenuItemContainer()
{
    for (int i = 0; i < m_nCount; ++i) delete m_items[i];
}

bool CMenuItemContainer::AddItem(UINT normal, UINT hover, UINT selected, int id, LPCTSTR caption, int textX,
                                 int fontSize, LPCTSTR fontFace, BOOL bold, COLORREF text, COLORREF selectedText)
{
    if (m_nCount >= kMaxItems) return false;
    auto* item = new CMenuButtonItem;
    item->SetFont(fontSize, fontFace, bold);
    item->m_nTextX = textX;
    item->m_crText = text;
    item->m_crSelectedText = selectedText;
    CRect rect(0, m_nCount * m_nItemHeight, m_nItemWidth, (m_nCount + 1) * m_nItemHeight);
    if (!item->Create(caption, rect, this, static_cast<UINT>(id), normal, hover, selected)) {
        delete item;
        return false;
    }
    m_items[m_nCount++] = item;
    SetWindowPos(nullptr, 0, 0, m_nItemWidth, m_nCount * m_nItemHeight + 2, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    return true;
}

void CMenuItemContainer::SetBackground(UINT bitmapId) { LoadSkinBitmap(m_background, bitmapId); }

LRESULT CMenuItemContainer::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_ERASEBKGND && m_background.GetSafeHandle()) {
        Shell::DrawMaskedBitmap(reinterpret_cast<HDC>(wParam), 0, 0, static_cast<HBITMAP>(m_background.GetSafeHandle()),
                                CLR_INVALID);
        return TRUE;
    }
    LRESULT result = 0;
    if (HandleContainerMessage(this, message, wParam, lParam, result)) return result;
    return CStatic::WindowProc(message, wParam, lParam);
}

// ---- CMenuButtonCtrl ----------------------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CMenuButtonCtrl, CStatic)

int CMenuButtonCtrl::GetHeight() const
{
    return m_nHeaderHeight + (m_bExpanded ? m_body.GetItemCount() * m_nItemHeight + 2 : 0);
}

void CMenuButtonCtrl::SetExpanded(BOOL expanded)
{
    m_bExpanded = expanded;
    m_body.ShowWindow(expanded ? SW_SHOW : SW_HIDE);
}

bool CMenuButtonCtrl::Holds(int id) const
{
    if (m_header.GetDlgCtrlID() == id) return true;
    for (int i = 0; i < m_body.GetItemCount(); ++i)
        if (m_body.GetItem(i)->GetDlgCtrlID() == id) return true;
    return false;
}

LRESULT CMenuButtonCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (HandleContainerMessage(this, message, wParam, lParam, result)) return result;
    return CStatic::WindowProc(message, wParam, lParam);
}

// ---- CDrawerMenuCtrl ----------------------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CDrawerMenuCtrl, CStatic)

CDrawerMenuCtrl::CDrawerMenuCtrl() = default;

CDrawerMenuCtrl::~CDrawerMenuCtrl()
{
    for (int i = 0; i < m_nGroupCount; ++i) delete m_groups[i];
}

void CDrawerMenuCtrl::PreSubclassWindow()
{
    CStatic::PreSubclassWindow();
    ModifyStyle(WS_BORDER, SS_NOTIFY | WS_CLIPCHILDREN, SWP_FRAMECHANGED);
}

int CDrawerMenuCtrl::AddGroup(UINT normal, UINT hover, UINT selected, int headerId, LPCTSTR caption)
{
    if (m_nGroupCount >= kMaxGroups) return -1;
    // Tab goes through the headers and the items of the open group (set once the window is complete: the
    // creation would take the bit back).
    Shell::MakeControlParent(GetSafeHwnd());
    auto* group = new CMenuButtonCtrl;
    group->m_nHeaderHeight = m_nHeaderHeight;
    group->m_nItemHeight = m_nItemHeight;
    group->m_nItemX = m_nItemX;
    int width = m_nHeaderWidth > m_nItemX + m_nItemWidth ? m_nHeaderWidth : m_nItemX + m_nItemWidth;
    CRect rect(0, 0, width, m_nHeaderHeight);
    group->Create(L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, rect, this, 0xFFFF);
    Shell::MakeControlParent(group->GetSafeHwnd());

    group->m_header.SetFont(m_nHeaderFontSize, m_strHeaderFont, m_bHeaderBold);
    group->m_header.m_nTextX = m_nHeaderTextX;
    group->m_header.m_crText = m_crHeaderText;
    group->m_header.m_crSelectedText = m_crHeaderSelectedText;
    group->m_header.Create(caption, CRect(0, 0, m_nHeaderWidth, m_nHeaderHeight), group, static_cast<UINT>(headerId),
                           normal, hover, selected);

    group->m_body.m_nItemWidth = m_nItemWidth;
    group->m_body.m_nItemHeight = m_nItemHeight;
    group->m_body.Create(L"", WS_CHILD | WS_CLIPCHILDREN | SS_NOTIFY,
                         CRect(m_nItemX, m_nHeaderHeight, m_nItemX + m_nItemWidth, m_nHeaderHeight + 2), group, 0xFFFF);
    Shell::MakeControlParent(group->m_body.GetSafeHwnd());
    m_groups[m_nGroupCount++] = group;
    Layout();
    return m_nGroupCount - 1;
}

bool CDrawerMenuCtrl::AddItem(int group, UINT normal, UINT hover, UINT selected, int id, LPCTSTR caption)
{
    CMenuButtonCtrl* g = GetGroup(group);
    if (!g) return false;
    if (!g->m_body.AddItem(normal, hover, selected, id, caption, 0, m_nItemFontSize, m_strItemFont, m_bItemBold,
                           m_crItemText, m_crItemSelectedText))
        return false;
    Layout();
    return true;
}

void CDrawerMenuCtrl::Layout()
{
    int y = 0;
    for (int i = 0; i < m_nGroupCount; ++i) {
        CMenuButtonCtrl* g = m_groups[i];
        const int height = g->GetHeight();
        if (g->m_nLaidOutTop != y || g->m_nLaidOutHeight != height) {
            CRect rect;
            g->GetWindowRect(&rect);
            g->SetWindowPos(nullptr, 0, y, rect.Width(), height, SWP_NOZORDER | SWP_NOACTIVATE);
            g->m_nLaidOutTop = y;
            g->m_nLaidOutHeight = height;
        }
        y += height + m_nGap;
    }
}

bool CDrawerMenuCtrl::UpdateGroups(int id)
{
    bool changed = false;
    for (int i = 0; i < m_nGroupCount; ++i) {
        CMenuButtonCtrl* g = m_groups[i];
        auto select = [&](CMenuButtonItem& item) {
            BOOL selected = item.GetDlgCtrlID() == id;
            if (item.IsSelected() != selected) {
                item.SetSelected(selected);
                changed = true;  // a selection moving inside the open group must be repainted too
            }
        };
        select(g->m_header);
        for (int k = 0; k < g->m_body.GetItemCount(); ++k) select(*g->m_body.GetItem(k));
        bool holds = g->Holds(id);
        if (holds != (g->m_bExpanded != FALSE)) {
            g->SetExpanded(holds);
            changed = true;
        }
    }
    return changed;
}

void CDrawerMenuCtrl::RepaintArea()
{
    ::RedrawWindow(GetSafeHwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void CDrawerMenuCtrl::SelectItem(int nId)
{
    if (nId == m_nSelectedId) return;
    m_nSelectedId = nId;
    if (UpdateGroups(nId)) {
        Layout();
        RepaintArea();
    }
}

void CDrawerMenuCtrl::EnableItems(BOOL bEnable)
{
    for (int i = 0; i < m_nGroupCount; ++i) {
        m_groups[i]->m_header.EnableItem(bEnable);
        for (int k = 0; k < m_groups[i]->m_body.GetItemCount(); ++k)
            m_groups[i]->m_body.GetItem(k)->EnableItem(bEnable);
    }
}

LRESULT CDrawerMenuCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_SWITCH_PAGE) {
        if (UpdateGroups(static_cast<int>(wParam))) Layout();
        RepaintArea();
    }
    LRESULT result = 0;
    if (HandleContainerMessage(this, message, wParam, lParam, result)) return result;
    return CStatic::WindowProc(message, wParam, lParam);
}

// ---- CMainMenuText ------------------------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CMainMenuText, CStatic)

void CMainMenuText::PreSubclassWindow()
{
    CStatic::PreSubclassWindow();
    ModifyStyle(SS_TYPEMASK, SS_OWNERDRAW);
}

void CMainMenuText::SetTextFont(int height, BOOL bold, LPCTSTR face)
{
    m_font.DeleteObject();
    m_font.CreateFont(height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE, 0, 0, 0, 0, FF_SWISS, face);
    if (GetSafeHwnd()) Invalidate();
}

void CMainMenuText::DrawItem(LPDRAWITEMSTRUCT dis)
{
    CString caption;
    GetWindowText(caption);
    const qcore::GdiSelection font(dis->hDC, m_font.GetSafeHandle());
    ::SetTextColor(dis->hDC, m_crText);
    ::SetBkMode(dis->hDC, TRANSPARENT);
    RECT rect = dis->rcItem;
    ::DrawTextW(dis->hDC, caption, -1, &rect, DT_CENTER | DT_VCENTER | DT_NOPREFIX);
}
