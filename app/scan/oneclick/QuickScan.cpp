#include "QuickScan.h"

#include <ctime>
#include <functional>

#include "Dictionary.h"
#include "HealthScore.h"
#include "QWorker.h"
#include "RegCleanBookkeeping.h"
#include "RegResultText.h"
#include "RepairActions.h"
#include "ScanFolders.h"
#include "ScanTime.h"
#include "ScoreStore.h"
#include "ScanMessages.h"

namespace OneClick {

namespace {

// Row texts are refreshed at most this often while many items are repaired.
const DWORD kRepairTextIntervalMs = 50;

// Queued registry results go to the run's thread this often, or sooner when this many wait.
const DWORD kRegFlushIntervalMs = 100;
const size_t kRegFlushCount = 500;

std::wstring RepairText(const std::wstring& item)
{
    return nsVendrel::TranslateString(L"IDS_START_REPAIR") + L" " + item;
}

// A broken association in the result list: its kind, since an extension alone says little there.
std::wstring FileAssocText(const std::wstring& extension)
{
    return nsVendrel::TranslateString(L"IDS_START_SCROE_SCAN4") + L": " + extension;
}

// The extensions of the rows whose association is broken.
std::vector<std::wstring> BrokenExtensions(const std::vector<Moravin::CFileAssociateRepaire::FileAssocItem>& items)
{
    std::vector<std::wstring> broken;
    for (const auto& item : items)
        if (item.status) broken.push_back(item.extension);
    return broken;
}

// Waits for a thread the run's thread owns, answering what the workers send meanwhile, then closes it.
void JoinThread(HANDLE& handle)
{
    HANDLE h = std::exchange(handle, nullptr);
    if (!h) return;
    qcore::WaitForHandle(h, INFINITE, qcore::Pump::SentOnly);
    ::CloseHandle(h);
}

std::wstring NowText()
{
    std::time_t now = std::time(nullptr);
    std::tm local = *std::localtime(&now);
    return FormatScanTime(local);
}

}  // namespace

CQuickScan::CQuickScan(IQuickScanView* view) : m_view(view) {}

CQuickScan::~CQuickScan() { StopAndWait(); }

qcore::MessageWindow::Handler CQuickScan::Handler(LRESULT (CQuickScan::*onMessage)(UINT, WPARAM, LPARAM))
{
    return
        [this, onMessage](UINT msg, WPARAM wParam, LPARAM lParam) { return (this->*onMessage)(msg, wParam, lParam); };
}

bool CQuickScan::HasWindows() const
{
    return m_runWnd.Get() && m_registryWnd.Get() && m_junkWnd.Get() && m_evidenceWnd.Get() && m_shortcutWnd.Get();
}

LRESULT CQuickScan::OnRegistryMessage(UINT msg, WPARAM wParam, LPARAM)
{
    // Category done, scan finished and clean finished show nothing: the run's own workers report those ends.
    if (msg == WM_REGCLEAN_ITEM) OnRegistryCleanItem(reinterpret_cast<const CRegistryData::SCAN_RESULT*>(wParam));
    return 0;
}

LRESULT CQuickScan::OnJunkMessage(UINT msg, WPARAM wParam, LPARAM)
{
    // The file being tested (WM_JUNKSCAN_CURRENT_FILE) shows nothing.
    if (msg == WM_JUNKSCAN_FILE_FOUND) OnJunkFile(reinterpret_cast<const wchar_t*>(wParam));
    if (msg == WM_JUNKSCAN_DONE && m_run.TakesScanReports()) PartDone(kJunk);
    return 0;
}

LRESULT CQuickScan::OnEvidenceMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_EVIDENCE_ITEM_FOUND)
        OnEvidenceItem(reinterpret_cast<const Lumbrey::CSysEvidence::ScanResultItem*>(wParam), lParam);
    return 0;
}

LRESULT CQuickScan::OnShortcutMessage(UINT msg, WPARAM wParam, LPARAM)
{
    if (msg == WM_SHORTCUT_INVALID_FOUND) OnInvalidShortcut(reinterpret_cast<const wchar_t*>(wParam));
    if (msg == WM_SHORTCUT_SCAN_DONE) PartDone(kShortcut);
    return 0;
}

