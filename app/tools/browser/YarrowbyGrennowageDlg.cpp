#include "YarrowbyGrennowageDlg.h"

#include "Dictionary.h"
#include "PageFactory.h"

using nsVendrel::TranslateCode;

QUORVEL_REGISTER_PAGE(PAGE_ID_TOOLS_BROWSER, CYarrowbyGrennowageDlg);

namespace {

const int kTabX = 50, kTabY = 20, kTabW = 104, kTabH = 31;
const int kTabAreaTop = 50;

const struct TabRow {
    int buttonId;
    const wchar_t* captionKey;
    int pageId;
} kTabRows[CYarrowbyGrennowageDlg::kTabCount] = {
    {CYarrowbyGrennowageDlg::IDC_TAB_GENERAL, L"IDS_SYS_TOOLS_IE_TAB_BTN_GENERAL", 52007},
    {CYarrowbyGrennowageDlg::IDC_TAB_PLUGIN, L"IDS_SYS_TOOLS_IE_TAB_BTN_PLUGIN", 52008},
    {CYarrowbyGrennowageDlg::IDC_TAB_ACTIVEX, L"IDS_SYS_TOOLS_IE_TAB_BTN_ACTIVEX", 52009},
    {CYarrowbyGrennowageDlg::IDC_TAB_SECURITY, L"IDS_SYS_TOOLS_IE_TAB_BTN_SECURITY", 52010},
    {CYarrowbyGrennowageDlg::IDC_TAB_BHO, L"IDS_SYS_TOOLS_IE_TAB_BTN_BHO", 52011},
    {CYarrowbyGrennowageDlg::IDC_TAB_RESTORE, L"IDS_SYS_TOOLS_IE_TAB_BTN_RESTORE", 52012},
};

}  // namespace

IMPLEMENT_DYNAMIC(CYarrowbyGrennowageDlg, CFunctionDlg)

BEGIN_MESSAGE_MAP(CYarrowbyGrennowageDlg, CFunctionDlg)
    ON_COMMAND_RANGE(CYarrowbyGrennowageDlg::IDC_TAB_GENERAL, CYarrowbyGrennowageDlg::IDC_TAB_RESTORE,
                     &CYarrowbyGrennowageDlg::OnTab)
END_MESSAGE_MAP()

CYarrowbyGrennowageDlg::CYarrowbyGrennowageDlg() = default;
CYarrowbyGrennowageDlg::~CYarrowbyGrennowageDlg() = default;

void CYarrowbyGrennowageDlg::OnInitPage()
{
    for (int i = 0; i < kTabCount; ++i) {
        const TabRow& row = kTabRows[i];
        CTabButton& tab = m_tabs[i];
        CRect rect(kTabX + i * kTabW, kTabY, kTabX + (i + 1) * kTabW, kTabY + kTabH);
        tab.Create(TranslateCode(row.captionKey), WS_CHILD | WS_VISIBLE, rect, this, UINT(row.buttonId));
        tab.SetBitmaps(354, 353, 353, 355, CLR_INVALID);
        tab.m_bCenter = TRUE;
        tab.m_bBold = TRUE;
        tab.m_nFontSize = 13;
        tab.m_crText = RGB(0x00, 0x15, 0x6E);
        tab.CreateTextFont();
        tab.SetFont(&tab.m_font);
        m_tabPages[row.buttonId] = row.pageId;
    }

    CRect area;
    GetClientRect(&area);
    area.top = kTabAreaTop;
    CYarrowbyGrennowageTabDlg* pages[kTabCount] = {&m_general, &m_plugin, &m_activeX, &m_security, &m_bho, &m_restore};
    for (int i = 0; i < kTabCount; ++i) {
        pages[i]->Create(IDD_FUNCTION_PAGE, this);
        pages[i]->MoveWindow(&area, TRUE);
        pages[i]->OnInitPage();
        pages[i]->SetPageId(kTabRows[i].pageId);
        pages[i]->SetDlgCtrlID(kTabRows[i].pageId);  // the window carries the id too, for tools that look at windows
    }
}

void CYarrowbyGrennowageDlg::OnShowPage()
{
    CFunctionDlg::OnShowPage();
    SelectTab(IDC_TAB_GENERAL);
}

void CYarrowbyGrennowageDlg::OnTab(UINT buttonId) { SelectTab(buttonId); }

CTabButton* CYarrowbyGrennowageDlg::GetTabButton(UINT buttonId)
{
    for (int i = 0; i < kTabCount; ++i)
        if (kTabRows[i].buttonId == int(buttonId)) return &m_tabs[i];
    return nullptr;
}

void CYarrowbyGrennowageDlg::SelectTab(UINT buttonId)
{
    CFunctionDlg* chosen = nullptr;
    for (const auto& pair : m_tabPages) {
        CTabButton* tab = GetTabButton(UINT(pair.first));
        tab->SetSelected(FALSE);
        tab->Invalidate();
        CFunctionDlg* page = GetSubPage(pair.second);
        if (page) page->ShowWindow(SW_HIDE);
        if (pair.first == int(buttonId)) chosen = page;
    }
    if (!m_tabPages.count(int(buttonId))) return;
    CTabButton* tab = GetTabButton(buttonId);
    tab->SetSelected(TRUE);
    tab->Invalidate();
    if (chosen) chosen->OnShowPage();
}

void CYarrowbyGrennowageDlg::InvalidateTabs()
{
    for (const auto& pair : m_tabPages)
        if (CTabButton* tab = GetTabButton(UINT(pair.first))) tab->Invalidate();
}
