#include "YarrowbyGrennowageRestoreDlg.h"

#include <Grennow.h>

#include "BrowserPageLogic.h"
#include "CheckList.h"

using namespace BrowserPage;
typedef CYarrowbyGrennowageRestoreDlg CRestoreTab;

BEGIN_MESSAGE_MAP(CYarrowbyGrennowageRestoreDlg, CYarrowbyGrennowageTabDlg)
    ON_BN_CLICKED(CRestoreTab::IDC_SELECT_ALL, &CRestoreTab::OnSelectAll)
    ON_BN_CLICKED(CRestoreTab::IDC_RESTORE, &CRestoreTab::OnRestore)
END_MESSAGE_MAP()

void CYarrowbyGrennowageRestoreDlg::OnInitPage()
{
    CreateCheckList(m_list, IDC_LIST, 8,
                    {{L"IDS_SYS_TOOLS_IE_RESTORE_ITEM", 180},
                     {L"IDS_SYS_TOOLS_IE_RESTORE_CURRENT", 230},
                     {L"IDS_SYS_TOOLS_IE_RESTORE_DEFAULT", 290}});
    CreateCheckBox(m_selectAll, L"IDS_SYS_TOOLS_IE_RESTORE_SELECT_ALL", IDC_SELECT_ALL, CRect(16, 438, 300, 458),
                   WS_TABSTOP);
    CreateButton(m_restore, L"IDC_SYS_TOOLS_IE_RESTORE_BUTTON_RESTORE", IDC_RESTORE, CRect(597, 428, 721, 468));
}

void CYarrowbyGrennowageRestoreDlg::Refresh()
{
    CIERestore restore;
    std::vector<RowTexts> rows;
    for (unsigned i = 0; i < restore.GetItemCount(); ++i) {
        std::wstring current;
        restore.GetCurrentSetting(int(i), current);
        rows.push_back(RestoreRow(restore.GetItem(int(i)), current));
    }
    FillRows(m_list, rows);
}

void CYarrowbyGrennowageRestoreDlg::OnSelectAll() { CheckAllRows(m_list, m_selectAll.GetCheck() == BST_CHECKED); }

void CYarrowbyGrennowageRestoreDlg::OnRestore()
{
    CIERestore restore;
    ActionOutcome outcome;
    for (size_t index : CheckedRecords(m_list)) outcome.Add(restore.SetToDefault(int(index)));
    if (const wchar_t* key = OutcomeMessageKey(outcome, nullptr, nullptr)) ShowMessage(key);
    Refresh();
}
