// CBackupFolderRestoreDlg: the restore tab of the folder page. An archive is opened and its entries listed, a
// target folder chosen, and Coldrith's folder restore unpacks it there on its worker; what it skipped, and why,
// is shown when it ends.
#pragma once

#include <string>
#include <vector>

#include "FileRestore.h"
#include "FunctionDlg.h"
#include "ImageButton.h"
#include "controls/ProgressCtrlEx.h"

class CBackupFolderRestoreDlg : public CFunctionDlg {
public:
    enum {
        IDC_ARCHIVE = 65205,
        IDC_OPEN = 65206,
        IDC_LIST = 65208,
        IDC_TARGET = 65209,
        IDC_BROWSE = 65210,
        IDC_PROGRESS = 65211,
        IDC_RESTORE = 65212,
        IDC_RESULT = 65213
    };

    void OnInitPage() override;
    bool IsRunning() const { return m_bRunning; }
    // Lists the archive (what the open command does once a file is chosen); false when it cannot be read.
    bool OpenArchive(const std::wstring& path);

protected:
    void OnOpen();
    void OnBrowse();
    void OnRestore();
    LRESULT OnRestoreProgress(WPARAM wParam, LPARAM lParam);
    LRESULT OnRestoreDone(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    void EndRun();

    CEdit m_archive, m_target;
    CGeneralImageButton m_open, m_browse, m_restore;
    CListCtrl m_list;
    CProgressCtrlEx m_progress;
    CStatic m_texts[5];
    CStatic m_result;
    Coldrith::CFileRestore m_restoreJob;
    bool m_bOpened = false;
    // Where each listed entry is restored below the target (the rows show only the last name).
    std::vector<std::wstring> m_entryPaths;
    bool m_bRunning = false;
};
