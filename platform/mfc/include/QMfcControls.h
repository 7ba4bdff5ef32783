// Thin wrappers of the standard and common controls, and CMenu. Each Create registers the object at creation
// (see CWnd). Differences from plain wrappers:
// - CButton, CStatic (SS_OWNERDRAW), CListBox, CComboBox, CListCtrl get the parent's WM_DRAWITEM (and CListCtrl,
//   CListBox, CComboBox WM_MEASUREITEM) through reflection and call their virtual DrawItem/MeasureItem.
// - CListCtrl::GetCheck is ((state image >> 12) - 1): a row without a state image reads -1 (true), as in MFC.
// - CMenu owns its HMENU (destroyed in the destructor unless Detach()ed); FromHandle gives a temporary wrapper.
#pragma once

#include "QMfcWnd.h"

class CButton : public CWnd {
    DECLARE_DYNAMIC(CButton)
public:
    virtual BOOL Create(LPCWSTR caption, DWORD style, const RECT& rect, CWnd* parent, UINT id);
    int GetCheck() const { return (int)::SendMessageW(m_hWnd, BM_GETCHECK, 0, 0); }
    void SetCheck(int check) { ::SendMessageW(m_hWnd, BM_SETCHECK, (WPARAM)check, 0); }
    UINT GetState() const { return (UINT)::SendMessageW(m_hWnd, BM_GETSTATE, 0, 0); }
    void SetState(BOOL highlight) { ::SendMessageW(m_hWnd, BM_SETSTATE, highlight, 0); }
    UINT GetButtonStyle() const { return (UINT)GetStyle() & 0xFFFF; }
    void SetButtonStyle(UINT style, BOOL redraw = TRUE) { ::SendMessageW(m_hWnd, BM_SETSTYLE, style, redraw); }
    HBITMAP SetBitmap(HBITMAP b) { return (HBITMAP)::SendMessageW(m_hWnd, BM_SETIMAGE, IMAGE_BITMAP, (LPARAM)b); }
    HICON SetIcon(HICON i) { return (HICON)::SendMessageW(m_hWnd, BM_SETIMAGE, IMAGE_ICON, (LPARAM)i); }
    virtual void DrawItem(LPDRAWITEMSTRUCT dis);
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
};

class CStatic : public CWnd {
    DECLARE_DYNAMIC(CStatic)
public:
    virtual BOOL Create(LPCWSTR text, DWORD style, const RECT& rect, CWnd* parent, UINT id = 0xFFFF);
    HICON SetIcon(HICON icon) { return (HICON)::SendMessageW(m_hWnd, STM_SETICON, (WPARAM)icon, 0); }
    HICON GetIcon() const { return (HICON)::SendMessageW(m_hWnd, STM_GETICON, 0, 0); }
    HBITMAP SetBitmap(HBITMAP b) { return (HBITMAP)::SendMessageW(m_hWnd, STM_SETIMAGE, IMAGE_BITMAP, (LPARAM)b); }
    HBITMAP GetBitmap() const { return (HBITMAP)::SendMessageW(m_hWnd, STM_GETIMAGE, IMAGE_BITMAP, 0); }
    virtual void DrawItem(LPDRAWITEMSTRUCT dis);
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
};

