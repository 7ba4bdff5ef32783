#include "BackupRegistryDlg.h"

#include <Common.h>
#include <QPathText.h>

#include <ctime>
#include <vector>

#include "BackupPageLogic.h"
#include "BackupPageParts.h"
#include "Dictionary.h"
#include "MainWindowBusy.h"
#include "PageFactory.h"
#include "TextTranslator.h"

using nsVendrel::TranslateCode;

QUORVEL_REGISTER_PAGE(PAGE_ID_BACKUP_REGISTRY, CBackupRegistryDlg);

BEGIN_MESSAGE_MAP(CBackupRegistryDlg, CFunctionDlg)
    ON_BN_CLICKED(CBackupRegistryDlg::IDC_BACKUP, &CBackupRegistryDlg::OnBackup)
    ON_BN_CLICKED(CBackupRegistryDlg::IDC_RESTORE, &CBackupRegistryDlg::OnRestore)
    ON_BN_CLICKED(CBackupRegistryDlg::IDC_REMOVE, &CBackupRegistryDlg::OnRemove)
    ON_WM_TIMER()
    ON_MESSAGE(WM_REGBACKUP_DONE, &CBackupRegistryDlg::OnRegBackupDone)
END_MESSAGE_MAP()

std::wstring CBackupRegistryDlg::BackupFolder() { return SBGetAppPathW() + L"FullBackup"; }

void CBackupRegistryDlg::OnInitPage()
{
    m_state.Create(TranslateCode(L"IDS_BACKUP_REGISTRYBACKUP_STATE_STATTIC"), WS_CHILD | WS_VISIBLE | SS_LEFT,
                   CRect(20, 10, 710, 44), this, IDC_STATE);
    CreateList(m_list, IDC_LIST, CRect(20, 48, 710, 360), LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_NOCOLUMNHEADER,
               LVS_EX_FULLROWSELECT);
    m_list.SetFont(GetFont());
    m_list.InsertColumn(0, L"", LVCFMT_LEFT, 700);
    m_images.Create(407, 16, 0, RGB(255, 255, 255));
    m_list.SetImageList(&m_images, LVSIL_SMALL);
    m_progress.Create(WS_CHILD | WS_VISIBLE, CRect(20, 372, 710, 390), this, IDC_PROGRESS);
    m_progress.SetRange32(0, 1000);
    m_progress.SetPos(0);
    m_result.Create(L"", WS_CHILD | WS_VISIBLE | SS_LEFT, CRect(20, 398, 710, 440), this, IDC_RESULT);
    // Right to left: remove, restore, backup, 129 pixels apart.
    CreateButton(m_remove, L"IDS_BACKUP_REGISTRYBACKUP_REMOVE_BUTTON", IDC_REMOVE,
                 BackupPages::PageButtonRect(586, 450));
    CreateButton(m_restore, L"IDS_BACKUP_REGISTRYBACKUP_RESTORE_BUTTON", IDC_RESTORE,
                 BackupPages::PageButtonRect(457, 450));
    CreateButton(m_backup, L"IDS_BACKUP_REGISTRYBACKUP_BACKUP_BUTTON", IDC_BACKUP,
                 BackupPages::PageButtonRect(328, 450));
    SBRecursiveCreateDirectoryW(BackupFolder().c_str());
    m_registry.SetMessageWnd(GetSafeHwnd());
}

void CBackupRegistryDlg::OnShowPage()
{
    FillList();
    CFunctionDlg::OnShowPage();
}

void CBackupRegistryDlg::FillList()
{
    std::vector<std::wstring> names;
    SBGetVectorFilesW(BackupFolder().c_str(), names, SB_LIST_NAMES);
    m_list.DeleteAllItems();
    for (const auto& name : names) {
        std::wstring row;
        if (BackupPages::RegistryRowTextFromFileName(name, row))
            m_list.InsertItem(m_list.GetItemCount(), row.c_str(), 0);
    }
}

bool CBackupRegistryDlg::SelectedRow(int& row, std::wstring& text)
{
    row = m_list.GetNextItem(-1, LVNI_SELECTED);
    if (row < 0) {
        BackupPages::ShowMessage(L"IDS_BACKUP_REGISTER_BACKLINE");
        return false;
    }
    text = static_cast<LPCWSTR>(m_list.GetItemText(row, 0));
    return true;
}

