// CSysOpMenuOptDlg: the six start-menu settings of CRegMenuMan as check boxes.
#pragma once

#include "SysOpCheckPage.h"

class CSysOpMenuOptDlg : public CSysOpCheckPage {
public:
    enum { IDC_APPLY = 22000, IDC_RESET = 22001 };
    CSysOpMenuOptDlg();
    void OnShowPage() override;
    void Load() override;

protected:
    std::vector<int> Apply() override;
};
