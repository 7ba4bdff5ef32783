#include "BackupSysRestoreDlg.h"

#include <Common.h>
#include <QGuards.h>

#include "BackupPageLogic.h"
#include "BackupPageParts.h"
#include "Dictionary.h"
#include "PageFactory.h"

using nsVendrel::TranslateCode;

QUORVEL_REGISTER_PAGE(PAGE_ID_BACKUP_RESTORE_POINT, CBackupSysRestoreDlg);

void CBackupSysRestoreNameDlg::OnOK()
{
    GetDlgItemText(IDC_NAME, m_strName);
    EndDialog(IDOK);
}

BEGIN_MESSAGE_MAP(CBackupSysRestoreDlg, CFunctionDlg)
    ON_BN_CLICKED(CBackupSysRestoreDlg::IDC_REFRESH, &CBackupSysRestoreDlg::OnRefresh)
    ON_BN_CLICKED(CBackupSysRestoreDlg::IDC_CREATE, &CBackupSysRestoreDlg::OnCreate)
    ON_BN_CLICKED(CBackupSysRestoreDlg::IDC_ROLLBACK, &CBackupSysRestoreDlg::OnRollBack)
    ON_BN_CLICKED(CBackupSysRestoreDlg::IDC_REMOVE, &CBackupSysRestoreDlg::OnRemove)
END_MESSAGE_MAP()

void CBackupSysRestoreDlg::OnInitPage()
{
    m_description.Create(TranslateCode(L"IDS_BACKUP_RESTOREPOINT_DESCRIPTION"), WS_CHILD | WS_VISIBLE | SS_LEFT,
                         CRect(20, 10, 710, 56), this, IDC_DESCRIPTION);
    CreateList(m_list, IDC_LIST, CRect(20, 60, 710, 390), LVS_SINGLESEL | LVS_SHOWSELALWAYS,
               LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT,
               {{L"IDS_BACKUP_RESTOREPOINT_LIST_COL1", 460}, {L"IDS_BACKUP_RESTOREPOINT_LIST_COL2", 200}});
    m_result.Create(L"", WS_CHILD | WS_VISIBLE | SS_LEFT, CRect(20, 398, 710, 440), this, IDC_RESULT);
    CreateButton(m_refresh, L"IDS_BACKUP_RESTOREPOINT_BTN_REFRESH", IDC_REFRESH, BackupPages::PageButtonRect(172, 450));
    CreateButton(m_create, L"IDS_BACKUP_RESTOREPOINT_BTN_BACKUP", IDC_CREATE, BackupPages::PageButtonRect(310, 450));
    CreateButton(m_rollBack, L"IDS_BACKUP_RESTOREPOINT_BTN_RESTORE", IDC_ROLLBACK,
                 BackupPages::PageButtonRect(448, 450));
    CreateButton(m_remove, L"IDS_BACKUP_RESTOREPOINT_BTN_REMOVE", IDC_REMOVE, BackupPages::PageButtonRect(586, 450));
}

void CBackupSysRestoreDlg::EnableButtons(bool enable)
{
    m_remove.EnableWindow(enable);
    m_rollBack.EnableWindow(enable);
    m_create.EnableWindow(enable);
    m_refresh.EnableWindow(enable);
}

void CBackupSysRestoreDlg::OnShowPage()
{
    CFunctionDlg::OnShowPage();
    EnableButtons(true);
    int kind = 0;
    bool is64 = false;
    if (GetOSVersion(kind, is64) && (kind == SB_OS_WIN7 || kind == SB_OS_VISTA)) {
        BackupPages::ShowMessage(L"IDS_BACKUP_RESTOREPOINT_NOTUSE");
        EnableButtons(false);
        return;
    }
    if (SBIsSvcRunW(L"srservice")) {
        FillList();
        return;
    }
    if (BackupPages::ShowMessage(L"IDS_BACKUP_RESTOREPOINT_SRVSTART", MB_YESNO) != IDYES) {
        EnableButtons(false);
        return;
    }
    CWaitCursor wait;
    if (!m_system.EnableSystemRestore()) {
        BackupPages::SetResultText(m_result, TranslateCode(L"IDS_BACKUP_RESTOREPOINT_ENABLEFAIL"));
        BackupPages::ShowMessage(L"IDS_BACKUP_RESTOREPOINT_ENABLEFAIL");
        EnableButtons(false);
        return;
    }
    FillList();
}

void CBackupSysRestoreDlg::FillList()
{
    m_points.clear();
    if (!m_system.EnumRestorPoint(m_points)) {
        AfxMessageBox(L"error");
        return;
    }
    m_list.DeleteAllItems();
    for (const auto& point : m_points) {
        int row = m_list.InsertItem(m_list.GetItemCount(), point.description.c_str());
        m_list.SetItemText(row, 1, point.time.c_str());
    }
}

