// The report lists of the browser page's tabs: a check box per row, rows built from record texts with the last
// record on top, and the records of the checked rows read back through the rows' item data.
#pragma once

#include <QMfc.h>

#include <vector>

#include "BrowserPageLogic.h"

namespace BrowserPage {

// Empties the list and inserts each record's row at the top, so the last record is row 0; a row's item data is
// its record's index.
void FillRows(CListCtrl& list, const std::vector<RowTexts>& rows);
// The record indexes of the checked rows, from the first row to the last.
std::vector<size_t> CheckedRecords(const CListCtrl& list);
void CheckAllRows(CListCtrl& list, bool check);

}  // namespace BrowserPage
