// CMoravinErrUtilDlg: the error utility page. It lists sixteen known Windows faults, shows what the selected one
// repairs, and runs the fixed repair of every checked fault (row n is repair n) on a worker thread.
#pragma once

#include <Moravin/ErrorUtility.h>

#include "RepairPage.h"

class CMoravinErrUtilDlg : public CRepairPage {
public:
    enum {
        IDC_INTRO = 44001,
        IDC_FAULT_LIST = 44002,
        IDC_DESCRIPTION_GROUP = 44003,
        IDC_DESCRIPTION = 44004,
        IDC_SELECT_ALL = 44005,
        IDC_REPAIR = 44006,
    };

    void OnInitPage() override;
    // Rebuilds the list, every row unchecked.
    void OnShowPage() override;

protected:
    void OnSelectAll();
    void OnRepair();
    void OnFaultChanged(NMHDR* pNMHDR, LRESULT* pResult);
    void OnJobDone(WPARAM failedRepairs) override;
    DECLARE_MESSAGE_MAP()

private:
    void EnableInput(BOOL enable);

    CListCtrl m_list;
    CStatic m_description;
    Moravin::CErrorUtility m_utility;
    CStringArray m_descriptions;
    CStatic m_intro;
    CButton m_group;
    CButton m_selectAll;
    CGeneralImageButton m_repair;
};
