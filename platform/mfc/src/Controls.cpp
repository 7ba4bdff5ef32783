// Control wrappers: creation, owner-draw reflection and the members that need more than one message.
#include "ThreadState.h"

IMPLEMENT_DYNAMIC(CButton, CWnd)
IMPLEMENT_DYNAMIC(CStatic, CWnd)
IMPLEMENT_DYNAMIC(CEdit, CWnd)
IMPLEMENT_DYNAMIC(CComboBox, CWnd)
IMPLEMENT_DYNAMIC(CListBox, CWnd)
IMPLEMENT_DYNAMIC(CScrollBar, CWnd)
IMPLEMENT_DYNAMIC(CListCtrl, CWnd)
IMPLEMENT_DYNAMIC(CTreeCtrl, CWnd)
IMPLEMENT_DYNAMIC(CProgressCtrl, CWnd)
IMPLEMENT_DYNAMIC(CSpinButtonCtrl, CWnd)
IMPLEMENT_DYNAMIC(CDateTimeCtrl, CWnd)
IMPLEMENT_DYNAMIC(CTabCtrl, CWnd)
IMPLEMENT_DYNAMIC(CMenu, CObject)

namespace {
BOOL CreateControl(CWnd* wnd, LPCWSTR cls, LPCWSTR text, DWORD style, const RECT& rc, CWnd* parent, UINT id)
{
    return wnd->CreateEx(0, cls, text, style | WS_CHILD, rc, parent, id);
}
}  // namespace

BOOL CButton::Create(LPCWSTR caption, DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    return CreateControl(this, L"BUTTON", caption, style, rect, parent, id);
}
void CButton::DrawItem(LPDRAWITEMSTRUCT) {}
BOOL CButton::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (message != WM_DRAWITEM) return CWnd::OnChildNotify(message, wParam, lParam, result);
    DrawItem((LPDRAWITEMSTRUCT)lParam);
    *result = TRUE;
    return TRUE;
}

BOOL CStatic::Create(LPCWSTR text, DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    return CreateControl(this, L"STATIC", text, style, rect, parent, id);
}
void CStatic::DrawItem(LPDRAWITEMSTRUCT) {}
BOOL CStatic::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (message != WM_DRAWITEM) return CWnd::OnChildNotify(message, wParam, lParam, result);
    DrawItem((LPDRAWITEMSTRUCT)lParam);
    *result = TRUE;
    return TRUE;
}

BOOL CEdit::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    return CreateControl(this, L"EDIT", NULL, style, rect, parent, id);
}

BOOL CComboBox::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    return CreateControl(this, L"COMBOBOX", NULL, style, rect, parent, id);
}
void CComboBox::GetLBText(int index, CString& text) const
{
    int n = GetLBTextLen(index);
    if (n < 0) {
        text.Empty();
        return;
    }
    ::SendMessageW(m_hWnd, CB_GETLBTEXT, (WPARAM)index, (LPARAM)text.GetBufferSetLength(n + 1));
    text.ReleaseBuffer();
}
void CComboBox::DrawItem(LPDRAWITEMSTRUCT) {}
void CComboBox::MeasureItem(LPMEASUREITEMSTRUCT) {}
BOOL CComboBox::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (message == WM_DRAWITEM)
        DrawItem((LPDRAWITEMSTRUCT)lParam);
    else if (message == WM_MEASUREITEM)
        MeasureItem((LPMEASUREITEMSTRUCT)lParam);
    else
        return CWnd::OnChildNotify(message, wParam, lParam, result);
    *result = TRUE;
    return TRUE;
}

BOOL CListBox::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    return CreateControl(this, L"LISTBOX", NULL, style, rect, parent, id);
}
void CListBox::GetText(int index, CString& text) const
{
    int n = GetTextLen(index);
    if (n < 0) {
        text.Empty();
        return;
    }
    ::SendMessageW(m_hWnd, LB_GETTEXT, (WPARAM)index, (LPARAM)text.GetBufferSetLength(n + 1));
    text.ReleaseBuffer();
}
void CListBox::DrawItem(LPDRAWITEMSTRUCT) {}
void CListBox::MeasureItem(LPMEASUREITEMSTRUCT) {}
BOOL CListBox::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (message == WM_DRAWITEM)
        DrawItem((LPDRAWITEMSTRUCT)lParam);
    else if (message == WM_MEASUREITEM)
        MeasureItem((LPMEASUREITEMSTRUCT)lParam);
    else
        return CWnd::OnChildNotify(message, wParam, lParam, result);
    *result = TRUE;
    return TRUE;
}

