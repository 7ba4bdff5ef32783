#include "StartStep1Dlg.h"

#include <ctime>
#include <utility>

#include "Dictionary.h"
#include "EntryApp.h"
#include "HealthScore.h"
#include "MainWindowBusy.h"
#include "../home/HomeLogic.h"
#include "QWorker.h"
#include "controls/RegResultText.h"
#include "RepairActions.h"
#include "ScanFolders.h"
#include "ScanTime.h"
#include "ScoreStore.h"
#include "scan/registry/RegCleanBookkeeping.h"
#include "scan/result/PopupMessageDlg.h"
#include "scan/result/ScoreResultDialog.h"

using namespace OneClick;
using nsVendrel::TranslateCode;

namespace {

// The page's own messages (wParam/lParam as noted).
const UINT WM_ONECLICK_REG_RESULTS = WM_APP + 0x120;    // sent: queued registry results are waiting
const UINT WM_ONECLICK_PART_DONE = WM_APP + 0x121;      // posted: Part
const UINT WM_ONECLICK_ASSOC_RESULT = WM_APP + 0x122;   // sent: const vector<FileAssocItem>*
const UINT WM_ONECLICK_ABORT_DONE = WM_APP + 0x123;     // posted
const UINT WM_ONECLICK_REPAIR_ITEM = WM_APP + 0x124;    // sent: Part, const RepairItem*
const UINT WM_ONECLICK_REPAIR_STAGE = WM_APP + 0x125;   // sent: Part whose stage is over
const UINT WM_ONECLICK_REPAIR_DONE = WM_APP + 0x126;    // posted

struct RepairItem {
    const wchar_t* text;
    int left;  // items of the category not yet handled
};

// Row texts are refreshed at most this often while many items are repaired.
const DWORD kRepairTextIntervalMs = 50;

const UINT kBusyFirstFrame = 389, kBusyFrames = 16;

// Queued registry results go to the interface thread this often, or sooner when this many wait.
const DWORD kRegFlushIntervalMs = 100;
const size_t kRegFlushCount = 500;

std::wstring Translate(const wchar_t* key) { return std::wstring(static_cast<const wchar_t*>(TranslateCode(key))); }

std::wstring RepairText(const std::wstring& item) { return Translate(L"IDS_START_REPAIR") + L" " + item; }

// Waits for a thread the interface thread owns, answering what is sent meanwhile, then closes it. Posted
// messages stay queued: this runs from OnDestroy and the destructor too.
void JoinThread(HANDLE& handle) {
    HANDLE h = std::exchange(handle, nullptr);
    if (!h) return;
    qcore::WaitForHandle(h, INFINITE, qcore::Pump::SentOnly);
    ::CloseHandle(h);
}

std::wstring NowText() {
    std::time_t now = std::time(nullptr);
    std::tm local = *std::localtime(&now);
    return FormatScanTime(local);
}

}  // namespace

BEGIN_MESSAGE_MAP(CStartStep1Dlg, CFunctionDlg)
    ON_BN_CLICKED(CStartStep1Dlg::IDC_ABORT_REPAIR, &CStartStep1Dlg::OnAbortOrRepair)
    ON_BN_CLICKED(CStartStep1Dlg::IDC_SHOW_RESULT, &CStartStep1Dlg::OnShowResult)
    ON_BN_CLICKED(CStartStep1Dlg::IDC_RETURN, &CStartStep1Dlg::OnReturn)
    ON_WM_TIMER()
    ON_WM_CTLCOLOR()
    ON_WM_DESTROY()
    ON_NOTIFY(NM_CUSTOMDRAW, CStartStep1Dlg::IDC_LIST, &CStartStep1Dlg::OnListCustomDraw)
    ON_MESSAGE(0x401, &CStartStep1Dlg::OnLibrary401)
    ON_MESSAGE(0x402, &CStartStep1Dlg::OnLibrary402)
    ON_MESSAGE(0x403, &CStartStep1Dlg::OnLibrary403)
    ON_MESSAGE(0x404, &CStartStep1Dlg::OnLibrary404)
    ON_MESSAGE(WM_EVIDENCE_ITEM_FOUND, &CStartStep1Dlg::OnEvidenceItemFound)
    ON_MESSAGE(WM_SHORTCUT_INVALID_FOUND, &CStartStep1Dlg::OnInvalidShortcutFound)
    ON_MESSAGE(WM_SHORTCUT_SCAN_DONE, &CStartStep1Dlg::OnShortcutScanDone)
    ON_MESSAGE(WM_ONECLICK_REG_RESULTS, &CStartStep1Dlg::OnRegistryResults)
    ON_MESSAGE(WM_ONECLICK_PART_DONE, &CStartStep1Dlg::OnPartDone)
    ON_MESSAGE(WM_ONECLICK_ASSOC_RESULT, &CStartStep1Dlg::OnFileAssocResult)
    ON_MESSAGE(WM_ONECLICK_ABORT_DONE, &CStartStep1Dlg::OnAbortDone)
    ON_MESSAGE(WM_ONECLICK_REPAIR_ITEM, &CStartStep1Dlg::OnRepairItem)
    ON_MESSAGE(WM_ONECLICK_REPAIR_STAGE, &CStartStep1Dlg::OnRepairStage)
    ON_MESSAGE(WM_ONECLICK_REPAIR_DONE, &CStartStep1Dlg::OnRepairDone)
