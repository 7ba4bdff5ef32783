// CMoravinFileAssocDlg: the file association page. It shows the fourteen associations the repair library checks,
// ticks the broken ones, and writes the expected command back for every ticked row.
#pragma once

#include <Moravin/FileAssociateRepaire.h>

#include "RepairPage.h"

class CMoravinFileAssocDlg : public CRepairPage {
public:
    enum { IDC_DESCRIPTION = 45001, IDC_ASSOC_LIST = 45002, IDC_REFRESH = 45003, IDC_REPAIR = 45004 };

    void OnInitPage() override;
    // Shows the page and checks the associations again.
    void OnShowPage() override;

protected:
    void OnRefresh();
    void OnRepair();
    DECLARE_MESSAGE_MAP()

private:
    void Refresh();

    CListCtrl m_list;
    Moravin::CFileAssociateRepaire m_associations;
    CStatic m_description;
    CGeneralImageButton m_refresh;
    CGeneralImageButton m_repair;
};