BOOL CScrollBar::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    return CreateControl(this, L"SCROLLBAR", NULL, style, rect, parent, id);
}

BOOL CListCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    return CreateControl(this, WC_LISTVIEWW, NULL, style, rect, parent, id);
}
int CListCtrl::InsertColumn(int col, LPCWSTR heading, int format, int width, int subItem)
{
    LVCOLUMNW c = {};
    c.mask = LVCF_TEXT | LVCF_FMT;
    c.fmt = format;
    c.pszText = (LPWSTR)heading;
    if (width != -1) {
        c.mask |= LVCF_WIDTH;
        c.cx = width;
    }
    if (subItem != -1) {
        c.mask |= LVCF_SUBITEM;
        c.iSubItem = subItem;
    }
    const int inserted = InsertColumn(col, &c);
    if (inserted >= 0 && heading)
        qmfc::NotifyCaption(reinterpret_cast<HWND>(::SendMessageW(m_hWnd, LVM_GETHEADER, 0, 0)), inserted, heading);
    return inserted;
}
int CListCtrl::InsertItem(int index, LPCWSTR text)
{
    LVITEMW it = {};
    it.mask = LVIF_TEXT;
    it.iItem = index;
    it.pszText = (LPWSTR)text;
    const int inserted = InsertItem(&it);
    if (inserted >= 0 && text) qmfc::NotifyCaption(m_hWnd, qmfc::ListCellItem(inserted, 0), text);
    return inserted;
}
int CListCtrl::InsertItem(int index, LPCWSTR text, int image)
{
    LVITEMW it = {};
    it.mask = LVIF_TEXT | LVIF_IMAGE;
    it.iItem = index;
    it.pszText = (LPWSTR)text;
    it.iImage = image;
    const int inserted = InsertItem(&it);
    if (inserted >= 0 && text) qmfc::NotifyCaption(m_hWnd, qmfc::ListCellItem(inserted, 0), text);
    return inserted;
}
BOOL CListCtrl::SetItemText(int item, int subItem, LPCWSTR text)
{
    LVITEMW it = {};
    it.iSubItem = subItem;
    it.pszText = (LPWSTR)text;
    const BOOL set = (BOOL)::SendMessageW(m_hWnd, LVM_SETITEMTEXTW, (WPARAM)item, (LPARAM)&it);
    if (set && text) qmfc::NotifyCaption(m_hWnd, qmfc::ListCellItem(item, subItem), text);
    return set;
}
int CListCtrl::GetItemText(int item, int subItem, LPWSTR buffer, int max) const
{
    LVITEMW it = {};
    it.iSubItem = subItem;
    it.pszText = buffer;
    it.cchTextMax = max;
    return (int)::SendMessageW(m_hWnd, LVM_GETITEMTEXTW, (WPARAM)item, (LPARAM)&it);
}
CString CListCtrl::GetItemText(int item, int subItem) const
{
    // The control returns the copied length; grow until the text fits.
    for (int size = 256;; size *= 4) {
        CString s;
        int n = GetItemText(item, subItem, s.GetBufferSetLength(size), size);
        s.ReleaseBuffer();
        if (n < size - 1 || size >= (1 << 20)) return s;
    }
}
BOOL CListCtrl::SetItemData(int item, DWORD_PTR data)
{
    LVITEMW it = {};
    it.mask = LVIF_PARAM;
    it.iItem = item;
    it.lParam = (LPARAM)data;
    return SetItem(&it);
}
DWORD_PTR CListCtrl::GetItemData(int item) const
{
    LVITEMW it = {};
    it.mask = LVIF_PARAM;
    it.iItem = item;
    return GetItem(&it) ? (DWORD_PTR)it.lParam : 0;
}
BOOL CListCtrl::GetItemRect(int item, LPRECT rc, UINT code) const
{
    rc->left = (LONG)code;
    return (BOOL)::SendMessageW(m_hWnd, LVM_GETITEMRECT, (WPARAM)item, (LPARAM)rc);
}
BOOL CListCtrl::GetSubItemRect(int item, int subItem, int area, CRect& rc) const
{
    rc.top = subItem;
    rc.left = area;
    return (BOOL)::SendMessageW(m_hWnd, LVM_GETSUBITEMRECT, (WPARAM)item, (LPARAM)(LPRECT)rc);
}
int CListCtrl::HitTest(CPoint pt, UINT* flags) const
{
    LVHITTESTINFO info = {};
    info.pt = pt;
    int r = HitTest(&info);
    if (flags) *flags = info.flags;
    return r;
}
BOOL CListCtrl::SetItemState(int item, UINT state, UINT mask)
{
    LVITEMW it = {};
    it.state = state;
    it.stateMask = mask;
    return (BOOL)::SendMessageW(m_hWnd, LVM_SETITEMSTATE, (WPARAM)item, (LPARAM)&it);
}
POSITION CListCtrl::GetFirstSelectedItemPosition() const
{
    int i = GetNextItem(-1, LVNI_SELECTED);
    return (POSITION)(INT_PTR)(i + 1);
}
int CListCtrl::GetNextSelectedItem(POSITION& pos) const
{
    int i = (int)(INT_PTR)pos - 1;
    int next = GetNextItem(i, LVNI_SELECTED);
    pos = (POSITION)(INT_PTR)(next + 1);
    return i;
}
CImageList* CListCtrl::SetImageList(CImageList* list, int which)
{
    return CImageList::FromHandle((HIMAGELIST)::SendMessageW(m_hWnd, LVM_SETIMAGELIST, (WPARAM)which,
                                                             (LPARAM)(list ? list->m_hImageList : NULL)));
}
void CListCtrl::DrawItem(LPDRAWITEMSTRUCT) {}
void CListCtrl::MeasureItem(LPMEASUREITEMSTRUCT) {}
BOOL CListCtrl::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (message == WM_DRAWITEM)
        DrawItem((LPDRAWITEMSTRUCT)lParam);
    else if (message == WM_MEASUREITEM)
        MeasureItem((LPMEASUREITEMSTRUCT)lParam);
    else
        return CWnd::OnChildNotify(message, wParam, lParam, result);
    *result = TRUE;
    return TRUE;
}