LRESULT CQuickScan::OnRunMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_QUICKSCAN_REG_RESULTS: DrainRegistryResults(); break;
    case WM_QUICKSCAN_PART_DONE: OnPartThreadDone(Part(wParam)); break;
    case WM_QUICKSCAN_ASSOC_RESULT:
        OnFileAssocResult(reinterpret_cast<const std::vector<Moravin::CFileAssociateRepaire::FileAssocItem>*>(wParam));
        break;
    case WM_QUICKSCAN_ABORT_DONE: OnAbortDone(); break;
    case WM_QUICKSCAN_REPAIR_ITEM: OnRepairItem(Part(wParam), reinterpret_cast<const RepairItem*>(lParam)); break;
    case WM_QUICKSCAN_REPAIR_STAGE:
        m_run.RepairPartDone(Part(wParam));
        Progress();
        break;
    case WM_QUICKSCAN_REPAIR_DONE: OnRepairDone(); break;
    default: break;
    }
    return 0;
}

// ---------------------------------------------------------------------------------------------------------------
// Start

bool CQuickScan::Start()
{
    if (!HasWindows() || !m_run.Start()) return false;  // workers of the last run are still there: it goes on
    m_stop = false;
    m_counts = ScanCounts();
    m_score = 100;
    m_regResults.clear();
    m_junkFiles.clear();
    m_invalidShortcuts.clear();
    m_traces.clear();
    m_brokenAssociations.clear();
    ClearResultItems();
    Progress();

    m_registry.SetScanWnd(m_registryWnd.Get());
    m_shortcuts.SetParentWnd(m_shortcutWnd.Get());
    m_evidence.SetParentWnd(m_evidenceWnd.Get());
    m_evidence.StopScanEvidence(0);

    StartWorker(m_hRegThread, &CQuickScan::RegistryScanThread, WM_QUICKSCAN_PART_DONE, kRegistry);
    StartWorker(m_hEvidenceThread, &CQuickScan::EvidenceScanThread, WM_QUICKSCAN_PART_DONE, kEvidence);
    StartWorker(m_hFileAssocThread, &CQuickScan::FileAssocScanThread, WM_QUICKSCAN_PART_DONE, kFileAssoc);

    std::vector<std::wstring> junkFolders;
    if (!JunkScanFolder().empty()) junkFolders.push_back(JunkScanFolder());
    m_junk.ScanJunkFile(junkFolders, m_junkWnd.Get());
    m_shortcuts.FindShortCutLink(ShortcutScanFolders());  // reports its end even when it cannot start
    return true;
}

void CQuickScan::StartWorker(HANDLE& handle, void (CQuickScan::*fn)(), UINT failed, WPARAM failedParam)
{
    handle = qcore::StartThread(std::bind(fn, this));
    if (!handle) ::PostMessageW(m_runWnd.Get(), failed, failedParam, 0);  // nothing to wait for: that step is over
}

// ---------------------------------------------------------------------------------------------------------------
// Scan workers

void CQuickScan::RegistryScanThread()
{
    m_lastRegFlush = ::GetTickCount();
    m_registry.Scan(&CQuickScan::ScanAllCategories, this, &CQuickScan::OnRegistryScanResult, this);
    FlushRegistryResults();
    ::PostMessageW(m_runWnd.Get(), WM_QUICKSCAN_PART_DONE, kRegistry, 0);
}

void CQuickScan::EvidenceScanThread()
{
    // The run keeps its own list from the item messages; this one is the scanner's scratch.
    std::vector<Lumbrey::CSysEvidence::ScanResultItem> found;
    m_evidence.ScanInternetExplorer(0, found);  // category 0 alone: the browser cache
    ::PostMessageW(m_runWnd.Get(), WM_QUICKSCAN_PART_DONE, kEvidence, 0);
}

void CQuickScan::FileAssocScanThread()
{
    std::vector<Moravin::CFileAssociateRepaire::FileAssocItem> items;
    m_fileAssoc.GetAllAssociateStatus(items);
    if (!m_stop) ::SendMessageW(m_runWnd.Get(), WM_QUICKSCAN_ASSOC_RESULT, reinterpret_cast<WPARAM>(&items), 0);
    ::PostMessageW(m_runWnd.Get(), WM_QUICKSCAN_PART_DONE, kFileAssoc, 0);
}

bool CQuickScan::ScanAllCategories(CRegistryData::REG_SCAN_TYPE, void* user)
{
    // Once the run stops no further category starts, even when the stop came before the scan did.
    return !static_cast<CQuickScan*>(user)->m_stop;
}

