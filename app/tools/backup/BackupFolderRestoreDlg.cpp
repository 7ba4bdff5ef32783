#include "BackupFolderRestoreDlg.h"

#include <Common.h>

#include <vector>

#include "BackupPageLogic.h"
#include "BackupPageParts.h"
#include "Dictionary.h"
#include "MainWindowBusy.h"

using nsVendrel::TranslateCode;

namespace {
const wchar_t* const kTextKeys[5] = {
    L"IDS_BACKUP_FOLDER_RESTORE_TIP",         L"IDS_BACKUP_FOLDER_RESTORE_STEP1_GROUP",
    L"IDS_BACKUP_FOLDER_RESTORE_TIP_FILE",    L"IDS_BACKUP_FOLDER_RESTORE_TIP_CONTENT",
    L"IDS_BACKUP_FOLDER_RESTORE_STEP2_GROUP",
};
const RECT kTextRects[5] = {
    {20, 0, 710, 18}, {20, 22, 710, 40}, {20, 48, 150, 66}, {20, 92, 710, 110}, {20, 300, 710, 318},
};
}  // namespace

BEGIN_MESSAGE_MAP(CBackupFolderRestoreDlg, CFunctionDlg)
    ON_BN_CLICKED(CBackupFolderRestoreDlg::IDC_OPEN, &CBackupFolderRestoreDlg::OnOpen)
    ON_BN_CLICKED(CBackupFolderRestoreDlg::IDC_BROWSE, &CBackupFolderRestoreDlg::OnBrowse)
    ON_BN_CLICKED(CBackupFolderRestoreDlg::IDC_RESTORE, &CBackupFolderRestoreDlg::OnRestore)
    ON_MESSAGE(WM_FILERESTORE_PROGRESS, &CBackupFolderRestoreDlg::OnRestoreProgress)
    ON_MESSAGE(WM_FILERESTORE_DONE, &CBackupFolderRestoreDlg::OnRestoreDone)
END_MESSAGE_MAP()

