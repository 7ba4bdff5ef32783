#include "YarrowbyGrennowageBHODlg.h"

#include "BrowserPageLogic.h"
#include "CheckList.h"

using namespace BrowserPage;
typedef CYarrowbyGrennowageBHODlg CBhoTab;

BEGIN_MESSAGE_MAP(CYarrowbyGrennowageBHODlg, CYarrowbyGrennowageTabDlg)
    ON_BN_CLICKED(CBhoTab::IDC_SELECT_ALL, &CBhoTab::OnSelectAll)
    ON_BN_CLICKED(CBhoTab::IDC_REMOVE, &CBhoTab::OnRemove)
END_MESSAGE_MAP()

void CYarrowbyGrennowageBHODlg::OnInitPage()
{
    CreateCheckList(m_list, IDC_LIST, 8,
                    {{L"IDS_SYS_TOOLS_IE_BHO_LIST_NAME", 220}, {L"IDS_SYS_TOOLS_IE_BHO_LIST_REG_PATH", 480}});
    CreateCheckBox(m_selectAll, L"IDS_SYS_TOOLS_IE_BHO_SELECT_ALL", IDC_SELECT_ALL, CRect(16, 438, 300, 458),
                   WS_TABSTOP);
    CreateButton(m_remove, L"IDC_SYS_TOOLS_IE_BHO_BUTTON_REMOVE", IDC_REMOVE, CRect(597, 428, 721, 468));
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

void CYarrowbyGrennowageBHODlg::OnSelectAll() { CheckAllRows(m_list, m_selectAll.GetCheck() == BST_CHECKED); }

void CYarrowbyGrennowageBHODlg::OnRemove()
{
    // Through the library, which refuses a record that names no entry of the three lists.
    CIEBhoMan entries;
    ActionOutcome outcome;
    for (size_t record : CheckedRecords(m_list)) outcome.Add(entries.RemoveBho(m_records[record]));
    if (const wchar_t* key = OutcomeMessageKey(outcome, nullptr, nullptr)) ShowMessage(key);
    Refresh();
}
