#include "ScanCleanJunkCleanStep1.h"

#include "Dictionary.h"
#include "ListChecks.h"
#include "options/LanguageSwitch.h"
#include "MainWindowBusy.h"
#include "ScanCleanJunkCleanDlg.h"
#include "ScanMessages.h"

using nsVendrel::TranslateCode;

namespace {
const UINT kLanguageChangedMessage = Shell::LanguageChangedMessage();
}  // namespace

BEGIN_MESSAGE_MAP(CScanCleanJunkCleanStep1, CFunctionDlg)
    ON_BN_CLICKED(CScanCleanJunkCleanStep1::IDC_ABORT_RETURN, &CScanCleanJunkCleanStep1::OnAbortOrReturn)
    ON_BN_CLICKED(CScanCleanJunkCleanStep1::IDC_REMOVE, &CScanCleanJunkCleanStep1::OnRemove)
    ON_BN_CLICKED(CScanCleanJunkCleanStep1::IDC_SELECT_ALL, &CScanCleanJunkCleanStep1::OnSelectAll)
    ON_NOTIFY(LVN_ITEMCHANGED, CScanCleanJunkCleanStep1::IDC_RESULT_LIST, &CScanCleanJunkCleanStep1::OnListItemChanged)
    ON_MESSAGE(WM_JUNKPAGE_WALK_DONE, &CScanCleanJunkCleanStep1::OnWalkDone)
    ON_WM_TIMER()
    ON_WM_CTLCOLOR()
    ON_WM_DESTROY()
    ON_REGISTERED_MESSAGE(kLanguageChangedMessage, &CScanCleanJunkCleanStep1::OnLanguageChanged)
END_MESSAGE_MAP()

CScanCleanJunkCleanStep1::CScanCleanJunkCleanStep1() { WatchWorker(m_worker); }

CScanCleanJunkCleanStep1::~CScanCleanJunkCleanStep1() { StopAndWait(); }

void CScanCleanJunkCleanStep1::LoadTypeTexts()
{
    for (int row = 0; row < JunkPage::kJunkTypeCount; ++row)
        m_typeTexts[row] = static_cast<const wchar_t*>(TranslateCode(JunkPage::JunkTypeAt(row).key));
}

// The rows' type descriptions are composed here, so they are written again in the new language.
LRESULT CScanCleanJunkCleanStep1::OnLanguageChanged(WPARAM, LPARAM)
{
    LoadTypeTexts();
    for (int row = 0; row < m_list.GetItemCount(); ++row) {
        const size_t index = size_t(m_list.GetItemData(row));
        if (index < m_finds.size()) m_list.SetItemText(row, 1, m_typeTexts[m_finds[index].type].c_str());
    }
    return 0;
}

