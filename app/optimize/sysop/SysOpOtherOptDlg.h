// CSysOpOtherOptDlg: the miscellaneous settings of tessik::CRegMiscOptimizeMan, with the automatic log-on account.
#pragma once

#include "SysOpCheckPage.h"

class CSysOpOtherOptDlg : public CSysOpCheckPage {
public:
    enum { IDC_AUTO_LOGON = 27007, IDC_APPLY = 27010, IDC_RESET = 27011, IDC_USER = 27012, IDC_PASSWORD = 27013 };
    CSysOpOtherOptDlg();
    void OnInitPage() override;
    void Load() override;

protected:
    std::vector<int> Apply() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void EnableAccountFields();

    CEdit m_user, m_password;
};
