// CSysOpFastOptDlg: a placeholder page of the optimisation group (no button of the group's home page leads to it):
// a button and a list that gains sample rows each time the page is shown.
#pragma once

#include "FunctionDlg.h"
#include "ImageButton.h"

class CSysOpFastOptDlg : public CFunctionDlg {
public:
    enum { IDC_OPTIMIZE = 27001, IDC_LIST = 27002 };
    void OnInitPage() override;
    void OnShowPage() override;
    void OnOptimize();
    CListCtrl& List() { return m_list; }

protected:
    DECLARE_MESSAGE_MAP()

    CGeneralImageButton m_optimize;
    CListCtrl m_list;
};
