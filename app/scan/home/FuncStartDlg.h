// CFuncStartDlg: the home page (first page of the main window, target of the START button). Sub-page 0 shows the
// last result, sub-page 1 runs the one-click scan.
#pragma once

#include "FunctionDlg.h"

class CStartStep0Dlg;

class CFuncStartDlg : public CFunctionDlg {
public:
    CFuncStartDlg();
    ~CFuncStartDlg() override;

    void OnInitPage() override;

    CStartStep0Dlg* Step0() const { return m_pStep0; }
    // The one-click scan step (registered by its own folder).
    CFunctionDlg* Step1() const { return m_pStep1; }

private:
    CStartStep0Dlg* m_pStep0 = nullptr;
    CFunctionDlg* m_pStep1 = nullptr;
};
