#include "ScanCleanShortcutCleanDlg.h"

#include "PageFactory.h"

QUORVEL_REGISTER_PAGE(PAGE_ID_SCAN_CLEAN_SHORTCUT, CScanCleanShortcutCleanDlg);

BEGIN_MESSAGE_MAP(CScanCleanShortcutCleanDlg, CFunctionDlg)
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CScanCleanShortcutCleanDlg::CScanCleanShortcutCleanDlg() = default;

CScanCleanShortcutCleanDlg::~CScanCleanShortcutCleanDlg() { m_step1.StopAndWait(); }

void CScanCleanShortcutCleanDlg::OnInitPage()
{
    m_step0.SetHost(this);
    m_step1.SetHost(this);
    m_step2.SetHost(this);
    AddSubPage(&m_step0, this, 0);
    AddSubPage(&m_step1, this, 1);
    AddSubPage(&m_step2, this, 2);
}

void CScanCleanShortcutCleanDlg::OnDestroy()
{
    // The scan ends while every step still exists.
    m_step1.StopAndWait();
    CFunctionDlg::OnDestroy();
}
