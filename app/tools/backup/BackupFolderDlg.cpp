#include "BackupFolderDlg.h"

#include "BackupFolderBackupDlg.h"
#include "BackupFolderRestoreDlg.h"
#include "Dictionary.h"
#include "PageFactory.h"

using nsVendrel::TranslateCode;

QUORVEL_REGISTER_PAGE(PAGE_ID_BACKUP_FOLDER, CBackupFolderDlg);

namespace {
const int kTabTop = 6, kTabHeight = 30, kTabWidth = 120;
}

BEGIN_MESSAGE_MAP(CBackupFolderDlg, CFunctionDlg)
    ON_BN_CLICKED(CBackupFolderDlg::IDC_TAB_BACKUP, &CBackupFolderDlg::OnTabBackup)
    ON_BN_CLICKED(CBackupFolderDlg::IDC_TAB_RESTORE, &CBackupFolderDlg::OnTabRestore)
END_MESSAGE_MAP()

CBackupFolderDlg::CBackupFolderDlg() : m_pBackup(new CBackupFolderBackupDlg), m_pRestore(new CBackupFolderRestoreDlg) {}

CBackupFolderDlg::~CBackupFolderDlg()
{
    // Each tab stops and waits for its worker while its window still exists.
    if (m_pBackup->GetSafeHwnd()) m_pBackup->DestroyWindow();
    delete m_pBackup;
    if (m_pRestore->GetSafeHwnd()) m_pRestore->DestroyWindow();
    delete m_pRestore;
}

void CBackupFolderDlg::OnInitPage()
{
    m_tabBackup.Create(TranslateCode(L"IDS_BACKUP_FOLDER_TAB_BTN_BACKUP"), WS_CHILD | WS_VISIBLE,
                       CRect(20, kTabTop, 20 + kTabWidth, kTabTop + kTabHeight), this, IDC_TAB_BACKUP);
    m_tabRestore.Create(TranslateCode(L"IDS_BACKUP_FOLDER_TAB_BTN_RESTORE"), WS_CHILD | WS_VISIBLE,
                        CRect(22 + kTabWidth, kTabTop, 22 + 2 * kTabWidth, kTabTop + kTabHeight), this,
                        IDC_TAB_RESTORE);
    for (CTabButton* tab : {&m_tabBackup, &m_tabRestore}) {
        tab->SetBitmaps(1612, 1613, 1614, 1615, CLR_INVALID);
        tab->m_bBold = TRUE;
        tab->m_nFontSize = 13;
        tab->CreateTextFont();
    }
    AddSubPage(m_pBackup, this, kBackupKey);
    AddSubPage(m_pRestore, this, kRestoreKey);
    // Below the tabs.
    CRect client;
    GetClientRect(&client);
    client.top = kTabTop + kTabHeight + 4;
    m_pBackup->MoveWindow(&client);
    m_pRestore->MoveWindow(&client);
}

void CBackupFolderDlg::OnShowPage()
{
    ShowWindow(SW_SHOW);
    Select(kBackupKey);
}

void CBackupFolderDlg::Select(int key)
{
    m_tabBackup.SetSelected(key == kBackupKey);
    m_tabRestore.SetSelected(key == kRestoreKey);
    ShowSubPage(key);
}

void CBackupFolderDlg::OnTabBackup() { Select(kBackupKey); }

void CBackupFolderDlg::OnTabRestore() { Select(kRestoreKey); }