void CScanCleanJunkCleanStep1::OnInitPage()
{
    LoadTypeTexts();

    CRect client;
    GetClientRect(&client);
    const int w = client.Width(), h = client.Height();
    const CRect listRect(20, 40, w - 20, h - 70);

    CreateText(m_status, nullptr, IDC_STATUS, CRect(20, 12, w - 20, 32), SS_LEFT | SS_NOPREFIX);

    CreateList(m_list, IDC_RESULT_LIST, listRect, LVS_SHOWSELALWAYS, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
    CRect inner;
    m_list.GetClientRect(&inner);
    const int nameWidth = inner.Width() * 2 / 3;
    m_list.InsertColumn(0, TranslateCode(L"IDS_SCAN_CLEAN_JUNK_STEP1_TXT_FILENAME"), LVCFMT_LEFT, nameWidth);
    m_list.InsertColumn(1, TranslateCode(L"IDS_SCAN_CLEAN_JUNK_STEP1_TXT_DESCRIPTION"), LVCFMT_LEFT,
                        inner.Width() - nameWidth);

    m_bShowPanel = true;
    m_nPanelCount = 1;
    m_rcPanel[0] = RECT{listRect.left - 5, listRect.top - 5, listRect.right + 5, listRect.bottom + 5};

    const int below = listRect.bottom + 10;
    CreateCheckBox(m_selectAll, L"IDS_SCAN_CLEAN_JUNK_STEP1_TXT_SELECT_ALL", IDC_SELECT_ALL,
                   CRect(20, below, 260, below + 20), WS_TABSTOP);
    CreateControl({IDC_COUNT_CAPTION,
                   PageControlKind::Text,
                   {20, below + 28, 230, below + 48},
                   L"IDS_SCAN_CLEAN_JUNK_STEP1_SCAN_COUNT_TIP"});
    CreateText(m_count, nullptr, IDC_COUNT, CRect(235, below + 28, 330, below + 48));
    m_count.SetWindowText(L"0");

    CreateButton(m_abortReturn, L"IDS_SCAN_CLEAN_JUNK_STEP1_BTN_ABORT", IDC_ABORT_RETURN,
                 CRect(w - 282, h - 56, w - 158, h - 16), WS_TABSTOP);
    CreateButton(m_remove, L"IDS_SCAN_CLEAN_JUNK_STEP1_BTN_REMOVE", IDC_REMOVE, CRect(w - 144, h - 56, w - 20, h - 16),
                 WS_TABSTOP);
}

void CScanCleanJunkCleanStep1::OnShowPage()
{
    CFunctionDlg::OnShowPage();
    // Brought back while an old walk still ends: that walk goes on, no second one starts.
    if (!IsWalking()) StartWalk();
}

void CScanCleanJunkCleanStep1::StartWalk()
{
    m_list.DeleteAllItems();
    m_finds.clear();
    m_report.Clear();
    m_selectAll.SetCheck(BST_UNCHECKED);
    ShowCount();
    m_status.SetWindowText(L"");
    SetButtonText(L"IDS_SCAN_CLEAN_JUNK_STEP1_BTN_ABORT");
    m_abortReturn.EnableWindow(TRUE);
    m_abortReturn.SetDisabled(false);

    // The state is set here, before the thread exists, so an Abort clicked at once is never lost.
    m_state = State::Scanning;
    const unsigned run = ++m_nRun;
    SetMainWindowBusy(true);
    SetTimer(kReportTimer, kReportTimerMs, nullptr);

    const HWND wnd = m_hWnd;
    const std::vector<std::wstring> drives = m_pHost ? m_pHost->Drives() : std::vector<std::wstring>();
    const std::wstring windows = JunkPage::WindowsFolderForWalk();
    const bool started = m_worker.Start([this, wnd, run, drives, windows] {
        JunkPage::WalkForJunk(drives, windows, m_worker.StopFlag(), m_report);
        ::PostMessageW(wnd, WM_JUNKPAGE_WALK_DONE, run, 0);
    });
    if (!started) PostMessage(WM_JUNKPAGE_WALK_DONE, run, 0);
}

LRESULT CScanCleanJunkCleanStep1::OnWalkDone(WPARAM wParam, LPARAM)
{
    if (wParam != m_nRun || !IsWalking()) return 0;
    // The worker posted this as its last act: it ends at once.
    m_worker.Wait(INFINITE, qcore::Pump::SentOnly);
    KillTimer(kReportTimer);
    TakeReport();
    const bool aborted = m_state == State::Aborting;
    m_state = State::Ended;
    m_status.SetWindowText(TranslateCode(aborted ? L"IDS_SCAN_CLEAN_JUNK_STEP1_SCAN_ABORTED"
                                                 : L"IDS_SCAN_CLEAN_JUNK_STEP1_SCAN_COMPLETED"));
    SetMainWindowBusy(false);
    SetButtonText(L"IDS_SCAN_CLEAN_JUNK_STEP1_BTN_RETURN");
    m_abortReturn.EnableWindow(TRUE);
    m_abortReturn.SetDisabled(false);
    return 0;
}

void CScanCleanJunkCleanStep1::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent == kReportTimer) {
        TakeReport();
        return;
    }
    Default();
}

