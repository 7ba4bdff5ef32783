#include "ListChecks.h"

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

}  // namespace ScanPages