class CEdit : public CWnd {
    DECLARE_DYNAMIC(CEdit)
public:
    virtual BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
    void SetLimitText(UINT max) { ::SendMessageW(m_hWnd, EM_SETLIMITTEXT, max, 0); }
    void LimitText(int max = 0) { ::SendMessageW(m_hWnd, EM_LIMITTEXT, (WPARAM)max, 0); }
    void SetSel(int start, int end, BOOL noScroll = FALSE)
    {
        ::SendMessageW(m_hWnd, EM_SETSEL, (WPARAM)start, (LPARAM)end);
        if (!noScroll) ::SendMessageW(m_hWnd, EM_SCROLLCARET, 0, 0);
    }
    void GetSel(int& start, int& end) const { ::SendMessageW(m_hWnd, EM_GETSEL, (WPARAM)&start, (LPARAM)&end); }
    void ReplaceSel(LPCWSTR text, BOOL canUndo = FALSE)
    {
        ::SendMessageW(m_hWnd, EM_REPLACESEL, canUndo, (LPARAM)text);
    }
    BOOL SetReadOnly(BOOL readOnly = TRUE) { return (BOOL)::SendMessageW(m_hWnd, EM_SETREADONLY, readOnly, 0); }
    void SetPasswordChar(WCHAR ch) { ::SendMessageW(m_hWnd, EM_SETPASSWORDCHAR, ch, 0); }
    int GetLineCount() const { return (int)::SendMessageW(m_hWnd, EM_GETLINECOUNT, 0, 0); }
    void Clear() { ::SendMessageW(m_hWnd, WM_CLEAR, 0, 0); }
    void Copy() { ::SendMessageW(m_hWnd, WM_COPY, 0, 0); }
    void Paste() { ::SendMessageW(m_hWnd, WM_PASTE, 0, 0); }
    BOOL GetModify() const { return (BOOL)::SendMessageW(m_hWnd, EM_GETMODIFY, 0, 0); }
    void SetModify(BOOL modified = TRUE) { ::SendMessageW(m_hWnd, EM_SETMODIFY, modified, 0); }
};

class CComboBox : public CWnd {
    DECLARE_DYNAMIC(CComboBox)
public:
    virtual BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
    int AddString(LPCWSTR s) { return (int)::SendMessageW(m_hWnd, CB_ADDSTRING, 0, (LPARAM)s); }
    int InsertString(int index, LPCWSTR s)
    {
        return (int)::SendMessageW(m_hWnd, CB_INSERTSTRING, (WPARAM)index, (LPARAM)s);
    }
    int DeleteString(UINT index) { return (int)::SendMessageW(m_hWnd, CB_DELETESTRING, index, 0); }
    void ResetContent() { ::SendMessageW(m_hWnd, CB_RESETCONTENT, 0, 0); }
    int GetCount() const { return (int)::SendMessageW(m_hWnd, CB_GETCOUNT, 0, 0); }
    int GetCurSel() const { return (int)::SendMessageW(m_hWnd, CB_GETCURSEL, 0, 0); }
    int SetCurSel(int index) { return (int)::SendMessageW(m_hWnd, CB_SETCURSEL, (WPARAM)index, 0); }
    int GetLBText(int index, LPWSTR buffer) const
    {
        return (int)::SendMessageW(m_hWnd, CB_GETLBTEXT, (WPARAM)index, (LPARAM)buffer);
    }
    void GetLBText(int index, CString& text) const;
    int GetLBTextLen(int index) const { return (int)::SendMessageW(m_hWnd, CB_GETLBTEXTLEN, (WPARAM)index, 0); }
    int FindString(int start, LPCWSTR s) const
    {
        return (int)::SendMessageW(m_hWnd, CB_FINDSTRING, (WPARAM)start, (LPARAM)s);
    }
    int FindStringExact(int start, LPCWSTR s) const
    {
        return (int)::SendMessageW(m_hWnd, CB_FINDSTRINGEXACT, (WPARAM)start, (LPARAM)s);
    }
    int SelectString(int start, LPCWSTR s)
    {
        return (int)::SendMessageW(m_hWnd, CB_SELECTSTRING, (WPARAM)start, (LPARAM)s);
    }
    DWORD_PTR GetItemData(int index) const
    {
        return (DWORD_PTR)::SendMessageW(m_hWnd, CB_GETITEMDATA, (WPARAM)index, 0);
    }
    int SetItemData(int index, DWORD_PTR data)
    {
        return (int)::SendMessageW(m_hWnd, CB_SETITEMDATA, (WPARAM)index, (LPARAM)data);
    }
    int SetItemHeight(int index, UINT h) { return (int)::SendMessageW(m_hWnd, CB_SETITEMHEIGHT, (WPARAM)index, h); }
    void ShowDropDown(BOOL show = TRUE) { ::SendMessageW(m_hWnd, CB_SHOWDROPDOWN, show, 0); }
    BOOL GetDroppedState() const { return (BOOL)::SendMessageW(m_hWnd, CB_GETDROPPEDSTATE, 0, 0); }
    int SetDroppedWidth(UINT w) { return (int)::SendMessageW(m_hWnd, CB_SETDROPPEDWIDTH, w, 0); }
    virtual void DrawItem(LPDRAWITEMSTRUCT dis);
    virtual void MeasureItem(LPMEASUREITEMSTRUCT mis);
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
};

