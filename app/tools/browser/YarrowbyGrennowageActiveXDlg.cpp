#include "YarrowbyGrennowageActiveXDlg.h"

#include "BrowserPageLogic.h"
#include "CheckList.h"
#include "Dictionary.h"

using nsVendrel::TranslateCode;
using namespace BrowserPage;
typedef CYarrowbyGrennowageActiveXDlg CActiveXTab;

BEGIN_MESSAGE_MAP(CYarrowbyGrennowageActiveXDlg, CYarrowbyGrennowageTabDlg)
    ON_BN_CLICKED(CActiveXTab::IDC_BLOCK, &CActiveXTab::OnBlock)
    ON_BN_CLICKED(CActiveXTab::IDC_UNBLOCK, &CActiveXTab::OnUnblock)
    ON_BN_CLICKED(CActiveXTab::IDC_DELETE, &CActiveXTab::OnDelete)
END_MESSAGE_MAP()

void CYarrowbyGrennowageActiveXDlg::OnInitPage()
{
    CreateControl({IDC_DESCRIPTION, PageControlKind::Text, {16, 8, 721, 44}, L"IDS_SYS_TOOLS_IE_ACTIVEX_DESCRIPTION"});
    CreateCheckList(m_list, IDC_LIST, 50,
                    {{L"IDS_SYS_TOOLS_IE_ACTIVEX_LIST_NAME", 140},
                     {L"IDS_SYS_TOOLS_IE_ACTIVEX_LIST_STATE", 80},
                     {L"IDS_SYS_TOOLS_IE_ACTIVEX_LIST_DESCRIPTION", 140},
                     {L"IDS_SYS_TOOLS_IE_ACTIVEX_LIST_VERSION", 80},
                     {L"IDS_SYS_TOOLS_IE_ACTIVEX_LIST_COMPANY", 110},
                     {L"IDS_SYS_TOOLS_IE_ACTIVEX_LIST_FILEPATH", 150}});
    CreateButton(m_delete, L"IDS_SYS_TOOLS_IE_ACTIVEX_DELETE", IDC_DELETE, CRect(325, 428, 449, 468));
    CreateButton(m_block, L"IDS_SYS_TOOLS_IE_ACTIVEX_BLOCK", IDC_BLOCK, CRect(461, 428, 585, 468));
    CreateButton(m_unblock, L"IDS_SYS_TOOLS_IE_ACTIVEX_UNBLOCK", IDC_UNBLOCK, CRect(597, 428, 721, 468));
}

void CYarrowbyGrennowageActiveXDlg::Refresh()
{
    m_records.clear();
    CIEActiveXMan().GetActiveXList(m_records);
    const std::wstring blocked = TranslateCode(L"IDS_SYS_TOOLS_IE_ACTIVEX_STATE_BLOCKED").GetString();
    const std::wstring unblocked = TranslateCode(L"IDS_SYS_TOOLS_IE_ACTIVEX_STATE_UNBLOCKED").GetString();
    std::vector<RowTexts> rows;
    for (const IEActiveXInfo& info : m_records) rows.push_back(ActiveXRow(info, blocked, unblocked));
    FillRows(m_list, rows);
}

void CYarrowbyGrennowageActiveXDlg::SetBlocked(bool block)
{
    CIEActiveXMan activeX;
    ActionOutcome outcome;
    for (size_t record : CheckedRecords(m_list)) {
        const IEActiveXInfo& info = m_records[record];
        if (info.blocked == block) continue;
        outcome.Add(block ? activeX.BlockActiveX(info) : activeX.UnblockActiveX(info));
    }
    const wchar_t* done =
        block ? L"IDS_SYS_TOOLS_IE_ACTIVEX_MSG_BLOCK_COMPLETE" : L"IDS_SYS_TOOLS_IE_ACTIVEX_MSG_UNBLOCK_COMPLETE";
    if (const wchar_t* key = OutcomeMessageKey(outcome, done, nullptr)) ShowMessage(key);
    if (outcome.attempted > 0) Refresh();
}

void CYarrowbyGrennowageActiveXDlg::OnBlock() { SetBlocked(true); }

void CYarrowbyGrennowageActiveXDlg::OnUnblock() { SetBlocked(false); }

void CYarrowbyGrennowageActiveXDlg::OnDelete()
{
    CIEActiveXMan activeX;
    ActionOutcome outcome;
    for (size_t record : CheckedRecords(m_list)) outcome.Add(activeX.RemoveActiveX(m_records[record]));
    ShowMessage(OutcomeMessageKey(outcome, L"IDS_SYS_TOOLS_IE_ACTIVEX_MSG_DELETE_COMPLETE",
                                  L"IDS_SYS_TOOLS_IE_ACTIVEX_MSG_PLEASE_SELECT_ITEM"));
    if (outcome.attempted > 0) Refresh();
}
