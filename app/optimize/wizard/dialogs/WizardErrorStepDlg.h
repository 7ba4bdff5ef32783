// The wizard's step page: the step text with Previous, Next and Finish.
#pragma once

#include <QMfc.h>

#include "ImageButton.h"
#include "WizardNavigator.h"

class CWizardErrorStepDlg : public CDialogEx {
public:
    enum { IDC_PREV = 42001, IDC_NEXT = 42002, IDC_FINISH = 42003, IDC_STEP_TEXT = 42006 };

    explicit CWizardErrorStepDlg(IWizardNavigator* controller);

    void BuildControls();
    // Shows the text and repaints at once.
    void SetStepText(const CString& text);
    // Shows and enables a button, or hides and disables it.
    void OfferButton(int id, bool offer);
    void OnOK() override {}
    void OnCancel() override {}

protected:
    void OnPrevious();
    void OnNext();
    void OnFinish();
    LRESULT OnStepDone(WPARAM token, LPARAM succeeded);
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    BOOL OnEraseBkgnd(CDC* pDC);
    DECLARE_MESSAGE_MAP()

private:
    IWizardNavigator* m_controller;
    CStatic m_text;
    CGeneralImageButton m_finish, m_next, m_previous;
    CFont m_font;
};