BOOL CTreeCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    return CreateControl(this, WC_TREEVIEWW, NULL, style, rect, parent, id);
}
CImageList* CTreeCtrl::SetImageList(CImageList* list, int which)
{
    return CImageList::FromHandle((HIMAGELIST)::SendMessageW(m_hWnd, TVM_SETIMAGELIST, (WPARAM)which,
                                                             (LPARAM)(list ? list->m_hImageList : NULL)));
}
HTREEITEM CTreeCtrl::InsertItem(LPCWSTR text, HTREEITEM parent, HTREEITEM after)
{
    TVINSERTSTRUCTW ins = {};
    ins.hParent = parent;
    ins.hInsertAfter = after;
    ins.item.mask = TVIF_TEXT;
    ins.item.pszText = (LPWSTR)text;
    return InsertItem(&ins);
}
HTREEITEM CTreeCtrl::InsertItem(LPCWSTR text, int image, int selImage, HTREEITEM parent, HTREEITEM after)
{
    TVINSERTSTRUCTW ins = {};
    ins.hParent = parent;
    ins.hInsertAfter = after;
    ins.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    ins.item.pszText = (LPWSTR)text;
    ins.item.iImage = image;
    ins.item.iSelectedImage = selImage;
    return InsertItem(&ins);
}
BOOL CTreeCtrl::ItemHasChildren(HTREEITEM item) const
{
    TVITEMW it = {};
    it.mask = TVIF_CHILDREN | TVIF_HANDLE;
    it.hItem = item;
    return GetItem(&it) && it.cChildren != 0;
}
CString CTreeCtrl::GetItemText(HTREEITEM item) const
{
    for (int size = 256;; size *= 4) {
        CString s;
        TVITEMW it = {};
        it.mask = TVIF_TEXT | TVIF_HANDLE;
        it.hItem = item;
        it.pszText = s.GetBufferSetLength(size);
        it.cchTextMax = size;
        BOOL ok = GetItem(&it);
        s.ReleaseBuffer();
        if (!ok) return CString();
        if (s.GetLength() < size - 1 || size >= (1 << 20)) return s;
    }
}
BOOL CTreeCtrl::SetItemText(HTREEITEM item, LPCWSTR text)
{
    TVITEMW it = {};
    it.mask = TVIF_TEXT | TVIF_HANDLE;
    it.hItem = item;
    it.pszText = (LPWSTR)text;
    return SetItem(&it);
}
DWORD_PTR CTreeCtrl::GetItemData(HTREEITEM item) const
{
    TVITEMW it = {};
    it.mask = TVIF_PARAM | TVIF_HANDLE;
    it.hItem = item;
    return GetItem(&it) ? (DWORD_PTR)it.lParam : 0;
}
BOOL CTreeCtrl::SetItemData(HTREEITEM item, DWORD_PTR data)
{
    TVITEMW it = {};
    it.mask = TVIF_PARAM | TVIF_HANDLE;
    it.hItem = item;
    it.lParam = (LPARAM)data;
    return SetItem(&it);
}
BOOL CTreeCtrl::SetItemState(HTREEITEM item, UINT state, UINT mask)
{
    TVITEMW it = {};
    it.mask = TVIF_STATE | TVIF_HANDLE;
    it.hItem = item;
    it.state = state;
    it.stateMask = mask;
    return SetItem(&it);
}
HTREEITEM CTreeCtrl::HitTest(CPoint pt, UINT* flags) const
{
    TVHITTESTINFO info = {};
    info.pt = pt;
    HTREEITEM r = HitTest(&info);
    if (flags) *flags = info.flags;
    return r;
}
BOOL CTreeCtrl::GetItemRect(HTREEITEM item, LPRECT rc, BOOL textOnly) const
{
    *(HTREEITEM*)rc = item;
    return (BOOL)::SendMessageW(m_hWnd, TVM_GETITEMRECT, textOnly, (LPARAM)rc);
}

