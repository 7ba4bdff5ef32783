// COptionTab0Dlg: the General tab of the options window. Start with Windows (a check box read from the registry
// each time the tab is shown, applied by Apply) and the interface language (applied at once by Change).
#pragma once

#include <QMfc.h>

#include "FunctionDlg.h"

class COptionTab0Dlg : public CFunctionDlg {
    DECLARE_DYNAMIC(COptionTab0Dlg)
public:
    COptionTab0Dlg();

    void OnInitPage() override;
    void OnShowPage() override;

protected:
    // Lists the languages that have a dictionary, each named in the current language, and selects `number`.
    void FillLanguages(int number);
    void LayOutButtons();
    void OnApply();
    void OnChangeLanguage();
    LRESULT OnLanguageChanged(WPARAM wParam, LPARAM lParam);
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    DECLARE_MESSAGE_MAP()

    CFont m_font;
    CButton m_runGroup, m_run, m_languageGroup, m_change, m_apply;
    CComboBox m_languages;
};
