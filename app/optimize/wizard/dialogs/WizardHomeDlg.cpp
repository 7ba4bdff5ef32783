#include "WizardHomeDlg.h"

#include "Dictionary.h"

using nsVendrel::TranslateCode;

BEGIN_MESSAGE_MAP(CWizardHomeDlg, CDialogEx)
    ON_BN_CLICKED(CWizardHomeDlg::IDC_NEXT, &CWizardHomeDlg::OnNext)
    ON_BN_CLICKED(CWizardHomeDlg::IDC_FINISH, &CWizardHomeDlg::OnHide)
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CWizardHomeDlg::CWizardHomeDlg(IWizardNavigator* controller) : m_controller(controller) {}

void CWizardHomeDlg::BuildControls()
{
    m_list.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | WS_HSCROLL | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS,
                  CRect(20, 20, 723, 450), this, IDC_ERROR_LIST);
    m_list.SetExtendedStyle(LVS_EX_FULLROWSELECT);
    m_list.InsertColumn(0, L"Errors", LVCFMT_LEFT, 703);
    m_next.Create(TranslateCode(L"IDS_SYS_FIX_ERROR_WIZARD_BTN_NEXT"), WS_CHILD | WS_VISIBLE | WS_TABSTOP,
                  CRect(592, 476, 723, 512), this, IDC_NEXT);
}

void CWizardHomeDlg::OnNext()
{
    const int row = m_list.GetNextItem(-1, LVNI_SELECTED);
    if (row < 0) {
        AfxMessageBox(TranslateCode(L"IDS_SYS_FIX_ERROR_WIZARD_MSG_PLEASE_SELECT_ERROR"));
        return;
    }
    m_controller->SelectError(m_list.GetItemText(row, 0));
}

void CWizardHomeDlg::OnHide() { ShowWindow(SW_HIDE); }

BOOL CWizardHomeDlg::OnEraseBkgnd(CDC* pDC)
{
    CRect client;
    GetClientRect(&client);
    pDC->FillSolidRect(&client, RGB(255, 255, 255));
    return TRUE;
}
