// CBackupSysRestoreDlg: lists the system's restore points and creates, rolls back to (offering a restart) and
// removes one through Coldrith's System Restore front. CBackupSysRestoreNameDlg asks for a new point's
// description.
#pragma once

#include <vector>

#include "FunctionDlg.h"
#include "ImageButton.h"
#include "SystemBackup.h"

class CBackupSysRestoreNameDlg : public CFunctionDlg {
public:
    enum { IDD = 63008, IDC_NAME = 63007 };
    CBackupSysRestoreNameDlg(CWnd* parent = nullptr) : CFunctionDlg(IDD, parent) {}

    void OnOK() override;
    // Cancel, Escape and the close box end the dialog (a page's OnCancel does nothing).
    void OnCancel() override { EndDialog(IDCANCEL); }

    CString m_strName;
};

class CBackupSysRestoreDlg : public CFunctionDlg {
public:
    enum {
        IDC_DESCRIPTION = 63001,
        IDC_LIST = 63002,
        IDC_REFRESH = 63003,
        IDC_CREATE = 63004,
        IDC_ROLLBACK = 63005,
        IDC_REMOVE = 63006,
        IDC_RESULT = 63009
    };

    void OnInitPage() override;
    void OnShowPage() override;

protected:
    void OnRefresh();
    void OnCreate();
    void OnRollBack();
    void OnRemove();
    DECLARE_MESSAGE_MAP()

private:
    void FillList();
    void EnableButtons(bool enable);
    // The sequence number of the selected row's point, or -1 (the hint shown when nothing is selected).
    int SelectedSequence(bool& selected);
    void OfferRestart();

    CStatic m_description;
    CListCtrl m_list;
    CGeneralImageButton m_refresh, m_create, m_rollBack, m_remove;
    CStatic m_result;
    Coldrith::CSystemBackup m_system;
    std::vector<Coldrith::CSystemBackup::RestorePointItem> m_points;
};
