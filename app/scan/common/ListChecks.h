// Check boxes of the scan pages' report lists (LVS_EX_CHECKBOXES), and the removal of the files of the ticked rows.
#pragma once

#include <QMfc.h>

#include <functional>
#include <string>
#include <vector>

namespace ScanPages {

// Puts every row's check mark in the given state.
void SetAllChecks(CListCtrl& list, bool checked);

// Keeps a page's "Select All" box ticked exactly while every row of its list is (and the list has rows).
class SelectAllFollower {
public:
    // The box was clicked: every row takes its state.
    void ApplyBox(CListCtrl& list, CButton& selectAll);
    // LVN_ITEMCHANGED of the list: the box follows a row whose check mark changed.
    void OnItemChanged(const NMHDR* hdr, const CListCtrl& list, CButton& selectAll) const;
    // Rows were added or removed.
    static void Refresh(const CListCtrl& list, CButton& selectAll);

private:
    bool m_bApplying = false;
};
// The rows whose check mark is set, top to bottom.
std::vector<int> CheckedRows(const CListCtrl& list);
// True when the row's check mark is set (a row without a check box counts as unchecked).
bool IsRowChecked(const CListCtrl& list, int row);

struct RemovalOutcome {
    int ticked = 0;  // rows that were ticked
    int failed = 0;  // of those, rows whose file is still there
};
// Deletes the file of every ticked row (the path the page keeps for the row, never one read from its cells;
// a path that is not absolute is never deleted). A row whose file is gone is removed; a row whose file is still
// there stays, ticked, with `note` in column `noteColumn`.
RemovalOutcome RemoveTickedFiles(CListCtrl& list, const std::function<const std::wstring*(int row)>& pathOf,
                                 int noteColumn, const wchar_t* note);

}  // namespace ScanPages
