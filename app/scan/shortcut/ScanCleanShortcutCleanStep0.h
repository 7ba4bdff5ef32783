// First step of the shortcut page: every drive but CD and DVD drives, to be ticked, and the Scan button.
#pragma once

#include <string>
#include <vector>

#include "FunctionDlg.h"
#include "ImageButton.h"

class CScanCleanShortcutCleanDlg;

class CScanCleanShortcutCleanStep0 : public CFunctionDlg {
public:
    enum { IDC_DRIVE_LIST = 11401, IDC_SCAN = 11402 };

    void SetHost(CScanCleanShortcutCleanDlg* pHost) { m_pHost = pHost; }
    void OnInitPage() override;

    // The root paths of the ticked drives, in list order.
    std::vector<std::wstring> CheckedDrives() const;
    CListCtrl& GetDriveList() { return m_drives; }

protected:
    void OnScan();
    DECLARE_MESSAGE_MAP()

private:
    CScanCleanShortcutCleanDlg* m_pHost = nullptr;
    std::vector<std::wstring> m_roots;  // row item data indexes this (the list sorts its rows)
    CListCtrl m_drives;
    CImageList m_icons;
    CImageButton m_scan;
};