END_MESSAGE_MAP()

CStartStep1Dlg::CStartStep1Dlg() {
    ::InitializeCriticalSection(&m_pendingLock);
    CreateSkinFont(m_bigFont, 22, TRUE);
    CreateSkinFont(m_textFont, 14, FALSE);
    CreateSkinFont(m_scoreFont, 56, TRUE);
}

CStartStep1Dlg::~CStartStep1Dlg() {
    StopAndWait();
    if (m_pResultDlg) {
        if (m_pResultDlg->GetSafeHwnd()) m_pResultDlg->DestroyWindow();
        delete m_pResultDlg;
    }
    ::DeleteCriticalSection(&m_pendingLock);
}

void CStartStep1Dlg::OnInitPage() {
    CRect client;
    GetClientRect(&client);
    const int w = client.Width() > 600 ? client.Width() : 740;
    const int h = client.Height() > 400 ? client.Height() : 520;

    m_busy.m_nPeriod = 100;
    m_busy.Create(L"", WS_CHILD | WS_VISIBLE, CRect(20, 18, 84, 82), this, IDC_BUSY);
    for (UINT i = 0; i < kBusyFrames; ++i) m_busy.AddImage(kBusyFirstFrame + i);
    StartAnimation(false);

    m_health.Create(TranslateCode(L"IDS_START_TXT_HEALTH_STATUS"), WS_CHILD | WS_VISIBLE | SS_LEFT,
                    CRect(96, 20, w - 300, 50), this, IDC_HEALTH);
    m_health.SetFont(&m_bigFont);
    m_progressText.Create(TranslateCode(L"IDS_START_TXT_SCAN_WAIT"), WS_CHILD | WS_VISIBLE | SS_LEFT | SS_PATHELLIPSIS,
                          CRect(96, 56, w - 300, 76), this, IDC_PROGRESS_TEXT);
    m_progressText.SetFont(&m_textFont);
    // Never shown: the end of a run is told by the progress text.
    m_abortText.Create(TranslateCode(L"IDS_START_TXT_SCAN_FINISH_STATUS_ABORT"), WS_CHILD | SS_LEFT,
                       CRect(96, 56, w - 300, 76), this, IDC_ABORT_TEXT);
    m_score.Create(L"100", WS_CHILD | WS_VISIBLE | SS_CENTER, CRect(w - 290, 12, w - 160, 82), this, IDC_SCORE);
    m_score.SetFont(&m_scoreFont);
    m_abortRepair.Create(TranslateCode(L"IDS_START_BTN_ABORT_TXT"), WS_CHILD | WS_VISIBLE | WS_TABSTOP,
                         CRect(w - 144, 28, w - 20, 68), this, IDC_ABORT_REPAIR);

    m_progress.Create(WS_CHILD | WS_VISIBLE, CRect(20, 92, w - 20, 108), this, IDC_PROGRESS);
    m_progress.SetRange(0, 100);
    m_progress.SetPos(0);

    m_list.m_nRowHeight = 55;
    m_list.m_bDeferRepaint = true;
    m_list.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | LVS_REPORT | LVS_OWNERDRAWFIXED | LVS_SINGLESEL |
                      LVS_NOSORTHEADER,
                  CRect(20, 118, w - 20, h - 62), this, IDC_LIST);
    m_list.InsertCategoryColumns(w - 44);

    m_showResult.Create(TranslateCode(L"IDS_START_BTN_RESULT_TXT"), WS_CHILD | WS_VISIBLE | WS_TABSTOP,
                        CRect(w - 288, h - 52, w - 164, h - 12), this, IDC_SHOW_RESULT);
    m_return.Create(TranslateCode(L"IDS_START_BTN_RETURN_TXT"), WS_CHILD | WS_VISIBLE | WS_TABSTOP,
                    CRect(w - 144, h - 52, w - 20, h - 12), this, IDC_RETURN);

    m_pResultDlg = new CScoreResultDialog;
    if (!m_pResultDlg->CreateResultWindow(this)) {
        delete m_pResultDlg;
        m_pResultDlg = nullptr;
    }
}

