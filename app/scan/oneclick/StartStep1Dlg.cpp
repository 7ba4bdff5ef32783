#include "StartStep1Dlg.h"

#include "Dictionary.h"
#include "EntryApp.h"
#include "HealthScore.h"
#include "MainWindowBusy.h"
#include "PageFactory.h"
#include "PopupMessageDlg.h"
#include "RepairConfirmation.h"
#include "ScanCategories.h"
#include "ScoreResultDialog.h"

using namespace OneClick;
using nsVendrel::TranslateCode;

namespace {
const UINT kBusyFirstFrame = 389, kBusyFrames = 16;
}  // namespace

QUORVEL_REGISTER_PAGE(Shell::kOneClickScanStepId, CStartStep1Dlg);

BEGIN_MESSAGE_MAP(CStartStep1Dlg, CFunctionDlg)
    ON_BN_CLICKED(CStartStep1Dlg::IDC_ABORT_REPAIR, &CStartStep1Dlg::OnAbortOrRepair)
    ON_BN_CLICKED(CStartStep1Dlg::IDC_SHOW_RESULT, &CStartStep1Dlg::OnShowResult)
    ON_BN_CLICKED(CStartStep1Dlg::IDC_RETURN, &CStartStep1Dlg::OnReturn)
    ON_WM_TIMER()
    ON_WM_CTLCOLOR()
    ON_WM_DESTROY()
    ON_NOTIFY(NM_CUSTOMDRAW, CStartStep1Dlg::IDC_LIST, &CStartStep1Dlg::OnListCustomDraw)
END_MESSAGE_MAP()

CStartStep1Dlg::CStartStep1Dlg()
{
    CreateSkinFont(TextFont(), 14, FALSE);
    CreateSkinFont(m_scoreFont, 56, TRUE);
}

CStartStep1Dlg::~CStartStep1Dlg()
{
    m_scan.SetView(nullptr);
    m_scan.StopAndWait();
    if (m_pResultDlg) {
        if (m_pResultDlg->GetSafeHwnd()) m_pResultDlg->DestroyWindow();
        delete m_pResultDlg;
    }
}

void CStartStep1Dlg::OnInitPage()
{
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
    m_health.SetFontSizes({22, 19, 16, 14}, TRUE);
    CreateText(m_progressText, L"IDS_START_TXT_SCAN_WAIT", IDC_PROGRESS_TEXT, CRect(96, 56, w - 300, 76),
               SS_LEFT | SS_PATHELLIPSIS);
    // Never shown: the end of a run is told by the progress text.
    m_abortText.Create(TranslateCode(L"IDS_START_TXT_SCAN_FINISH_STATUS_ABORT"), WS_CHILD | SS_LEFT,
                       CRect(96, 56, w - 300, 76), this, IDC_ABORT_TEXT);
    CreateText(m_score, nullptr, IDC_SCORE, CRect(w - 290, 12, w - 160, 82), SS_CENTER);
    m_score.SetFont(&m_scoreFont);
    m_score.SetWindowText(L"100");
    CreateButton(m_abortRepair, L"IDS_START_BTN_ABORT_TXT", IDC_ABORT_REPAIR, CRect(w - 144, 28, w - 20, 68),
                 WS_TABSTOP);

    m_progress.Create(WS_CHILD | WS_VISIBLE, CRect(20, 92, w - 20, 108), this, IDC_PROGRESS);
    m_progress.SetRange(0, 100);
    m_progress.SetPos(0);

    m_list.m_nRowHeight = 55;
    m_list.m_bDeferRepaint = true;
    CreateList(m_list, IDC_LIST, CRect(20, 118, w - 20, h - 62), LVS_OWNERDRAWFIXED | LVS_SINGLESEL | LVS_NOSORTHEADER,
               0);
    m_list.InsertCategoryColumns(w - 44);

    CreateButton(m_showResult, L"IDS_START_BTN_RESULT_TXT", IDC_SHOW_RESULT, CRect(w - 288, h - 52, w - 164, h - 12),
                 WS_TABSTOP);
    CreateButton(m_return, L"IDS_START_BTN_RETURN_TXT", IDC_RETURN, CRect(w - 144, h - 52, w - 20, h - 12), WS_TABSTOP);
    // The result window is made when it is first asked for: made here, it held up the main window's start.
}

bool CStartStep1Dlg::EnsureResultDialog()
{
    if (m_pResultDlg) return m_pResultDlg->GetSafeHwnd() != nullptr;
    m_pResultDlg = new CScoreResultDialog;
    if (m_pResultDlg->CreateResultWindow(this)) return true;
    delete m_pResultDlg;
    m_pResultDlg = nullptr;
    return false;
}