BOOL CProgressCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    return CreateControl(this, PROGRESS_CLASSW, NULL, style, rect, parent, id);
}
void CProgressCtrl::GetRange(int& lower, int& upper) const
{
    PBRANGE r = {};
    ::SendMessageW(m_hWnd, PBM_GETRANGE, FALSE, (LPARAM)&r);
    lower = r.iLow;
    upper = r.iHigh;
}

BOOL CSpinButtonCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    return CreateControl(this, UPDOWN_CLASSW, NULL, style, rect, parent, id);
}

BOOL CDateTimeCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    return CreateControl(this, DATETIMEPICK_CLASSW, NULL, style, rect, parent, id);
}

BOOL CTabCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    return CreateControl(this, WC_TABCONTROLW, NULL, style, rect, parent, id);
}
LONG CTabCtrl::InsertItem(int index, LPCWSTR text)
{
    TCITEMW it = {};
    it.mask = TCIF_TEXT;
    it.pszText = (LPWSTR)text;
    return InsertItem(index, &it);
}

CMenu* CMenu::FromHandle(HMENU h)
{
    if (!h) return NULL;
    auto& map = qmfc::GetThreadState()->tempMenu;
    auto it = map.find(h);
    if (it != map.end()) return it->second;
    CMenu* m = new CMenu;
    m->m_hMenu = h;
    map[h] = m;
    return m;
}
BOOL CMenu::LoadMenu(UINT id) { return LoadMenu(MAKEINTRESOURCEW(id)); }
BOOL CMenu::LoadMenu(LPCWSTR name)
{
    return Attach(::LoadMenuW(qmfc::FindResourceModule(name, (LPCWSTR)RT_MENU), name));
}
int CMenu::GetMenuString(UINT id, CString& text, UINT flags) const
{
    int n = ::GetMenuStringW(m_hMenu, id, NULL, 0, flags);
    if (n <= 0) {
        text.Empty();
        return 0;
    }
    ::GetMenuStringW(m_hMenu, id, text.GetBufferSetLength(n + 1), n + 1, flags);
    text.ReleaseBuffer();
    return text.GetLength();
}
