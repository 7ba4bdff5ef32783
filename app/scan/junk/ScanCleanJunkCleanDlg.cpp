#include "ScanCleanJunkCleanDlg.h"

#include "PageFactory.h"

QUORVEL_REGISTER_PAGE(PAGE_ID_SCAN_CLEAN_JUNK, CScanCleanJunkCleanDlg);

BEGIN_MESSAGE_MAP(CScanCleanJunkCleanDlg, CFunctionDlg)
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CScanCleanJunkCleanDlg::CScanCleanJunkCleanDlg() = default;

CScanCleanJunkCleanDlg::~CScanCleanJunkCleanDlg() { m_step1.StopAndWait(); }

void CScanCleanJunkCleanDlg::OnInitPage()
{
    m_step0.SetHost(this);
    m_step1.SetHost(this);
    AddSubPage(&m_step0, this, 0);
    AddSubPage(&m_step1, this, 1);
}

void CScanCleanJunkCleanDlg::OnDestroy()
{
    // The walk ends before the steps' windows go.
    m_step1.StopAndWait();
    CFunctionDlg::OnDestroy();
}
