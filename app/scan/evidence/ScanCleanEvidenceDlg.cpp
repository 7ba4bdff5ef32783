#include "ScanCleanEvidenceDlg.h"

#include "Dictionary.h"
#include "PageFactory.h"

QUORVEL_REGISTER_PAGE(PAGE_ID_SCAN_CLEAN_EVIDENCE, CScanCleanEvidenceDlg);

using nsVendrel::TranslateCode;

namespace {
const int kTabX = 20, kTabY = 20, kTabW = 104, kTabH = 31, kPagesTop = 60;
}  // namespace

BEGIN_MESSAGE_MAP(CScanCleanEvidenceDlg, CFunctionDlg)
    ON_BN_CLICKED(CScanCleanEvidenceDlg::IDC_TAB_SCAN, &CScanCleanEvidenceDlg::OnTabScan)
    ON_BN_CLICKED(CScanCleanEvidenceDlg::IDC_TAB_RESULT, &CScanCleanEvidenceDlg::OnTabResult)
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CScanCleanEvidenceDlg::CScanCleanEvidenceDlg() = default;

CScanCleanEvidenceDlg::~CScanCleanEvidenceDlg()
{
    m_scanPage.StopAndWait();
    m_resultPage.StopAndWait();
}

void CScanCleanEvidenceDlg::OnInitPage()
{
    const wchar_t* keys[2] = {L"IDS_SCAN_CLEAN_EVIDENCE_TAB_BUTTON_SCAN", L"IDS_SCAN_CLEAN_EVIDENCE_TAB_BUTTON_RESULT"};
    for (int i = 0; i < 2; ++i) {
        const int x = kTabX + i * (kTabW + 2);
        m_tabs[i].Create(TranslateCode(keys[i]), WS_CHILD | WS_VISIBLE, CRect(x, kTabY, x + kTabW, kTabY + kTabH), this,
                         UINT(IDC_TAB_SCAN + i));
        m_tabs[i].SetBitmaps(354, 353, 353, 355, CLR_INVALID);
        m_tabs[i].m_bBold = TRUE;
        m_tabs[i].m_nFontSize = 13;
        m_tabs[i].m_crText = RGB(0x00, 0x15, 0x6E);
        m_tabs[i].CreateTextFont();
    }
    CRect client;
    GetClientRect(&client);
    const CRect pages(0, kPagesTop, client.right, client.bottom);
    m_scanPage.SetHost(this);
    m_resultPage.SetHost(this);
    AddSubPage(&m_scanPage, this, kTabScan, pages);
    AddSubPage(&m_resultPage, this, kTabResult, pages);
}

void CScanCleanEvidenceDlg::OnShowPage()
{
    ShowWindow(SW_SHOW);
    ShowTab(kTabScan);
}

void CScanCleanEvidenceDlg::ShowTab(int tab)
{
    ShowSubPage(tab);
    for (int i = 0; i < 2; ++i) m_tabs[i].SetSelected(i == tab ? TRUE : FALSE);
}

void CScanCleanEvidenceDlg::ShowResults(const std::vector<EvidencePage::Trace>& traces)
{
    m_resultPage.Fill(traces);
    ShowTab(kTabResult);
}

void CScanCleanEvidenceDlg::OnDestroy()
{
    // Scan and clean end while both pages still exist.
    m_scanPage.StopAndWait();
    m_resultPage.StopAndWait();
    CFunctionDlg::OnDestroy();
}
