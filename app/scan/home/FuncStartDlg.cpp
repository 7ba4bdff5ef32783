#include "FuncStartDlg.h"

#include "PageFactory.h"
#include "StartStep0Dlg.h"

QUORVEL_REGISTER_PAGE(PAGE_ID_START, CFuncStartDlg);

CFuncStartDlg::CFuncStartDlg()
    : m_pStep0(new CStartStep0Dlg), m_pStep1(Shell::CreatePageObject(Shell::kOneClickScanStepId))
{
}

CFuncStartDlg::~CFuncStartDlg()
{
    // The scan step stops and waits for its workers while its window still exists.
    if (m_pStep1 && m_pStep1->GetSafeHwnd()) m_pStep1->DestroyWindow();
    delete m_pStep1;
    if (m_pStep0 && m_pStep0->GetSafeHwnd()) m_pStep0->DestroyWindow();
    delete m_pStep0;
}

void CFuncStartDlg::OnInitPage()
{
    AddSubPage(m_pStep0, this, 0);
    AddSubPage(m_pStep1, this, 1);
}
