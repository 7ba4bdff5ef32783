// CStartStep1Dlg: the one-click scan step of the home page. Showing it starts a one-click run (CQuickScan), shows
// its progress and a live health score, and afterwards lets the user repair everything found. The run does the
// work; the page shows what it reports and keeps the buttons in step with its state.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "FunctionDlg.h"
#include "ImageButton.h"
#include "QuickScan.h"
#include "controls/FitTextStatic.h"
#include "controls/ImageRotator.h"
#include "controls/ProgressCtrlEx.h"
#include "StartScanList.h"

class CScoreResultDialog;

class CStartStep1Dlg : public CFunctionDlg, private OneClick::IQuickScanView {
public:
    enum {
        IDC_BUSY = 62201,
        IDC_SCORE = 62202,
        IDC_ABORT_TEXT = 62204,
        IDC_PROGRESS = 62203,
        IDC_PROGRESS_TEXT = 62205,
        IDC_ABORT_REPAIR = 62208,
        IDC_RETURN = 62209,
        IDC_SHOW_RESULT = 62210,
        IDC_HEALTH = 62211,
        IDC_LIST = 62110,
    };
    enum { kScoreTimer = 1, kScoreTimerMs = 1000, kRepaintTimer = 2, kRepaintTimerMs = 200 };
    // When a run ends, Abort becomes Repair All in the same place: for this long the button stays disabled and
    // clicks on it are ignored, so a click meant for Abort cannot start a repair.
    enum { kClickGuardTimer = 3, kClickGuardMs = 1500 };

    CStartStep1Dlg();
    ~CStartStep1Dlg() override;

    void OnInitPage() override;
    // Every time the step is shown a new scan starts (unless workers of the last run still live).
    void OnShowPage() override { StartQuickScan(); }
    void StartQuickScan();

    // State for the home page and the tests.
    const OneClick::QuickScanRun& Run() const { return m_scan.Run(); }
    const OneClick::ScanCounts& Counts() const { return m_scan.Counts(); }
    int Score() const { return m_nScore; }
    CStartScanList& List() { return m_list; }
    // Stops whatever runs and waits for every worker (window destruction, program exit).
    void StopAndWait() { m_scan.StopAndWait(); }
    // The page frame's exit: ask the run's workers to stop, and name the threads that may still touch the page.
    void StopWorkers() override
    {
        m_scan.RequestStop();
        CFunctionDlg::StopWorkers();
    }
    void AddRunningWorkers(std::vector<HANDLE>& threads) override
    {
        m_scan.AddRunningThreads(threads);
        CFunctionDlg::AddRunningWorkers(threads);
    }
    // Status of the last write of the stored result (0 written).
    LONG LastStoreStatus() const { return m_scan.LastStoreStatus(); }

protected:
    void OnAbortOrRepair();
    void OnShowResult();
    void OnReturn();
    void OnTimer(UINT_PTR nIDEvent);
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    void OnListCustomDraw(NMHDR* pNMHDR, LRESULT* pResult);
    void OnDestroy();
    DECLARE_MESSAGE_MAP()

private:
    // What the run reports.
    void OnRowText(OneClick::Part part, const std::wstring& text) override;
    void OnCount(OneClick::Part part, int count) override;
    void OnProgress(int progress) override;
    void OnResultsCleared() override;
    void OnRunEnded() override;

    // Asks whether to repair everything found, naming it and the registry backup; true to go on.
    bool ConfirmRepairAll();
    void GuardAbortRepairButton(bool on);
    void ShowScore(int score, bool withStatus = true);
    // The run's items go to the result dialog when it is shown, and while it is open with the list repaint and
    // at the end of a run, never item by item: that would cost more than the scan.
    void DeliverResultItems();
    bool ResultDialogShown() const;
    // The result window, made on first use; false when it cannot be made.
    bool EnsureResultDialog();
    void SetButtonText(int id, const wchar_t* key);
    void StartAnimation(bool on);

    OneClick::CQuickScan m_scan{this};
    size_t m_nDeliveredItems = 0;
    int m_nScore = 100;
    bool m_bPopupShown = false;
    bool m_bClickGuard = false;

    CImageRotator m_busy;
    CProgressCtrlEx m_progress;
    CFitTextStatic m_health;
    CStatic m_progressText, m_abortText, m_score;
    CGeneralImageButton m_abortRepair, m_showResult, m_return;
    CStartScanList m_list;
    CFont m_scoreFont;
    CScoreResultDialog* m_pResultDlg = nullptr;
};