void CScanCleanJunkCleanStep1::TakeReport()
{
    std::vector<JunkPage::JunkFind> batch;
    m_report.TakeFinds(batch);
    if (!batch.empty()) {
        m_list.SetRedraw(FALSE);
        for (JunkPage::JunkFind& find : batch) {
            const size_t index = m_finds.size();
            const int row = m_list.InsertItem(m_list.GetItemCount(), find.path.c_str());
            m_list.SetItemText(row, 1, m_typeTexts[find.type].c_str());
            m_list.SetItemData(row, DWORD_PTR(index));
            m_finds.push_back(std::move(find));
        }
        m_list.SetRedraw(TRUE);
        m_list.Invalidate();
        ShowCount();
    }
    std::wstring current;
    if (m_state == State::Scanning && m_report.TakeCurrent(current))
        m_status.SetWindowText(JunkPage::StatusPath(current).c_str());
}

void CScanCleanJunkCleanStep1::OnAbortOrReturn()
{
    switch (m_state) {
    case State::Scanning:
        // The walk stops at its next entry; Return is offered once it has ended.
        m_state = State::Aborting;
        m_worker.RequestStop();
        m_abortReturn.EnableWindow(FALSE);
        m_abortReturn.SetDisabled(true);
        break;
    case State::Aborting: break;
    case State::Idle:
    case State::Ended:
        if (m_pHost) m_pHost->ShowSubPage(0);
        break;
    }
}

void CScanCleanJunkCleanStep1::OnSelectAll() { m_selectAllFollower.ApplyBox(m_list, m_selectAll); }

void CScanCleanJunkCleanStep1::OnListItemChanged(NMHDR* hdr, LRESULT* result)
{
    m_selectAllFollower.OnItemChanged(hdr, m_list, m_selectAll);
    if (result) *result = 0;
}

void CScanCleanJunkCleanStep1::OnRemove()
{
    if (IsWalking()) {
        AfxMessageBox(TranslateCode(L"IDS_SCAN_CLEAN_JUNK_SCAN_IN_PROGRESS"));
        return;
    }
    const CString notRemoved = TranslateCode(L"IDS_SCAN_CLEAN_JUNK_NOT_REMOVED");
    const ScanPages::RemovalOutcome outcome = ScanPages::RemoveTickedFiles(
        m_list, [this](int row) { return &RowPath(row); }, 1, notRemoved);
    if (outcome.ticked == 0) {
        AfxMessageBox(TranslateCode(L"IDS_SCAN_CLEAN_JUNK_STEP1_SELECT_FILE"));
        return;
    }
    ShowCount();
    CString status = TranslateCode(L"IDS_SCAN_CLEAN_JUNK_DELETE_COMPLETE");
    if (outcome.failed > 0)
        status.Format(L"%s %d", static_cast<const wchar_t*>(TranslateCode(L"IDS_SCAN_CLEAN_JUNK_DELETE_FAILED")),
                      outcome.failed);
    m_status.SetWindowText(status);
    // The outcome is told, not only left in the status line above the list.
    AfxMessageBox(status);
}

const std::wstring& CScanCleanJunkCleanStep1::RowPath(int row) const
{
    static const std::wstring none;
    const size_t index = size_t(m_list.GetItemData(row));
    return index < m_finds.size() ? m_finds[index].path : none;
}

void CScanCleanJunkCleanStep1::ShowCount()
{
    CString text;
    text.Format(L"%d", m_list.GetItemCount());
    m_count.SetWindowText(text);
    // New rows come unticked, removed rows may have been the unticked ones.
    ScanPages::SelectAllFollower::Refresh(m_list, m_selectAll);
}

void CScanCleanJunkCleanStep1::SetButtonText(const wchar_t* key)
{
    m_abortReturn.SetWindowText(TranslateCode(key));
    m_abortReturn.Invalidate();
}

void CScanCleanJunkCleanStep1::StopAndWait() { m_worker.StopAndWait(INFINITE, qcore::Pump::SentOnly); }

void CScanCleanJunkCleanStep1::OnDestroy()
{
    KillTimer(kReportTimer);
    StopAndWait();
    CFunctionDlg::OnDestroy();
}

HBRUSH CScanCleanJunkCleanStep1::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    HBRUSH brush = CFunctionDlg::OnCtlColor(pDC, pWnd, nCtlColor);
    if (pWnd && pWnd->GetDlgCtrlID() == IDC_COUNT) pDC->SetTextColor(RGB(255, 0, 0));
    return brush;
}
