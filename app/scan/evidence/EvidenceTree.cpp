#include "EvidenceTree.h"

#include <algorithm>
#include <iterator>

#include "Dictionary.h"

namespace EvidencePage {

namespace {
std::wstring Translate(const wchar_t* key) { return static_cast<const wchar_t*>(nsVendrel::TranslateCode(key)); }
}  // namespace

void TreeLabels::Load()
{
    root = Translate(RootKey());
    for (int group = 0; group < kGroupCount; ++group) groups[group] = Translate(GroupAt(group).key);
    for (int category = 0; category < kCategoryCount; ++category)
        categories[category] = Translate(CategoryKey(category));
}

void TreeNodes::Clear() { *this = TreeNodes(); }

bool TreeNodes::Holds(HTREEITEM item) const
{
    return item && (item == root || std::find(std::begin(groups), std::end(groups), item) != std::end(groups) ||
                    std::find(std::begin(categories), std::end(categories), item) != std::end(categories));
}

void CreateTraceTree(CFunctionDlg& page, CTreeCtrl& tree, const CRect& rect, UINT id)
{
    tree.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | TVS_FULLROWSELECT | TVS_HASLINES | TVS_HASBUTTONS |
                    TVS_LINESATROOT | TVS_SHOWSELALWAYS,
                rect, &page, id);
    // Check boxes are switched on after creation, before the first item, as the tree control wants it: set at
    // creation, they may get no room until the tree first paints.
    const HWND wnd = tree.GetSafeHwnd();
    ::SetWindowLongW(wnd, GWL_STYLE, ::GetWindowLongW(wnd, GWL_STYLE) | TVS_CHECKBOXES);
    page.m_bShowPanel = true;
    page.m_nPanelCount = 1;
    page.m_rcPanel[0] = RECT{rect.left - 5, rect.top - 5, rect.right + 5, rect.bottom + 5};
}

void ShowCounts(CTreeCtrl& tree, const TreeLabels& labels, const TreeNodes& nodes, const int (&counts)[kCategoryCount])
{
    int total = 0;
    for (int group = 0; group < kGroupCount; ++group) {
        int groupCount = 0;
        for (int category = GroupAt(group).first; category <= GroupAt(group).last; ++category) {
            groupCount += counts[category];
            if (nodes.categories[category])
                tree.SetItemText(nodes.categories[category],
                                 LabelWithCount(labels.categories[category], counts[category]).c_str());
        }
        if (nodes.groups[group])
            tree.SetItemText(nodes.groups[group], LabelWithCount(labels.groups[group], groupCount).c_str());
        total += groupCount;
    }
    if (nodes.root) tree.SetItemText(nodes.root, LabelWithCount(labels.root, total).c_str());
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
