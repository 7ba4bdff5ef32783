#include "ScanCleanEvidenceScanDlg.h"

#include "Dictionary.h"
#include "options/LanguageSwitch.h"
#include "MainWindowBusy.h"
#include "ScanCleanEvidenceDlg.h"
#include "ScanMessages.h"

using namespace EvidencePage;
using nsVendrel::TranslateCode;

namespace {
// Runs one category through the scanner operation of its group.
void ScanCategory(Lumbrey::CSysEvidence& scanner, int category,
                  std::vector<Lumbrey::CSysEvidence::ScanResultItem>& found)
{
    switch (GroupAt(GroupOf(category)).dispatcher) {
    case Dispatcher::InternetExplorer: scanner.ScanInternetExplorer(category, found); break;
    case Dispatcher::WindowsSoftware: scanner.ScanWindowsSoftware(category, found); break;
    case Dispatcher::WindowsSystem: scanner.ScanWindowsSystem(category, found); break;
    case Dispatcher::InternetSoftware: scanner.ScanInternetSoftware(category, found); break;
    }
}
}  // namespace

namespace {
const UINT kLanguageChangedMessage = Shell::LanguageChangedMessage();
}  // namespace

BEGIN_MESSAGE_MAP(CScanCleanEvidenceScanDlg, CFunctionDlg)
    ON_REGISTERED_MESSAGE(kLanguageChangedMessage, &CScanCleanEvidenceScanDlg::OnLanguageChanged)
    ON_BN_CLICKED(CScanCleanEvidenceScanDlg::IDC_SCAN_ABORT, &CScanCleanEvidenceScanDlg::OnScanOrAbort)
    ON_NOTIFY(NM_CLICK, CScanCleanEvidenceScanDlg::IDC_TREE, &CScanCleanEvidenceScanDlg::OnTreeClick)
    ON_MESSAGE(WM_EVIDENCEPAGE_TREE_CHECKED, &CScanCleanEvidenceScanDlg::OnTreeChecked)
    ON_MESSAGE(WM_EVIDENCE_ITEM_FOUND, &CScanCleanEvidenceScanDlg::OnTraceFound)
    ON_MESSAGE(WM_EVIDENCEPAGE_CATEGORY_SCANNED, &CScanCleanEvidenceScanDlg::OnCategoryScanned)
    ON_MESSAGE(WM_EVIDENCEPAGE_SCAN_DONE, &CScanCleanEvidenceScanDlg::OnScanDone)
    ON_WM_TIMER()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

// The tree's labels are composed here (with their counts), so they are composed again in the new language.
LRESULT CScanCleanEvidenceScanDlg::OnLanguageChanged(WPARAM, LPARAM)
{
    m_labels.Load();
    EvidencePage::ShowCounts(m_tree, m_labels, m_nodes, m_counts);
    return 0;
}

CScanCleanEvidenceScanDlg::CScanCleanEvidenceScanDlg() { WatchWorker(m_worker); }

CScanCleanEvidenceScanDlg::~CScanCleanEvidenceScanDlg() { StopAndWait(); }

void CScanCleanEvidenceScanDlg::OnInitPage()
{
    CRect client;
    GetClientRect(&client);
    const int w = client.Width(), h = client.Height();
    CreateTraceTree(*this, m_tree, CRect(20, 10, w - 20, h - 70), IDC_TREE);

    m_labels.Load();
    m_nodes.root = InsertTicked(m_tree, LabelWithCount(m_labels.root, 0).c_str());
    for (int group = 0; group < kGroupCount; ++group) {
        const GroupInfo& info = GroupAt(group);
        m_nodes.groups[group] = InsertTicked(m_tree, LabelWithCount(m_labels.groups[group], 0).c_str(), m_nodes.root);
        for (int category = info.first; category <= info.last; ++category) {
            m_nodes.categories[category] =
                InsertTicked(m_tree, LabelWithCount(m_labels.categories[category], 0).c_str(), m_nodes.groups[group]);
            m_tree.SetItemData(m_nodes.categories[category], DWORD_PTR(category));
        }
        m_tree.Expand(m_nodes.groups[group], TVE_EXPAND);
    }
    m_tree.Expand(m_nodes.root, TVE_EXPAND);
    m_tree.SelectItem(m_nodes.root);

    m_progress.Create(WS_CHILD, CRect(20, h - 48, w - 170, h - 32), this, IDC_PROGRESS);
    CreateButton(m_scanAbort, L"IDS_SCAN_CLEAN_EVIDENCE_SCAN_BUTTON_SCAN", IDC_SCAN_ABORT,
                 CRect(w - 144, h - 60, w - 20, h - 20), WS_TABSTOP);
    SetDefaultButton(IDC_SCAN_ABORT);

    m_scanner.SetParentWnd(m_hWnd);
}

void CScanCleanEvidenceScanDlg::OnShowPage()
{
    CFunctionDlg::OnShowPage();
    if (m_state == State::Idle) SetButtonText(L"IDS_SCAN_CLEAN_EVIDENCE_SCAN_BUTTON_SCAN");
}

std::vector<int> CScanCleanEvidenceScanDlg::CheckedCategories() const
{
    std::vector<int> categories;
    for (int category = 0; category < kCategoryCount; ++category)
        if (m_tree.GetCheck(m_nodes.categories[category]) == 1) categories.push_back(category);
    return categories;
}

void CScanCleanEvidenceScanDlg::OnScanOrAbort()
{
    switch (m_state) {
    case State::Scanning:
        // The scanner's walks end at their next step; the results so far are shown when the worker has ended.
        m_state = State::Aborting;
        m_worker.RequestStop();
        m_scanner.StopScanEvidence(1);
        m_scanAbort.EnableWindow(FALSE);
        m_scanAbort.SetDisabled(true);
        break;
    case State::Aborting: break;
    case State::Idle:
        // One job at a time: a clean of the last results runs to its end first.
        if (!m_pHost || !m_pHost->GetResultPage().IsCleaning()) StartScan();
        break;
    }
}

