// Check boxes of the privacy-trace trees: a click on an item's box gives every item below it the state the
// click gave the item itself.
#pragma once

#include <QMfc.h>

namespace EvidencePage {

// Gives an empty tree its check boxes. The style is set after creation, before the first item, as the tree
// control wants it: set at creation, the boxes may get no room until the tree first paints.
void EnableCheckBoxes(CTreeCtrl& tree);
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