// ---------------------------------------------------------------------------------------------------------------
// Start

void CStartStep1Dlg::StartQuickScan() {
    CFunctionDlg::OnShowPage();
    if (!m_run.Start()) return;  // workers of the last run are still there: it goes on
    m_nStop = 0;
    SetMainWindowBusy(true);
    SetTimer(kScoreTimer, kScoreTimerMs, nullptr);
    SetTimer(kRepaintTimer, kRepaintTimerMs, nullptr);
    ShowProgress();
    StartAnimation(true);
    SetButtonText(IDC_ABORT_REPAIR, L"IDS_START_BTN_ABORT_TXT");
    m_abortRepair.EnableWindow(TRUE);
    m_abortRepair.SetDisabled(false);
    m_return.EnableWindow(FALSE);
    m_showResult.EnableWindow(FALSE);
    m_progressText.SetWindowText(TranslateCode(L"IDS_START_TXT_SCAN_WAIT"));

    m_counts = ScanCounts();
    m_regResults.clear();
    m_junkFiles.clear();
    m_invalidShortcuts.clear();
    m_traces.clear();
    ShowScore(100, false);  // a new run starts from a full score; its status follows at the first tick
    ClearResultItems();

    if (m_list.GetItemCount() == kPartCount) {
        // The five rows of the last run: only their texts and counts start again (their pictures stay loaded).
        for (int part = 0; part < kPartCount; ++part) {
            m_list.SetRowDescription(part, L"");
            m_list.SetRowCount(part, 0);
        }
    } else {
        m_list.RemoveAllRows();
        for (int part = 0; part < kPartCount; ++part) {
            const Home::ScanRowInfo& row = Home::ScanRow(part);
            m_list.AddRow(TranslateCode(row.nameKey), row.bitmapId, L"", L"", row.thresholds[0], row.thresholds[1],
                          row.thresholds[2], row.thresholds[3], 0);
        }
    }
    m_list.FlushRepaint();

    m_registry.SetScanWnd(m_hWnd);
    m_shortcuts.SetParentWnd(m_hWnd);
    m_evidence.SetParentWnd(m_hWnd);
    m_evidence.StopScanEvidence(0);

    struct {
        HANDLE* handle;
        LPTHREAD_START_ROUTINE proc;
        Part part;
    } threads[] = {{&m_hRegThread, &CStartStep1Dlg::RegistryScanThread, kRegistry},
                   {&m_hEvidenceThread, &CStartStep1Dlg::EvidenceQuickScanThread, kEvidence},
                   {&m_hFileAssocThread, &CStartStep1Dlg::FileAssocQuickScanThread, kFileAssoc}};
    for (auto& t : threads) {
        *t.handle = qcore::StartThread([this, proc = t.proc] { proc(this); });
        if (!*t.handle) PostMessage(WM_ONECLICK_PART_DONE, t.part, 0);  // nothing to wait for: the part is over
    }

    std::vector<std::wstring> junkFolders;
    if (!JunkScanFolder().empty()) junkFolders.push_back(JunkScanFolder());
    m_junk.ScanJunkFile(junkFolders, m_hWnd);
    m_shortcuts.FindShortCutLink(ShortcutScanFolders());  // reports its end even when it cannot start
}

// ---------------------------------------------------------------------------------------------------------------
// Scan workers

DWORD WINAPI CStartStep1Dlg::RegistryScanThread(LPVOID param) {
    CStartStep1Dlg* page = static_cast<CStartStep1Dlg*>(param);
    page->m_lastRegFlush = ::GetTickCount();
    page->m_registry.Scan(&CStartStep1Dlg::ScanAllCategories, page, &CStartStep1Dlg::OnRegistryScanResult, page);
    page->FlushRegistryResults();
    ::PostMessageW(page->m_hWnd, WM_ONECLICK_PART_DONE, kRegistry, 0);
    return 0;
}

