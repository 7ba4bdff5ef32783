// The privacy-trace page: a scan tab (category tree, scan/abort) and a result tab (the traces found, clean).
#pragma once

#include <vector>

#include "FunctionDlg.h"
#include "ScanCleanEvidenceResultDlg.h"
#include "ScanCleanEvidenceScanDlg.h"
#include "TabButton.h"

class CScanCleanEvidenceDlg : public CFunctionDlg {
public:
    enum { IDC_TAB_SCAN = 11401, IDC_TAB_RESULT = 11402 };
    enum { kTabScan = 0, kTabResult = 1 };

    CScanCleanEvidenceDlg();
    ~CScanCleanEvidenceDlg() override;

    void OnInitPage() override;
    void OnShowPage() override;

    // Brings a tab and its page to the front.
    void ShowTab(int tab);
    // The scan has ended (also after an abort): the result tab shows what it found.
    void ShowResults(const std::vector<EvidencePage::Trace>& traces);

    CScanCleanEvidenceScanDlg& GetScanPage() { return m_scanPage; }
    CScanCleanEvidenceResultDlg& GetResultPage() { return m_resultPage; }

protected:
    void OnTabScan() { ShowTab(kTabScan); }
    void OnTabResult() { ShowTab(kTabResult); }
    void OnDestroy();
    DECLARE_MESSAGE_MAP()

private:
    CTabButton m_tabs[2];
    CScanCleanEvidenceScanDlg m_scanPage;
    CScanCleanEvidenceResultDlg m_resultPage;
};
