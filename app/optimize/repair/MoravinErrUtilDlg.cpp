#include "MoravinErrUtilDlg.h"

#include "Dictionary.h"
#include "PageFactory.h"

using nsVendrel::TranslateCode;

QUORVEL_REGISTER_PAGE(PAGE_ID_REPAIR_ERROR_UTILITY, CMoravinErrUtilDlg);

namespace {

const int kLeft = 20, kRight = 717;

// Row n is fixed repair n: its caption and its description.
const struct {
    const wchar_t* titleKey;
    const wchar_t* descriptionKey;
} kRows[] = {
    {L"IDS_SYS_FIX_ERR_UTIL_ERROR1", L"IDS_SYS_FIX_ERR_UTIL_ERROR1_DESP"},
    {L"IDS_SYS_FIX_ERR_UTIL_ERROR2", L"IDS_SYS_FIX_ERR_UTIL_ERROR2_DESP"},
    {L"IDS_SYS_FIX_ERR_UTIL_ERROR3", L"IDS_SYS_FIX_ERR_UTIL_ERROR3_DESP"},
    {L"IDS_SYS_FIX_ERR_UTIL_ERROR4", L"IDS_SYS_FIX_ERR_UTIL_ERROR4_DESP"},
    {L"IDS_SYS_FIX_ERR_UTIL_ERROR5", L"IDS_SYS_FIX_ERR_UTIL_ERROR5_DESP"},
    {L"IDS_SYS_FIX_ERR_UTIL_ERROR6", L"IDS_SYS_FIX_ERR_UTIL_ERROR6_DESP"},
    {L"IDS_SYS_FIX_ERR_UTIL_ERROR7", L"IDS_SYS_FIX_ERR_UTIL_ERROR7_DESP"},
    {L"IDS_SYS_FIX_ERR_UTIL_ERROR8", L"IDS_SYS_FIX_ERR_UTIL_ERROR8_DESP"},
    {L"IDS_SYS_FIX_ERR_UTIL_ERROR9", L"IDS_SYS_FIX_ERR_UTIL_ERROR9_DESP"},
    {L"IDS_SYS_FIX_ERR_UTIL_ERROR10", L"IDS_SYS_FIX_ERR_UTIL_ERROR10_DESP"},
    {L"IDS_SYS_FIX_ERR_UTIL_ERROR11", L"IDS_SYS_FIX_ERR_UTIL_ERROR11_DESP"},
    {L"IDS_SYS_FIX_ERR_UTIL_ERROR12", L"IDS_SYS_FIX_ERR_UTIL_ERROR12_DESP"},
    {L"IDS_SYS_FIX_ERR_UTIL_ERROR13", L"IDS_SYS_FIX_ERR_UTIL_ERROR13_DESP"},
    {L"IDS_SYS_FIX_ERR_UTIL_ERROR14", L"IDS_SYS_FIX_ERR_UTIL_ERROR14_DESP"},
    {L"IDS_SYS_FIX_ERR_UTIL_ERROR15", L"IDS_SYS_FIX_ERR_UTIL_ERROR15_DESP"},
    {L"IDS_SYS_FIX_ERR_UTIL_ERROR16", L"IDS_SYS_FIX_ERR_UTIL_ERROR16_DESP"},
};
static_assert(sizeof(kRows) / sizeof(kRows[0]) == Moravin::CErrorUtility::kRepairCount, "one row per repair");

}  // namespace

BEGIN_MESSAGE_MAP(CMoravinErrUtilDlg, CRepairPage)
    ON_BN_CLICKED(CMoravinErrUtilDlg::IDC_SELECT_ALL, &CMoravinErrUtilDlg::OnSelectAll)
    ON_BN_CLICKED(CMoravinErrUtilDlg::IDC_REPAIR, &CMoravinErrUtilDlg::OnRepair)
    ON_NOTIFY(LVN_ITEMCHANGED, CMoravinErrUtilDlg::IDC_FAULT_LIST, &CMoravinErrUtilDlg::OnFaultChanged)
END_MESSAGE_MAP()

