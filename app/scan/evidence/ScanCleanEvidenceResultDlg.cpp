#include "ScanCleanEvidenceResultDlg.h"

#include "Dictionary.h"
#include "options/LanguageSwitch.h"
#include "MainWindowBusy.h"
#include "RepairActions.h"
#include "ScanCleanEvidenceDlg.h"
#include "ScanMessages.h"

using namespace EvidencePage;
using nsVendrel::TranslateCode;

namespace {
std::wstring Translate(const wchar_t* key) { return static_cast<const wchar_t*>(TranslateCode(key)); }
}  // namespace

namespace {
const UINT kLanguageChangedMessage = Shell::LanguageChangedMessage();
}  // namespace

BEGIN_MESSAGE_MAP(CScanCleanEvidenceResultDlg, CFunctionDlg)
    ON_REGISTERED_MESSAGE(kLanguageChangedMessage, &CScanCleanEvidenceResultDlg::OnLanguageChanged)
    ON_BN_CLICKED(CScanCleanEvidenceResultDlg::IDC_CLEAN, &CScanCleanEvidenceResultDlg::OnClean)
    ON_NOTIFY(NM_CLICK, CScanCleanEvidenceResultDlg::IDC_TREE, &CScanCleanEvidenceResultDlg::OnTreeClick)
    ON_NOTIFY(TVN_SELCHANGEDW, CScanCleanEvidenceResultDlg::IDC_TREE, &CScanCleanEvidenceResultDlg::OnSelChanged)
    ON_MESSAGE(WM_EVIDENCEPAGE_RESULT_CHECKED, &CScanCleanEvidenceResultDlg::OnTreeChecked)
    ON_MESSAGE(WM_EVIDENCEPAGE_CLEAN_DONE, &CScanCleanEvidenceResultDlg::OnCleanDone)
    ON_WM_CTLCOLOR()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

// The tree's labels are composed here (with their counts), so they are composed again in the new language.
LRESULT CScanCleanEvidenceResultDlg::OnLanguageChanged(WPARAM, LPARAM)
{
    m_labels.Load();
    EvidencePage::ShowCounts(m_tree, m_labels, m_nodes, m_counts);
    return 0;
}

CScanCleanEvidenceResultDlg::CScanCleanEvidenceResultDlg()
{
    WatchWorker(m_cleaner);  // a clean has no stop: the frame only waits for it
}

CScanCleanEvidenceResultDlg::~CScanCleanEvidenceResultDlg() { StopAndWait(); }

void CScanCleanEvidenceResultDlg::OnInitPage()
{
    m_labels.Load();
    CRect client;
    GetClientRect(&client);
    const int w = client.Width(), h = client.Height();
    const CRect treeRect(20, 10, w - 20, h - 90);
    CreateTraceTree(*this, m_tree, treeRect, IDC_TREE);

    const int y = treeRect.bottom + 12;
    const DWORD label = SS_LEFT | SS_NOPREFIX;
    CreateText(m_amountCaption, L"IDS_SCAN_CLEAN_EVIDENCE_CLEAN_TXT_EVIDENCE_AMOUT", IDC_AMOUNT_CAPTION,
               CRect(20, y, 220, y + 18), label);
    CreateText(m_amount, nullptr, IDC_AMOUNT, CRect(225, y, 340, y + 18), label);
    m_amount.SetWindowText(L"0");
    CreateText(m_sizeCaption, L"IDS_SCAN_CLEAN_EVIDENCE_CLEAN_TXT_TOTAL_SIZE", IDC_SIZE_CAPTION,
               CRect(20, y + 22, 220, y + 40), label);
    CreateText(m_size, nullptr, IDC_SIZE_VALUE, CRect(225, y + 22, 400, y + 40), label);
    m_size.SetWindowText(L"0.00 KB");
    CreateText(m_status, nullptr, IDC_STATUS, CRect(20, y + 46, w - 170, y + 64), label);
    CreateButton(m_clean, L"IDS_SCAN_CLEAN_EVIDENCE_CLEAN_BUTTON_CLEAN", IDC_CLEAN,
                 CRect(w - 144, h - 60, w - 20, h - 20), WS_TABSTOP);
}

