// The scan tab of the privacy-trace page: the category tree (root, four groups, categories 0 to 59, each with
// its count), a progress bar and the scan/abort button. The scan runs on a worker thread that calls the
// privacy-trace scanner for each ticked category; the scanner reports each trace to this window with
// SendMessageW, and only the interface thread changes the model and the tree.
#pragma once

#include <vector>

#include "EvidenceCatalog.h"
#include "EvidenceResults.h"
#include "EvidenceTree.h"
#include "FunctionDlg.h"
#include "ImageButton.h"
#include "QWorker.h"
#include "SysEvidence.h"
#include "controls/ProgressCtrlEx.h"

class CScanCleanEvidenceDlg;

class CScanCleanEvidenceScanDlg : public CFunctionDlg {
public:
    enum { IDC_TREE = 11403, IDC_PROGRESS = 11405, IDC_SCAN_ABORT = 11406 };
    enum class State { Idle, Scanning, Aborting };
    // Counts reach the tree this often while traces arrive.
    enum { kLabelTimer = 1, kLabelTimerMs = 100 };

    CScanCleanEvidenceScanDlg();
    ~CScanCleanEvidenceScanDlg() override;

    void SetHost(CScanCleanEvidenceDlg* pHost) { m_pHost = pHost; }
    void OnInitPage() override;
    void OnShowPage() override;

    State GetState() const { return m_state; }
    CTreeCtrl& GetTree() { return m_tree; }
    HTREEITEM CategoryItem(int category) const { return m_nodes.categories[category]; }
    HTREEITEM GroupItem(int group) const { return m_nodes.groups[group]; }
    HTREEITEM RootItem() const { return m_nodes.root; }
    int Count(int category) const { return m_counts[category]; }
    // The ticked categories in tree order.
    std::vector<int> CheckedCategories() const;
    // Stops a running scan and waits for it (window destruction).
    void StopAndWait();
    // The page frame's exit: the engine is told to stop as well.
    void StopWorkers() override;

protected:
    void OnScanOrAbort();
    void OnTreeClick(NMHDR* pNMHDR, LRESULT* pResult);
    LRESULT OnTreeChecked(WPARAM wParam, LPARAM lParam);
    LRESULT OnTraceFound(WPARAM wParam, LPARAM lParam);
    LRESULT OnCategoryScanned(WPARAM wParam, LPARAM lParam);
    LRESULT OnScanDone(WPARAM wParam, LPARAM);
    void OnTimer(UINT_PTR nIDEvent);
    void OnDestroy();
    LRESULT OnLanguageChanged(WPARAM, LPARAM);
    DECLARE_MESSAGE_MAP()

private:
    void StartScan();
    void ShowCounts();
    void SetButtonText(const wchar_t* key);

    CScanCleanEvidenceDlg* m_pHost = nullptr;
    Lumbrey::CSysEvidence m_scanner;
    qcore::CWorker m_worker;
    State m_state = State::Idle;
    unsigned m_nRun = 0;
    bool m_bClosing = false;

    std::vector<EvidencePage::Trace> m_traces;
    int m_counts[EvidencePage::kCategoryCount] = {};
    bool m_bCountsChanged = false;

    EvidencePage::TreeLabels m_labels;
    EvidencePage::TreeNodes m_nodes;

    CTreeCtrl m_tree;
    CProgressCtrlEx m_progress;
    CImageButton m_scanAbort;
};
