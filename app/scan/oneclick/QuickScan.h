// CQuickScan: one one-click run without any page: five scans side by side (registry, browser cache traces, junk
// files in the Windows folder, invalid shortcuts, broken file associations), their counts and findings, the stored
// result, and the repair of everything found in a fixed order. The scan step drives it and shows what it reports;
// tests drive it directly.
//
// Threads: the run belongs to the thread that creates it, which must pump messages while a run is busy. Workers
// (three scan threads, the libraries' own workers, the abort and repair threads) reach the run only through
// messages to its message-only windows (SendMessageW, or PostMessageW for their last word), so every model change
// and every report to the view happens on the owning thread. Each library reports to a window of its own and the
// run's workers to another: the libraries' numbers overlap, and the window tells whose message it is.
#pragma once

#include <windows.h>

#include <atomic>
#include <string>
#include <utility>
#include <vector>

#include "JunkFileScanner.h"
#include "Moravin/FileAssociateRepaire.h"
#include "Moravin/ShortCutClean.h"
#include "QLock.h"
#include "QMessageWindow.h"
#include "QuickScanRun.h"
#include "RegistryData.h"
#include "SysEvidence.h"

namespace OneClick {

// What a run reports while it goes; every call comes on the run's thread.
class IQuickScanView {
public:
    virtual ~IQuickScanView() = default;
    // The latest item of a part (found, or being repaired).
    virtual void OnRowText(Part part, const std::wstring& text) = 0;
    // The count a part's row shows now.
    virtual void OnCount(Part part, int count) = 0;
    // The weighted progress changed (CQuickScan::Run().Progress()).
    virtual void OnProgress(int progress) = 0;
    // The result items start again (a new scan, or the list of what a repair left).
    virtual void OnResultsCleared() = 0;
    // The scan, abort or repair is over: the state is Ended, the counts, the score and the stored result final.
    virtual void OnRunEnded() = 0;
};

class CQuickScan {
public:
    // A result item for the result dialog: its text and its category (1 registry, 2 traces, 3 junk, 4 shortcuts,
    // 5 broken file associations).
    using ResultItem = std::pair<std::wstring, int>;

    explicit CQuickScan(IQuickScanView* view);
    // Stops whatever runs and waits for every worker.
    ~CQuickScan();
    CQuickScan(const CQuickScan&) = delete;
    CQuickScan& operator=(const CQuickScan&) = delete;

    // A new scan from zero counts and a full score. Refused (false) while workers of the last run live.
    bool Start();
    // Stops the scan in progress; it ends (OnRunEnded) once every worker has ended. False unless scanning.
    bool Abort();
    // Removes everything the last scan found: registry entries (backed up by the engine), junk files, traces,
    // invalid shortcuts, then broken file associations. Only from an ended run; false otherwise.
    bool Repair();
    // Stops whatever runs and waits for every worker (window destruction, program exit).
    void StopAndWait();
    // Asks the run's own workers to stop without waiting, and names those still running (for a caller that
    // waits for them itself).
    void RequestStop();
    void AddRunningThreads(std::vector<HANDLE>& threads) const;
    // Who hears the reports from now on (null: nobody, e.g. while the page's windows go away).
    void SetView(IQuickScanView* view) { m_view = view; }

    const QuickScanRun& Run() const { return m_run; }
    const ScanCounts& Counts() const { return m_counts; }
    // The health score of the final counts of the last run; 100 while a run is going.
    int Score() const { return m_score; }
    // Status of the last write of the stored result (0 written).
    LONG LastStoreStatus() const { return m_lastStoreStatus; }
    // Items for the result dialog, in the order found (after a repair: what is still there).
    const std::vector<ResultItem>& ResultItems() const { return m_resultItems; }

private:
    // What each window hears: the run's own workers, then one library each.
    LRESULT OnRunMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnRegistryMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnJunkMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnEvidenceMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnShortcutMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    qcore::MessageWindow::Handler Handler(LRESULT (CQuickScan::*onMessage)(UINT, WPARAM, LPARAM));
    bool HasWindows() const;

    // Registry engine callbacks (on the registry worker or the repair thread).
    static bool ScanAllCategories(CRegistryData::REG_SCAN_TYPE type, void* user);
    static bool OnRegistryScanResult(const CRegistryData::SCAN_RESULT* result, void* user);
    static bool OnRegistryCleanProgress(CRegistryData::REG_SCAN_TYPE type, void* user);

