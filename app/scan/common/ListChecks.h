// Check boxes of the scan pages' report lists (LVS_EX_CHECKBOXES).
#pragma once

#include <QMfc.h>

#include <vector>

namespace ScanPages {

// Puts every row's check mark in the given state.
void SetAllChecks(CListCtrl& list, bool checked);
// The rows whose check mark is set, top to bottom.
std::vector<int> CheckedRows(const CListCtrl& list);
// True when the row's check mark is set (a row without a check box counts as unchecked).
bool IsRowChecked(const CListCtrl& list, int row);

}  // namespace ScanPages
