// CBackupRegistryDlg: saves the whole registry into a dated file in "FullBackup" beside the program, lists the
// saved files by date, imports a chosen one back and deletes one. The registry editor runs through Coldrith's
// registry backup on its worker; a timer sweeps the progress bar meanwhile.
#pragma once

#include <string>

#include "FunctionDlg.h"
#include "ImageButton.h"
#include "RegistryBackup.h"
#include "controls/ProgressCtrlEx.h"

class CBackupRegistryDlg : public CFunctionDlg {
public:
    enum {
        IDC_STATE = 62001,
        IDC_LIST = 62002,
        IDC_PROGRESS = 62003,
        IDC_BACKUP = 62004,
        IDC_RESTORE = 62005,
        IDC_REMOVE = 62006,
        IDC_RESULT = 62007
    };
    enum { kTimerId = 1 };

    void OnInitPage() override;
    void OnShowPage() override;
    bool IsRunning() const { return m_runKind != 0; }
    // "<program folder>FullBackup".
    static std::wstring BackupFolder();

protected:
    void OnBackup();
    void OnRestore();
    void OnRemove();
    void OnTimer(UINT_PTR id);
    LRESULT OnRegBackupDone(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    void FillList();
    // The selected row's text, or false (and the hint shown) when none is selected.
    bool SelectedRow(int& row, std::wstring& text);
    void BeginRun(int kind);
    void EndRun();
    void EnableButtons(bool enable);

    CStatic m_state;
    CListCtrl m_list;
    CImageList m_images;
    CProgressCtrlEx m_progress;
    CGeneralImageButton m_backup, m_restore, m_remove;
    CStatic m_result;
    Coldrith::CRegistryBackup m_registry;
    int m_nTimerCounter = 0;
    int m_runKind = 0;  // 0 idle, 1 export, 2 import
};