void CScanCleanEvidenceResultDlg::Fill(const std::vector<Trace>& traces)
{
    if (IsCleaning()) return;
    CWaitCursor wait;
    ++m_nGeneration;
    m_traces = traces;
    m_leafTrace.clear();
    m_traceLeaf.assign(m_traces.size(), nullptr);
    for (int& count : m_counts) count = 0;
    m_nodes.Clear();

    m_tree.SetRedraw(FALSE);
    m_tree.DeleteAllItems();
    m_nodes.root = InsertTicked(m_tree, m_labels.root.c_str());
    for (const ResultGroup& group : BuildResultTree(m_traces)) {
        HTREEITEM groupItem = InsertTicked(m_tree, m_labels.groups[group.group].c_str(), m_nodes.root);
        m_nodes.groups[group.group] = groupItem;
        for (const ResultCategory& category : group.categories) {
            HTREEITEM categoryItem = InsertTicked(m_tree, m_labels.categories[category.category].c_str(), groupItem);
            m_nodes.categories[category.category] = categoryItem;
            m_counts[category.category] = int(category.traces.size());
            for (size_t trace : category.traces) {
                HTREEITEM leaf = InsertTicked(m_tree, LeafText(m_traces[trace].item).c_str(), categoryItem);
                // The size in bytes is the leaf's item data, as the size labels sum it.
                m_tree.SetItemData(leaf, DWORD_PTR(m_traces[trace].item.size > 0 ? m_traces[trace].item.size : 0));
                m_leafTrace[leaf] = trace;
                m_traceLeaf[trace] = leaf;
            }
        }
        m_tree.Expand(groupItem, TVE_EXPAND);
    }
    ShowCounts(m_tree, m_labels, m_nodes, m_counts);
    m_tree.Expand(m_nodes.root, TVE_EXPAND);
    m_tree.SelectItem(m_nodes.root);
    m_tree.SetRedraw(TRUE);
    m_tree.Invalidate();
    m_status.SetWindowText(L"");
    ShowSelection();
}

const Trace* CScanCleanEvidenceResultDlg::LeafTrace(HTREEITEM item) const
{
    auto it = m_leafTrace.find(item);
    return it == m_leafTrace.end() ? nullptr : &m_traces[it->second];
}

int CScanCleanEvidenceResultDlg::NodeCount(HTREEITEM node) const
{
    if (!node) return 0;
    int count = 0;
    for (int category = 0; category < kCategoryCount; ++category) {
        HTREEITEM item = m_nodes.categories[category];
        if (!item) continue;
        for (HTREEITEM up = item; up; up = m_tree.GetParentItem(up))
            if (up == node) {
                count += m_counts[category];
                break;
            }
    }
    return count;
}

unsigned long long CScanCleanEvidenceResultDlg::CheckedSize(HTREEITEM node) const
{
    unsigned long long bytes = 0;
    if (!node) return bytes;
    ForEachDescendant(m_tree, node, [&](HTREEITEM item) {
        if (m_tree.GetCheck(item) == 1) bytes += m_tree.GetItemData(item);
    });
    return bytes;
}

void CScanCleanEvidenceResultDlg::ShowSelection()
{
    // A leaf stands for its category.
    HTREEITEM node = m_tree.GetSelectedItem();
    if (node && m_leafTrace.count(node)) node = m_tree.GetParentItem(node);
    if (!node) node = m_nodes.root;
    CString amount;
    amount.Format(L"%d", NodeCount(node));
    m_amount.SetWindowText(amount);
    m_size.SetWindowText(SizeText(CheckedSize(node)).c_str());
}

void CScanCleanEvidenceResultDlg::OnSelChanged(NMHDR*, LRESULT* pResult)
{
    *pResult = 0;
    ShowSelection();
}

void CScanCleanEvidenceResultDlg::OnTreeClick(NMHDR*, LRESULT* pResult)
{
    *pResult = 0;
    HTREEITEM item = CheckBoxUnderCursor(m_tree);
    if (!item) return;
    m_tree.SelectItem(item);
    // The tree changes the box after this notification: its new state is read once the click is over.
    PostMessage(WM_EVIDENCEPAGE_RESULT_CHECKED, reinterpret_cast<WPARAM>(item), LPARAM(m_nGeneration));
}

LRESULT CScanCleanEvidenceResultDlg::OnTreeChecked(WPARAM wParam, LPARAM lParam)
{
    HTREEITEM item = reinterpret_cast<HTREEITEM>(wParam);
    // Leaves are deleted by a clean and everything by a new fill: only an item known to be there is touched.
    const bool known = m_nodes.Holds(item) || m_leafTrace.count(item);
    if (unsigned(lParam) != m_nGeneration || !item || !known || IsCleaning()) return 0;
    ApplyCheckToDescendants(m_tree, item);
    ShowSelection();
    return 0;
}