class CListBox : public CWnd {
    DECLARE_DYNAMIC(CListBox)
public:
    virtual BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
    int AddString(LPCWSTR s) { return (int)::SendMessageW(m_hWnd, LB_ADDSTRING, 0, (LPARAM)s); }
    int InsertString(int index, LPCWSTR s)
    {
        return (int)::SendMessageW(m_hWnd, LB_INSERTSTRING, (WPARAM)index, (LPARAM)s);
    }
    int DeleteString(UINT index) { return (int)::SendMessageW(m_hWnd, LB_DELETESTRING, index, 0); }
    void ResetContent() { ::SendMessageW(m_hWnd, LB_RESETCONTENT, 0, 0); }
    int GetCount() const { return (int)::SendMessageW(m_hWnd, LB_GETCOUNT, 0, 0); }
    int GetCurSel() const { return (int)::SendMessageW(m_hWnd, LB_GETCURSEL, 0, 0); }
    int SetCurSel(int index) { return (int)::SendMessageW(m_hWnd, LB_SETCURSEL, (WPARAM)index, 0); }
    int GetSel(int index) const { return (int)::SendMessageW(m_hWnd, LB_GETSEL, (WPARAM)index, 0); }
    int SetSel(int index, BOOL select = TRUE) { return (int)::SendMessageW(m_hWnd, LB_SETSEL, select, (LPARAM)index); }
    int GetSelCount() const { return (int)::SendMessageW(m_hWnd, LB_GETSELCOUNT, 0, 0); }
    int GetText(int index, LPWSTR buffer) const
    {
        return (int)::SendMessageW(m_hWnd, LB_GETTEXT, (WPARAM)index, (LPARAM)buffer);
    }
    void GetText(int index, CString& text) const;
    int GetTextLen(int index) const { return (int)::SendMessageW(m_hWnd, LB_GETTEXTLEN, (WPARAM)index, 0); }
    // Case-insensitive, as the list box itself compares.
    int FindStringExact(int start, LPCWSTR s) const
    {
        return (int)::SendMessageW(m_hWnd, LB_FINDSTRINGEXACT, (WPARAM)start, (LPARAM)s);
    }
    int FindString(int start, LPCWSTR s) const
    {
        return (int)::SendMessageW(m_hWnd, LB_FINDSTRING, (WPARAM)start, (LPARAM)s);
    }
    DWORD_PTR GetItemData(int index) const
    {
        return (DWORD_PTR)::SendMessageW(m_hWnd, LB_GETITEMDATA, (WPARAM)index, 0);
    }
    int SetItemData(int index, DWORD_PTR data)
    {
        return (int)::SendMessageW(m_hWnd, LB_SETITEMDATA, (WPARAM)index, (LPARAM)data);
    }
    int SetItemHeight(int index, UINT h) { return (int)::SendMessageW(m_hWnd, LB_SETITEMHEIGHT, (WPARAM)index, h); }
    int GetTopIndex() const { return (int)::SendMessageW(m_hWnd, LB_GETTOPINDEX, 0, 0); }
    int SetTopIndex(int index) { return (int)::SendMessageW(m_hWnd, LB_SETTOPINDEX, (WPARAM)index, 0); }
    void SetHorizontalExtent(int cx) { ::SendMessageW(m_hWnd, LB_SETHORIZONTALEXTENT, (WPARAM)cx, 0); }
    virtual void DrawItem(LPDRAWITEMSTRUCT dis);
    virtual void MeasureItem(LPMEASUREITEMSTRUCT mis);
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
};

class CScrollBar : public CWnd {
    DECLARE_DYNAMIC(CScrollBar)
public:
    virtual BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
    int GetScrollPos() const { return ::GetScrollPos(m_hWnd, SB_CTL); }
    int SetScrollPos(int pos, BOOL redraw = TRUE) { return ::SetScrollPos(m_hWnd, SB_CTL, pos, redraw); }
    void SetScrollRange(int minPos, int maxPos, BOOL redraw = TRUE)
    {
        ::SetScrollRange(m_hWnd, SB_CTL, minPos, maxPos, redraw);
    }
};