void CBackupFolderRestoreDlg::OnInitPage()
{
    for (int i = 0; i < 5; ++i)
        m_texts[i].Create(TranslateCode(kTextKeys[i]), WS_CHILD | WS_VISIBLE | SS_LEFT, kTextRects[i], this);
    CreateEdit(m_archive, IDC_ARCHIVE, CRect(150, 46, 570, 68), ES_AUTOHSCROLL | ES_READONLY);
    CreateButton(m_open, L"IDS_BACKUP_FOLDER_RESTORE_BTN_BRWOSE", IDC_OPEN, BackupPages::PageButtonRect(586, 37));
    CreateList(m_list, IDC_LIST, CRect(20, 112, 710, 292), LVS_SHOWSELALWAYS, LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    m_list.InsertColumn(0, TranslateCode(L"IDS_BACKUP_FOLDER_RESTORE_LIST_COL1"), LVCFMT_LEFT, 300);
    m_list.InsertColumn(1, TranslateCode(L"IDS_BACKUP_FOLDER_RESTORE_LIST_COL2"), LVCFMT_LEFT, 80);
    m_list.InsertColumn(2, TranslateCode(L"IDS_BACKUP_FOLDER_RESTORE_LIST_COL3"), LVCFMT_RIGHT, 110);
    m_list.InsertColumn(3, TranslateCode(L"IDS_BACKUP_FOLDER_RESTORE_LIST_COL4"), LVCFMT_LEFT, 190);
    CreateEdit(m_target, IDC_TARGET, CRect(20, 330, 570, 352), ES_AUTOHSCROLL);
    CreateButton(m_browse, L"IDS_BACKUP_FOLDER_BACKUP_STEP2_BUTTON_BROWSE", IDC_BROWSE,
                 BackupPages::PageButtonRect(586, 321));
    // The edits and the list are in the dialog's font.
    for (CWnd* w : {static_cast<CWnd*>(&m_archive), static_cast<CWnd*>(&m_target), static_cast<CWnd*>(&m_list)})
        w->SetFont(GetFont());
    m_progress.Create(WS_CHILD | WS_VISIBLE, CRect(20, 404, 570, 422), this, IDC_PROGRESS);
    m_progress.SetRange32(0, 100);
    m_result.Create(L"", WS_CHILD | WS_VISIBLE | SS_LEFT, CRect(20, 426, 570, 456), this, IDC_RESULT);
    CreateButton(m_restore, L"IDS_BACKUP_FOLDER_RESTORE_BTN_RESTORE", IDC_RESTORE,
                 BackupPages::PageButtonRect(586, 392));
    m_restoreJob.SetParentWnd(GetSafeHwnd());
}

bool CBackupFolderRestoreDlg::OpenArchive(const std::wstring& path)
{
    m_list.DeleteAllItems();
    m_archive.SetWindowText(path.c_str());
    std::vector<Coldrith::CFileRestore::ZipItem> items;
    m_entryPaths.clear();
    m_bOpened = m_restoreJob.OpenZipFile(path, items);
    if (!m_bOpened) {
        BackupPages::ShowMessage(L"IDS_BACKUP_FOLDERRESTORE_OPENFAIL");
        return false;
    }
    CString yes = TranslateCode(L"IDS_BACKUP_FOLDERRESTORE_YES"), no = TranslateCode(L"IDS_BACKUP_FOLDERRESTORE_NO");
    for (const auto& item : items) {
        int row = m_list.InsertItem(m_list.GetItemCount(), item.name.c_str());
        m_list.SetItemText(row, 1, item.isDirectory ? yes : no);
        m_list.SetItemText(row, 2, std::to_wstring(item.size).c_str());
        m_list.SetItemText(row, 3, item.time.c_str());
        m_entryPaths.push_back(item.path);
    }
    return true;
}

void CBackupFolderRestoreDlg::OnOpen()
{
    CFileDialog dialog(TRUE, L"fbk", nullptr, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST,
                       L"fbk Files (*.fbk)|*.fbk|All Files (*.*)|*.*||", this);
    if (dialog.DoModal() != IDOK) return;
    OpenArchive(static_cast<LPCWSTR>(dialog.GetPathName()));
}

void CBackupFolderRestoreDlg::OnBrowse() { BackupPages::ChooseFolderInto(m_target); }

void CBackupFolderRestoreDlg::OnRestore()
{
    if (m_bRunning) return;
    CString targetText;
    m_target.GetWindowText(targetText);
    std::wstring target = static_cast<LPCWSTR>(targetText);
    while (target.size() > 3 && target.back() == L'\\') target.pop_back();
    const wchar_t* refusal = nullptr;
    if (!m_bOpened)
        refusal = L"IDS_BACKUP_FOLDERRESTORE_NOARCHIVE";
    else if (target.empty())
        refusal = L"IDS_BACKUP_FOLDERRESTORE_PATHEMPTY";
    else if (!SBRecursiveCreateDirectoryW(target.c_str()))
        refusal = L"IDS_BACKUP_FOLDERBACK_PATHILEGLE";
    else {
        // Nothing a restore started here overwrites: a target already holding any entry's path is refused.
        std::wstring base = target.back() == L'\\' ? target : target + L"\\";
        for (const auto& path : m_entryPaths)
            if (!path.empty() && SBIsFileExistInSystemW((base + path).c_str())) {
                refusal = L"IDS_BACKUP_FOLDERRESTORE_EXIST";
                break;
            }
    }
    if (refusal) {
        BackupPages::ShowMessage(refusal);
        return;
    }
    m_bRunning = true;
    m_restore.EnableWindow(FALSE);
    SetMainWindowBusy(true);
    EnableWindow(FALSE);
    m_progress.SetPos(0);
    BackupPages::SetResultText(m_result, L"");
    if (!m_restoreJob.UnZipFile(target)) {
        EndRun();
        BackupPages::ShowMessage(L"IDS_BACKUP_FOLDERRESTORE_FAIL");
    }
}

LRESULT CBackupFolderRestoreDlg::OnRestoreProgress(WPARAM wParam, LPARAM)
{
    int percent = static_cast<int>(wParam / 100);
    m_progress.SetPos(percent > 100 ? 100 : percent);
    return 0;
}

void CBackupFolderRestoreDlg::EndRun()
{
    m_bRunning = false;
    m_restore.EnableWindow(TRUE);
    SetMainWindowBusy(false);
    EnableWindow(TRUE);
}

LRESULT CBackupFolderRestoreDlg::OnRestoreDone(WPARAM, LPARAM lParam)
{
    EndRun();
    m_progress.SetPos(100);
    m_archive.SetWindowText(L"");
    m_target.SetWindowText(L"");
    m_list.DeleteAllItems();
    m_entryPaths.clear();
    m_bOpened = false;
    if (lParam == 0) {
        BackupPages::SetResultText(m_result, TranslateCode(L"IDS_BACKUP_FOLDERBACK_SUCRESOTRE"));
        BackupPages::ShowMessage(L"IDS_BACKUP_FOLDERBACK_SUCRESOTRE");
        return 0;
    }
    // What was skipped and why: duplicate names, names Windows cannot take, damaged data.
    BackupPages::SetResultText(m_result, TranslateCode(L"IDS_BACKUP_FOLDERRESTORE_FAIL"));
    BackupPages::ShowMessage(L"IDS_BACKUP_FOLDERRESTORE_FAIL",
                             BackupPages::SummarizeLines(m_restoreJob.GetRunErrors(), 20).c_str());
    return 0;
}