void CScanCleanEvidenceResultDlg::OnClean()
{
    // One job at a time: no clean while a new scan runs.
    if (IsCleaning() || (m_pHost && m_pHost->GetScanPage().GetState() != CScanCleanEvidenceScanDlg::State::Idle))
        return;
    std::vector<Leaf> leaves;
    for (size_t trace = 0; trace < m_traceLeaf.size(); ++trace)
        if (m_traceLeaf[trace]) leaves.push_back(Leaf{trace, m_tree.GetCheck(m_traceLeaf[trace]) == 1});
    m_plan = PlanClean(m_traces, leaves);
    if (m_plan.Empty()) return;

    std::vector<Lumbrey::CSysEvidence::ScanResultItem> items;
    for (size_t trace : m_plan.oneByOne) items.push_back(m_traces[trace].item);
    const bool emptyBin = m_plan.emptyRecycleBin;
    m_removed.assign(items.size(), 0);
    m_bBinEmptied = false;

    EnableWindow(FALSE);
    SetMainWindowBusy(true);
    const unsigned run = ++m_nRun;
    const HWND wnd = m_hWnd;
    // The worker writes only m_removed and m_bBinEmptied, which the interface thread reads after it has ended.
    const bool started = m_cleaner.Start([this, wnd, run, items, emptyBin] {
        for (size_t i = 0; i < items.size(); ++i) m_removed[i] = OneClick::RemoveTrace(items[i]) ? 1 : 0;
        if (emptyBin) m_bBinEmptied = Lumbrey::CSysEvidence::deleteFileInRecy(L"", nullptr) == 1;
        ::PostMessageW(wnd, WM_EVIDENCEPAGE_CLEAN_DONE, run, 0);
    });
    if (!started) PostMessage(WM_EVIDENCEPAGE_CLEAN_DONE, run, 0);
}

void CScanCleanEvidenceResultDlg::MarkLeaf(size_t trace, const wchar_t* noteKey)
{
    if (HTREEITEM leaf = m_traceLeaf[trace])
        m_tree.SetItemText(leaf, (LeafText(m_traces[trace].item) + L"   - " + Translate(noteKey)).c_str());
}

LRESULT CScanCleanEvidenceResultDlg::OnCleanDone(WPARAM wParam, LPARAM)
{
    if (wParam != m_nRun || !m_cleaner.HasThread()) return 0;
    m_cleaner.Wait(INFINITE, qcore::Pump::SentOnly);

    int notRemoved = 0;
    auto removeLeaf = [&](size_t trace) {
        HTREEITEM leaf = m_traceLeaf[trace];
        if (!leaf) return;
        m_leafTrace.erase(leaf);
        m_traceLeaf[trace] = nullptr;
        m_tree.DeleteItem(leaf);
        --m_counts[m_traces[trace].category];
    };
    for (size_t i = 0; i < m_plan.oneByOne.size(); ++i) {
        if (m_removed[i]) {
            removeLeaf(m_plan.oneByOne[i]);
        } else {
            MarkLeaf(m_plan.oneByOne[i], L"IDS_SCAN_CLEAN_EVIDENCE_NOT_REMOVED");
            ++notRemoved;
        }
    }
    for (size_t trace : m_plan.recycleBin) {
        if (m_bBinEmptied) {
            removeLeaf(trace);
        } else {
            MarkLeaf(trace, L"IDS_SCAN_CLEAN_EVIDENCE_NOT_REMOVED");
            ++notRemoved;
        }
    }
    for (size_t trace : m_plan.recycleKept) {
        MarkLeaf(trace, L"IDS_SCAN_CLEAN_EVIDENCE_RECYCLE_PARTIAL");
        ++notRemoved;
    }
    for (size_t trace : m_plan.refused) {
        MarkLeaf(trace, L"IDS_SCAN_CLEAN_EVIDENCE_NOT_REMOVED");
        ++notRemoved;
    }
    ShowCounts(m_tree, m_labels, m_nodes, m_counts);
    ShowSelection();
    CString status = TranslateCode(L"IDS_SCAN_CLEAN_EVIDENCE_CLEAN_DONE");
    if (notRemoved > 0)
        status.Format(L"%s %d", static_cast<const wchar_t*>(TranslateCode(L"IDS_SCAN_CLEAN_EVIDENCE_CLEAN_FAILED")),
                      notRemoved);
    m_status.SetWindowText(status);
    EnableWindow(TRUE);
    SetMainWindowBusy(false);
    return 0;
}

void CScanCleanEvidenceResultDlg::StopAndWait()
{
    // A clean is short and has no stop: it is waited for.
    m_cleaner.Wait(INFINITE, qcore::Pump::SentOnly);
}

void CScanCleanEvidenceResultDlg::OnDestroy()
{
    StopAndWait();
    CFunctionDlg::OnDestroy();
}

HBRUSH CScanCleanEvidenceResultDlg::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    HBRUSH brush = CFunctionDlg::OnCtlColor(pDC, pWnd, nCtlColor);
    const int id = pWnd ? pWnd->GetDlgCtrlID() : 0;
    if (id == IDC_AMOUNT || id == IDC_SIZE_VALUE) pDC->SetTextColor(RGB(255, 0, 0));
    return brush;
}
