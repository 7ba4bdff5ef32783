// The junk-file page: step 0 chooses fixed drives, step 1 walks them for junk files, lists what it found and
// removes the files the user ticks.
#pragma once

#include <string>
#include <vector>

#include "FunctionDlg.h"
#include "ScanCleanJunkCleanStep0.h"
#include "ScanCleanJunkCleanStep1.h"

class CScanCleanJunkCleanDlg : public CFunctionDlg {
public:
    CScanCleanJunkCleanDlg();
    ~CScanCleanJunkCleanDlg() override;

    void OnInitPage() override;

    // The drive roots chosen in step 0, walked by step 1.
    std::vector<std::wstring>& Drives() { return m_drives; }
    CScanCleanJunkCleanStep0& GetStep0() { return m_step0; }
    CScanCleanJunkCleanStep1& GetStep1() { return m_step1; }

protected:
    void OnDestroy();
    DECLARE_MESSAGE_MAP()

private:
    std::vector<std::wstring> m_drives;
    CScanCleanJunkCleanStep0 m_step0;
    CScanCleanJunkCleanStep1 m_step1;
};
