// CSysOpDesktopOptDlg: the six desktop settings of CRegDesktopMan as check boxes.
#pragma once

#include "SysOpCheckPage.h"

class CSysOpDesktopOptDlg : public CSysOpCheckPage {
public:
    enum { IDC_APPLY = 23001, IDC_RESET = 23002 };
    CSysOpDesktopOptDlg();
    void Load() override;

protected:
    std::vector<int> Apply() override;
};
