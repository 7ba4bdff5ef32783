// CMoravinPrinterDlg: the printer spooler page: one click sets the print spooler to start with Windows and starts
// it. The two system programs run beside the window, which keeps painting meanwhile.
#pragma once

#include "RepairPage.h"

class CMoravinPrinterDlg : public CRepairPage {
public:
    enum { IDC_DESCRIPTION = 47001, IDC_REPAIR = 47002 };

    void OnInitPage() override;

protected:
    void OnRepair();
    void OnJobDone(WPARAM repaired) override;
    DECLARE_MESSAGE_MAP()

private:
    CStatic m_description;
    CGeneralImageButton m_repair;
};