void CMoravinErrUtilDlg::OnInitPage()
{
    CreateText(m_intro, L"IDS_SYS_FIX_ERR_UTIL_DESCP", IDC_INTRO, CRect(kLeft, 15, kRight, 45));
    CreateList(m_list, IDC_FAULT_LIST, CRect(kLeft, 50, kRight, 310), kListStyle | LVS_SINGLESEL,
               kListExtendedStyle | LVS_EX_CHECKBOXES, {{L"IDS_SYS_FIX_ERR_UTIL_LIST1", kRight - kLeft - 25}});
    CreateGroupBox(m_group, L"IDS_SYS_FIX_ERR_UTIL_ERROR", IDC_DESCRIPTION_GROUP, CRect(kLeft, 320, kRight, 440));
    CreateText(m_description, nullptr, IDC_DESCRIPTION, CRect(kLeft + 12, 342, kRight - 12, 432));
    CreateCheckBox(m_selectAll, L"IDS_SYS_FIX_ERR_UTIL_SELECTALL", IDC_SELECT_ALL, CRect(kLeft, 470, kLeft + 300, 490));
    CreateButton(m_repair, L"IDS_SYS_FIX_ERR_UTIL_REPAIR", IDC_REPAIR, CRect(kRight - 124, 460, kRight, 500));
}

void CMoravinErrUtilDlg::OnShowPage()
{
    CRepairPage::OnShowPage();
    m_list.DeleteAllItems();
    m_descriptions.RemoveAll();
    for (int row = 0; row < Moravin::CErrorUtility::kRepairCount; ++row) {
        m_list.InsertItem(row, TranslateCode(kRows[row].titleKey));
        m_descriptions.Add(TranslateCode(kRows[row].descriptionKey));
    }
    m_selectAll.SetCheck(BST_UNCHECKED);
    m_description.SetWindowText(L"");
}

void CMoravinErrUtilDlg::OnFaultChanged(NMHDR*, LRESULT* pResult)
{
    const int row = m_list.GetNextItem(-1, LVNI_SELECTED);
    m_description.SetWindowText(row >= 0 && row < m_descriptions.GetSize() ? m_descriptions[row] : CString());
    // The static is transparent: repaint what lies behind its old text.
    CRect area;
    m_description.GetWindowRect(&area);
    ScreenToClient(&area);
    InvalidateRect(&area);
    *pResult = 0;
}

void CMoravinErrUtilDlg::OnSelectAll()
{
    const BOOL check = m_selectAll.GetCheck() == BST_CHECKED;
    for (int row = 0; row < m_list.GetItemCount(); ++row) m_list.SetCheck(row, check);
}

void CMoravinErrUtilDlg::OnRepair()
{
    if (IsBusy()) return;
    std::vector<int> numbers;
    for (int row = 0; row < m_list.GetItemCount(); ++row)
        if (m_list.GetCheck(row)) numbers.push_back(row);
    if (numbers.empty()) {
        AfxMessageBox(TranslateCode(L"IDS_SYS_FIX_ERROR_SELECT"));
        return;
    }
    // Services may take their time to start: the repairs run beside the window, one after the other.
    Moravin::CErrorUtility* utility = &m_utility;
    const std::atomic<bool>* stop = &JobStopFlag();
    EnableInput(FALSE);
    if (!RunJob([utility, numbers, stop] {
            WPARAM failed = 0;
            for (int number : numbers) {
                if (stop->load()) return WPARAM(numbers.size());  // not all done: not a success
                if (!utility->ErrorRepaire(number)) ++failed;
            }
            return failed;
        }))
        EnableInput(TRUE);
}

void CMoravinErrUtilDlg::OnJobDone(WPARAM failedRepairs)
{
    EnableInput(TRUE);
    // Success only when every chosen repair succeeded.
    AfxMessageBox(TranslateCode(failedRepairs == 0 ? L"IDS_SYS_FIX_ERROR_SUCCESS" : L"IDS_SYS_FIX_ERROR_FAILED"));
}

void CMoravinErrUtilDlg::EnableInput(BOOL enable)
{
    m_list.EnableWindow(enable);
    m_selectAll.EnableWindow(enable);
    m_repair.EnableWindow(enable);
}