bool CQuickScan::OnRegistryScanResult(const CRegistryData::SCAN_RESULT* result, void* user)
{
    CQuickScan* run = static_cast<CQuickScan*>(user);
    if (run->m_stop) {
        run->m_registry.Select(*result, false);  // not listed, so never repaired unseen
        return false;
    }
    run->QueueRegistryResult(result);
    return true;
}

void CQuickScan::QueueRegistryResult(const CRegistryData::SCAN_RESULT* result)
{
    size_t waiting = 0;
    {
        qcore::ScopedLock hold(m_pendingLock);
        m_pendingReg.push_back(result);
        waiting = m_pendingReg.size();
    }
    if (waiting >= kRegFlushCount || ::GetTickCount() - m_lastRegFlush >= kRegFlushIntervalMs) FlushRegistryResults();
}

void CQuickScan::FlushRegistryResults()
{
    m_lastRegFlush = ::GetTickCount();
    ::SendMessageW(m_runWnd.Get(), WM_QUICKSCAN_REG_RESULTS, 0, 0);
}

bool CQuickScan::OnRegistryCleanProgress(CRegistryData::REG_SCAN_TYPE, void*)
{
    return true;  // row 0 follows the engine's per-item message instead
}

// ---------------------------------------------------------------------------------------------------------------
// Findings (the run's thread)

void CQuickScan::DrainRegistryResults()
{
    std::vector<const CRegistryData::SCAN_RESULT*> batch;
    {
        qcore::ScopedLock hold(m_pendingLock);
        batch.swap(m_pendingReg);
    }
    for (const CRegistryData::SCAN_RESULT* result : batch) {
        if (m_run.State() != RunState::Scanning) {
            m_registry.Select(*result, false);  // arrived after the stop: not listed, so never repaired unseen
            continue;
        }
        m_regResults.push_back(result);
        const std::wstring key = GetRootKeyShortName(result->data);
        ++m_counts[kRegistry];
        AddResultItem(key, 1);
        if (result == batch.back()) Row(kRegistry, MakeRegResultLines(*result, &nsVendrel::TranslateString).title);
    }
    if (!batch.empty()) Count(kRegistry);
}

void CQuickScan::OnJunkFile(const wchar_t* path)
{
    if (!path || !*path || !m_run.TakesScanReports()) return;
    m_junkFiles.push_back(path);
    Row(kJunk, path);
    ++m_counts[kJunk];
    Count(kJunk);
    AddResultItem(path, 3);
}

void CQuickScan::OnRegistryCleanItem(const CRegistryData::SCAN_RESULT* item)
{
    if (!item || m_run.State() != RunState::Repairing) return;
    Row(kRegistry, RepairText(GetRootKeyShortName(item->data)));
    if (m_counts[kRegistry] > 0) --m_counts[kRegistry];
    Count(kRegistry);
}

void CQuickScan::OnEvidenceItem(const Lumbrey::CSysEvidence::ScanResultItem* item, LPARAM category)
{
    // Only the browser cache (category 0) belongs to this scan; matched by number, never by its display text.
    if (!item || category != 0 || m_run.State() != RunState::Scanning) return;
    m_traces.push_back(*item);
    const std::wstring text = TraceText(*item);
    Row(kEvidence, text);
    ++m_counts[kEvidence];
    Count(kEvidence);
    AddResultItem(text, 2);
}

void CQuickScan::OnInvalidShortcut(const wchar_t* link)
{
    if (!link || !*link || !m_run.TakesScanReports()) return;
    m_invalidShortcuts.push_back(link);
    Row(kShortcut, link);
    ++m_counts[kShortcut];
    Count(kShortcut);
    AddResultItem(link, 4);
}

void CQuickScan::OnFileAssocResult(const std::vector<Moravin::CFileAssociateRepaire::FileAssocItem>* items)
{
    if (!items || m_run.State() != RunState::Scanning) return;
    m_brokenAssociations = BrokenExtensions(*items);
    m_counts[kFileAssoc] = int(m_brokenAssociations.size());
    for (const std::wstring& extension : m_brokenAssociations) AddResultItem(FileAssocText(extension), 5);
    if (m_counts[kFileAssoc] > 0) {
        Row(kFileAssoc, m_brokenAssociations.back());
        Count(kFileAssoc);
    }
}

void CQuickScan::OnPartThreadDone(Part part)
{
    // The thread posted this as its last act: it ends at once.
    if (part == kRegistry) JoinThread(m_hRegThread);
    if (part == kEvidence) JoinThread(m_hEvidenceThread);
    if (part == kFileAssoc) JoinThread(m_hFileAssocThread);
    PartDone(part);
}

