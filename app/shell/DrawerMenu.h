// The drawer menu in the left column of the main window: a stack of groups, each a header with a body of
// items that is shown only while the group is open; one group is open at a time. Every header and item is a
// bitmap label whose control id is a page identifier; clicking it (or Enter or Space while it has the focus: each
// is a Tab stop) sends WM_SWITCH_PAGE up to the main window.
#pragma once

#include <QMfc.h>

#include "PageIds.h"

// One header or item: three bitmaps (normal, hover, selected), shared with every entry of the same look, and a
// caption.
class CMenuButtonItem : public CStatic {
    DECLARE_DYNAMIC(CMenuButtonItem)
public:
    CMenuButtonItem();
    BOOL Create(LPCTSTR caption, const RECT& rect, CWnd* parent, UINT id, UINT normal, UINT hover, UINT selected);
    void SetFont(int size, LPCTSTR face, BOOL bold);
    void SetSelected(BOOL selected);
    BOOL IsSelected() const { return m_bSelected; }
    void EnableItem(BOOL enable) { m_bEnabled = enable; }
    BOOL IsItemEnabled() const { return m_bEnabled; }
    // The bitmap drawn when not selected: normal, or hover while the mouse is over the item.
    bool IsHoverShown() const { return m_bHover; }

    int m_nTextX = 0;
    COLORREF m_crText = RGB(0, 0, 0);
    COLORREF m_crSelectedText = CLR_INVALID;  // CLR_INVALID: the normal colour

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void Paint();
    void SetHover(bool hover);
    // Asks for the item's page, unless the drawer is disabled.
    void Activate();

    // The caption font, and the smaller one a caption too wide for the item is drawn in (WM_GETFONT answers
    // the one drawn).
    HFONT CaptionFont(HDC dc);
    CFont m_font;
    CFont m_fitFont;
    CString m_strFitCaption;
    int m_nFontSize = 12;
    BOOL m_bBold = FALSE;
    CString m_strFace = L"Verdana";
    BOOL m_bEnabled = TRUE;
    // Normal, hover and selected: the resource and, once drawn, Shell::SharedSkinBitmap's bitmap of it.
    struct Look {
        UINT id = 0;
        HBITMAP bitmap = nullptr;
    };
    Look m_looks[3];
    bool m_bHover = false;
    BOOL m_bSelected = FALSE;
};

// The body of a group: its items stacked from y 0.
class CMenuItemContainer : public CStatic {
    DECLARE_DYNAMIC(CMenuItemContainer)
public:
    static constexpr int kMaxItems = 10;
    ~CMenuItemContainer() override;
    // False when the body is full.
    bool AddItem(UINT normal, UINT hover, UINT selected, int id, LPCTSTR caption, int textX, int fontSize,
                 LPCTSTR fontFace, BOOL bold, COLORREF text, COLORREF selectedText);
    int GetItemCount() const { return m_nCount; }
    CMenuButtonItem* GetItem(int i) const { return i >= 0 && i < m_nCount ? m_items[i] : nullptr; }
    void SetBackground(UINT bitmapId);

    int m_nItemWidth = 179, m_nItemHeight = 40;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    CMenuButtonItem* m_items[kMaxItems] = {};
    int m_nCount = 0;
    CBitmap m_background;
};

// One group: header and body.
class CMenuButtonCtrl : public CStatic {
    DECLARE_DYNAMIC(CMenuButtonCtrl)
public:
    CMenuButtonItem m_header;
    CMenuItemContainer m_body;
    BOOL m_bExpanded = FALSE;
    int m_nHeaderHeight = 40, m_nItemHeight = 40, m_nItemX = 0;
    // Where the drawer last placed the group (-1: not yet): a layout moves only the groups that change.
    int m_nLaidOutTop = -1, m_nLaidOutHeight = -1;

    int GetHeight() const;
    void SetExpanded(BOOL expanded);
    bool Holds(int id) const;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

class CDrawerMenuCtrl : public CStatic {
    DECLARE_DYNAMIC(CDrawerMenuCtrl)
public:
    static constexpr int kMaxGroups = 10;

    CDrawerMenuCtrl();
    ~CDrawerMenuCtrl() override;

    // Adds a group at the bottom; returns its index, or -1 when the drawer is full.
    int AddGroup(UINT normal, UINT hover, UINT selected, int headerId, LPCTSTR caption);
    // Adds an item at the bottom of a group; false when the group is unknown or full.
    bool AddItem(int group, UINT normal, UINT hover, UINT selected, int id, LPCTSTR caption);
    // Opens the group that holds the id (a header or an item), closes the others and marks the selection.
    void SelectItem(int nId);
    void EnableItems(BOOL bEnable);

    int GetGroupCount() const { return m_nGroupCount; }
    CMenuButtonCtrl* GetGroup(int i) const { return i >= 0 && i < m_nGroupCount ? m_groups[i] : nullptr; }
    int GetSelectedId() const { return m_nSelectedId; }

    // Look, set by the owner before groups are added.
    int m_nGap = 10;
    int m_nHeaderWidth = 179, m_nHeaderHeight = 40, m_nItemWidth = 179, m_nItemHeight = 40;
    int m_nHeaderFontSize = 13;
    CString m_strHeaderFont = L"Verdana";
    BOOL m_bHeaderBold = TRUE;
    int m_nItemFontSize = 13;
    CString m_strItemFont = L"Verdana";
    BOOL m_bItemBold = TRUE;
    int m_nHeaderTextX = 35;
    COLORREF m_crHeaderText = RGB(0, 0x15, 0x6E);
    COLORREF m_crHeaderSelectedText = CLR_INVALID;
    COLORREF m_crItemText = RGB(0, 0, 0), m_crItemSelectedText = RGB(255, 255, 255);
    int m_nItemX = 0;

protected:
    void PreSubclassWindow() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Updates the selected flags and the open group for the id; true when anything changed.
    bool UpdateGroups(int id);
    void Layout();
    void RepaintArea();

    CMenuButtonCtrl* m_groups[kMaxGroups] = {};
    int m_nGroupCount = 0;
    int m_nSelectedId = 0;
};

// An owner-drawn caption label: centred, transparent, in the menu caption colour.
class CMainMenuText : public CStatic {
    DECLARE_DYNAMIC(CMainMenuText)
public:
    void SetTextFont(int height, BOOL bold, LPCTSTR face = L"Verdana");
    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;
    COLORREF m_crText = RGB(0x34, 0x6B, 0xB9);

protected:
    void PreSubclassWindow() override;
    CFont m_font;
};