DWORD WINAPI CStartStep1Dlg::EvidenceQuickScanThread(LPVOID param) {
    CStartStep1Dlg* page = static_cast<CStartStep1Dlg*>(param);
    // The page keeps its own list from the item messages; this one is the scanner's scratch.
    std::vector<Evidence::CSysEvidence::ScanResultItem> found;
    page->m_evidence.ScanInternetExplorer(0, found);  // category 0 alone: the browser cache
    ::PostMessageW(page->m_hWnd, WM_ONECLICK_PART_DONE, kEvidence, 0);
    return 0;
}

DWORD WINAPI CStartStep1Dlg::FileAssocQuickScanThread(LPVOID param) {
    CStartStep1Dlg* page = static_cast<CStartStep1Dlg*>(param);
    std::vector<Moravin::CFileAssociateRepaire::FileAssocItem> items;
    page->m_fileAssoc.GetAllAssociateStatus(items);
    if (!page->m_nStop) ::SendMessageW(page->m_hWnd, WM_ONECLICK_ASSOC_RESULT, reinterpret_cast<WPARAM>(&items), 0);
    ::PostMessageW(page->m_hWnd, WM_ONECLICK_PART_DONE, kFileAssoc, 0);
    return 0;
}

bool CStartStep1Dlg::ScanAllCategories(CRegistryData::REG_SCAN_TYPE, void* user) {
    // Once the run stops no further category starts, even when the stop came before the scan did.
    return static_cast<CStartStep1Dlg*>(user)->m_nStop == 0;
}

bool CStartStep1Dlg::OnRegistryScanResult(const CRegistryData::SCAN_RESULT* result, void* user) {
    CStartStep1Dlg* page = static_cast<CStartStep1Dlg*>(user);
    if (page->m_nStop) {
        result->selected = false;  // not listed, so never repaired unseen
        return false;
    }
    page->QueueRegistryResult(result);
    return true;
}

void CStartStep1Dlg::QueueRegistryResult(const CRegistryData::SCAN_RESULT* result) {
    ::EnterCriticalSection(&m_pendingLock);
    m_pendingReg.push_back(result);
    const size_t waiting = m_pendingReg.size();
    ::LeaveCriticalSection(&m_pendingLock);
    if (waiting >= kRegFlushCount || ::GetTickCount() - m_lastRegFlush >= kRegFlushIntervalMs) FlushRegistryResults();
}

void CStartStep1Dlg::FlushRegistryResults() {
    m_lastRegFlush = ::GetTickCount();
    ::SendMessageW(m_hWnd, WM_ONECLICK_REG_RESULTS, 0, 0);
}

bool CStartStep1Dlg::OnRegistryCleanProgress(CRegistryData::REG_SCAN_TYPE, void*) {
    return true;  // row 0 follows the engine's per-item message instead
}

// ---------------------------------------------------------------------------------------------------------------
// Findings (interface thread)

LRESULT CStartStep1Dlg::OnRegistryResults(WPARAM, LPARAM) {
    DrainRegistryResults();
    return 0;
}

void CStartStep1Dlg::DrainRegistryResults() {
    std::vector<const CRegistryData::SCAN_RESULT*> batch;
    ::EnterCriticalSection(&m_pendingLock);
    batch.swap(m_pendingReg);
    ::LeaveCriticalSection(&m_pendingLock);
    for (const CRegistryData::SCAN_RESULT* result : batch) {
        if (m_run.State() != RunState::Scanning) {
            result->selected = false;  // arrived after the stop: not listed, so never repaired unseen
            continue;
        }
        m_regResults.push_back(result);
        const std::wstring key = GetRootKeyShortName(result->data);
        ++m_counts[kRegistry];
        SendResultItem(key.c_str(), 1);
        if (result == batch.back()) {
            const wchar_t* reasonKey = RegReasonKey(result->reason);
            ShowRow(kRegistry, key + L" " + (reasonKey ? Translate(reasonKey) : std::wstring()));
        }
    }
    if (!batch.empty()) ShowCount(kRegistry);
}

LRESULT CStartStep1Dlg::OnLibrary402(WPARAM wParam, LPARAM) {
    const wchar_t* path = reinterpret_cast<const wchar_t*>(wParam);
    if (RouteLibraryMessage(m_run.State(), 0x402, path && *path) != LibraryMessage::JunkFileFound) return 0;
    m_junkFiles.push_back(path);
    ShowRow(kJunk, path);
    ++m_counts[kJunk];
    ShowCount(kJunk);
    SendResultItem(path, 3);
    return 0;
}

