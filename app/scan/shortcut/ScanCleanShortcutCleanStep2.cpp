#include "ScanCleanShortcutCleanStep2.h"

#include "Dictionary.h"
#include "ListChecks.h"
#include "ScanCleanShortcutCleanDlg.h"
#include "ShellIcons.h"
#include "ShortcutPageRules.h"

using nsVendrel::TranslateCode;

BEGIN_MESSAGE_MAP(CScanCleanShortcutCleanStep2, CFunctionDlg)
    ON_BN_CLICKED(CScanCleanShortcutCleanStep2::IDC_BACK, &CScanCleanShortcutCleanStep2::OnBack)
    ON_BN_CLICKED(CScanCleanShortcutCleanStep2::IDC_DELETE, &CScanCleanShortcutCleanStep2::OnDelete)
    ON_BN_CLICKED(CScanCleanShortcutCleanStep2::IDC_SELECT_ALL, &CScanCleanShortcutCleanStep2::OnSelectAll)
    ON_NOTIFY(LVN_ITEMCHANGED, CScanCleanShortcutCleanStep2::IDC_RESULT_LIST,
              &CScanCleanShortcutCleanStep2::OnListItemChanged)
END_MESSAGE_MAP()

void CScanCleanShortcutCleanStep2::OnInitPage()
{
    CRect client;
    GetClientRect(&client);
    const int w = client.Width(), h = client.Height();

    CreateText(m_tips, L"IDS_SCAN_CLEAN_SHORTCUT_STEP2_TXT_TIPS", IDC_TIPS, CRect(20, 15, w - 20, 35));

    const CRect listRect(20, 45, w - 20, h - 70);
    CreateList(m_list, IDC_RESULT_LIST, listRect, LVS_SHOWSELALWAYS | LVS_SHAREIMAGELISTS,
               LVS_EX_GRIDLINES | LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
    CRect inner;
    ShortcutPage::LoadShellIcons(m_icons, {ShortcutPage::kShellIconFile});
    m_list.SetImageList(&m_icons, LVSIL_SMALL);
    m_list.GetClientRect(&inner);
    const int seventh = inner.Width() / 7;
    m_list.InsertColumn(0, TranslateCode(L"IDS_SCAN_CLEAN_SHORTCUT_STEP2_LIST_HEADER_NAME"), LVCFMT_LEFT, 2 * seventh);
    m_list.InsertColumn(1, TranslateCode(L"IDS_SCAN_CLEAN_SHORTCUT_STEP2_LIST_HEADER_TARGET"), LVCFMT_LEFT,
                        5 * seventh / 2);
    m_list.InsertColumn(2, TranslateCode(L"IDS_SCAN_CLEAN_SHORTCUT_STEP2_LIST_HEADER_PATH"), LVCFMT_LEFT,
                        5 * seventh / 2);

    CreateCheckBox(m_selectAll, L"IDS_SCAN_CLEAN_SHORTCUT_STEP2_CHKBOX_SEL_ALL", IDC_SELECT_ALL,
                   CRect(20, listRect.bottom + 10, 260, listRect.bottom + 30), WS_TABSTOP);
    const PageControlRow buttons[] = {
        {IDC_BACK,
         PageControlKind::Button,
         {w - 282, h - 56, w - 158, h - 16},
         L"IDS_SCAN_CLEAN_SHORTCUT_STEP2_BTN_BACK",
         WS_TABSTOP},
        {IDC_DELETE,
         PageControlKind::Button,
         {w - 144, h - 56, w - 20, h - 16},
         L"IDS_SCAN_CLEAN_SHORTCUT_STEP2_DELETE",
         WS_TABSTOP},
    };
    CreateControls(buttons);
}

void CScanCleanShortcutCleanStep2::SetResults(const std::vector<InvalidShortcut>& found)
{
    m_results = found;
    m_tips.SetWindowText(TranslateCode(L"IDS_SCAN_CLEAN_SHORTCUT_STEP2_TXT_TIPS"));
    m_list.SetRedraw(FALSE);
    m_list.DeleteAllItems();
    for (size_t i = 0; i < m_results.size(); ++i) {
        const ShortcutPage::LinkParts parts = ShortcutPage::SplitLinkPath(m_results[i].link);
        const int row = m_list.InsertItem(int(i), parts.name.c_str(), 0);
        m_list.SetItemText(row, 1, m_results[i].target.c_str());
        m_list.SetItemText(row, 2, parts.folder.c_str());
        m_list.SetItemData(row, DWORD_PTR(i));
        m_list.SetCheck(row, TRUE);
    }
    m_list.SetRedraw(TRUE);
    m_list.Invalidate();
    m_selectAll.SetCheck(m_results.empty() ? BST_UNCHECKED : BST_CHECKED);
}

const InvalidShortcut* CScanCleanShortcutCleanStep2::RowShortcut(int row) const
{
    const size_t index = size_t(m_list.GetItemData(row));
    return index < m_results.size() ? &m_results[index] : nullptr;
}

void CScanCleanShortcutCleanStep2::OnBack()
{
    if (m_pHost) m_pHost->ShowSubPage(0);
}

void CScanCleanShortcutCleanStep2::OnSelectAll() { m_selectAllFollower.ApplyBox(m_list, m_selectAll); }

void CScanCleanShortcutCleanStep2::OnListItemChanged(NMHDR* hdr, LRESULT* result)
{
    m_selectAllFollower.OnItemChanged(hdr, m_list, m_selectAll);
    if (result) *result = 0;
}

void CScanCleanShortcutCleanStep2::OnDelete()
{
    // The file deleted is the link path the scan reported, never one put together from the columns.
    const CString notRemoved = TranslateCode(L"IDS_SCAN_CLEAN_SHORTCUT_STEP2_NOT_REMOVED");
    const ScanPages::RemovalOutcome outcome = ScanPages::RemoveTickedFiles(
        m_list,
        [this](int row) {
            const InvalidShortcut* shortcut = RowShortcut(row);
            return shortcut ? &shortcut->link : nullptr;
        },
        1, notRemoved);
    ScanPages::SelectAllFollower::Refresh(m_list, m_selectAll);
    if (outcome.ticked == 0) return;
    CString tips = TranslateCode(L"IDS_SCAN_CLEAN_SHORTCUT_STEP2_DELETE_DONE");
    if (outcome.failed > 0)
        tips.Format(L"%s %d",
                    static_cast<const wchar_t*>(TranslateCode(L"IDS_SCAN_CLEAN_SHORTCUT_STEP2_DELETE_FAILED")),
                    outcome.failed);
    m_tips.SetWindowText(tips);
}
