// Second step of the registry page: the entries the scan found, to be ticked and repaired. The clean runs on a
// worker thread; each row the engine cleans leaves the list at once (the count follows the list), and a row whose
// registry item is still there at the end comes back, ticked. A clean that removed everything it tried says so.
// "Select All" is ticked exactly while every row is.
#pragma once

#include <set>
#include <vector>

#include "FunctionDlg.h"
#include "ImageButton.h"
#include "QWorker.h"
#include "RegCleanBookkeeping.h"
#include "RegistryData.h"
#include "RegScanResultListCtrl.h"

class CScanCleanRegCleanStep1 : public CFunctionDlg {
public:
    enum {
        IDC_RESULT_LIST = 11103,
        IDC_SELECT_ALL = 11104,
        IDC_REPAIR = 11105,
        IDC_COUNT_CAPTION = 11106,
        IDC_COUNT = 11107,
        IDC_DONE_MESSAGE = 11108
    };

    CScanCleanRegCleanStep1();
    ~CScanCleanRegCleanStep1() override;

    void SetEngine(CRegistryData* pEngine) { m_pEngine = pEngine; }
    void OnInitPage() override;
    void OnShowPage() override;

    // Empties the list and the result set (a new scan starts).
    void Reset();
    // Adds one result of the running scan (on top of the list).
    void AddResult(const CRegistryData::SCAN_RESULT* pResult);
    size_t GetResultCount() const { return m_results.size(); }
    CRegScanResultListCtrl& GetList() { return m_list; }
    bool IsCleaning() const { return m_cleanWorker.HasThread(); }
    void StopAndWait();
    // The page frame's exit: the engine is told to stop as well.
    void StopWorkers() override;

protected:
    void OnRepair();
    void OnSelectAll();
    LRESULT OnCleanItem(WPARAM wParam, LPARAM);
    LRESULT OnCleanFinished(WPARAM wParam, LPARAM);
    void OnListItemChanged(NMHDR* hdr, LRESULT* result);
    BOOL OnEraseBkgnd(CDC* pDC);
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    DECLARE_MESSAGE_MAP()

private:
    static DWORD WINAPI CleanThread(LPVOID param);
    void ShowCount(int count);
    void ShowDoneMessage(const CString& text);
    void ShowSelectAllState();
    // The list row showing the result, -1 when none does.
    int FindListRow(const CRegistryData::SCAN_RESULT* result) const;
    bool m_bSettingAllChecks = false;

    CRegistryData* m_pEngine = nullptr;
    std::set<const CRegistryData::SCAN_RESULT*> m_results;
    qcore::CWorker m_cleanWorker;  // runs the engine's clean; the engine has its own stop
    RegCleanBookkeeping m_book;

    CRegScanResultListCtrl m_list;
    CButton m_selectAll;
    CStatic m_count;
    CStatic m_doneMessage;
    HBITMAP m_hFrame = nullptr;
};
