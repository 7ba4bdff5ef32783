// CBackupFolderDlg: the folder backup page of the page frame: two tabs, backup and restore, each a sub-page.
#pragma once

#include "FunctionDlg.h"
#include "TabButton.h"

class CBackupFolderBackupDlg;
class CBackupFolderRestoreDlg;

class CBackupFolderDlg : public CFunctionDlg {
public:
    enum { IDC_TAB_BACKUP = 65003, IDC_TAB_RESTORE = 65004, kBackupKey = 65001, kRestoreKey = 65002 };

    CBackupFolderDlg();
    ~CBackupFolderDlg() override;

    void OnInitPage() override;
    void OnShowPage() override;

    CBackupFolderBackupDlg* BackupTab() const { return m_pBackup; }
    CBackupFolderRestoreDlg* RestoreTab() const { return m_pRestore; }

protected:
    void OnTabBackup();
    void OnTabRestore();
    DECLARE_MESSAGE_MAP()

private:
    void Select(int key);

    CTabButton m_tabBackup, m_tabRestore;
    CBackupFolderBackupDlg* m_pBackup;
    CBackupFolderRestoreDlg* m_pRestore;
};
