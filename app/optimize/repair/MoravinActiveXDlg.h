// CMoravinActiveXDlg: the DLL re-registration page. It lists the DLLs of the system folder and re-registers them
// all with the repair library, a few at a time; each row shows its own result and the bar the share done.
#pragma once

#include <Moravin/RegisterDll.h>

#include "RepairPage.h"
#include "controls/ProgressCtrlEx.h"

class CMoravinActiveXDlg : public CRepairPage {
public:
    enum {
        IDC_DESCRIPTION = 43001,
        IDC_DLL_LIST = 43002,
        IDC_REGISTER = 43003,
        IDC_STOP = 43004,
        IDC_PROGRESS = 43005,
    };

    void OnInitPage() override;

protected:
    void OnRegister();
    void OnStop();
    LRESULT OnItemDone(WPARAM wParam, LPARAM lParam);
    LRESULT OnRunDone(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    // The row of the DLL with this path (in any letter case), or -1.
    int RowOf(const std::wstring& path);

    CListCtrl m_list;
    CProgressCtrlEx m_progress;
    Moravin::CRegisterDll m_registration;
    CStatic m_description;
    CGeneralImageButton m_register;
    CGeneralImageButton m_stop;
    // Registrations reported in the current run.
    int m_nDone = 0;
};
