// The result tab of the privacy-trace page: the traces of the last scan in a tree (root, groups, categories,
// one leaf per trace, all ticked at first), their number and size, and the clean of the ticked leaves on a
// worker thread. A leaf leaves the tree only when its trace is really gone.
#pragma once

#include <map>
#include <vector>

#include "EvidenceCatalog.h"
#include "EvidenceResults.h"
#include "EvidenceTree.h"
#include "FunctionDlg.h"
#include "ImageButton.h"
#include "QWorker.h"

class CScanCleanEvidenceDlg;

class CScanCleanEvidenceResultDlg : public CFunctionDlg {
public:
    enum {
        IDC_TREE = 11403,
        IDC_CLEAN = 11407,
        IDC_AMOUNT_CAPTION = 11408,
        IDC_AMOUNT = 11409,
        IDC_SIZE_CAPTION = 11410,
        IDC_SIZE_VALUE = 11411,
        IDC_STATUS = 11412,
    };

    CScanCleanEvidenceResultDlg();
    ~CScanCleanEvidenceResultDlg() override;

    void SetHost(CScanCleanEvidenceDlg* pHost) { m_pHost = pHost; }
    void OnInitPage() override;

    // Shows these traces (the tree is built anew).
    void Fill(const std::vector<EvidencePage::Trace>& traces);
    bool IsCleaning() const { return m_cleaner.HasThread(); }
    CTreeCtrl& GetTree() { return m_tree; }
    HTREEITEM CategoryItem(int category) const { return m_nodes.categories[category]; }
    HTREEITEM RootItem() const { return m_nodes.root; }
    // The trace a leaf shows, or null for any other item.
    const EvidencePage::Trace* LeafTrace(HTREEITEM item) const;
    int Count(int category) const { return m_counts[category]; }
    void StopAndWait();

protected:
    void OnClean();
    void OnTreeClick(NMHDR* pNMHDR, LRESULT* pResult);
    void OnSelChanged(NMHDR* pNMHDR, LRESULT* pResult);
    LRESULT OnTreeChecked(WPARAM wParam, LPARAM lParam);
    LRESULT OnCleanDone(WPARAM wParam, LPARAM);
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    void OnDestroy();
    LRESULT OnLanguageChanged(WPARAM, LPARAM);
    DECLARE_MESSAGE_MAP()

private:
    void ShowSelection();
    unsigned long long CheckedSize(HTREEITEM node) const;
    int NodeCount(HTREEITEM node) const;
    void MarkLeaf(size_t trace, const wchar_t* noteKey);

    CScanCleanEvidenceDlg* m_pHost = nullptr;
    std::vector<EvidencePage::Trace> m_traces;
    std::map<HTREEITEM, size_t> m_leafTrace;
    std::vector<HTREEITEM> m_traceLeaf;  // null once the trace is gone
    int m_counts[EvidencePage::kCategoryCount] = {};
    unsigned m_nGeneration = 0;  // a posted click of an older tree is ignored

    // The clean: what the worker removes, and what it reports back (read after it has ended).
    qcore::CWorker m_cleaner;
    unsigned m_nRun = 0;
    EvidencePage::CleanPlan m_plan;
    std::vector<char> m_removed;  // per entry of m_plan.oneByOne
    bool m_bBinEmptied = false;

    EvidencePage::TreeLabels m_labels;
    EvidencePage::TreeNodes m_nodes;

    CTreeCtrl m_tree;
    CImageButton m_clean;
    CStatic m_amountCaption, m_amount, m_sizeCaption, m_size, m_status;
};
