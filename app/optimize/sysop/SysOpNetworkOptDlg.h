// CSysOpNetworkOptDlg: the user picks a connection type and is told the optimisation is done; no setting is
// defined for any type, so nothing on the machine changes.
#pragma once

#include "FunctionDlg.h"
#include "ImageButton.h"

class CSysOpNetworkOptDlg : public CFunctionDlg {
public:
    enum { IDC_PROMPT = 24001, IDC_TYPE = 24002, IDC_OPTIMIZE = 24003 };
    CSysOpNetworkOptDlg();
    void OnInitPage() override;
    void OnOptimize();
    CComboBox& Types() { return m_types; }

protected:
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    DECLARE_MESSAGE_MAP()

    CComboBox m_types;
    CGeneralImageButton m_optimize;
};
