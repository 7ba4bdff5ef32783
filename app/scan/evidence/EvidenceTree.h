// What both trees of the privacy-trace page share: their creation with check boxes, the labels of root, groups
// and categories with their counts, and check boxes where a click on an item's box gives every item below it
// the state the click gave the item itself.
#pragma once

#include <QMfc.h>

#include <string>

#include "EvidenceCatalog.h"
#include "FunctionDlg.h"

namespace EvidencePage {

// The labels of root, groups and categories in the loaded language.
struct TreeLabels {
    std::wstring root;
    std::wstring groups[kGroupCount];
    std::wstring categories[kCategoryCount];
    void Load();
};

// The items a tree holds for root, groups and categories (null where it has none).
struct TreeNodes {
    HTREEITEM root = nullptr;
    HTREEITEM groups[kGroupCount] = {};
    HTREEITEM categories[kCategoryCount] = {};
    void Clear();
    bool Holds(HTREEITEM item) const;
};

// Creates the page's tree over the rectangle, with check boxes, framed by the page's panel.
void CreateTraceTree(CFunctionDlg& page, CTreeCtrl& tree, const CRect& rect, UINT id);
// Writes each node's label with its count: a category its own, a group and the root the sums below them.
void ShowCounts(CTreeCtrl& tree, const TreeLabels& labels, const TreeNodes& nodes, const int (&counts)[kCategoryCount]);

// Inserts a ticked item as the parent's last child (root when parent is null). The state is given with the insert,
// so the tree lays the item out with its check box from the start.
HTREEITEM InsertTicked(CTreeCtrl& tree, const wchar_t* text, HTREEITEM parent = nullptr);
// The item whose check box lies under the cursor, or null.
HTREEITEM CheckBoxUnderCursor(const CTreeCtrl& tree);
// Every descendant of the item takes the item's check state.
void ApplyCheckToDescendants(CTreeCtrl& tree, HTREEITEM item);
// Calls fn(item) for every descendant of the item, depth first.
template <class Fn>
void ForEachDescendant(const CTreeCtrl& tree, HTREEITEM item, Fn&& fn)
{
    for (HTREEITEM child = tree.GetChildItem(item); child; child = tree.GetNextSiblingItem(child)) {
        fn(child);
        ForEachDescendant(tree, child, fn);
    }
}

}  // namespace EvidencePage