void CQuickScan::PartDone(Part part)
{
    if (m_run.PartDone(part))
        FinishRun();
    else
        Progress();
}

// ---------------------------------------------------------------------------------------------------------------
// Abort

bool CQuickScan::Abort()
{
    if (!m_run.BeginAbort()) return false;
    m_stop = true;
    m_hAbortThread = qcore::StartThread([this] { AbortThread(); });
    if (!m_hAbortThread) AbortThread();  // the stops wait answering sent messages on this thread too
    return true;
}

void CQuickScan::AbortThread()
{
    m_evidence.StopScanEvidence(1);
    m_junk.StopScan();
    m_registry.Stop();
    m_shortcuts.StopScan();
    // The run's own scan threads are waited for on the run's thread, which owns their handles.
    ::PostMessageW(m_runWnd.Get(), WM_QUICKSCAN_ABORT_DONE, 0, 0);
}

void CQuickScan::OnAbortDone()
{
    JoinThread(m_hAbortThread);
    JoinThread(m_hRegThread);
    JoinThread(m_hEvidenceThread);
    JoinThread(m_hFileAssocThread);
    DrainRegistryResults();
    if (m_run.AbortFinished()) FinishRun();
}

void CQuickScan::StopAndWait()
{
    m_quit = true;
    m_stop = true;
    m_evidence.StopScanEvidence(1);
    m_junk.StopScan();
    m_registry.Stop();
    m_shortcuts.StopScan();
    JoinThread(m_hAbortThread);
    JoinThread(m_hRegThread);
    JoinThread(m_hEvidenceThread);
    JoinThread(m_hFileAssocThread);
    JoinThread(m_hRepairThread);
}

void CQuickScan::RequestStop()
{
    m_quit = true;
    m_stop = true;
    m_evidence.StopScanEvidence(1);
    m_registry.Stop();
}

void CQuickScan::AddRunningThreads(std::vector<HANDLE>& threads) const
{
    for (HANDLE thread : {m_hRegThread, m_hEvidenceThread, m_hFileAssocThread, m_hAbortThread, m_hRepairThread})
        if (thread && qcore::WaitForHandle(thread, 0, qcore::Pump::None) == qcore::WaitOutcome::TimedOut)
            threads.push_back(thread);
}

// ---------------------------------------------------------------------------------------------------------------
// Repair

bool CQuickScan::Repair()
{
    if (m_run.State() != RunState::Ended || m_hRepairThread || !m_run.BeginRepair()) return false;
    Progress();
    // Exactly what the run found and listed is cleaned.
    m_registry.SelectNone();
    for (const CRegistryData::SCAN_RESULT* r : m_regResults) m_registry.Select(*r, true);
    m_repairOutcome = RepairOutcome();
    m_registry.SetScanWnd(m_registryWnd.Get());
    m_hRepairThread = qcore::StartThread([this] { RepairThread(); });
    if (!m_hRepairThread) {
        m_repairOutcome.registry = m_regResults;
        m_repairOutcome.junkFiles = m_junkFiles;
        m_repairOutcome.traces = m_traces;
        m_repairOutcome.shortcuts = m_invalidShortcuts;
        m_repairOutcome.brokenAssociations = m_brokenAssociations;
        ::PostMessageW(m_runWnd.Get(), WM_QUICKSCAN_REPAIR_DONE, 0, 0);
    }
    return true;
}

