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
    AddText(L"IDS_SYS_TOOLS_IE_ACTIVEX_DESCRIPTION", CRect(16, 8, 721, 44), IDC_DESCRIPTION);
    CreateCheckList(m_list, this, CRect(16, 50, 721, 414), IDC_LIST,
                    {L"IDS_SYS_TOOLS_IE_ACTIVEX_LIST_NAME", L"IDS_SYS_TOOLS_IE_ACTIVEX_LIST_STATE",
                     L"IDS_SYS_TOOLS_IE_ACTIVEX_LIST_DESCRIPTION", L"IDS_SYS_TOOLS_IE_ACTIVEX_LIST_VERSION",
                     L"IDS_SYS_TOOLS_IE_ACTIVEX_LIST_COMPANY", L"IDS_SYS_TOOLS_IE_ACTIVEX_LIST_FILEPATH"},
                    {140, 80, 140, 80, 110, 150}, &m_font);
    m_delete.Create(TranslateCode(L"IDS_SYS_TOOLS_IE_ACTIVEX_DELETE"), WS_CHILD | WS_VISIBLE, CRect(325, 428, 449, 468),
                    this, IDC_DELETE);
    m_block.Create(TranslateCode(L"IDS_SYS_TOOLS_IE_ACTIVEX_BLOCK"), WS_CHILD | WS_VISIBLE, CRect(461, 428, 585, 468),
                   this, IDC_BLOCK);
    m_unblock.Create(TranslateCode(L"IDS_SYS_TOOLS_IE_ACTIVEX_UNBLOCK"), WS_CHILD | WS_VISIBLE,
                     CRect(597, 428, 721, 468), this, IDC_UNBLOCK);
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

void CYarrowbyGrennowageActiveXDlg::OnBlock()
{
    SetBlocked(true);
}

void CYarrowbyGrennowageActiveXDlg::OnUnblock()
{
    SetBlocked(false);
}

void CYarrowbyGrennowageActiveXDlg::OnDelete()
{
    CIEActiveXMan activeX;
    ActionOutcome outcome;
    for (size_t record : CheckedRecords(m_list)) outcome.Add(activeX.RemoveActiveX(m_records[record]));
    ShowMessage(OutcomeMessageKey(outcome, L"IDS_SYS_TOOLS_IE_ACTIVEX_MSG_DELETE_COMPLETE",
                                  L"IDS_SYS_TOOLS_IE_ACTIVEX_MSG_PLEASE_SELECT_ITEM"));
    if (outcome.attempted > 0) Refresh();
}
