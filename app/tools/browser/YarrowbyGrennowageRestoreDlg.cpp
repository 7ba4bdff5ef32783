#include "YarrowbyGrennowageRestoreDlg.h"

#include <Grennow.h>

#include "BrowserPageLogic.h"
#include "CheckList.h"
#include "Dictionary.h"

using nsVendrel::TranslateCode;
using namespace BrowserPage;
typedef CYarrowbyGrennowageRestoreDlg CRestoreTab;

BEGIN_MESSAGE_MAP(CYarrowbyGrennowageRestoreDlg, CYarrowbyGrennowageTabDlg)
    ON_BN_CLICKED(CRestoreTab::IDC_SELECT_ALL, &CRestoreTab::OnSelectAll)
    ON_BN_CLICKED(CRestoreTab::IDC_RESTORE, &CRestoreTab::OnRestore)
END_MESSAGE_MAP()

void CYarrowbyGrennowageRestoreDlg::OnInitPage()
{
    CreateCheckList(m_list, this, CRect(16, 8, 721, 414), IDC_LIST,
                    {L"IDS_SYS_TOOLS_IE_RESTORE_ITEM", L"IDS_SYS_TOOLS_IE_RESTORE_CURRENT",
                     L"IDS_SYS_TOOLS_IE_RESTORE_DEFAULT"},
                    {180, 230, 290}, &m_font);
    m_selectAll.Create(TranslateCode(L"IDS_SYS_TOOLS_IE_RESTORE_SELECT_ALL"),
                       WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, CRect(16, 438, 300, 458), this,
                       IDC_SELECT_ALL);
    m_selectAll.SetFont(&m_font);
    m_restore.Create(TranslateCode(L"IDC_SYS_TOOLS_IE_RESTORE_BUTTON_RESTORE"), WS_CHILD | WS_VISIBLE,
                     CRect(597, 428, 721, 468), this, IDC_RESTORE);
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

void CYarrowbyGrennowageRestoreDlg::OnSelectAll()
{
    CheckAllRows(m_list, m_selectAll.GetCheck() == BST_CHECKED);
}

void CYarrowbyGrennowageRestoreDlg::OnRestore()
{
    CIERestore restore;
    ActionOutcome outcome;
    for (size_t index : CheckedRecords(m_list)) outcome.Add(restore.SetToDefault(int(index)));
    if (const wchar_t* key = OutcomeMessageKey(outcome, nullptr, nullptr)) ShowMessage(key);
    Refresh();
}
