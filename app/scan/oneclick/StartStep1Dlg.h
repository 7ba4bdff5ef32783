// CStartStep1Dlg: the one-click scan step of the home page. Showing it starts five scans side by side (registry,
// browser cache traces, junk files in the Windows folder, invalid shortcuts, broken file associations), shows their
// progress and a live health score, stores the result in the settings, and afterwards repairs everything found.
//
// Threads: every model change (counts, collections, rows, run state) happens on the interface thread. Workers
// (three scan threads of the page, the libraries' own workers, the abort and repair threads) reach the page only
// through SendMessageW, or PostMessageW for their last word, so a thread can end while the page waits for it.
#pragma once

#include <atomic>
#include <string>
#include <vector>

#include "Moravin/FileAssociateRepaire.h"
#include "FunctionDlg.h"
#include "ImageButton.h"
#include "JunkFileScanner.h"
#include "QuickScanRun.h"
#include "RegistryData.h"
#include "Moravin/ShortCutClean.h"
#include "../home/StartScanList.h"
#include "SysEvidence.h"
#include "controls/ImageRotator.h"
#include "controls/ProgressCtrlEx.h"

class CScoreResultDialog;

class CStartStep1Dlg : public CFunctionDlg {
public:
    enum {
        IDC_BUSY = 62201, IDC_SCORE = 62202, IDC_ABORT_TEXT = 62204, IDC_PROGRESS = 62203, IDC_PROGRESS_TEXT = 62205,
        IDC_ABORT_REPAIR = 62208, IDC_RETURN = 62209, IDC_SHOW_RESULT = 62210, IDC_HEALTH = 62211, IDC_LIST = 62110,
    };
    enum { kScoreTimer = 1, kScoreTimerMs = 1000, kRepaintTimer = 2, kRepaintTimerMs = 200 };

    CStartStep1Dlg();
    ~CStartStep1Dlg() override;

    void OnInitPage() override;
    // Every time the step is shown a new scan starts (unless workers of the last run still live).
    void OnShowPage() override { StartQuickScan(); }
    void StartQuickScan();

    // State for the home page and the tests.
    const OneClick::QuickScanRun& Run() const { return m_run; }
    const OneClick::ScanCounts& Counts() const { return m_counts; }
    int Score() const { return m_nScore; }
    CScoreResultDialog* ResultDialog() const { return m_pResultDlg; }
    CStartScanList& List() { return m_list; }
    // Stops whatever runs and waits for every worker (window destruction, program exit).
    void StopAndWait();
    // The page frame's exit: ask the workers to stop, and name the threads that may still touch the page.
    void StopWorkers() override;
    void AddRunningWorkers(std::vector<HANDLE>& threads) override;
    // Status of the last write of the stored result (0 written).
    LONG LastStoreStatus() const { return m_lastStoreStatus; }

protected:
    void OnAbortOrRepair();
    void OnShowResult();
    void OnReturn();
    void OnTimer(UINT_PTR nIDEvent);
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    void OnListCustomDraw(NMHDR* pNMHDR, LRESULT* pResult);
    void OnDestroy();