class CListCtrl : public CWnd {
    DECLARE_DYNAMIC(CListCtrl)
public:
    virtual BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
    DWORD SetExtendedStyle(DWORD ex)
    {
        return (DWORD)::SendMessageW(m_hWnd, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, (LPARAM)ex);
    }
    DWORD GetExtendedStyle() const { return (DWORD)::SendMessageW(m_hWnd, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0); }
    int InsertColumn(int col, LPCWSTR heading, int format = LVCFMT_LEFT, int width = -1, int subItem = -1);
    int InsertColumn(int col, const LVCOLUMNW* column)
    {
        return (int)::SendMessageW(m_hWnd, LVM_INSERTCOLUMNW, (WPARAM)col, (LPARAM)column);
    }
    BOOL DeleteColumn(int col) { return (BOOL)::SendMessageW(m_hWnd, LVM_DELETECOLUMN, (WPARAM)col, 0); }
    int GetColumnWidth(int col) const { return (int)::SendMessageW(m_hWnd, LVM_GETCOLUMNWIDTH, (WPARAM)col, 0); }
    BOOL SetColumnWidth(int col, int cx)
    {
        return (BOOL)::SendMessageW(m_hWnd, LVM_SETCOLUMNWIDTH, (WPARAM)col, MAKELPARAM(cx, 0));
    }
    CWnd* GetHeaderCtrl() const { return FromHandle((HWND)::SendMessageW(m_hWnd, LVM_GETHEADER, 0, 0)); }

