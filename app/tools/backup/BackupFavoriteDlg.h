// CBackupFavoriteDlg: the user's browser Favorites as a tree, copied into the folder "FavoritesBackup" beside the
// program and back through Coldrith's Favorites copy.
#pragma once

#include <string>

#include "FavoriteBackup.h"
#include "FunctionDlg.h"
#include "ImageButton.h"

class CBackupFavoriteDlg : public CFunctionDlg {
public:
    enum {
        IDC_TREE = 64001,
        IDC_REFRESH = 64002,
        IDC_BACKUP = 64003,
        IDC_RESTORE = 64004,
        IDC_RESULT = 64005,
        IDC_DESCRIPTION = 64006
    };

    void OnInitPage() override;
    void OnShowPage() override;

    // "<program folder>FavoritesBackup".
    static std::wstring BackupFolder();

protected:
    void OnRefresh();
    void OnBackup();
    void OnRestore();
    void FillTree();
    void AddFolder(const std::wstring& folder, HTREEITEM parent);
    // The message key for a Favorites folder that cannot be backed up or restored, or null.
    const wchar_t* RefusedFolderKey() const;
    DECLARE_MESSAGE_MAP()

private:
    CStatic m_description;
    CTreeCtrl m_tree;
    CImageList m_images;
    CGeneralImageButton m_refresh, m_backup, m_restore;
    CStatic m_result;
    Coldrith::CFavoriteBackup m_favorites;
    std::wstring m_strFolder;
};
