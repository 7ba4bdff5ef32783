#include "MoravinFileAssocDlg.h"

#include "Dictionary.h"
#include "PageFactory.h"

using nsVendrel::TranslateCode;

QUORVEL_REGISTER_PAGE(PAGE_ID_REPAIR_FILE_ASSOC, CMoravinFileAssocDlg);

namespace {
const int kLeft = 20, kRight = 717;
}  // namespace

BEGIN_MESSAGE_MAP(CMoravinFileAssocDlg, CRepairPage)
    ON_BN_CLICKED(CMoravinFileAssocDlg::IDC_REFRESH, &CMoravinFileAssocDlg::OnRefresh)
    ON_BN_CLICKED(CMoravinFileAssocDlg::IDC_REPAIR, &CMoravinFileAssocDlg::OnRepair)
END_MESSAGE_MAP()

void CMoravinFileAssocDlg::OnInitPage()
{
    CreateText(m_description, L"IDS_SYS_FIX_FILE_ASSOC_DSCR", IDC_DESCRIPTION, CRect(kLeft, 15, kRight, 55));
    CreateList(m_list, IDC_ASSOC_LIST, CRect(kLeft, 60, kRight, 450), kListStyle,
               kListExtendedStyle | LVS_EX_CHECKBOXES,
               {{L"IDS_SYS_FIX_FILE_ASSOC_LIST1", 95},
                {L"IDS_SYS_FIX_FILE_ASSOC_LIST2", 75},
                {L"IDS_SYS_FIX_FILE_ASSOC_LIST3", 250},
                {L"IDS_SYS_FIX_FILE_ASSOC_LIST4", 250}});
    CreateButton(m_refresh, L"IDS_SYS_FIX_FILE_ASSOC_REFRESH", IDC_REFRESH,
                 CRect(kRight - 254, 470, kRight - 130, 510));
    CreateButton(m_repair, L"IDS_SYS_FIX_FILE_ASSOC_REPAIR", IDC_REPAIR, CRect(kRight - 124, 470, kRight, 510));
}

void CMoravinFileAssocDlg::OnShowPage()
{
    CRepairPage::OnShowPage();
    Refresh();
}

void CMoravinFileAssocDlg::OnRefresh() { Refresh(); }

void CMoravinFileAssocDlg::OnRepair()
{
    bool allWritten = true;
    for (int row = 0; row < m_list.GetItemCount(); ++row)
        if (m_list.GetCheck(row) && !m_associations.RepaireFileAssociate(row)) allWritten = false;
    Refresh();
    if (!allWritten) AfxMessageBox(TranslateCode(L"IDS_SYS_FIX_FILE_ASSOC_FAILED"));
}

void CMoravinFileAssocDlg::Refresh()
{
    m_list.DeleteAllItems();
    std::vector<Moravin::CFileAssociateRepaire::FileAssocItem> items;
    m_associations.GetAllAssociateStatus(items);
    for (size_t i = 0; i < items.size(); ++i) {
        const int row = static_cast<int>(i);
        const auto& item = items[i];
        const wchar_t* state = item.status ? L"IDS_SYS_FIX_FILE_ASSOC_ERROR" : L"IDS_SYS_FIX_FILE_ASSOC_NORMAL";
        m_list.InsertItem(row, TranslateCode(state));
        m_list.SetItemText(row, 1, item.extension.c_str());
        m_list.SetItemText(row, 2, item.currentValue.c_str());
        m_list.SetItemText(row, 3, item.expectedCommand.c_str());
        m_list.SetCheck(row, item.status);
    }
}
