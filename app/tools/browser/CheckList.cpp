#include "CheckList.h"

namespace BrowserPage {

void FillRows(CListCtrl& list, const std::vector<RowTexts>& rows)
{
    list.SetRedraw(FALSE);
    list.DeleteAllItems();
    for (size_t record = 0; record < rows.size(); ++record) {
        const RowTexts& texts = rows[record];
        int row = list.InsertItem(0, texts.empty() ? L"" : texts[0].c_str());
        for (size_t column = 1; column < texts.size(); ++column)
            list.SetItemText(row, int(column), texts[column].c_str());
        list.SetItemData(row, DWORD_PTR(record));
    }
    list.SetRedraw(TRUE);
    list.Invalidate();
}

std::vector<size_t> CheckedRecords(const CListCtrl& list)
{
    std::vector<size_t> records;
    // The count is read again for every row, as the list may change while the rows are walked.
    for (int row = 0; row < list.GetItemCount(); ++row)
        if (list.GetCheck(row) == TRUE) records.push_back(size_t(list.GetItemData(row)));
    return records;
}

void CheckAllRows(CListCtrl& list, bool check)
{
    for (int row = 0; row < list.GetItemCount(); ++row) list.SetCheck(row, check ? TRUE : FALSE);
}

}  // namespace BrowserPage
