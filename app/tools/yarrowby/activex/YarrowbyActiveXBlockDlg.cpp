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

} // namespace

BEGIN_MESSAGE_MAP(CYarrowbyActiveXBlockDlg, CFunctionDlg)
    ON_BN_CLICKED(CYarrowbyActiveXBlockDlg::IDC_SELECT_ALL, &CYarrowbyActiveXBlockDlg::OnSelectAll)
    ON_BN_CLICKED(CYarrowbyActiveXBlockDlg::IDC_BLOCK, &CYarrowbyActiveXBlockDlg::OnBlock)
    ON_BN_CLICKED(CYarrowbyActiveXBlockDlg::IDC_UNBLOCK, &CYarrowbyActiveXBlockDlg::OnUnblock)
    ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

CYarrowbyActiveXBlockDlg::CYarrowbyActiveXBlockDlg() { CreateSkinFont(m_textFont, 13, FALSE); }

void CYarrowbyActiveXBlockDlg::OnInitPage()
{
    CRect client;
    GetClientRect(&client);
    const int right = client.right - 20;
    m_description.Create(TranslateCode(L"IDS_SYS_TOOLS_ACTIVEX_BLOCK_DESCP"), WS_CHILD | WS_VISIBLE | SS_LEFT,
                         CRect(100, 15, right, 55), this, IDC_DESCRIPTION);
    m_state.Create(TranslateCode(L"IDS_SYS_TOOLS_ACTIVEX_BLOCK_STATE"), WS_CHILD | WS_VISIBLE | SS_LEFT,
                   CRect(100, 60, right, 78), this, IDC_STATE);
    m_rotator.m_nPeriod = 100;
    m_rotator.Create(L"", WS_CHILD | WS_VISIBLE, CRect(20, 15, 84, 79), this, IDC_ROTATOR);
    m_rotator.AddImage(385);

    m_list.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS,
                  CRect(20, 90, right, 440), this, IDC_LIST);
    m_list.SetExtendedStyle(LVS_EX_GRIDLINES | LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
    m_list.InsertColumn(0, TranslateCode(L"IDS_SYS_TOOLS_ACTIVEX_BLOCK_LIST_OBJECT"), LVCFMT_LEFT, 230);
    m_list.InsertColumn(1, TranslateCode(L"IDS_SYS_TOOLS_ACTIVEX_BLOCK_LIST_CLSID"), LVCFMT_LEFT, 300);
    m_list.InsertColumn(2, TranslateCode(L"IDS_SYS_TOOLS_ACTIVEX_BLOCK_LIST_STATUS"), LVCFMT_LEFT, 130);

    m_selectAll.Create(TranslateCode(L"IDS_SYS_TOOLS_ACTIVEX_BLOCK_SELECTALL"), WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX,
                       CRect(20, 458, 300, 478), this, IDC_SELECT_ALL);
    m_block.Create(TranslateCode(L"IDS_SYS_TOOLS_ACTIVEX_BLOCK_BTN_LOCK"), WS_CHILD | WS_VISIBLE,
                   CRect(right - 258, 448, right - 134, 488), this, IDC_BLOCK);
    m_unblock.Create(TranslateCode(L"IDS_SYS_TOOLS_ACTIVEX_BLOCK_BTN_UNLOCK"), WS_CHILD | WS_VISIBLE,
                     CRect(right - 124, 448, right, 488), this, IDC_UNBLOCK);
    for (CWnd* wnd : {static_cast<CWnd*>(&m_description), static_cast<CWnd*>(&m_state), static_cast<CWnd*>(&m_list),
                      static_cast<CWnd*>(&m_selectAll)})
        wnd->SetFont(&m_textFont);

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
