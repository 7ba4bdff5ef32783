// The first page of the repair wizards: the list of faults of the wizard document and the Next button.
#pragma once

#include <QMfc.h>

#include "ImageButton.h"
#include "WizardNavigator.h"

class CWizardHomeDlg : public CDialogEx {
public:
    enum { IDC_NEXT = 42002, IDC_FINISH = 42003, IDC_ERROR_LIST = 42005 };

    explicit CWizardHomeDlg(IWizardNavigator* controller);

    // Creates the list (one column "Errors") and the Next button.
    void BuildControls();
    CListCtrl& List() { return m_list; }
    // Enter and Escape must not hide the page.
    void OnOK() override {}
    void OnCancel() override {}

protected:
    void OnNext();
    void OnHide();
    BOOL OnEraseBkgnd(CDC* pDC);
    DECLARE_MESSAGE_MAP()

private:
    IWizardNavigator* m_controller;
    CListCtrl m_list;
    CGeneralImageButton m_next;
};
