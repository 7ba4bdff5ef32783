#include "EvidenceTreeChecks.h"

namespace EvidencePage {

void EnableCheckBoxes(CTreeCtrl& tree)
{
    const HWND wnd = tree.GetSafeHwnd();
    ::SetWindowLongW(wnd, GWL_STYLE, ::GetWindowLongW(wnd, GWL_STYLE) | TVS_CHECKBOXES);
}

HTREEITEM InsertTicked(CTreeCtrl& tree, const wchar_t* text, HTREEITEM parent)
{
    TVINSERTSTRUCTW insert = {};
    insert.hParent = parent ? parent : TVI_ROOT;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_STATE;
    insert.item.pszText = const_cast<wchar_t*>(text);
    insert.item.state = INDEXTOSTATEIMAGEMASK(2);
    insert.item.stateMask = TVIS_STATEIMAGEMASK;
    return tree.InsertItem(&insert);
}

HTREEITEM CheckBoxUnderCursor(const CTreeCtrl& tree)
{
    POINT cursor;
    if (!::GetCursorPos(&cursor)) return nullptr;
    ::ScreenToClient(tree.GetSafeHwnd(), &cursor);
    UINT flags = 0;
    HTREEITEM item = tree.HitTest(CPoint(cursor), &flags);
    return item && (flags & TVHT_ONITEMSTATEICON) ? item : nullptr;
}

void ApplyCheckToDescendants(CTreeCtrl& tree, HTREEITEM item)
{
    const BOOL checked = tree.GetCheck(item) == 1;
    ForEachDescendant(tree, item, [&](HTREEITEM child) { tree.SetCheck(child, checked); });
}

}  // namespace EvidencePage