// ---------------------------------------------------------------------------------------------------------------
// Start, abort, repair

void CStartStep1Dlg::StartQuickScan()
{
    CFunctionDlg::OnShowPage();
    if (!m_scan.Start()) return;  // workers of the last run are still there: it goes on
    GuardAbortRepairButton(false);
    SetMainWindowBusy(true);
    SetTimer(kScoreTimer, kScoreTimerMs, nullptr);
    SetTimer(kRepaintTimer, kRepaintTimerMs, nullptr);
    StartAnimation(true);
    SetButtonText(IDC_ABORT_REPAIR, L"IDS_START_BTN_ABORT_TXT");
    m_abortRepair.EnableWindow(TRUE);
    m_abortRepair.SetDisabled(false);
    m_return.EnableWindow(FALSE);
    m_showResult.EnableWindow(FALSE);
    m_progressText.SetWindowText(TranslateCode(L"IDS_START_TXT_SCAN_WAIT"));
    // Nothing is known yet: no number and no verdict. The number follows the counts from the first tick on, the
    // verdict comes with the end of the run.
    m_nScore = 100;
    m_score.SetWindowText(L"");
    m_health.SetWindowText(TranslateCode(L"IDS_START_TXT_HEALTH_STATUS"));

    if (m_list.GetItemCount() == kPartCount) {
        // The five rows of the last run: only their texts and counts start again (their pictures stay loaded).
        for (int part = 0; part < kPartCount; ++part) {
            m_list.SetRowDescription(part, L"");
            m_list.SetRowCount(part, 0);
        }
    } else {
        m_list.RemoveAllRows();
        for (int part = 0; part < kPartCount; ++part) {
            const ScanRowInfo& row = ScanRow(part);
            m_list.AddRow(TranslateCode(row.nameKey), row.bitmapId, L"", L"", row.thresholds[0], row.thresholds[1],
                          row.thresholds[2], row.thresholds[3], 0);
        }
    }
    m_list.FlushRepaint();
}

void CStartStep1Dlg::OnAbortOrRepair()
{
    if (m_scan.Abort()) {
        // Nothing can be started again until every worker has ended.
        m_abortRepair.EnableWindow(FALSE);
        m_return.EnableWindow(FALSE);
        m_showResult.EnableWindow(FALSE);
        return;
    }
    // A click meant for Abort that arrives just after the button became Repair All.
    if (m_bClickGuard || m_scan.Run().State() != RunState::Ended) return;
    if (!ConfirmRepairAll() || !m_scan.Repair()) return;
    SetMainWindowBusy(true);
    SetTimer(kScoreTimer, kScoreTimerMs, nullptr);
    SetTimer(kRepaintTimer, kRepaintTimerMs, nullptr);
    StartAnimation(true);
    EnableWindow(FALSE);
}

void CStartStep1Dlg::OnDestroy()
{
    KillTimer(kScoreTimer);
    KillTimer(kRepaintTimer);
    m_scan.SetView(nullptr);  // the controls go with this window
    m_scan.StopAndWait();
    CFunctionDlg::OnDestroy();
}

// ---------------------------------------------------------------------------------------------------------------
// What the run reports

void CStartStep1Dlg::OnRowText(Part part, const std::wstring& text) { m_list.SetRowDescription(part, text.c_str()); }

void CStartStep1Dlg::OnCount(Part part, int count) { m_list.SetRowCount(part, count); }

void CStartStep1Dlg::OnProgress(int progress)
{
    m_progress.SetPos(progress);
    m_progress.SendMessage(PBM_SETPOS, WPARAM(progress), 0);
    m_progress.Invalidate(FALSE);
}

void CStartStep1Dlg::OnResultsCleared()
{
    m_nDeliveredItems = 0;
    if (m_pResultDlg && m_pResultDlg->GetSafeHwnd()) m_pResultDlg->ClearLists();
}

void CStartStep1Dlg::OnRunEnded()
{
    KillTimer(kScoreTimer);
    KillTimer(kRepaintTimer);
    StartAnimation(false);
    ShowScore(m_scan.Score());
    m_list.FlushRepaint();
    m_progressText.SetWindowText(TranslateCode(RunEndTextKey(m_scan.Run().LastEnd())));
    SetButtonText(IDC_ABORT_REPAIR, L"IDS_START_REPAIRALL");
    EnableWindow(TRUE);
    GuardAbortRepairButton(true);
    m_return.EnableWindow(TRUE);
    m_showResult.EnableWindow(TRUE);
    SetMainWindowBusy(false);
    if (ResultDialogShown()) DeliverResultItems();

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

void CStartStep1Dlg::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent == kClickGuardTimer) {
        GuardAbortRepairButton(false);
        return;
    }
    if (nIDEvent == kRepaintTimer) {
        m_list.FlushRepaint();
        if (ResultDialogShown()) DeliverResultItems();
        return;
    }
    const RunState state = m_scan.Run().State();
    if (nIDEvent == kScoreTimer && (state == RunState::Scanning || state == RunState::Aborting)) {
        ShowScore(HealthScore(m_scan.Counts()), false);
        return;
    }
    Default();
}

