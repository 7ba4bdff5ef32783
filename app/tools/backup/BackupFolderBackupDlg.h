// CBackupFolderBackupDlg: the backup tab of the folder page. Sources are picked in a drive tree, then the
// archive's name, its folder and the compression; Coldrith's folder backup writes "<folder>\<name>.fbk" on its
// worker while the bar follows it.
#pragma once

#include <string>
#include <vector>

#include "FileBackup.h"
#include "FunctionDlg.h"
#include "ImageButton.h"
#include "controls/ProgressCtrlEx.h"

class CBackupFolderBackupDlg : public CFunctionDlg {
public:
    enum {
        IDC_TREE = 65105,
        IDC_SOURCES = 65106,
        IDC_ADD = 65108,
        IDC_REMOVE = 65109,
        IDC_NAME = 65112,
        IDC_FOLDER = 65113,
        IDC_BROWSE = 65114,
        IDC_SPEED = 65115,
        IDC_BACKUP = 65116,
        IDC_PROGRESS = 65117,
        IDC_RESULT = 65118
    };

    void OnInitPage() override;
    bool IsRunning() const { return m_bRunning; }
    // The sources as listed.
    std::vector<std::wstring> Sources() const;

protected:
    void OnAdd();
    void OnRemove();
    void OnBrowse();
    void OnBackup();
    void OnItemExpanding(NMHDR* header, LRESULT* result);
    LRESULT OnBackupProgress(WPARAM wParam, LPARAM lParam);
    LRESULT OnBackupDone(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    void FillDrives();
    // Lists the folder's entries below the item; sub-folders get an expand button and are listed when opened.
    void ListFolder(HTREEITEM item, const std::wstring& folder);
    std::wstring ItemPath(HTREEITEM item) const;
    void EndRun();

    CTreeCtrl m_tree;
    CListBox m_sources;
    CGeneralImageButton m_add, m_remove, m_browse, m_start;
    CEdit m_name, m_folder;
    CComboBox m_speed;
    CProgressCtrlEx m_progress;
    CStatic m_texts[7];
    CStatic m_result;
    Coldrith::CFileBackup m_backup;
    bool m_bRunning = false;
};