    // Library messages.
    LRESULT OnLibrary401(WPARAM, LPARAM) { return 0; }
    LRESULT OnLibrary402(WPARAM wParam, LPARAM lParam);
    LRESULT OnLibrary403(WPARAM wParam, LPARAM lParam);
    LRESULT OnLibrary404(WPARAM, LPARAM) { return 0; }
    LRESULT OnEvidenceItemFound(WPARAM wParam, LPARAM lParam);
    LRESULT OnInvalidShortcutFound(WPARAM wParam, LPARAM lParam);
    LRESULT OnShortcutScanDone(WPARAM wParam, LPARAM lParam);
    // Messages of the page's own threads.
    LRESULT OnRegistryResults(WPARAM wParam, LPARAM lParam);
    LRESULT OnPartDone(WPARAM wParam, LPARAM lParam);
    LRESULT OnFileAssocResult(WPARAM wParam, LPARAM lParam);
    LRESULT OnAbortDone(WPARAM wParam, LPARAM lParam);
    LRESULT OnRepairItem(WPARAM wParam, LPARAM lParam);
    LRESULT OnRepairStage(WPARAM wParam, LPARAM lParam);
    LRESULT OnRepairDone(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    // Registry engine callbacks (on the registry worker or the repair thread).
    static bool ScanAllCategories(CRegistryData::REG_SCAN_TYPE type, void* user);
    static bool OnRegistryScanResult(const CRegistryData::SCAN_RESULT* result, void* user);
    static bool OnRegistryCleanProgress(CRegistryData::REG_SCAN_TYPE type, void* user);

    static DWORD WINAPI RegistryScanThread(LPVOID param);
    static DWORD WINAPI EvidenceQuickScanThread(LPVOID param);
    static DWORD WINAPI FileAssocQuickScanThread(LPVOID param);
    static DWORD WINAPI AbortScanThread(LPVOID param);
    static DWORD WINAPI RepairAllThreadProc(LPVOID param);
    void RepairAllThread();

    // Registry results wait in a queue the worker fills and the interface thread drains in batches: one
    // cross-thread message per result would cost more than the scan itself.
    void QueueRegistryResult(const CRegistryData::SCAN_RESULT* result);
    void FlushRegistryResults();
    void DrainRegistryResults();
    void PartDone(OneClick::Part part);
    void FinishRun();
    void ShowRow(OneClick::Part part, const std::wstring& description);
    void ShowCount(OneClick::Part part);
    void ShowProgress();
    void ShowScore(int score, bool withStatus = true);
    // Items for the result dialog: kept here and handed to the dialog when it is shown, since filling its lists
    // item by item while the scan runs would cost more than the scan.
    void SendResultItem(const wchar_t* text, int category);
    void ClearResultItems();
    void DeliverResultItems();
    void SetButtonText(int id, const wchar_t* key);
    void StartAnimation(bool on);

    // Engines.
    CRegistryData m_registry;
    Evidence::CJunkFileScanner m_junk;
    Evidence::CSysEvidence m_evidence;
    Moravin::CShortCutClean m_shortcuts;
    Moravin::CFileAssociateRepaire m_fileAssoc;

    // Findings of the current run.
    std::vector<std::wstring> m_invalidShortcuts;
    std::vector<std::wstring> m_junkFiles;
    std::vector<Evidence::CSysEvidence::ScanResultItem> m_traces;  // written by the scanner on the trace thread
    std::vector<const CRegistryData::SCAN_RESULT*> m_regResults;
    CRITICAL_SECTION m_pendingLock;
    std::vector<const CRegistryData::SCAN_RESULT*> m_pendingReg;  // guarded by m_pendingLock
    DWORD m_lastRegFlush = 0;                                      // registry worker only
    OneClick::ScanCounts m_counts;
    std::vector<std::pair<std::wstring, int>> m_resultItems;  // text, category 1-4
    size_t m_nDeliveredItems = 0;

    // What the repair thread reports back: the items it could not remove.
    struct RepairOutcome {
        std::vector<const CRegistryData::SCAN_RESULT*> registry;
        std::vector<std::wstring> junkFiles;
        std::vector<Evidence::CSysEvidence::ScanResultItem> traces;
        std::vector<std::wstring> shortcuts;
        int brokenAssociations = 0;
    } m_repairOutcome;

    HANDLE m_hRegThread = nullptr;
    HANDLE m_hEvidenceThread = nullptr;
    HANDLE m_hFileAssocThread = nullptr;
    HANDLE m_hAbortThread = nullptr;
    HANDLE m_hRepairThread = nullptr;
    std::atomic<int> m_nStop{1};      // read by workers: 0 only while a scan runs
    std::atomic<bool> m_bQuit{false};  // the window goes away: the repair stops between items
    LONG m_lastStoreStatus = 0;
    OneClick::QuickScanRun m_run;
    int m_nScore = 100;
    bool m_bPopupShown = false;

    CImageRotator m_busy;
    CProgressCtrlEx m_progress;
    CStatic m_health, m_progressText, m_abortText, m_score;
    CGeneralImageButton m_abortRepair, m_showResult, m_return;
    CStartScanList m_list;
    CFont m_bigFont, m_textFont, m_scoreFont;
    CScoreResultDialog* m_pResultDlg = nullptr;
};
