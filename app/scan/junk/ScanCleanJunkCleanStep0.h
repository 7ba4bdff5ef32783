// First step of the junk-file page: the fixed drives, to be ticked, and the Scan button.
#pragma once

#include <string>
#include <vector>

#include "FunctionDlg.h"
#include "ImageButton.h"

class CScanCleanJunkCleanDlg;

class CScanCleanJunkCleanStep0 : public CFunctionDlg {
public:
    enum { IDC_DRIVE_LIST = 11200, IDC_SCAN = 11201 };

    void SetHost(CScanCleanJunkCleanDlg* pHost) { m_pHost = pHost; }
    void OnInitPage() override;

    CListCtrl& GetDriveList() { return m_drives; }

protected:
    void OnScan();
    DECLARE_MESSAGE_MAP()

private:
    CScanCleanJunkCleanDlg* m_pHost = nullptr;
    std::vector<std::wstring> m_roots;  // row item data indexes this
    CListCtrl m_drives;
    CImageButton m_scan;
};
