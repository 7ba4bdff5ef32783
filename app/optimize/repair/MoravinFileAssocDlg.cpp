#include "MoravinFileAssocDlg.h"

#include "Dictionary.h"
#include "PageFactory.h"

using nsVendrel::TranslateCode;

QUORVEL_REGISTER_PAGE(PAGE_ID_REPAIR_FILE_ASSOC, CMoravinFileAssocDlg);

namespace {
const int kLeft = 20, kRight = 717;
}  // namespace

BEGIN_MESSAGE_MAP(CMoravinFileAssocDlg, CFunctionDlg)
    ON_BN_CLICKED(CMoravinFileAssocDlg::IDC_REFRESH, &CMoravinFileAssocDlg::OnRefresh)
    ON_BN_CLICKED(CMoravinFileAssocDlg::IDC_REPAIR, &CMoravinFileAssocDlg::OnRepair)
END_MESSAGE_MAP()

void CMoravinFileAssocDlg::OnInitPage()
{
    CreateSkinFont(m_textFont, 13, FALSE);
    m_description.Create(TranslateCode(L"IDS_SYS_FIX_FILE_ASSOC_DSCR"), WS_CHILD | WS_VISIBLE | SS_LEFT,
                         CRect(kLeft, 15, kRight, 55), this, IDC_DESCRIPTION);
    m_description.SetFont(&m_textFont);
    m_list.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | LVS_REPORT | LVS_SHOWSELALWAYS, CRect(kLeft, 60, kRight, 450),
                  this, IDC_ASSOC_LIST);
    m_list.SetExtendedStyle(LVS_EX_GRIDLINES | LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
    m_list.InsertColumn(0, TranslateCode(L"IDS_SYS_FIX_FILE_ASSOC_LIST1"), LVCFMT_LEFT, 95);
    m_list.InsertColumn(1, TranslateCode(L"IDS_SYS_FIX_FILE_ASSOC_LIST2"), LVCFMT_LEFT, 75);
    m_list.InsertColumn(2, TranslateCode(L"IDS_SYS_FIX_FILE_ASSOC_LIST3"), LVCFMT_LEFT, 250);
    m_list.InsertColumn(3, TranslateCode(L"IDS_SYS_FIX_FILE_ASSOC_LIST4"), LVCFMT_LEFT, 250);
    m_refresh.Create(TranslateCode(L"IDS_SYS_FIX_FILE_ASSOC_REFRESH"), WS_CHILD | WS_VISIBLE,
                     CRect(kRight - 254, 470, kRight - 130, 510), this, IDC_REFRESH);
    m_repair.Create(TranslateCode(L"IDS_SYS_FIX_FILE_ASSOC_REPAIR"), WS_CHILD | WS_VISIBLE,
                    CRect(kRight - 124, 470, kRight, 510), this, IDC_REPAIR);
}

void CMoravinFileAssocDlg::OnShowPage()
{
    CFunctionDlg::OnShowPage();
    Refresh();
}

void CMoravinFileAssocDlg::OnRefresh()
{
    Refresh();
}

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
