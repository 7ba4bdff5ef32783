#include "ListChecks.h"

#include "RepairActions.h"

namespace ScanPages {

bool IsRowChecked(const CListCtrl& list, int row)
{
    return ((list.GetItemState(row, LVIS_STATEIMAGEMASK) >> 12) & 0xF) == 2;
}

void SetAllChecks(CListCtrl& list, bool checked)
{
    const int count = list.GetItemCount();
    for (int row = 0; row < count; ++row) list.SetCheck(row, checked ? TRUE : FALSE);
}

void SelectAllFollower::ApplyBox(CListCtrl& list, CButton& selectAll)
{
    m_bApplying = true;
    SetAllChecks(list, selectAll.GetCheck() == BST_CHECKED);
    m_bApplying = false;
    Refresh(list, selectAll);
}

void SelectAllFollower::OnItemChanged(const NMHDR* hdr, const CListCtrl& list, CButton& selectAll) const
{
    const NMLISTVIEW* change = reinterpret_cast<const NMLISTVIEW*>(hdr);
    if (m_bApplying || !(change->uChanged & LVIF_STATE)) return;
    if (!((change->uNewState ^ change->uOldState) & LVIS_STATEIMAGEMASK)) return;
    const bool ticked = ((change->uNewState & LVIS_STATEIMAGEMASK) >> 12) == 2;
    // An untick clears the box at once; a tick can complete the set only when the box is clear.
    if (!ticked) {
        if (selectAll.GetCheck() != BST_UNCHECKED) selectAll.SetCheck(BST_UNCHECKED);
    } else if (selectAll.GetCheck() != BST_CHECKED) {
        Refresh(list, selectAll);
    }
}

void SelectAllFollower::Refresh(const CListCtrl& list, CButton& selectAll)
{
    const int count = list.GetItemCount();
    bool all = count > 0;
    for (int row = 0; row < count && all; ++row) all = IsRowChecked(list, row);
    selectAll.SetCheck(all ? BST_CHECKED : BST_UNCHECKED);
}

std::vector<int> CheckedRows(const CListCtrl& list)
{
    std::vector<int> rows;
    const int count = list.GetItemCount();
    for (int row = 0; row < count; ++row)
        if (IsRowChecked(list, row)) rows.push_back(row);
    return rows;
}

RemovalOutcome RemoveTickedFiles(CListCtrl& list, const std::function<const std::wstring*(int row)>& pathOf,
                                 int noteColumn, const wchar_t* note)
{
    RemovalOutcome outcome;
    const std::vector<int> rows = CheckedRows(list);
    outcome.ticked = int(rows.size());
    if (rows.empty()) return outcome;
    CWaitCursor wait;
    list.SetRedraw(FALSE);
    // From the bottom up, so the rows still to visit keep their positions.
    for (auto it = rows.rbegin(); it != rows.rend(); ++it) {
        const std::wstring* path = pathOf(*it);
        if (path && OneClick::RemoveFile(*path)) {
            list.DeleteItem(*it);
        } else {
            list.SetItemText(*it, noteColumn, note);
            ++outcome.failed;
        }
    }
    list.SetRedraw(TRUE);
    list.Invalidate();
    return outcome;
}

}  // namespace ScanPages