void CScanCleanEvidenceScanDlg::StartScan()
{
    const std::vector<int> categories = CheckedCategories();
    if (categories.empty()) {
        AfxMessageBox(TranslateCode(L"IDS_SCAN_CLEAN_EVIDENCE_SELECT_ITEM"));
        return;
    }
    m_traces.clear();
    for (int& count : m_counts) count = 0;
    ShowCounts();
    m_progress.SetRange32(0, int(categories.size()));
    m_progress.SetPos(0);
    m_progress.ShowWindow(SW_SHOW);
    SetButtonText(L"IDS_SCAN_CLEAN_EVIDENCE_SCAN_BUTTON_ABORT");

    m_state = State::Scanning;
    const unsigned run = ++m_nRun;
    m_scanner.StopScanEvidence(0);
    SetMainWindowBusy(true);
    SetTimer(kLabelTimer, kLabelTimerMs, nullptr);
    const HWND wnd = m_hWnd;
    const bool started = m_worker.Start([this, wnd, run, categories] {
        // The scanner appends to this list too; the page keeps its own copies from the messages.
        std::vector<Lumbrey::CSysEvidence::ScanResultItem> found;
        for (size_t i = 0; i < categories.size() && !m_worker.StopRequested(); ++i) {
            ScanCategory(m_scanner, categories[i], found);
            found.clear();
            ::SendMessageW(wnd, WM_EVIDENCEPAGE_CATEGORY_SCANNED, WPARAM(i + 1), LPARAM(run));
        }
        ::PostMessageW(wnd, WM_EVIDENCEPAGE_SCAN_DONE, run, 0);
    });
    if (!started) PostMessage(WM_EVIDENCEPAGE_SCAN_DONE, run, 0);
}

LRESULT CScanCleanEvidenceScanDlg::OnTraceFound(WPARAM wParam, LPARAM lParam)
{
    const auto* item = reinterpret_cast<const Lumbrey::CSysEvidence::ScanResultItem*>(wParam);
    const int category = int(lParam);
    if (!item || m_state == State::Idle || m_bClosing || category < 0 || category >= kCategoryCount) return 0;
    m_traces.push_back(Trace{*item, category});
    ++m_counts[category];
    m_bCountsChanged = true;
    return 0;
}

LRESULT CScanCleanEvidenceScanDlg::OnCategoryScanned(WPARAM wParam, LPARAM lParam)
{
    if (unsigned(lParam) != m_nRun || m_bClosing) return 0;
    m_progress.SetPos(int(wParam));
    return 0;
}

LRESULT CScanCleanEvidenceScanDlg::OnScanDone(WPARAM wParam, LPARAM)
{
    if (wParam != m_nRun || m_state == State::Idle) return 0;
    // The worker posted this as its last act: it ends at once.
    m_worker.Wait(INFINITE, qcore::Pump::SentOnly);
    KillTimer(kLabelTimer);
    m_state = State::Idle;
    m_scanner.StopScanEvidence(0);
    ShowCounts();
    SetMainWindowBusy(false);
    SetButtonText(L"IDS_SCAN_CLEAN_EVIDENCE_SCAN_BUTTON_SCAN");
    m_scanAbort.EnableWindow(TRUE);
    m_scanAbort.SetDisabled(false);
    // Also after an abort: the traces found so far.
    if (m_pHost) m_pHost->ShowResults(m_traces);
    return 0;
}

void CScanCleanEvidenceScanDlg::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent != kLabelTimer) {
        Default();
        return;
    }
    if (m_bCountsChanged) ShowCounts();
}

void CScanCleanEvidenceScanDlg::ShowCounts()
{
    m_bCountsChanged = false;
    EvidencePage::ShowCounts(m_tree, m_labels, m_nodes, m_counts);
}

void CScanCleanEvidenceScanDlg::OnTreeClick(NMHDR*, LRESULT* pResult)
{
    *pResult = 0;
    HTREEITEM item = CheckBoxUnderCursor(m_tree);
    if (!item) return;
    m_tree.SelectItem(item);
    // The tree changes the box after this notification: its new state is read once the click is over.
    PostMessage(WM_EVIDENCEPAGE_TREE_CHECKED, reinterpret_cast<WPARAM>(item), 0);
}

LRESULT CScanCleanEvidenceScanDlg::OnTreeChecked(WPARAM wParam, LPARAM)
{
    // Items of this tree are never deleted, so the handle is still good.
    ApplyCheckToDescendants(m_tree, reinterpret_cast<HTREEITEM>(wParam));
    return 0;
}

void CScanCleanEvidenceScanDlg::SetButtonText(const wchar_t* key)
{
    m_scanAbort.SetWindowText(TranslateCode(key));
    m_scanAbort.Invalidate();
}

void CScanCleanEvidenceScanDlg::StopAndWait()
{
    m_bClosing = true;
    m_worker.RequestStop();
    m_scanner.StopScanEvidence(1);
    m_worker.Wait(INFINITE, qcore::Pump::SentOnly);
}

void CScanCleanEvidenceScanDlg::OnDestroy()
{
    KillTimer(kLabelTimer);
    StopAndWait();
    CFunctionDlg::OnDestroy();
}

void CScanCleanEvidenceScanDlg::StopWorkers()
{
    m_bClosing = true;
    m_scanner.StopScanEvidence(1);
    CFunctionDlg::StopWorkers();
}