void CBackupRegistryDlg::EnableButtons(bool enable)
{
    m_remove.EnableWindow(enable);
    m_restore.EnableWindow(enable);
    m_backup.EnableWindow(enable);
}

void CBackupRegistryDlg::BeginRun(int kind)
{
    m_runKind = kind;
    SetMainWindowBusy(true);
    m_nTimerCounter = 0;
    SetTimer(kTimerId, 100);
    m_progress.SetPos(0);
    EnableButtons(false);
    BackupPages::SetResultText(m_result, L"");
}

void CBackupRegistryDlg::EndRun()
{
    SetMainWindowBusy(false);
    KillTimer(kTimerId);
    m_progress.SetPos(1000);
    EnableButtons(true);
    m_runKind = 0;
}

void CBackupRegistryDlg::OnBackup()
{
    if (IsRunning()) return;
    std::time_t now = std::time(nullptr);
    std::wstring file = BackupFolder() + L"\\" + BackupPages::RegistryBackupFileName(*std::localtime(&now));
    SBRecursiveCreateDirectoryW(BackupFolder().c_str());
    BeginRun(1);
    if (!m_registry.BackupRegistry(BackupPages::QuoteForRegistryEditor(file))) OnRegBackupDone(0, 0);
}

void CBackupRegistryDlg::OnRestore()
{
    int row = -1;
    std::wstring text;
    if (IsRunning() || !SelectedRow(row, text)) return;
    std::wstring file = BackupFolder() + L"\\" + BackupPages::RegistryFileNameFromRowText(text);
    // A name that does not map back to a file (copied in by hand, or a locale's month with '-' or '_').
    if (!SBIsFileExistW(file.c_str())) {
        BackupPages::SetResultText(m_result, TranslateCode(L"IDS_BACKUP_REGISTER_RESTOREFAIL"));
        BackupPages::ShowMessage(L"IDS_BACKUP_REGISTER_RESTOREFAIL");
        return;
    }
    // The import cannot be undone: the user confirms it, told which backup it is.
    std::wstring question =
        FillTextArgument(static_cast<LPCWSTR>(TranslateCode(L"IDS_BACKUP_REGISTER_RESTOREASK")), text);
    if (AfxMessageBox(question.c_str(), MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES) return;
    BeginRun(2);
    if (!m_registry.RestoreRegistry(BackupPages::QuoteForRegistryEditor(file))) OnRegBackupDone(0, 0);
}

void CBackupRegistryDlg::OnRemove()
{
    int row = -1;
    std::wstring text;
    if (IsRunning() || !SelectedRow(row, text)) return;
    std::wstring file = BackupFolder() + L"\\" + BackupPages::RegistryFileNameFromRowText(text);
    if (BackupPages::ShowMessage(L"IDS_BACKUP_REGISTER_MOVE", MB_YESNO) != IDYES) return;
    if (::DeleteFileW(file.c_str()) || !SBIsFileExistW(file.c_str())) m_list.DeleteItem(row);
}

void CBackupRegistryDlg::OnTimer(UINT_PTR id)
{
    if (id != kTimerId) {
        CFunctionDlg::OnTimer(id);
        return;
    }
    m_nTimerCounter += 100;
    m_progress.SetPos(m_nTimerCounter > 1000 ? 1000 : m_nTimerCounter);
    if (m_nTimerCounter >= 1000) m_nTimerCounter = 0;
}

LRESULT CBackupRegistryDlg::OnRegBackupDone(WPARAM wParam, LPARAM lParam)
{
    int kind = m_runKind;
    EndRun();
    const wchar_t* key = nullptr;
    if (lParam == 1) {
        std::wstring path = wParam ? reinterpret_cast<const wchar_t*>(wParam) : L"";
        std::wstring name = qpath::FileNameOf(path);
        if (!name.empty() && name.back() == L'"') name.pop_back();
        std::wstring row;
        if (BackupPages::RegistryRowTextFromFileName(name, row))
            m_list.InsertItem(m_list.GetItemCount(), row.c_str(), 0);
        key = L"IDS_BACKUP_REGISTER_BACKSUC";
    } else if (lParam == 2) {
        key = L"IDS_BACKUP_REGISTER_RESOTRESUC";
    } else {
        key = kind == 2 ? L"IDS_BACKUP_REGISTER_RESTOREFAIL" : L"IDS_BACKUP_REGISTER_BACKFAIL";
    }
    BackupPages::SetResultText(m_result, TranslateCode(key));
    BackupPages::ShowMessage(key);
    return 0;
}
