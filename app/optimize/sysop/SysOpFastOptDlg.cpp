#include "SysOpFastOptDlg.h"

#include "PageFactory.h"

QUORVEL_REGISTER_PAGE(PAGE_ID_OPTIMIZE_FAST, CSysOpFastOptDlg);

BEGIN_MESSAGE_MAP(CSysOpFastOptDlg, CFunctionDlg)
    ON_BN_CLICKED(CSysOpFastOptDlg::IDC_OPTIMIZE, &CSysOpFastOptDlg::OnOptimize)
END_MESSAGE_MAP()

void CSysOpFastOptDlg::OnInitPage()
{
    CreateButton(m_optimize, L"OptimizeText", IDC_OPTIMIZE, CRect(580, 20, 704, 64));
    CreateList(m_list, IDC_LIST, CRect(30, 70, 710, 490), LVS_NOCOLUMNHEADER, 0, {{nullptr, 680 - 20}});
}

void CSysOpFastOptDlg::OnShowPage()
{
    CFunctionDlg::OnShowPage();
    const wchar_t kShort[] = L"This is a test";
    const wchar_t kLong[] =
        L"This is a test.This is a test.This is a test.This is a test.This is a test.This is a "
        L"test.This is a test.This is a test.This is a test.";
    for (int i = 0; i < 5; ++i) m_list.InsertItem(0, kShort);
    for (int i = 0; i < 13; ++i) m_list.InsertItem(0, kLong);
}

void CSysOpFastOptDlg::OnOptimize() { AfxMessageBox(L"Test"); }
