#include "WizardErrorStepDlg.h"

#include "Dictionary.h"
#include "OptimizeMessages.h"

using nsVendrel::TranslateCode;

BEGIN_MESSAGE_MAP(CWizardErrorStepDlg, CDialogEx)
    ON_BN_CLICKED(CWizardErrorStepDlg::IDC_PREV, &CWizardErrorStepDlg::OnPrevious)
    ON_BN_CLICKED(CWizardErrorStepDlg::IDC_NEXT, &CWizardErrorStepDlg::OnNext)
    ON_BN_CLICKED(CWizardErrorStepDlg::IDC_FINISH, &CWizardErrorStepDlg::OnFinish)
    ON_MESSAGE(WM_WIZARD_STEP_DONE, &CWizardErrorStepDlg::OnStepDone)
    ON_WM_CTLCOLOR()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CWizardErrorStepDlg::CWizardErrorStepDlg(IWizardNavigator* controller) : m_controller(controller)
{
    CreateSkinFont(m_font, 14, FALSE);
}

void CWizardErrorStepDlg::BuildControls()
{
    m_text.Create(L"", WS_CHILD | WS_VISIBLE | SS_LEFT, CRect(20, 20, 723, 450), this, IDC_STEP_TEXT);
    m_text.SetFont(&m_font);
    const struct {
        CGeneralImageButton* button;
        const wchar_t* key;
        int id, left;
    } buttons[] = {
        {&m_finish, L"IDS_SYS_FIX_ERROR_WIZARD_BTN_FINISH", IDC_FINISH, 592},
        {&m_next, L"IDS_SYS_FIX_ERROR_WIZARD_BTN_NEXT", IDC_NEXT, 451},
        {&m_previous, L"IDS_SYS_FIX_ERROR_WIZARD_BTN_PREV", IDC_PREV, 310},
    };
    for (const auto& b : buttons)
        b.button->Create(TranslateCode(b.key), WS_CHILD | WS_VISIBLE | WS_TABSTOP,
                         CRect(b.left, 476, b.left + 131, 512), this, b.id);
}

void CWizardErrorStepDlg::SetStepText(const CString& text)
{
    m_text.SetWindowText(text);
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void CWizardErrorStepDlg::OfferButton(int id, bool offer)
{
    CWnd* button = GetDlgItem(id);
    if (!button) return;
    button->EnableWindow(offer ? TRUE : FALSE);
    button->ShowWindow(offer ? SW_SHOW : SW_HIDE);
}

void CWizardErrorStepDlg::OnPrevious() { m_controller->PreviousStep(); }

void CWizardErrorStepDlg::OnNext() { m_controller->NextStep(); }

void CWizardErrorStepDlg::OnFinish() { m_controller->Finish(); }

LRESULT CWizardErrorStepDlg::OnStepDone(WPARAM token, LPARAM succeeded)
{
    m_controller->OnStepDone(token, succeeded != 0);
    return 0;
}

HBRUSH CWizardErrorStepDlg::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    if (pWnd && pWnd->GetDlgCtrlID() == IDC_STEP_TEXT) {
        pDC->SetBkColor(RGB(255, 255, 255));
        return static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
    }
    return CDialogEx::OnCtlColor(pDC, pWnd, nCtlColor);
}

BOOL CWizardErrorStepDlg::OnEraseBkgnd(CDC* pDC)
{
    CRect client;
    GetClientRect(&client);
    pDC->FillSolidRect(&client, RGB(255, 255, 255));
    return TRUE;
}
