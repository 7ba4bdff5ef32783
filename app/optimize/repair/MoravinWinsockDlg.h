// CMoravinWinsockDlg: the Winsock page. It lists the Windows Sockets catalog as it was when the page was made and,
// when the user agrees, resets the catalog and restarts the computer.
#pragma once

#include <Moravin/WinsockRepaire.h>

#include "RepairPage.h"

class CMoravinWinsockDlg : public CRepairPage {
public:
    enum { IDC_DESCRIPTION = 46001, IDC_CATALOG_LIST = 46002, IDC_REPAIR = 46003 };

    void OnInitPage() override;

protected:
    void OnRepair();
    void OnJobDone(WPARAM reset) override;
    DECLARE_MESSAGE_MAP()

private:
    CListCtrl m_list;
    Moravin::CWinsockRepaire m_winsock;
    CStatic m_description;
    CGeneralImageButton m_repair;
};