    int InsertItem(int index, LPCWSTR text);
    int InsertItem(int index, LPCWSTR text, int image);
    int InsertItem(const LVITEMW* item) { return (int)::SendMessageW(m_hWnd, LVM_INSERTITEMW, 0, (LPARAM)item); }
    BOOL SetItemText(int item, int subItem, LPCWSTR text);
    CString GetItemText(int item, int subItem) const;
    int GetItemText(int item, int subItem, LPWSTR buffer, int max) const;
    BOOL SetItemData(int item, DWORD_PTR data);
    DWORD_PTR GetItemData(int item) const;
    BOOL GetItem(LVITEMW* item) const { return (BOOL)::SendMessageW(m_hWnd, LVM_GETITEMW, 0, (LPARAM)item); }
    BOOL SetItem(const LVITEMW* item) { return (BOOL)::SendMessageW(m_hWnd, LVM_SETITEMW, 0, (LPARAM)item); }
    BOOL DeleteItem(int item) { return (BOOL)::SendMessageW(m_hWnd, LVM_DELETEITEM, (WPARAM)item, 0); }
    BOOL DeleteAllItems() { return (BOOL)::SendMessageW(m_hWnd, LVM_DELETEALLITEMS, 0, 0); }
    int GetItemCount() const { return (int)::SendMessageW(m_hWnd, LVM_GETITEMCOUNT, 0, 0); }
    BOOL GetItemRect(int item, LPRECT rc, UINT code) const;
    BOOL GetSubItemRect(int item, int subItem, int area, CRect& rc) const;
    int HitTest(CPoint pt, UINT* flags = NULL) const;
    int HitTest(LVHITTESTINFO* info) const { return (int)::SendMessageW(m_hWnd, LVM_HITTEST, 0, (LPARAM)info); }
    int SubItemHitTest(LVHITTESTINFO* info) { return (int)::SendMessageW(m_hWnd, LVM_SUBITEMHITTEST, 0, (LPARAM)info); }
    BOOL SetItemState(int item, UINT state, UINT mask);
    UINT GetItemState(int item, UINT mask) const
    {
        return (UINT)::SendMessageW(m_hWnd, LVM_GETITEMSTATE, (WPARAM)item, (LPARAM)mask);
    }
    int GetNextItem(int item, int flags) const
    {
        return (int)::SendMessageW(m_hWnd, LVM_GETNEXTITEM, (WPARAM)item, MAKELPARAM(flags, 0));
    }
    POSITION GetFirstSelectedItemPosition() const;
    int GetNextSelectedItem(POSITION& pos) const;
    UINT GetSelectedCount() const { return (UINT)::SendMessageW(m_hWnd, LVM_GETSELECTEDCOUNT, 0, 0); }
    int GetSelectionMark() const { return (int)::SendMessageW(m_hWnd, LVM_GETSELECTIONMARK, 0, 0); }
    BOOL EnsureVisible(int item, BOOL partialOk)
    {
        return (BOOL)::SendMessageW(m_hWnd, LVM_ENSUREVISIBLE, (WPARAM)item, partialOk);
    }
    int GetTopIndex() const { return (int)::SendMessageW(m_hWnd, LVM_GETTOPINDEX, 0, 0); }
    int GetCountPerPage() const { return (int)::SendMessageW(m_hWnd, LVM_GETCOUNTPERPAGE, 0, 0); }
    BOOL SetBkColor(COLORREF c) { return (BOOL)::SendMessageW(m_hWnd, LVM_SETBKCOLOR, 0, (LPARAM)c); }
    BOOL SetTextColor(COLORREF c) { return (BOOL)::SendMessageW(m_hWnd, LVM_SETTEXTCOLOR, 0, (LPARAM)c); }
    BOOL SetTextBkColor(COLORREF c) { return (BOOL)::SendMessageW(m_hWnd, LVM_SETTEXTBKCOLOR, 0, (LPARAM)c); }
    CImageList* SetImageList(CImageList* list, int which);
    CImageList* GetImageList(int which) const
    {
        return CImageList::FromHandle((HIMAGELIST)::SendMessageW(m_hWnd, LVM_GETIMAGELIST, (WPARAM)which, 0));
    }
    BOOL SortItems(PFNLVCOMPARE fn, DWORD_PTR data)
    {
        return (BOOL)::SendMessageW(m_hWnd, LVM_SORTITEMS, (WPARAM)data, (LPARAM)fn);
    }
    BOOL RedrawItems(int first, int last)
    {
        return (BOOL)::SendMessageW(m_hWnd, LVM_REDRAWITEMS, (WPARAM)first, (LPARAM)last);
    }
    BOOL Update(int item) { return (BOOL)::SendMessageW(m_hWnd, LVM_UPDATE, (WPARAM)item, 0); }
    // (state image >> 12) - 1: -1 (true) for a row without a state image.
    BOOL GetCheck(int item) const { return (BOOL)(((UINT)GetItemState(item, LVIS_STATEIMAGEMASK) >> 12) - 1); }
    BOOL SetCheck(int item, BOOL check = TRUE)
    {
        return SetItemState(item, INDEXTOSTATEIMAGEMASK(check ? 2 : 1), LVIS_STATEIMAGEMASK);
    }
    virtual void DrawItem(LPDRAWITEMSTRUCT dis);
    virtual void MeasureItem(LPMEASUREITEMSTRUCT mis);
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
};

