// Second step of the junk-file page: walks the chosen drives on a worker thread, lists the junk files found with
// their type, and removes the ticked ones. Abort stops the walk; Return (the same button) goes back to step 0
// once the walk has ended.
#pragma once

#include <string>
#include <vector>

#include "FunctionDlg.h"
#include "ImageButton.h"
#include "JunkTypeTable.h"
#include "JunkWalk.h"
#include "ListChecks.h"
#include "QWorker.h"

class CScanCleanJunkCleanDlg;

class CScanCleanJunkCleanStep1 : public CFunctionDlg {
public:
    enum {
        IDC_RESULT_LIST = 11202,
        IDC_ABORT_RETURN = 11203,
        IDC_REMOVE = 11204,
        IDC_SELECT_ALL = 11205,
        IDC_STATUS = 11206,
        IDC_COUNT = 11207,
        IDC_COUNT_CAPTION = 11208,
    };
    enum class State { Idle, Scanning, Aborting, Ended };
    // Found files and the current file reach the list this often.
    enum { kReportTimer = 1, kReportTimerMs = 100 };

    CScanCleanJunkCleanStep1();
    ~CScanCleanJunkCleanStep1() override;

    void SetHost(CScanCleanJunkCleanDlg* pHost) { m_pHost = pHost; }
    void OnInitPage() override;
    // Each time the step comes to the front a new walk of the chosen drives starts.
    void OnShowPage() override;

    State GetState() const { return m_state; }
    bool IsWalking() const { return m_state == State::Scanning || m_state == State::Aborting; }
    // The path of the file a row shows (the row's item data indexes the finds).
    const std::wstring& RowPath(int row) const;
    CListCtrl& GetList() { return m_list; }
    // Stops a running walk and waits for it (window destruction).
    void StopAndWait();

protected:
    void OnAbortOrReturn();
    void OnRemove();
    void OnSelectAll();
    void OnListItemChanged(NMHDR* hdr, LRESULT* result);
    void OnTimer(UINT_PTR nIDEvent);
    LRESULT OnWalkDone(WPARAM wParam, LPARAM);
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    void OnDestroy();
    LRESULT OnLanguageChanged(WPARAM, LPARAM);
    DECLARE_MESSAGE_MAP()

private:
    void StartWalk();
    void TakeReport();
    void ShowCount();
    void SetButtonText(const wchar_t* key);

    CScanCleanJunkCleanDlg* m_pHost = nullptr;
    void LoadTypeTexts();
    std::wstring m_typeTexts[JunkPage::kJunkTypeCount];

    State m_state = State::Idle;
    unsigned m_nRun = 0;  // the done message of an older walk is ignored
    qcore::CWorker m_worker;
    JunkPage::JunkWalkReport m_report;
    std::vector<JunkPage::JunkFind> m_finds;

    CListCtrl m_list;
    CGeneralImageButton m_abortReturn;
    CGeneralImageButton m_remove;
    CButton m_selectAll;
    ScanPages::SelectAllFollower m_selectAllFollower;
    CStatic m_status;
    CStatic m_count;
};
