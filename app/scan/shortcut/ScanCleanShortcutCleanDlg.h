// The shortcut page: step 0 chooses drives, step 1 runs the invalid-shortcut scan of the repair library, step 2
// lists what it found and deletes the ticked shortcuts.
#pragma once

#include "FunctionDlg.h"
#include "ScanCleanShortcutCleanStep0.h"
#include "ScanCleanShortcutCleanStep1.h"
#include "ScanCleanShortcutCleanStep2.h"

class CScanCleanShortcutCleanDlg : public CFunctionDlg {
public:
    CScanCleanShortcutCleanDlg();
    ~CScanCleanShortcutCleanDlg() override;

    void OnInitPage() override;

    CScanCleanShortcutCleanStep0& GetStep0() { return m_step0; }
    CScanCleanShortcutCleanStep1& GetStep1() { return m_step1; }
    CScanCleanShortcutCleanStep2& GetStep2() { return m_step2; }

protected:
    void OnDestroy();
    DECLARE_MESSAGE_MAP()

private:
    CScanCleanShortcutCleanStep0 m_step0;
    CScanCleanShortcutCleanStep1 m_step1;
    CScanCleanShortcutCleanStep2 m_step2;
};