LRESULT CStartStep1Dlg::OnLibrary403(WPARAM wParam, LPARAM) {
    switch (RouteLibraryMessage(m_run.State(), 0x403, wParam != 0)) {
    case LibraryMessage::JunkScanDone:
        PartDone(kJunk);
        break;
    case LibraryMessage::RegCleanItem: {
        const CRegistryData::SCAN_RESULT* item = reinterpret_cast<const CRegistryData::SCAN_RESULT*>(wParam);
        ShowRow(kRegistry, RepairText(GetRootKeyShortName(item->data)));
        if (m_counts[kRegistry] > 0) --m_counts[kRegistry];
        ShowCount(kRegistry);
        break;
    }
    default:
        break;
    }
    return 0;
}

LRESULT CStartStep1Dlg::OnEvidenceItemFound(WPARAM wParam, LPARAM lParam) {
    const auto* item = reinterpret_cast<const Evidence::CSysEvidence::ScanResultItem*>(wParam);
    // Only the browser cache (category 0) belongs to this scan; matched by number, never by its display text.
    if (!item || lParam != 0 || m_run.State() != RunState::Scanning) return 0;
    m_traces.push_back(*item);
    const std::wstring text = TraceText(*item);
    ShowRow(kEvidence, text);
    ++m_counts[kEvidence];
    ShowCount(kEvidence);
    SendResultItem(text.c_str(), 2);
    return 0;
}

LRESULT CStartStep1Dlg::OnInvalidShortcutFound(WPARAM wParam, LPARAM) {
    const wchar_t* link = reinterpret_cast<const wchar_t*>(wParam);
    if (!link || !*link || !(m_run.State() == RunState::Scanning || m_run.State() == RunState::Aborting)) return 0;
    m_invalidShortcuts.push_back(link);
    ShowRow(kShortcut, link);
    ++m_counts[kShortcut];
    ShowCount(kShortcut);
    SendResultItem(link, 4);
    return 0;
}

LRESULT CStartStep1Dlg::OnShortcutScanDone(WPARAM, LPARAM) {
    PartDone(kShortcut);
    return 0;
}

LRESULT CStartStep1Dlg::OnFileAssocResult(WPARAM wParam, LPARAM) {
    const auto* items = reinterpret_cast<const std::vector<Moravin::CFileAssociateRepaire::FileAssocItem>*>(wParam);
    if (!items || m_run.State() != RunState::Scanning) return 0;
    std::wstring last;
    for (const auto& item : *items)
        if (item.status) {
            ++m_counts[kFileAssoc];
            last = item.extension;
        }
    if (m_counts[kFileAssoc] > 0) {
        ShowRow(kFileAssoc, last);
        ShowCount(kFileAssoc);
    }
    return 0;
}

LRESULT CStartStep1Dlg::OnPartDone(WPARAM wParam, LPARAM) {
    const Part part = Part(wParam);
    // The thread posted this as its last act: it ends at once.
    if (part == kRegistry) JoinThread(m_hRegThread);
    if (part == kEvidence) JoinThread(m_hEvidenceThread);
    if (part == kFileAssoc) JoinThread(m_hFileAssocThread);
    PartDone(part);
    return 0;
}

void CStartStep1Dlg::PartDone(Part part) {
    if (m_run.PartDone(part))
        FinishRun();
    else
        ShowProgress();
}

// ---------------------------------------------------------------------------------------------------------------
// Abort

void CStartStep1Dlg::OnAbortOrRepair() {
    if (m_run.State() == RunState::Scanning) {
        m_run.BeginAbort();
        m_nStop = 1;
        // Nothing can be started again until every worker has ended.
        m_abortRepair.EnableWindow(FALSE);
        m_return.EnableWindow(FALSE);
        m_showResult.EnableWindow(FALSE);
        m_hAbortThread = qcore::StartThread([this] { AbortScanThread(this); });
        if (!m_hAbortThread) AbortScanThread(this);  // the stops wait answering sent messages on this thread too
        return;
    }
    if (m_run.State() != RunState::Ended || m_hRepairThread) return;

    // Repair all.
    m_run.BeginRepair();
    SetMainWindowBusy(true);
    SetTimer(kScoreTimer, kScoreTimerMs, nullptr);
    SetTimer(kRepaintTimer, kRepaintTimerMs, nullptr);
    ShowProgress();
    StartAnimation(true);
    EnableWindow(FALSE);
    // Exactly what the list shows is cleaned.
    m_registry.SelectNone();
    for (const CRegistryData::SCAN_RESULT* r : m_regResults) r->selected = true;
    m_repairOutcome = RepairOutcome();
    m_registry.SetScanWnd(m_hWnd);
    m_hRepairThread = qcore::StartThread([this] { RepairAllThreadProc(this); });
    if (!m_hRepairThread) {
        m_repairOutcome.registry = m_regResults;
        m_repairOutcome.junkFiles = m_junkFiles;
        m_repairOutcome.traces = m_traces;
        m_repairOutcome.shortcuts = m_invalidShortcuts;
        m_repairOutcome.brokenAssociations = m_counts[kFileAssoc];
        PostMessage(WM_ONECLICK_REPAIR_DONE, 0, 0);
    }
}