void CBackupSysRestoreDlg::OnRefresh()
{
    CWaitCursor wait;
    FillList();
}

void CBackupSysRestoreDlg::OnCreate()
{
    CBackupSysRestoreNameDlg ask(this);
    if (ask.DoModal() != IDOK) return;
    CWaitCursor wait;
    const wchar_t* key = nullptr;
    if (!m_system.AddRestorePoint(static_cast<LPCWSTR>(ask.m_strName)))
        key = L"IDS_BACKUP_RESTOREPOINT_NEEDREBOOT";
    else if (m_system.GetLastStatus() == ERROR_SUCCESS)
        key = L"IDS_BACKUP_RESTOREPOINT_BACKSUC";
    else
        key = L"IDS_BACKUP_RESTOREPOINT_BACKFAIL";
    FillList();
    BackupPages::SetResultText(m_result, TranslateCode(key));
    BackupPages::ShowMessage(key);
}

int CBackupSysRestoreDlg::SelectedSequence(bool& selected)
{
    int row = m_list.GetNextItem(-1, LVNI_SELECTED);
    selected = row >= 0;
    if (!selected) {
        BackupPages::ShowMessage(L"IDS_BACKUP_RESTOREPOINT_HINT");
        return -1;
    }
    std::vector<BackupPages::RestorePointRow> rows;
    for (const auto& p : m_points) rows.push_back({p.description, p.sequence});
    return BackupPages::FindRestorePointSequence(rows, static_cast<LPCWSTR>(m_list.GetItemText(row, 0)));
}

void CBackupSysRestoreDlg::OnRollBack()
{
    bool selected = false;
    if (m_list.GetNextItem(-1, LVNI_SELECTED) < 0) {
        SelectedSequence(selected);
        return;
    }
    if (BackupPages::ShowMessage(L"IDS_BACKUP_RESTOREPOINT_RESTORE_QUESTION", MB_YESNO) != IDYES) return;
    int sequence = SelectedSequence(selected);
    if (sequence == -1) return;
    bool scheduled = false;
    {
        CWaitCursor wait;
        scheduled = m_system.RestorePoint(sequence);
        FillList();
    }
    if (!scheduled) {
        BackupPages::SetResultText(m_result, TranslateCode(L"IDS_BACKUP_RESTOREPOINT_RESTOREFAIL"));
        BackupPages::ShowMessage(L"IDS_BACKUP_RESTOREPOINT_RESTOREFAIL");
        return;
    }
    BackupPages::SetResultText(m_result, TranslateCode(L"IDS_BACKUP_RESTOREPOINT_RESTORESUC"));
    if (AfxMessageBox(TranslateCode(L"IDS_BACKUP_RESTOREPOINT_RESTORESUC") + L" " +
                          TranslateCode(L"IDS_BACKUP_RESTOREPOINTBACK_RESTART"),
                      MB_YESNO) == IDYES)
        OfferRestart();
}

void CBackupSysRestoreDlg::OfferRestart()
{
    qcore::UniqueHandle token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, token.Put())) return;
    TOKEN_PRIVILEGES privileges = {};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    bool enabled = LookupPrivilegeValueW(nullptr, SE_SHUTDOWN_NAME, &privileges.Privileges[0].Luid) &&
                   AdjustTokenPrivileges(token.Get(), FALSE, &privileges, 0, nullptr, nullptr) &&
                   GetLastError() == ERROR_SUCCESS;
    // Programs that still answer get the chance to save their work: only hung ones are forced.
    if (enabled) ExitWindowsEx(EWX_REBOOT | EWX_FORCEIFHUNG, 0);
}

void CBackupSysRestoreDlg::OnRemove()
{
    bool selected = false;
    if (m_list.GetNextItem(-1, LVNI_SELECTED) < 0) {
        SelectedSequence(selected);
        return;
    }
    if (BackupPages::ShowMessage(L"IDS_BACKUP_RESTOREPOINT_MOVE_QUESTION", MB_YESNO) != IDYES) return;
    int sequence = SelectedSequence(selected);
    if (sequence == -1) return;
    CWaitCursor wait;
    bool removed = m_system.RemoveRestorePoint(sequence);
    FillList();
    if (!removed) {
        BackupPages::SetResultText(m_result, TranslateCode(L"IDS_BACKUP_RESTOREPOINT_MOVEFAIL"));
        BackupPages::ShowMessage(L"IDS_BACKUP_RESTOREPOINT_MOVEFAIL");
    }
}