class CTreeCtrl : public CWnd {
    DECLARE_DYNAMIC(CTreeCtrl)
public:
    virtual BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
    CImageList* SetImageList(CImageList* list, int which);
    HTREEITEM InsertItem(LPCWSTR text, HTREEITEM parent = TVI_ROOT, HTREEITEM after = TVI_LAST);
    HTREEITEM InsertItem(LPCWSTR text, int image, int selImage, HTREEITEM parent = TVI_ROOT,
                         HTREEITEM after = TVI_LAST);
    HTREEITEM InsertItem(const TVINSERTSTRUCTW* ins)
    {
        return (HTREEITEM)::SendMessageW(m_hWnd, TVM_INSERTITEMW, 0, (LPARAM)ins);
    }
    BOOL DeleteItem(HTREEITEM item) { return (BOOL)::SendMessageW(m_hWnd, TVM_DELETEITEM, 0, (LPARAM)item); }
    BOOL DeleteAllItems() { return (BOOL)::SendMessageW(m_hWnd, TVM_DELETEITEM, 0, (LPARAM)TVI_ROOT); }
    HTREEITEM GetNextItem(HTREEITEM item, UINT code) const
    {
        return (HTREEITEM)::SendMessageW(m_hWnd, TVM_GETNEXTITEM, code, (LPARAM)item);
    }
    HTREEITEM GetRootItem() const { return GetNextItem(NULL, TVGN_ROOT); }
    HTREEITEM GetParentItem(HTREEITEM item) const { return GetNextItem(item, TVGN_PARENT); }
    HTREEITEM GetChildItem(HTREEITEM item) const { return GetNextItem(item, TVGN_CHILD); }
    HTREEITEM GetNextSiblingItem(HTREEITEM item) const { return GetNextItem(item, TVGN_NEXT); }
    HTREEITEM GetPrevSiblingItem(HTREEITEM item) const { return GetNextItem(item, TVGN_PREVIOUS); }
    HTREEITEM GetSelectedItem() const { return GetNextItem(NULL, TVGN_CARET); }
    BOOL SelectItem(HTREEITEM item) { return (BOOL)::SendMessageW(m_hWnd, TVM_SELECTITEM, TVGN_CARET, (LPARAM)item); }
    BOOL ItemHasChildren(HTREEITEM item) const;
    UINT GetCount() const { return (UINT)::SendMessageW(m_hWnd, TVM_GETCOUNT, 0, 0); }
    CString GetItemText(HTREEITEM item) const;
    BOOL SetItemText(HTREEITEM item, LPCWSTR text);
    DWORD_PTR GetItemData(HTREEITEM item) const;
    BOOL SetItemData(HTREEITEM item, DWORD_PTR data);
    UINT GetItemState(HTREEITEM item, UINT mask) const
    {
        return (UINT)::SendMessageW(m_hWnd, TVM_GETITEMSTATE, (WPARAM)item, (LPARAM)mask);
    }
    BOOL SetItemState(HTREEITEM item, UINT state, UINT mask);
    BOOL GetItem(TVITEMW* item) const { return (BOOL)::SendMessageW(m_hWnd, TVM_GETITEMW, 0, (LPARAM)item); }
    BOOL SetItem(TVITEMW* item) { return (BOOL)::SendMessageW(m_hWnd, TVM_SETITEMW, 0, (LPARAM)item); }
    // Check boxes (TVS_CHECKBOXES): (state image >> 12) - 1, so 1 = checked, 0 = unchecked, -1 = no state image.
    BOOL GetCheck(HTREEITEM item) const { return (BOOL)((GetItemState(item, TVIS_STATEIMAGEMASK) >> 12) - 1); }
    BOOL SetCheck(HTREEITEM item, BOOL check = TRUE)
    {
        return SetItemState(item, INDEXTOSTATEIMAGEMASK(check ? 2 : 1), TVIS_STATEIMAGEMASK);
    }
    BOOL Expand(HTREEITEM item, UINT code) { return (BOOL)::SendMessageW(m_hWnd, TVM_EXPAND, code, (LPARAM)item); }
    BOOL EnsureVisible(HTREEITEM item) { return (BOOL)::SendMessageW(m_hWnd, TVM_ENSUREVISIBLE, 0, (LPARAM)item); }
    HTREEITEM HitTest(CPoint pt, UINT* flags = NULL) const;
    HTREEITEM HitTest(TVHITTESTINFO* info) const
    {
        return (HTREEITEM)::SendMessageW(m_hWnd, TVM_HITTEST, 0, (LPARAM)info);
    }
    BOOL GetItemRect(HTREEITEM item, LPRECT rc, BOOL textOnly) const;
    BOOL SortChildren(HTREEITEM item) { return (BOOL)::SendMessageW(m_hWnd, TVM_SORTCHILDREN, 0, (LPARAM)item); }
};

