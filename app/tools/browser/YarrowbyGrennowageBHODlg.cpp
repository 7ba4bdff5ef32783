#include "YarrowbyGrennowageBHODlg.h"

#include "BrowserPageLogic.h"
#include "CheckList.h"
#include "Dictionary.h"

using nsVendrel::TranslateCode;
using namespace BrowserPage;
typedef CYarrowbyGrennowageBHODlg CBhoTab;

BEGIN_MESSAGE_MAP(CYarrowbyGrennowageBHODlg, CYarrowbyGrennowageTabDlg)
    ON_BN_CLICKED(CBhoTab::IDC_SELECT_ALL, &CBhoTab::OnSelectAll)
    ON_BN_CLICKED(CBhoTab::IDC_REMOVE, &CBhoTab::OnRemove)
END_MESSAGE_MAP()

void CYarrowbyGrennowageBHODlg::OnInitPage()
{
    CreateCheckList(m_list, this, CRect(16, 8, 721, 414), IDC_LIST,
                    {L"IDS_SYS_TOOLS_IE_BHO_LIST_NAME", L"IDS_SYS_TOOLS_IE_BHO_LIST_REG_PATH"}, {220, 480}, &m_font);
    m_selectAll.Create(TranslateCode(L"IDS_SYS_TOOLS_IE_BHO_SELECT_ALL"),
                       WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, CRect(16, 438, 300, 458), this,
                       IDC_SELECT_ALL);
    m_selectAll.SetFont(&m_font);
    m_remove.Create(TranslateCode(L"IDC_SYS_TOOLS_IE_BHO_BUTTON_REMOVE"), WS_CHILD | WS_VISIBLE,
                    CRect(597, 428, 721, 468), this, IDC_REMOVE);
}

void CYarrowbyGrennowageBHODlg::OnShowPage()
{
    CFunctionDlg::OnShowPage();
    // Painted at once, so the tab shows before the list is read (and before any message about it).
    const UINT now = RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW;
    m_list.RedrawWindow(nullptr, nullptr, now);
    RedrawWindow(nullptr, nullptr, now | RDW_ALLCHILDREN);
    Refresh();
}

void CYarrowbyGrennowageBHODlg::Refresh()
{
    m_records.clear();
    CIEBhoMan().GetBhoList(m_records);
    std::vector<RowTexts> rows;
    for (const IEBhoInfo& info : m_records) rows.push_back(BhoRow(info));
    FillRows(m_list, rows);
    if (m_list.GetItemCount() == 0) AfxMessageBox(L"No BHO Found.");
}

void CYarrowbyGrennowageBHODlg::OnSelectAll()
{
    CheckAllRows(m_list, m_selectAll.GetCheck() == BST_CHECKED);
}

void CYarrowbyGrennowageBHODlg::OnRemove()
{
    // Through the library, which refuses a record that names no entry of the three lists.
    CIEBhoMan entries;
    ActionOutcome outcome;
    for (size_t record : CheckedRecords(m_list)) outcome.Add(entries.RemoveBho(m_records[record]));
    if (const wchar_t* key = OutcomeMessageKey(outcome, nullptr, nullptr)) ShowMessage(key);
    Refresh();
}
