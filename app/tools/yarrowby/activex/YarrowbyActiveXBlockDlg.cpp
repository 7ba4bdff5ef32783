#include "YarrowbyActiveXBlockDlg.h"

#include "Dictionary.h"
#include "PageFactory.h"

using nsVendrel::TranslateCode;

QUORVEL_REGISTER_PAGE(PAGE_ID_TOOLS_ACTIVEX_BLOCK, CYarrowbyActiveXBlockDlg);

namespace {

// The status words come from this page's own file: the browser page has the same keys as button verbs.
const ULONG kActiveXBlockTexts = 173;

CString StatusText(bool locked)
{
    return TranslateCode(locked ? L"IDS_SYS_TOOLS_IE_ACTIVEX_BLOCK" : L"IDS_SYS_TOOLS_IE_ACTIVEX_UNBLOCK",
                         kActiveXBlockTexts, 0);
}

}  // namespace

BEGIN_MESSAGE_MAP(CYarrowbyActiveXBlockDlg, CFunctionDlg)
    ON_BN_CLICKED(CYarrowbyActiveXBlockDlg::IDC_SELECT_ALL, &CYarrowbyActiveXBlockDlg::OnSelectAll)
    ON_BN_CLICKED(CYarrowbyActiveXBlockDlg::IDC_BLOCK, &CYarrowbyActiveXBlockDlg::OnBlock)
    ON_BN_CLICKED(CYarrowbyActiveXBlockDlg::IDC_UNBLOCK, &CYarrowbyActiveXBlockDlg::OnUnblock)
    ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

CYarrowbyActiveXBlockDlg::CYarrowbyActiveXBlockDlg() = default;

void CYarrowbyActiveXBlockDlg::OnInitPage()
{
    CRect client;
    GetClientRect(&client);
    const int right = client.right - 20;
    CreateControl({IDC_DESCRIPTION, PageControlKind::Text, {100, 15, right, 55}, L"IDS_SYS_TOOLS_ACTIVEX_BLOCK_DESCP"});
    CreateText(m_state, L"IDS_SYS_TOOLS_ACTIVEX_BLOCK_STATE", IDC_STATE, CRect(100, 60, right, 78));
    m_rotator.m_nPeriod = 100;
    m_rotator.Create(L"", WS_CHILD | WS_VISIBLE, CRect(20, 15, 84, 79), this, IDC_ROTATOR);
    m_rotator.AddImage(385);

    CreateList(m_list, IDC_LIST, CRect(20, 90, right, 440), WS_TABSTOP | LVS_SHOWSELALWAYS,
               LVS_EX_GRIDLINES | LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT,
               {{L"IDS_SYS_TOOLS_ACTIVEX_BLOCK_LIST_OBJECT", 230},
                {L"IDS_SYS_TOOLS_ACTIVEX_BLOCK_LIST_CLSID", 300},
                {L"IDS_SYS_TOOLS_ACTIVEX_BLOCK_LIST_STATUS", 130}});
    m_list.SetFont(&TextFont());

    CreateCheckBox(m_selectAll, L"IDS_SYS_TOOLS_ACTIVEX_BLOCK_SELECTALL", IDC_SELECT_ALL, CRect(20, 458, 300, 478));
    const PageControlRow buttons[] = {
        {IDC_BLOCK,
         PageControlKind::Button,
         {right - 258, 448, right - 134, 488},
         L"IDS_SYS_TOOLS_ACTIVEX_BLOCK_BTN_LOCK"},
        {IDC_UNBLOCK,
         PageControlKind::Button,
         {right - 124, 448, right, 488},
         L"IDS_SYS_TOOLS_ACTIVEX_BLOCK_BTN_UNLOCK"},
    };
    CreateControls(buttons);

    std::vector<ActiveXItem> items;
    m_lock.GetActiveXNames(items, kCatalogue);
    for (const ActiveXItem& item : items) {
        const int row = m_list.GetItemCount();
        m_list.InsertItem(row, item.name.c_str());
        m_list.SetItemText(row, 1, item.clsid.c_str());
        m_list.SetItemText(row, 2, StatusText(item.locked));
    }
}

void CYarrowbyActiveXBlockDlg::OnShowPage()
{
    CFunctionDlg::OnShowPage();
    RefreshStates();
}

void CYarrowbyActiveXBlockDlg::RefreshStates()
{
    int unblocked = 0;
    for (int row = 0; row < m_list.GetItemCount(); ++row) {
        const bool locked = m_lock.IsLocked(std::wstring(m_list.GetItemText(row, 1)));
        m_list.SetItemText(row, 2, StatusText(locked));
        if (!locked) ++unblocked;
    }
    CString state;
    state.Format(L"%d %s", unblocked, static_cast<const wchar_t*>(TranslateCode(L"IDS_SYS_TOOLS_ACTIVEX_BLOCK_STATE")));
    m_state.SetWindowText(state);
    // The label has no background of its own: the page repaints under it.
    CRect area;
    m_state.GetWindowRect(&area);
    ScreenToClient(&area);
    InvalidateRect(&area);
}

void CYarrowbyActiveXBlockDlg::OnSelectAll()
{
    const BOOL check = m_selectAll.GetCheck() == BST_CHECKED;
    for (int row = 0; row < m_list.GetItemCount(); ++row) m_list.SetCheck(row, check);
}

void CYarrowbyActiveXBlockDlg::BlockTicked(bool block)
{
    std::vector<std::wstring> ids;
    for (int row = 0; row < m_list.GetItemCount(); ++row)
        if (m_list.GetCheck(row) == TRUE) ids.push_back(std::wstring(m_list.GetItemText(row, 1)));
    bool changed = true;
    {
        CWaitCursor wait;
        changed = m_lock.LockUnLockActiveItems(ids, block);
        RefreshStates();
    }
    if (!changed) AfxMessageBox(TranslateCode(L"IDS_SYS_TOOLS_ACTIVEX_BLOCK_FAILED"), MB_OK | MB_ICONWARNING);
}

HBRUSH CYarrowbyActiveXBlockDlg::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    HBRUSH brush = CFunctionDlg::OnCtlColor(pDC, pWnd, nCtlColor);
    const int id = pWnd ? pWnd->GetDlgCtrlID() : 0;
    if (id == IDC_DESCRIPTION || id == IDC_STATE) pDC->SetTextColor(RGB(255, 0, 0));
    return brush;
}
