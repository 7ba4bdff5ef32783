// Third step of the shortcut page: the invalid shortcuts of the last scan, all ticked at first; Delete removes
// the ticked ones, Back returns to the drive choice.
#pragma once

#include <vector>

#include "FunctionDlg.h"
#include "ImageButton.h"
#include "InvalidShortcut.h"
#include "ListChecks.h"

class CScanCleanShortcutCleanDlg;

class CScanCleanShortcutCleanStep2 : public CFunctionDlg {
public:
    enum { IDC_TIPS = 11413, IDC_RESULT_LIST = 11414, IDC_BACK = 11415, IDC_DELETE = 11416, IDC_SELECT_ALL = 11417 };

    void SetHost(CScanCleanShortcutCleanDlg* pHost) { m_pHost = pHost; }
    void OnInitPage() override;

    // Replaces the rows by these shortcuts, each one ticked.
    void SetResults(const std::vector<InvalidShortcut>& found);
    CListCtrl& GetList() { return m_list; }
    // The shortcut a row shows (the row's item data indexes the results).
    const InvalidShortcut* RowShortcut(int row) const;

protected:
    void OnBack();
    void OnDelete();
    void OnSelectAll();
    void OnListItemChanged(NMHDR* hdr, LRESULT* result);
    DECLARE_MESSAGE_MAP()

private:
    CScanCleanShortcutCleanDlg* m_pHost = nullptr;
    std::vector<InvalidShortcut> m_results;

    CStatic m_tips;
    CListCtrl m_list;
    CImageList m_icons;
    CButton m_selectAll;
    ScanPages::SelectAllFollower m_selectAllFollower;
};