class CProgressCtrl : public CWnd {
    DECLARE_DYNAMIC(CProgressCtrl)
public:
    virtual BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
    void SetRange(short lower, short upper) { ::SendMessageW(m_hWnd, PBM_SETRANGE, 0, MAKELPARAM(lower, upper)); }
    void SetRange32(int lower, int upper) { ::SendMessageW(m_hWnd, PBM_SETRANGE32, (WPARAM)lower, (LPARAM)upper); }
    void GetRange(int& lower, int& upper) const;
    int SetPos(int pos) { return (int)::SendMessageW(m_hWnd, PBM_SETPOS, (WPARAM)pos, 0); }
    int GetPos() const { return (int)::SendMessageW(m_hWnd, PBM_GETPOS, 0, 0); }
    int OffsetPos(int delta) { return (int)::SendMessageW(m_hWnd, PBM_DELTAPOS, (WPARAM)delta, 0); }
    int SetStep(int step) { return (int)::SendMessageW(m_hWnd, PBM_SETSTEP, (WPARAM)step, 0); }
    int StepIt() { return (int)::SendMessageW(m_hWnd, PBM_STEPIT, 0, 0); }
    COLORREF SetBarColor(COLORREF c) { return (COLORREF)::SendMessageW(m_hWnd, PBM_SETBARCOLOR, 0, (LPARAM)c); }
    COLORREF SetBkColor(COLORREF c) { return (COLORREF)::SendMessageW(m_hWnd, PBM_SETBKCOLOR, 0, (LPARAM)c); }
};

class CSpinButtonCtrl : public CWnd {
    DECLARE_DYNAMIC(CSpinButtonCtrl)
public:
    virtual BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
    CWnd* SetBuddy(CWnd* buddy)
    {
        return FromHandle((HWND)::SendMessageW(m_hWnd, UDM_SETBUDDY, (WPARAM)(buddy ? buddy->m_hWnd : NULL), 0));
    }
    CWnd* GetBuddy() const { return FromHandle((HWND)::SendMessageW(m_hWnd, UDM_GETBUDDY, 0, 0)); }
    void SetRange(short lower, short upper) { ::SendMessageW(m_hWnd, UDM_SETRANGE, 0, MAKELPARAM(upper, lower)); }
    void SetRange32(int lower, int upper) { ::SendMessageW(m_hWnd, UDM_SETRANGE32, (WPARAM)lower, (LPARAM)upper); }
    void GetRange32(int& lower, int& upper) const
    {
        ::SendMessageW(m_hWnd, UDM_GETRANGE32, (WPARAM)&lower, (LPARAM)&upper);
    }
    int SetPos(int pos) { return (int)(short)::SendMessageW(m_hWnd, UDM_SETPOS, 0, MAKELPARAM((short)pos, 0)); }
    int SetPos32(int pos) { return (int)::SendMessageW(m_hWnd, UDM_SETPOS32, 0, (LPARAM)pos); }
    int GetPos() const { return (int)(short)LOWORD(::SendMessageW(m_hWnd, UDM_GETPOS, 0, 0)); }
    int GetPos32(BOOL* error = NULL) const { return (int)::SendMessageW(m_hWnd, UDM_GETPOS32, 0, (LPARAM)error); }
};

class CDateTimeCtrl : public CWnd {
    DECLARE_DYNAMIC(CDateTimeCtrl)
public:
    virtual BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
    DWORD GetTime(SYSTEMTIME* st) const { return (DWORD)::SendMessageW(m_hWnd, DTM_GETSYSTEMTIME, 0, (LPARAM)st); }
    BOOL SetTime(const SYSTEMTIME* st)
    {
        return (BOOL)::SendMessageW(m_hWnd, DTM_SETSYSTEMTIME, st ? GDT_VALID : GDT_NONE, (LPARAM)st);
    }
    BOOL SetFormat(LPCWSTR format) { return (BOOL)::SendMessageW(m_hWnd, DTM_SETFORMATW, 0, (LPARAM)format); }
};

class CTabCtrl : public CWnd {
    DECLARE_DYNAMIC(CTabCtrl)
public:
    virtual BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
    LONG InsertItem(int index, LPCWSTR text);
    LONG InsertItem(int index, TCITEMW* item)
    {
        return (LONG)::SendMessageW(m_hWnd, TCM_INSERTITEMW, (WPARAM)index, (LPARAM)item);
    }
    BOOL DeleteItem(int index) { return (BOOL)::SendMessageW(m_hWnd, TCM_DELETEITEM, (WPARAM)index, 0); }
    BOOL DeleteAllItems() { return (BOOL)::SendMessageW(m_hWnd, TCM_DELETEALLITEMS, 0, 0); }
    int GetItemCount() const { return (int)::SendMessageW(m_hWnd, TCM_GETITEMCOUNT, 0, 0); }
    int GetCurSel() const { return (int)::SendMessageW(m_hWnd, TCM_GETCURSEL, 0, 0); }
    int SetCurSel(int index) { return (int)::SendMessageW(m_hWnd, TCM_SETCURSEL, (WPARAM)index, 0); }
    BOOL GetItemRect(int index, LPRECT rc) const
    {
        return (BOOL)::SendMessageW(m_hWnd, TCM_GETITEMRECT, (WPARAM)index, (LPARAM)rc);
    }
    void AdjustRect(BOOL larger, LPRECT rc) { ::SendMessageW(m_hWnd, TCM_ADJUSTRECT, larger, (LPARAM)rc); }
};