    void RegistryScanThread();
    void EvidenceScanThread();
    void FileAssocScanThread();
    void AbortThread();
    void RepairThread();
    // Starts fn on a new thread into `handle`; when no thread can be made, posts `failed` so the run goes on.
    void StartWorker(HANDLE& handle, void (CQuickScan::*fn)(), UINT failed, WPARAM failedParam);

    // Registry results wait in a queue the worker fills and the run's thread drains in batches: one cross-thread
    // message per result would cost more than the scan itself.
    void QueueRegistryResult(const CRegistryData::SCAN_RESULT* result);
    void FlushRegistryResults();
    void DrainRegistryResults();

    void OnJunkFile(const wchar_t* path);
    void OnRegistryCleanItem(const CRegistryData::SCAN_RESULT* item);
    void OnEvidenceItem(const Lumbrey::CSysEvidence::ScanResultItem* item, LPARAM category);
    void OnInvalidShortcut(const wchar_t* link);
    void OnFileAssocResult(const std::vector<Moravin::CFileAssociateRepaire::FileAssocItem>* items);
    void OnPartThreadDone(Part part);
    void OnAbortDone();
    // An item the repair thread is handling, and how many of its category are still to come.
    struct RepairItem {
        const wchar_t* text;
        int left;
    };
    void OnRepairItem(Part part, const RepairItem* item);
    void OnRepairDone();
    void PartDone(Part part);
    void FinishRun();

    void Row(Part part, const std::wstring& text);
    void Count(Part part);
    void Progress();
    void AddResultItem(const std::wstring& text, int category) { m_resultItems.emplace_back(text, category); }
    void ClearResultItems();

    IQuickScanView* m_view;

    // Engines.
    CRegistryData m_registry;
    Lumbrey::CJunkFileScanner m_junk;
    Lumbrey::CSysEvidence m_evidence;
    Moravin::CShortCutClean m_shortcuts;
    Moravin::CFileAssociateRepaire m_fileAssoc;

    // Findings of the current run.
    std::vector<std::wstring> m_invalidShortcuts;
    std::vector<std::wstring> m_junkFiles;
    std::vector<Lumbrey::CSysEvidence::ScanResultItem> m_traces;
    std::vector<const CRegistryData::SCAN_RESULT*> m_regResults;
    std::vector<std::wstring> m_brokenAssociations;  // extensions
    qcore::Lock m_pendingLock;
    std::vector<const CRegistryData::SCAN_RESULT*> m_pendingReg;  // guarded by m_pendingLock
    DWORD m_lastRegFlush = 0;                                     // registry worker only
    ScanCounts m_counts;
    std::vector<ResultItem> m_resultItems;

    // What the repair thread reports back: the items it could not remove.
    struct RepairOutcome {
        std::vector<const CRegistryData::SCAN_RESULT*> registry;
        std::vector<std::wstring> junkFiles;
        std::vector<Lumbrey::CSysEvidence::ScanResultItem> traces;
        std::vector<std::wstring> shortcuts;
        std::vector<std::wstring> brokenAssociations;  // extensions
    } m_repairOutcome;

    HANDLE m_hRegThread = nullptr;
    HANDLE m_hEvidenceThread = nullptr;
    HANDLE m_hFileAssocThread = nullptr;
    HANDLE m_hAbortThread = nullptr;
    HANDLE m_hRepairThread = nullptr;
    std::atomic<bool> m_stop{true};   // read by workers: false only while a scan runs
    std::atomic<bool> m_quit{false};  // the run goes away: the repair stops between items
    LONG m_lastStoreStatus = 0;
    QuickScanRun m_run;
    int m_score = 100;

    // Declared last, so they go first: nothing reaches the run while its other members are taken apart.
    qcore::MessageWindow m_runWnd{Handler(&CQuickScan::OnRunMessage)};
    qcore::MessageWindow m_registryWnd{Handler(&CQuickScan::OnRegistryMessage)};
    qcore::MessageWindow m_junkWnd{Handler(&CQuickScan::OnJunkMessage)};
    qcore::MessageWindow m_evidenceWnd{Handler(&CQuickScan::OnEvidenceMessage)};
    qcore::MessageWindow m_shortcutWnd{Handler(&CQuickScan::OnShortcutMessage)};
};

}  // namespace OneClick
