#include "BackupFavoriteDlg.h"

#include <Common.h>
#include <SystemFolders.h>

#include "BackupPageLogic.h"
#include "BackupPageParts.h"
#include "Dictionary.h"
#include "PageFactory.h"

using nsVendrel::TranslateCode;

QUORVEL_REGISTER_PAGE(PAGE_ID_BACKUP_FAVORITES, CBackupFavoriteDlg);

namespace {
enum { kFavoriteImage = 0, kFolderImage = 1 };
}

BEGIN_MESSAGE_MAP(CBackupFavoriteDlg, CFunctionDlg)
    ON_BN_CLICKED(CBackupFavoriteDlg::IDC_REFRESH, &CBackupFavoriteDlg::OnRefresh)
    ON_BN_CLICKED(CBackupFavoriteDlg::IDC_BACKUP, &CBackupFavoriteDlg::OnBackup)
    ON_BN_CLICKED(CBackupFavoriteDlg::IDC_RESTORE, &CBackupFavoriteDlg::OnRestore)
END_MESSAGE_MAP()

std::wstring CBackupFavoriteDlg::BackupFolder() { return SBGetAppPathW() + L"FavoritesBackup"; }

void CBackupFavoriteDlg::OnInitPage()
{
    m_description.Create(TranslateCode(L"IDS_BACKUP_FAVORITE_DESCRIPTION"), WS_CHILD | WS_VISIBLE | SS_LEFT,
                         CRect(20, 12, 710, 48), this, IDC_DESCRIPTION);
    m_tree.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT |
                      TVS_SHOWSELALWAYS,
                  CRect(20, 52, 710, 400), this, IDC_TREE);
    m_images.Create(408, 16, 0, RGB(255, 255, 255));
    m_tree.SetImageList(&m_images, TVSIL_NORMAL);
    m_result.Create(L"", WS_CHILD | WS_VISIBLE | SS_LEFT, CRect(20, 410, 710, 440), this, IDC_RESULT);
    CreateButton(m_refresh, L"IDS_BACKUP_FAVORITE_BTN_REFRESH", IDC_REFRESH, BackupPages::PageButtonRect(310, 450));
    CreateButton(m_backup, L"IDS_BACKUP_FAVORITE_BTN_BACKUP", IDC_BACKUP, BackupPages::PageButtonRect(448, 450));
    CreateButton(m_restore, L"IDS_BACKUP_FAVORITE_BTN_RESTORE", IDC_RESTORE, BackupPages::PageButtonRect(586, 450));
}

void CBackupFavoriteDlg::OnShowPage()
{
    CFunctionDlg::OnShowPage();
    m_strFolder = m_favorites.GetFavoritesFolderPath();
    FillTree();
}

void CBackupFavoriteDlg::FillTree()
{
    m_tree.DeleteAllItems();
    HTREEITEM root = m_tree.InsertItem(TranslateCode(L"IDS_BACKUP_FAVORITEBACK_FAVORITE"), kFolderImage, kFolderImage);
    if (!m_strFolder.empty()) AddFolder(m_strFolder, root);
    m_tree.Expand(root, TVE_EXPAND);
}

void CBackupFavoriteDlg::AddFolder(const std::wstring& folder, HTREEITEM parent)
{
    std::wstring base = folder;
    if (!base.empty() && base.back() == L'\\') base.pop_back();
    for (const auto& entry : BackupPages::ShownEntries(base)) {
        if (entry.isFolder) {
            HTREEITEM item = m_tree.InsertItem(entry.name.c_str(), kFolderImage, kFolderImage, parent);
            // A linked folder may lead back up the tree: shown, not entered (the copy leaves it out too).
            if (!entry.isLink) AddFolder(base + L"\\" + entry.name, item);
        } else {
            std::wstring shown = BackupPages::FavoriteDisplayName(entry.name);
            m_tree.InsertItem(shown.c_str(), kFavoriteImage, kFavoriteImage, parent);
        }
    }
}

void CBackupFavoriteDlg::OnRefresh() { FillTree(); }

const wchar_t* CBackupFavoriteDlg::RefusedFolderKey() const
{
    if (m_strFolder.empty()) return L"IDS_BACKUP_FAVORITE_NOFOLDER";
    // Favorites pointed at the system's own folders: nothing is copied into or out of them.
    if (Coldrith::IsSystemOwnedFolder(m_strFolder)) return L"IDS_BACKUP_FAVORITE_SYSTEMFOLDER";
    return nullptr;
}

void CBackupFavoriteDlg::OnBackup()
{
    const wchar_t* key = RefusedFolderKey();
    if (!key) {
        CWaitCursor wait;
        key = m_favorites.BackupFavoriteFiles(BackupFolder()) ? L"IDS_BACKUP_FAVORATEBACKUP_SUC"
                                                              : L"IDS_BACKUP_FAVORITE_BACKFAIL";
    }
    BackupPages::SetResultText(m_result, TranslateCode(key));
    BackupPages::ShowMessage(key);
}

void CBackupFavoriteDlg::OnRestore()
{
    const wchar_t* key = RefusedFolderKey();
    if (!key && !SBIsFileExistW(BackupFolder().c_str())) key = L"IDS_BACKUP_FAVORITE_NOBACKUP";
    if (!key) {
        CWaitCursor wait;
        key = m_favorites.RestoreFavoriteFiles(BackupFolder()) ? L"IDS_BACKUP_FAVORATEBACKUP_BACKSUC"
                                                               : L"IDS_BACKUP_FAVORITE_RESTOREFAIL";
        FillTree();
    }
    BackupPages::SetResultText(m_result, TranslateCode(key));
    BackupPages::ShowMessage(key);
}