void CQuickScan::RepairThread()
{
    // The run's thread does not touch the findings while this thread runs (Repair is refused until it ends).
    RepairOutcome outcome;
    DWORD lastText = 0;
    auto report = [&](Part part, const std::wstring& item, int left) {
        const DWORD now = ::GetTickCount();
        if (left > 0 && now - lastText < kRepairTextIntervalMs) return;
        lastText = now;
        const std::wstring text = RepairText(item);
        RepairItem message = {text.c_str(), left};
        ::SendMessageW(m_runWnd.Get(), WM_QUICKSCAN_REPAIR_ITEM, part, reinterpret_cast<LPARAM>(&message));
    };
    auto stageDone = [&](Part part) { ::SendMessageW(m_runWnd.Get(), WM_QUICKSCAN_REPAIR_STAGE, part, 0); };

    // 1. Registry: the engine backs every entry up before it deletes it.
    if (!m_regResults.empty() && !m_quit) m_registry.Clean(&CQuickScan::OnRegistryCleanProgress, this);
    for (const CRegistryData::SCAN_RESULT* r : m_regResults)
        if (RegItemExists(r->data)) outcome.registry.push_back(r);
    stageDone(kRegistry);

    // 2. Junk files.
    int left = int(m_junkFiles.size());
    for (const std::wstring& path : m_junkFiles) {
        if (m_quit || !RemoveFile(path)) outcome.junkFiles.push_back(path);
        report(kJunk, path, --left);
    }
    stageDone(kJunk);

    // 3. Privacy traces.
    left = int(m_traces.size());
    for (const auto& trace : m_traces) {
        if (m_quit || !RemoveTrace(trace)) outcome.traces.push_back(trace);
        report(kEvidence, TraceText(trace), --left);
    }
    stageDone(kEvidence);

    // 4. Invalid shortcuts.
    left = int(m_invalidShortcuts.size());
    for (const std::wstring& link : m_invalidShortcuts) {
        if (m_quit || !RemoveFile(link)) outcome.shortcuts.push_back(link);
        report(kShortcut, link, --left);
    }
    stageDone(kShortcut);

    // 5. File associations: repair what is broken now, then count what still is.
    std::vector<Moravin::CFileAssociateRepaire::FileAssocItem> items;
    m_fileAssoc.GetAllAssociateStatus(items);
    for (size_t row = 0; row < items.size() && !m_quit; ++row)
        if (items[row].status) m_fileAssoc.RepaireFileAssociate(int(row));
    items.clear();
    m_fileAssoc.GetAllAssociateStatus(items);
    outcome.brokenAssociations = BrokenExtensions(items);
    stageDone(kFileAssoc);

    m_repairOutcome = std::move(outcome);
    ::PostMessageW(m_runWnd.Get(), WM_QUICKSCAN_REPAIR_DONE, 0, 0);
}

void CQuickScan::OnRepairItem(Part part, const RepairItem* item)
{
    if (m_run.State() != RunState::Repairing || part < 0 || part >= kPartCount || !item) return;
    Row(part, item->text);
    if (m_view) m_view->OnCount(part, item->left);
}

void CQuickScan::OnRepairDone()
{
    JoinThread(m_hRepairThread);
    RepairOutcome outcome = std::move(m_repairOutcome);
    m_regResults = std::move(outcome.registry);
    m_junkFiles = std::move(outcome.junkFiles);
    m_traces = std::move(outcome.traces);
    m_invalidShortcuts = std::move(outcome.shortcuts);
    m_brokenAssociations = std::move(outcome.brokenAssociations);
    m_counts[kRegistry] = int(m_regResults.size());
    m_counts[kJunk] = int(m_junkFiles.size());
    m_counts[kEvidence] = int(m_traces.size());
    m_counts[kShortcut] = int(m_invalidShortcuts.size());
    m_counts[kFileAssoc] = int(m_brokenAssociations.size());
    for (int part = 0; part < kPartCount; ++part) Count(Part(part));

    // The result items now list what could not be removed.
    ClearResultItems();
    for (const CRegistryData::SCAN_RESULT* r : m_regResults) AddResultItem(GetRootKeyShortName(r->data), 1);
    for (const auto& trace : m_traces) AddResultItem(TraceText(trace), 2);
    for (const std::wstring& path : m_junkFiles) AddResultItem(path, 3);
    for (const std::wstring& link : m_invalidShortcuts) AddResultItem(link, 4);
    for (const std::wstring& extension : m_brokenAssociations) AddResultItem(FileAssocText(extension), 5);
    if (m_run.RepairFinished(m_counts)) FinishRun();
}

// ---------------------------------------------------------------------------------------------------------------
// End of a run

void CQuickScan::FinishRun()
{
    m_stop = true;
    // The stored score is the one of the final counts, even for a run shorter than the page's score tick.
    m_score = HealthScore(m_counts);
    m_lastStoreStatus = WriteStoredScore(m_counts, NowText(), m_score);
    Progress();
    if (m_view) m_view->OnRunEnded();
}

void CQuickScan::Row(Part part, const std::wstring& text)
{
    if (m_view) m_view->OnRowText(part, text);
}

void CQuickScan::Count(Part part)
{
    if (m_view) m_view->OnCount(part, m_counts[part]);
}

void CQuickScan::Progress()
{
    if (m_view) m_view->OnProgress(m_run.Progress());
}

void CQuickScan::ClearResultItems()
{
    m_resultItems.clear();
    if (m_view) m_view->OnResultsCleared();
}

}  // namespace OneClick
