#include "ScanCleanJunkCleanStep0.h"

#include <Common.h>

#include "Dictionary.h"
#include "ListChecks.h"
#include "ScanCleanJunkCleanDlg.h"

using nsVendrel::TranslateCode;

BEGIN_MESSAGE_MAP(CScanCleanJunkCleanStep0, CFunctionDlg)
    ON_BN_CLICKED(CScanCleanJunkCleanStep0::IDC_SCAN, &CScanCleanJunkCleanStep0::OnScan)
END_MESSAGE_MAP()

void CScanCleanJunkCleanStep0::OnInitPage()
{
    CRect client;
    GetClientRect(&client);
    const CRect listRect(20, 20, client.Width() - 20, client.Height() - 70);
    CreateList(m_drives, IDC_DRIVE_LIST, listRect, LVS_SINGLESEL | LVS_SHOWSELALWAYS,
               LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
    CRect inner;
    m_drives.GetClientRect(&inner);
    m_drives.InsertColumn(0, L"Drives", LVCFMT_LEFT, inner.Width());

    SBGetFixedDiskW(m_roots, SB_FIXED_DEFRAGGABLE);
    for (size_t i = 0; i < m_roots.size(); ++i) {
        const int row = m_drives.InsertItem(int(i), m_roots[i].c_str());
        m_drives.SetItemData(row, DWORD_PTR(i));
    }

    m_bShowPanel = true;
    m_nPanelCount = 1;
    m_rcPanel[0] = RECT{listRect.left - 5, listRect.top - 5, listRect.right + 5, listRect.bottom + 5};

    CreateButton(m_scan, L"IDS_SCAN_CLEAN_JUNK_STEP0_BTN_SCAN", IDC_SCAN, CRect(574, 485, 698, 529), WS_TABSTOP);
    SetDefaultButton(IDC_SCAN);
}

void CScanCleanJunkCleanStep0::OnScan()
{
    if (!m_pHost || m_pHost->GetStep1().IsWalking()) return;
    std::vector<std::wstring>& chosen = m_pHost->Drives();
    chosen.clear();
    for (int row : ScanPages::CheckedRows(m_drives)) {
        const size_t index = size_t(m_drives.GetItemData(row));
        if (index < m_roots.size()) chosen.push_back(m_roots[index]);
    }
    if (chosen.empty()) {
        AfxMessageBox(TranslateCode(L"IDS_SCAN_CLEAN_JUNK_STEP1_SELECT_DRIVE"));
        return;
    }
    m_pHost->ShowSubPage(1);
}
