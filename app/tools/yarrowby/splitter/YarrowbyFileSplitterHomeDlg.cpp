#include "YarrowbyFileSplitterHomeDlg.h"

#include "Dictionary.h"
#include "ImageButton.h"
#include "PageFactory.h"

using nsVendrel::TranslateCode;

QUORVEL_REGISTER_PAGE(PAGE_ID_TOOLS_FILE_SPLITTER, CYarrowbyFileSplitterHomeDlg);

namespace {
const int kSubPageTop = 120;
const int kTabW = 104, kTabH = 31;
}  // namespace

BEGIN_MESSAGE_MAP(CYarrowbyFileSplitterHomeDlg, CFunctionDlg)
    ON_CONTROL_RANGE(BN_CLICKED, CYarrowbyFileSplitterHomeDlg::IDC_TAB_SPLIT,
                     CYarrowbyFileSplitterHomeDlg::IDC_TAB_JOIN, &CYarrowbyFileSplitterHomeDlg::OnTab)
END_MESSAGE_MAP()

CYarrowbyFileSplitterHomeDlg::CYarrowbyFileSplitterHomeDlg() = default;

int CYarrowbyFileSplitterHomeDlg::SubPageOfTab(UINT tabId)
{
    return tabId == IDC_TAB_SPLIT ? kSplitPage : (tabId == IDC_TAB_JOIN ? kJoinPage : 0);
}

void CYarrowbyFileSplitterHomeDlg::OnInitPage()
{
    CRect client;
    GetClientRect(&client);
    CreateControl(
        {IDC_DESCRIPTION, PageControlKind::Text, {20, 15, client.right - 20, 75}, L"IDS_SYS_TOOLS_FS_HOME_DESP"});
    const wchar_t* const captions[] = {L"IDS_SYS_TOOLS_FS_HOME_FILESPLITTER", L"IDS_SYS_TOOLS_FS_HOME_FILEJIONER"};
    for (int i = 0; i < 2; ++i) {
        const int x = 20 + i * (kTabW + 2);
        m_tabs[i].Create(TranslateCode(captions[i]), WS_CHILD | WS_VISIBLE, CRect(x, 85, x + kTabW, 85 + kTabH), this,
                         UINT(IDC_TAB_SPLIT + i));
        m_tabs[i].SetBitmaps(354, 353, 353, 355, CLR_INVALID);
    }
    CFunctionDlg::AddSubPage(&m_split, this, kSplitPage);
    CFunctionDlg::AddSubPage(&m_join, this, kJoinPage);
    for (CFunctionDlg* page : {static_cast<CFunctionDlg*>(&m_split), static_cast<CFunctionDlg*>(&m_join)})
        page->MoveWindow(0, kSubPageTop, client.Width(), client.Height() - kSubPageTop);
}

void CYarrowbyFileSplitterHomeDlg::OnShowPage()
{
    CFunctionDlg::OnShowPage();
    SelectTab(IDC_TAB_SPLIT);
}

void CYarrowbyFileSplitterHomeDlg::SelectTab(UINT tabId)
{
    for (int i = 0; i < 2; ++i) {
        m_tabs[i].SetSelected(UINT(IDC_TAB_SPLIT + i) == tabId);
        m_tabs[i].Invalidate();
    }
    ShowSubPage(SubPageOfTab(tabId));
}

void CYarrowbyFileSplitterHomeDlg::OnTab(UINT id) { SelectTab(id); }
