#include "ScanCleanShortcutCleanStep0.h"

#include "ListChecks.h"
#include "ScanCleanShortcutCleanDlg.h"
#include "ShellIcons.h"
#include "ShortcutPageRules.h"

BEGIN_MESSAGE_MAP(CScanCleanShortcutCleanStep0, CFunctionDlg)
    ON_BN_CLICKED(CScanCleanShortcutCleanStep0::IDC_SCAN, &CScanCleanShortcutCleanStep0::OnScan)
END_MESSAGE_MAP()

void CScanCleanShortcutCleanStep0::OnInitPage()
{
    CRect client;
    GetClientRect(&client);
    const CRect listRect(20, 20, client.Width() - 20, 470);
    m_drives.Create(
        WS_CHILD | WS_VISIBLE | WS_BORDER | LVS_LIST | LVS_SORTASCENDING | LVS_SHOWSELALWAYS | LVS_SHAREIMAGELISTS,
        listRect, this, IDC_DRIVE_LIST);
    m_drives.SetExtendedStyle(LVS_EX_GRIDLINES | LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);

    // The computer and a drive; every row shows the drive. The image list is ours (the list only shares it).
    ShortcutPage::LoadShellIcons(m_icons, {ShortcutPage::kShellIconComputer, ShortcutPage::kShellIconDrive});
    m_drives.SetImageList(&m_icons, LVSIL_SMALL);

    wchar_t drives[512] = L"";
    const DWORD length = ::GetLogicalDriveStringsW(DWORD(sizeof(drives) / sizeof(drives[0]) - 1), drives);
    if (length > 0 && length < sizeof(drives) / sizeof(drives[0])) {
        for (const wchar_t* root = drives; *root; root += wcslen(root) + 1) {
            if (!ShortcutPage::IsOfferedDriveType(::GetDriveTypeW(root))) continue;
            const int row = m_drives.InsertItem(m_drives.GetItemCount(), root, 1);
            m_drives.SetItemData(row, DWORD_PTR(m_roots.size()));
            m_roots.push_back(root);
        }
    }

    m_bShowPanel = true;
    m_nPanelCount = 1;
    m_rcPanel[0] = RECT{listRect.left - 10, listRect.top - 10, listRect.right + 10, listRect.bottom + 10};

    CreateButton(m_scan, L"IDS_SCAN_CLEAN_SHORTCUT_STEP0_BTN_SCAN", IDC_SCAN, CRect(580, 490, 704, 534), WS_TABSTOP);
    SetDefaultButton(IDC_SCAN);
}

std::vector<std::wstring> CScanCleanShortcutCleanStep0::CheckedDrives() const
{
    std::vector<std::wstring> chosen;
    for (int row : ScanPages::CheckedRows(m_drives)) {
        const size_t index = size_t(m_drives.GetItemData(row));
        if (index < m_roots.size()) chosen.push_back(m_roots[index]);
    }
    return chosen;
}

void CScanCleanShortcutCleanStep0::OnScan()
{
    // No drive ticked is allowed: the scan then ends at once with nothing found.
    if (m_pHost && !m_pHost->GetStep1().IsScanning()) m_pHost->ShowSubPage(1);
}