DWORD WINAPI CStartStep1Dlg::AbortScanThread(LPVOID param) {
    CStartStep1Dlg* page = static_cast<CStartStep1Dlg*>(param);
    page->m_evidence.StopScanEvidence(1);
    page->m_junk.StopScan();
    page->m_registry.Stop();
    page->m_shortcuts.StopScan();
    // The page's own scan threads are waited for on the interface thread, which owns their handles.
    ::PostMessageW(page->m_hWnd, WM_ONECLICK_ABORT_DONE, 0, 0);
    return 0;
}

LRESULT CStartStep1Dlg::OnAbortDone(WPARAM, LPARAM) {
    JoinThread(m_hAbortThread);
    JoinThread(m_hRegThread);
    JoinThread(m_hEvidenceThread);
    JoinThread(m_hFileAssocThread);
    DrainRegistryResults();
    if (m_run.AbortFinished()) FinishRun();
    return 0;
}

void CStartStep1Dlg::StopAndWait() {
    m_bQuit = true;
    m_nStop = 1;
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

void CStartStep1Dlg::OnDestroy() {
    KillTimer(kScoreTimer);
    KillTimer(kRepaintTimer);
    StopAndWait();
    CFunctionDlg::OnDestroy();
}

// ---------------------------------------------------------------------------------------------------------------
// Repair

DWORD WINAPI CStartStep1Dlg::RepairAllThreadProc(LPVOID param) {
    static_cast<CStartStep1Dlg*>(param)->RepairAllThread();
    return 0;
}

void CStartStep1Dlg::RepairAllThread() {
    // The interface thread does not touch the findings while this thread runs (the page is disabled).
    RepairOutcome outcome;
    DWORD lastText = 0;
    auto report = [&](Part part, const std::wstring& item, int left) {
        const DWORD now = ::GetTickCount();
        if (left > 0 && now - lastText < kRepairTextIntervalMs) return;
        lastText = now;
        const std::wstring text = RepairText(item);
        RepairItem message = {text.c_str(), left};
        ::SendMessageW(m_hWnd, WM_ONECLICK_REPAIR_ITEM, part, reinterpret_cast<LPARAM>(&message));
    };
    auto stageDone = [&](Part part) { ::SendMessageW(m_hWnd, WM_ONECLICK_REPAIR_STAGE, part, 0); };

    // 1. Registry: the engine backs every entry up before it deletes it.
    if (!m_regResults.empty() && !m_bQuit) m_registry.Clean(&CStartStep1Dlg::OnRegistryCleanProgress, this);
    for (const CRegistryData::SCAN_RESULT* r : m_regResults)
        if (RegItemExists(r->data)) outcome.registry.push_back(r);
    stageDone(kRegistry);

    // 2. Junk files.
    int left = int(m_junkFiles.size());
    for (const std::wstring& path : m_junkFiles) {
        if (m_bQuit || !RemoveFile(path)) outcome.junkFiles.push_back(path);
        report(kJunk, path, --left);
    }
    stageDone(kJunk);

    // 3. Privacy traces.
    left = int(m_traces.size());
    for (const auto& trace : m_traces) {
        if (m_bQuit || !RemoveTrace(trace)) outcome.traces.push_back(trace);
        report(kEvidence, TraceText(trace), --left);
    }
    stageDone(kEvidence);

    // 4. Invalid shortcuts.
    left = int(m_invalidShortcuts.size());
    for (const std::wstring& link : m_invalidShortcuts) {
        if (m_bQuit || !RemoveFile(link)) outcome.shortcuts.push_back(link);
        report(kShortcut, link, --left);
    }
    stageDone(kShortcut);

    // 5. File associations: repair what is broken now, then count what still is.
    std::vector<Moravin::CFileAssociateRepaire::FileAssocItem> items;
    m_fileAssoc.GetAllAssociateStatus(items);
    for (size_t row = 0; row < items.size() && !m_bQuit; ++row)
        if (items[row].status) m_fileAssoc.RepaireFileAssociate(int(row));
    items.clear();
    m_fileAssoc.GetAllAssociateStatus(items);
    for (const auto& item : items)
        if (item.status) ++outcome.brokenAssociations;
    stageDone(kFileAssoc);

    m_repairOutcome = std::move(outcome);
    ::PostMessageW(m_hWnd, WM_ONECLICK_REPAIR_DONE, 0, 0);
}

LRESULT CStartStep1Dlg::OnRepairItem(WPARAM wParam, LPARAM lParam) {
    const Part part = Part(wParam);
    const RepairItem* item = reinterpret_cast<const RepairItem*>(lParam);
    if (m_run.State() != RunState::Repairing || part < 0 || part >= kPartCount || !item) return 0;
    ShowRow(part, item->text);
    m_list.SetRowCount(part, item->left);
    return 0;
}

LRESULT CStartStep1Dlg::OnRepairStage(WPARAM wParam, LPARAM) {
    m_run.RepairPartDone(Part(wParam));
    ShowProgress();
    return 0;
}

LRESULT CStartStep1Dlg::OnRepairDone(WPARAM, LPARAM) {
    JoinThread(m_hRepairThread);
    RepairOutcome outcome = std::move(m_repairOutcome);
    m_regResults = std::move(outcome.registry);
    m_junkFiles = std::move(outcome.junkFiles);
    m_traces = std::move(outcome.traces);
    m_invalidShortcuts = std::move(outcome.shortcuts);
    m_counts[kRegistry] = int(m_regResults.size());
    m_counts[kJunk] = int(m_junkFiles.size());
    m_counts[kEvidence] = int(m_traces.size());
    m_counts[kShortcut] = int(m_invalidShortcuts.size());
    m_counts[kFileAssoc] = outcome.brokenAssociations;
    for (int part = 0; part < kPartCount; ++part) ShowCount(Part(part));
    m_list.FlushRepaint();

    // The result dialog now lists what could not be removed.
    ClearResultItems();
    for (const CRegistryData::SCAN_RESULT* r : m_regResults) SendResultItem(GetRootKeyShortName(r->data).c_str(), 1);
    for (const auto& trace : m_traces) SendResultItem(TraceText(trace).c_str(), 2);
    for (const std::wstring& path : m_junkFiles) SendResultItem(path.c_str(), 3);
    for (const std::wstring& link : m_invalidShortcuts) SendResultItem(link.c_str(), 4);
    if (m_run.RepairFinished(m_counts)) FinishRun();
    return 0;
}

// ---------------------------------------------------------------------------------------------------------------
// End of a run

void CStartStep1Dlg::FinishRun() {
    KillTimer(kScoreTimer);
    KillTimer(kRepaintTimer);
    StartAnimation(false);
    m_nStop = 1;
    // The stored score is the one of the final counts, even for a run shorter than a tick.
    ShowScore(HealthScore(m_counts));
    ShowProgress();
    m_list.FlushRepaint();
    m_progressText.SetWindowText(TranslateCode(RunEndTextKey(m_run.LastEnd())));
    SetButtonText(IDC_ABORT_REPAIR, L"IDS_START_REPAIRALL");
    EnableWindow(TRUE);
    m_abortRepair.EnableWindow(TRUE);
    m_return.EnableWindow(TRUE);
    m_showResult.EnableWindow(TRUE);
    m_lastStoreStatus = WriteStoredScore(m_counts, NowText(), m_nScore);
    SetMainWindowBusy(false);

    // After a scan nobody started by hand: a pop-up that goes away by itself, never anything that waits.
    if (CEntryApp::m_bBootMode) {
        CEntryApp::m_bBootMode = FALSE;
        if (!m_bPopupShown) {
            m_bPopupShown = true;
            new PopupMessageDlg;  // owns itself
        }
    }
}

// ---------------------------------------------------------------------------------------------------------------
// Live score, buttons and look

void CStartStep1Dlg::OnTimer(UINT_PTR nIDEvent) {
    if (nIDEvent == kRepaintTimer) {
        m_list.FlushRepaint();
        return;
    }
    if (nIDEvent == kScoreTimer && (m_run.State() == RunState::Scanning || m_run.State() == RunState::Aborting)) {
        ShowScore(HealthScore(m_counts));
        return;
    }
    Default();
}

void CStartStep1Dlg::OnShowResult() {
    if (!m_pResultDlg || !m_pResultDlg->GetSafeHwnd()) return;
    DeliverResultItems();
    m_pResultDlg->ShowWindow(SW_SHOW);
}

void CStartStep1Dlg::OnReturn() {
    if (m_run.IsBusy()) return;
    if (CFunctionDlg* parent = dynamic_cast<CFunctionDlg*>(GetParent())) parent->ShowSubPage(0);
}

HBRUSH CStartStep1Dlg::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
    if (nCtlColor != CTLCOLOR_STATIC || !pWnd) return CFunctionDlg::OnCtlColor(pDC, pWnd, nCtlColor);
    pDC->SetBkMode(TRANSPARENT);
    const int id = pWnd->GetDlgCtrlID();
    if (id == IDC_HEALTH) pDC->SetTextColor(RGB(52, 107, 185));
    if (id == IDC_SCORE) pDC->SetTextColor(IsScoreGood(m_nScore) ? RGB(0, 255, 0) : RGB(199, 21, 19));
    return SharedWhiteBrush();
}