class CMenu : public CObject {
    DECLARE_DYNAMIC(CMenu)
public:
    HMENU m_hMenu;

    CMenu() : m_hMenu(NULL) {}
    virtual ~CMenu() { DestroyMenu(); }
    operator HMENU() const { return m_hMenu; }
    HMENU GetSafeHmenu() const { return m_hMenu; }
    static CMenu* FromHandle(HMENU h);

    BOOL Attach(HMENU h)
    {
        if (!h) return FALSE;
        DestroyMenu();
        m_hMenu = h;
        return TRUE;
    }
    HMENU Detach()
    {
        HMENU h = m_hMenu;
        m_hMenu = NULL;
        return h;
    }
    BOOL CreateMenu() { return Attach(::CreateMenu()); }
    BOOL CreatePopupMenu() { return Attach(::CreatePopupMenu()); }
    // From the resource module.
    BOOL LoadMenu(UINT id);
    BOOL LoadMenu(LPCWSTR name);
    BOOL DestroyMenu()
    {
        if (!m_hMenu) return FALSE;
        return ::DestroyMenu(Detach());
    }

    CMenu* GetSubMenu(int pos) const { return FromHandle(::GetSubMenu(m_hMenu, pos)); }
    UINT GetMenuItemCount() const { return (UINT)::GetMenuItemCount(m_hMenu); }
    UINT GetMenuItemID(int pos) const { return ::GetMenuItemID(m_hMenu, pos); }
    UINT GetMenuState(UINT id, UINT flags) const { return ::GetMenuState(m_hMenu, id, flags); }
    int GetMenuString(UINT id, LPWSTR buffer, int max, UINT flags) const
    {
        return ::GetMenuStringW(m_hMenu, id, buffer, max, flags);
    }
    int GetMenuString(UINT id, CString& text, UINT flags) const;
    BOOL AppendMenu(UINT flags, UINT_PTR id = 0, LPCWSTR text = NULL)
    {
        return ::AppendMenuW(m_hMenu, flags, id, text);
    }
    BOOL InsertMenu(UINT pos, UINT flags, UINT_PTR id = 0, LPCWSTR text = NULL)
    {
        return ::InsertMenuW(m_hMenu, pos, flags, id, text);
    }
    BOOL ModifyMenu(UINT pos, UINT flags, UINT_PTR id = 0, LPCWSTR text = NULL)
    {
        return ::ModifyMenuW(m_hMenu, pos, flags, id, text);
    }
    BOOL RemoveMenu(UINT pos, UINT flags) { return ::RemoveMenu(m_hMenu, pos, flags); }
    BOOL DeleteMenu(UINT pos, UINT flags) { return ::DeleteMenu(m_hMenu, pos, flags); }
    UINT CheckMenuItem(UINT id, UINT check) { return (UINT)::CheckMenuItem(m_hMenu, id, check); }
    UINT EnableMenuItem(UINT id, UINT enable) { return (UINT)::EnableMenuItem(m_hMenu, id, enable); }
    BOOL SetDefaultItem(UINT item, BOOL byPos = FALSE) { return ::SetMenuDefaultItem(m_hMenu, item, byPos); }
    BOOL TrackPopupMenu(UINT flags, int x, int y, CWnd* wnd, LPCRECT rc = NULL)
    {
        return ::TrackPopupMenu(m_hMenu, flags, x, y, 0, wnd ? wnd->m_hWnd : NULL, rc);
    }
};