void CStartStep1Dlg::GuardAbortRepairButton(bool on)
{
    m_bClickGuard = on;
    m_abortRepair.EnableWindow(!on);
    if (on)
        SetTimer(kClickGuardTimer, kClickGuardMs, nullptr);
    else
        KillTimer(kClickGuardTimer);
}

bool CStartStep1Dlg::ConfirmRepairAll()
{
    const std::wstring question =
        RepairAllQuestion(m_scan.Counts(), CRegistryData::BackupDatabasePath(), &nsVendrel::TranslateString);
    if (question.empty()) return true;  // nothing found: nothing is removed
    CWnd* owner = GetTopLevelParent();
    const int answer = ::MessageBoxW(owner ? owner->GetSafeHwnd() : GetSafeHwnd(), question.c_str(),
                                     TranslateCode(L"IDS_START_REPAIRALL"), MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2);
    return answer == IDYES;
}

void CStartStep1Dlg::OnShowResult()
{
    if (!EnsureResultDialog()) return;
    DeliverResultItems();
    m_pResultDlg->ShowInFront();
}

void CStartStep1Dlg::OnReturn()
{
    if (m_scan.Run().IsBusy()) return;
    if (CFunctionDlg* parent = dynamic_cast<CFunctionDlg*>(GetParent())) parent->ShowSubPage(0);
}

HBRUSH CStartStep1Dlg::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    if (nCtlColor != CTLCOLOR_STATIC || !pWnd) return CFunctionDlg::OnCtlColor(pDC, pWnd, nCtlColor);
    pDC->SetBkMode(TRANSPARENT);
    const int id = pWnd->GetDlgCtrlID();
    if (id == IDC_HEALTH) pDC->SetTextColor(RGB(52, 107, 185));
    if (id == IDC_SCORE) pDC->SetTextColor(IsScoreGood(m_nScore) ? RGB(0, 255, 0) : RGB(199, 21, 19));
    return SharedWhiteBrush();
}

void CStartStep1Dlg::OnListCustomDraw(NMHDR* pNMHDR, LRESULT* pResult)
{
    CStartScanList::OnCustomDraw(pNMHDR, pResult);
}

void CStartStep1Dlg::ShowScore(int score, bool withStatus)
{
    m_nScore = score;
    CString text;
    text.Format(L"%d", score);
    m_score.SetWindowText(text);
    if (withStatus) m_health.SetWindowText(TranslateCode(ScoreStatusKey(score)));
    m_score.Invalidate();
}

bool CStartStep1Dlg::ResultDialogShown() const
{
    return m_pResultDlg && m_pResultDlg->GetSafeHwnd() && m_pResultDlg->IsWindowVisible();
}

void CStartStep1Dlg::DeliverResultItems()
{
    const std::vector<CQuickScan::ResultItem>& items = m_scan.ResultItems();
    if (!m_pResultDlg || !m_pResultDlg->GetSafeHwnd() || m_nDeliveredItems >= items.size()) return;
    for (int i = 0; i < kScoreResultListCount; ++i) m_pResultDlg->GetList(i).SetRedraw(FALSE);
    const HWND dialog = m_pResultDlg->GetSafeHwnd();
    for (; m_nDeliveredItems < items.size(); ++m_nDeliveredItems) {
        const auto& item = items[m_nDeliveredItems];
        ::SendMessageW(dialog, WM_SCORE_RESULT_ITEM, reinterpret_cast<WPARAM>(item.first.c_str()), item.second);
    }
    for (int i = 0; i < kScoreResultListCount; ++i) {
        m_pResultDlg->GetList(i).SetRedraw(TRUE);
        m_pResultDlg->GetList(i).Invalidate();
    }
}

void CStartStep1Dlg::SetButtonText(int id, const wchar_t* key)
{
    if (CWnd* button = GetDlgItem(id)) {
        button->SetWindowText(TranslateCode(key));
        button->Invalidate();
    }
}

void CStartStep1Dlg::StartAnimation(bool on)
{
    if (!m_busy.GetSafeHwnd()) return;
    if (on)
        m_busy.SetTimer(0, m_busy.m_nPeriod, nullptr);
    else
        m_busy.KillTimer(0);
}
