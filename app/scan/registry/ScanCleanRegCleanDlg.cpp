#include "ScanCleanRegCleanDlg.h"

#include "PageFactory.h"

QUORVEL_REGISTER_PAGE(PAGE_ID_SCAN_CLEAN_REGISTRY, CScanCleanRegCleanDlg);

BEGIN_MESSAGE_MAP(CScanCleanRegCleanDlg, CFunctionDlg)
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CScanCleanRegCleanDlg::CScanCleanRegCleanDlg() = default;

CScanCleanRegCleanDlg::~CScanCleanRegCleanDlg()
{
    // The workers use the engine and the steps: both end before either goes away.
    m_step0.StopAndWait();
    m_step1.StopAndWait();
}

void CScanCleanRegCleanDlg::OnInitPage()
{
    m_step0.SetPeers(this, &m_step1, &m_engine);
    m_step1.SetEngine(&m_engine);
    AddSubPage(&m_step0, this, 0);
    AddSubPage(&m_step1, this, 1);
}

void CScanCleanRegCleanDlg::OnDestroy()
{
    m_step0.StopAndWait();
    m_step1.StopAndWait();
    CFunctionDlg::OnDestroy();
}
