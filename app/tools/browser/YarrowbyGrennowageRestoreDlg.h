// Restore tab of the browser page: the twenty settings of the restore table with their current and default
// texts, select all, and restore for the checked rows.
#pragma once

#include "ImageButton.h"
#include "YarrowbyGrennowageTabDlg.h"

class CYarrowbyGrennowageRestoreDlg : public CYarrowbyGrennowageTabDlg {
public:
    enum { IDC_LIST = 52501, IDC_SELECT_ALL = 52502, IDC_RESTORE = 52503 };

    void OnInitPage() override;
    void Refresh() override;

protected:
    void OnSelectAll();
    void OnRestore();
    DECLARE_MESSAGE_MAP()

    CListCtrl m_list;
    CButton m_selectAll;
    CGeneralImageButton m_restore;
};
