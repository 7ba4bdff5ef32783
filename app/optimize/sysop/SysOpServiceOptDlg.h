// CSysOpServiceOptDlg: sixteen services with an automatic/manual/disabled choice each, the "home" and "office"
// profiles, and Apply, which writes the chosen start types of the services that exist.
#pragma once

#include "FunctionDlg.h"
#include "ImageButton.h"
#include "ServiceTable.h"

class CSysOpServiceOptDlg : public CFunctionDlg {
public:
    enum { IDC_APPLY = 25001, IDC_RESET = 25002, IDC_CURRENT = 25200, IDC_HOME = 25201, IDC_OFFICE = 25202 };

    CSysOpServiceOptDlg();
    void OnInitPage() override;
    void OnShowPage() override;

    bool IsRadioChecked(int id) const;
    // Checks the radio and unchecks the others of its group, then acts on a profile radio.
    void OnRadioClicked(int id);
    void LoadCurrentSettings();
    void ShowProfile(bool office);
    void OnApply();

protected:
    void CheckOnly(int groupFirst, int checkedIndex);  // -1: none
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    // The service names of the group boxes, composed again in the new language.
    LRESULT OnLanguageChanged(WPARAM, LPARAM);
    DECLARE_MESSAGE_MAP()

    CButton m_groups[SysOp::kServiceCount];
    CButton m_radios[SysOp::kServiceCount * 3];
    CButton m_profiles[3];
    CGeneralImageButton m_apply, m_reset;
};