void CStartStep1Dlg::OnListCustomDraw(NMHDR* pNMHDR, LRESULT* pResult) { CStartScanList::OnCustomDraw(pNMHDR, pResult); }

void CStartStep1Dlg::ShowRow(Part part, const std::wstring& description) {
    m_list.SetRowDescription(part, description.c_str());
}

void CStartStep1Dlg::ShowCount(Part part) { m_list.SetRowCount(part, m_counts[part]); }

void CStartStep1Dlg::ShowProgress() {
    const int progress = m_run.Progress();
    m_progress.SetPos(progress);
    m_progress.SendMessage(PBM_SETPOS, WPARAM(progress), 0);
    m_progress.Invalidate(FALSE);
}

void CStartStep1Dlg::ShowScore(int score, bool withStatus) {
    m_nScore = score;
    CString text;
    text.Format(L"%d", score);
    m_score.SetWindowText(text);
    if (withStatus) m_health.SetWindowText(TranslateCode(ScanStepStatusKey(score)));
    m_score.Invalidate();
}

void CStartStep1Dlg::SendResultItem(const wchar_t* text, int category) { m_resultItems.emplace_back(text, category); }

void CStartStep1Dlg::ClearResultItems() {
    m_resultItems.clear();
    m_nDeliveredItems = 0;
    if (m_pResultDlg && m_pResultDlg->GetSafeHwnd()) m_pResultDlg->ClearLists();
}

