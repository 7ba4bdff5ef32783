#include "ListChecks.h"

#include "scan/oneclick/RepairActions.h"

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