void CStartStep1Dlg::DeliverResultItems() {
    if (!m_pResultDlg || !m_pResultDlg->GetSafeHwnd() || m_nDeliveredItems >= m_resultItems.size()) return;
    for (int i = 0; i < kScoreResultListCount; ++i) m_pResultDlg->GetList(i).SetRedraw(FALSE);
    const HWND dialog = m_pResultDlg->GetSafeHwnd();
    for (; m_nDeliveredItems < m_resultItems.size(); ++m_nDeliveredItems) {
        const auto& item = m_resultItems[m_nDeliveredItems];
        ::SendMessageW(dialog, WM_SCORE_RESULT_ITEM, reinterpret_cast<WPARAM>(item.first.c_str()), item.second);
    }
    for (int i = 0; i < kScoreResultListCount; ++i) {
        m_pResultDlg->GetList(i).SetRedraw(TRUE);
        m_pResultDlg->GetList(i).Invalidate();
    }
}

void CStartStep1Dlg::SetButtonText(int id, const wchar_t* key) {
    if (CWnd* button = GetDlgItem(id)) {
        button->SetWindowText(TranslateCode(key));
        button->Invalidate();
    }
}

void CStartStep1Dlg::StartAnimation(bool on) {
    if (!m_busy.GetSafeHwnd()) return;
    if (on)
        m_busy.SetTimer(0, m_busy.m_nPeriod, nullptr);
    else
        m_busy.KillTimer(0);
}

void CStartStep1Dlg::StopWorkers() {
    m_bQuit = true;
    m_nStop = 1;
    m_evidence.StopScanEvidence(1);
    m_registry.Stop();
    CFunctionDlg::StopWorkers();
}

void CStartStep1Dlg::AddRunningWorkers(std::vector<HANDLE>& threads) {
    for (HANDLE thread : {m_hRegThread, m_hEvidenceThread, m_hFileAssocThread, m_hAbortThread, m_hRepairThread})
        AddIfRunning(threads, thread);
    CFunctionDlg::AddRunningWorkers(threads);
}
