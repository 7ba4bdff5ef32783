#include "ScanCleanShortcutCleanStep1.h"

#include "Dictionary.h"
#include "MainWindowBusy.h"
#include "ScanCleanShortcutCleanDlg.h"
#include "ShellIcons.h"
#include "ShortcutPageRules.h"
#include "ScanMessages.h"

using nsVendrel::TranslateCode;

namespace {
const UINT kFirstFrame = 358, kFrames = 16;
}  // namespace

BEGIN_MESSAGE_MAP(CScanCleanShortcutCleanStep1, CFunctionDlg)
    ON_BN_CLICKED(CScanCleanShortcutCleanStep1::IDC_STOP, &CScanCleanShortcutCleanStep1::OnStop)
    ON_MESSAGE(WM_SHORTCUT_INVALID_FOUND, &CScanCleanShortcutCleanStep1::OnInvalidFound)
    ON_MESSAGE(WM_SHORTCUT_SCAN_PROGRESS, &CScanCleanShortcutCleanStep1::OnScanProgress)
    ON_MESSAGE(WM_SHORTCUT_SCAN_DONE, &CScanCleanShortcutCleanStep1::OnScanDone)
    ON_MESSAGE(WM_SHORTCUTPAGE_STOPPED, &CScanCleanShortcutCleanStep1::OnStopped)
    ON_WM_TIMER()
    ON_WM_CTLCOLOR()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CScanCleanShortcutCleanStep1::CScanCleanShortcutCleanStep1() = default;

CScanCleanShortcutCleanStep1::~CScanCleanShortcutCleanStep1() { StopAndWait(); }

void CScanCleanShortcutCleanStep1::OnInitPage()
{
    CRect client;
    GetClientRect(&client);
    const int w = client.Width(), h = client.Height();

    m_rotator.m_nPeriod = 100;
    m_rotator.Create(L"", WS_CHILD | WS_VISIBLE, CRect(20, 15, 68, 63), this, IDC_ROTATOR);
    for (UINT i = 0; i < kFrames; ++i) m_rotator.AddImage(kFirstFrame + i);

    const DWORD label = SS_LEFT | SS_NOPREFIX;
    CreateText(m_inProgress, L"IDS_SCAN_CLEAN_SHORTCUT_STEP1_TXT_SCAN_IN_PROGRESS", IDC_IN_PROGRESS,
               CRect(80, 18, w - 20, 38), label);
    CreateText(m_path, nullptr, IDC_PATH, CRect(80, 44, w - 20, 64), label);
    CreateText(m_countCaption, L"IDS_SCAN_CLEAN_SHORTCUT_STEP1_TXT_SCAN_COUNT", IDC_COUNT_CAPTION,
               CRect(20, 110, 200, 130), label);
    CreateText(m_count, nullptr, IDC_COUNT, CRect(205, 110, 300, 130), label);
    m_count.SetWindowText(L"0");
    CreateText(m_elapsedCaption, L"IDS_SCAN_CLEAN_SHORTCUT_STEP1_TXT_SCAN_TIME_ELAPSED", IDC_ELAPSED_CAPTION,
               CRect(310, 110, 540, 130), label);
    CreateText(m_elapsed, nullptr, IDC_ELAPSED, CRect(545, 110, 645, 130), label);
    m_elapsed.SetWindowText(L"00:00:00");

    m_progress.Create(WS_CHILD | WS_VISIBLE, CRect(20, 76, w - 20, 92), this, IDC_PROGRESS);
    m_progress.SetRange(0, 100);
    m_progress.SetPos(0);

    const CRect listRect(20, 140, w - 20, h - 70);
    CreateList(m_list, IDC_RESULT_LIST, listRect, LVS_SHOWSELALWAYS | LVS_SHAREIMAGELISTS,
               LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    CRect inner;
    ShortcutPage::LoadShellIcons(m_icons, {ShortcutPage::kShellIconFile});
    m_list.SetImageList(&m_icons, LVSIL_SMALL);
    m_list.GetClientRect(&inner);
    const int seventh = inner.Width() / 7;
    m_list.InsertColumn(0, TranslateCode(L"IDS_SCAN_CLEAN_SHORTCUT_STEP1_LIST_HEAD_NAME"), LVCFMT_LEFT, seventh);
    m_list.InsertColumn(1, TranslateCode(L"IDS_SCAN_CLEAN_SHORTCUT_STEP1_LIST_HEAD_TARGET"), LVCFMT_LEFT, 3 * seventh);
    m_list.InsertColumn(2, TranslateCode(L"IDS_SCAN_CLEAN_SHORTCUT_STEP1_LIST_HEAD_PATH"), LVCFMT_LEFT, 3 * seventh);

    CreateButton(m_stop, L"IDS_SCAN_CLEAN_SHORTCUT_STEP1_BTN_STOP", IDC_STOP, CRect(w - 144, h - 56, w - 20, h - 16),
                 WS_TABSTOP);

    m_scan.SetParentWnd(m_hWnd);
}

void CScanCleanShortcutCleanStep1::OnShowPage()
{
    CFunctionDlg::OnShowPage();
    if (m_bScanning || !m_pHost) return;  // a scan of its own is still ending: it goes on

    const std::vector<std::wstring> drives = m_pHost->GetStep0().CheckedDrives();
    m_list.DeleteAllItems();
    m_found.clear();
    m_path.SetWindowText(L"");
    // The clock starts with its first second already counted.
    m_nElapsed = 1;
    m_elapsed.SetWindowText(ShortcutPage::ElapsedText(m_nElapsed).c_str());
    m_nProgress = 0;
    m_progress.SetRange(0, 100);
    m_progress.SetPos(0);
    ShowCount();
    m_stop.EnableWindow(TRUE);
    m_stop.SetDisabled(false);
    SetTimer(kClockTimer, kClockTimerMs, nullptr);
    Animate(true);

    m_bScanning = true;
    SetMainWindowBusy(true);
    // Reports its end (WM_SHORTCUT_SCAN_DONE) also when no drive is ticked or its worker cannot start.
    m_scan.FindShortCutLink(drives);
}

LRESULT CScanCleanShortcutCleanStep1::OnInvalidFound(WPARAM wParam, LPARAM lParam)
{
    const wchar_t* link = reinterpret_cast<const wchar_t*>(wParam);
    const wchar_t* target = reinterpret_cast<const wchar_t*>(lParam);
    if (!m_bScanning || m_bClosing || !link || !*link) return 0;
    m_found.push_back(InvalidShortcut{link, target ? target : L""});
    const ShortcutPage::LinkParts parts = ShortcutPage::SplitLinkPath(m_found.back().link);
    const int row = m_list.InsertItem(m_list.GetItemCount(), parts.name.c_str(), 0);
    m_list.SetItemText(row, 1, m_found.back().target.c_str());
    m_list.SetItemText(row, 2, parts.folder.c_str());
    ShowCount();
    return 0;
}

LRESULT CScanCleanShortcutCleanStep1::OnScanProgress(WPARAM wParam, LPARAM)
{
    // One message per folder entry: the path line follows at most every 100 ms.
    const wchar_t* path = reinterpret_cast<const wchar_t*>(wParam);
    const DWORD now = ::GetTickCount();
    if (!m_bScanning || m_bClosing || !path || now - m_lastPathShown < kPathIntervalMs) return 0;
    m_lastPathShown = now;
    m_path.SetWindowText(ShortcutPage::ProgressPathText(path).c_str());
    return 0;
}

LRESULT CScanCleanShortcutCleanStep1::OnScanDone(WPARAM, LPARAM)
{
    if (!m_bScanning) return 0;
    m_bScanning = false;
    KillTimer(kClockTimer);
    Animate(false);
    SetMainWindowBusy(false);
    if (m_bClosing) return 0;
    m_progress.SetPos(100);
    if (m_pHost) {
        m_pHost->GetStep2().SetResults(m_found);
        m_pHost->ShowSubPage(2);
    }
    return 0;
}

void CScanCleanShortcutCleanStep1::OnStop()
{
    if (!m_bScanning || m_stopper.HasThread()) return;
    m_stop.EnableWindow(FALSE);
    m_stop.SetDisabled(true);
    const HWND wnd = m_hWnd;
    if (!m_stopper.Start([this, wnd] {
            m_scan.StopScan();
            ::PostMessageW(wnd, WM_SHORTCUTPAGE_STOPPED, 0, 0);
        }))
        PostMessage(WM_SHORTCUTPAGE_STOPPED, 0, 0);
}

LRESULT CScanCleanShortcutCleanStep1::OnStopped(WPARAM, LPARAM)
{
    // The stop thread posted this as its last act.
    m_stopper.Wait(INFINITE, qcore::Pump::SentOnly);
    m_stop.EnableWindow(TRUE);
    m_stop.SetDisabled(false);
    return 0;
}

void CScanCleanShortcutCleanStep1::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent != kClockTimer) {
        Default();
        return;
    }
    ++m_nElapsed;
    m_elapsed.SetWindowText(ShortcutPage::ElapsedText(m_nElapsed).c_str());
    m_nProgress = ShortcutPage::NextProgressPosition(m_nProgress);
    m_progress.SetPos(m_nProgress);
}

void CScanCleanShortcutCleanStep1::StopAndWait()
{
    m_bClosing = true;
    if (!m_bScanning && !m_stopper.HasThread()) return;
    // A Stop the user asked for ends first; then the scan is stopped from a thread of its own, since its worker
    // may be waiting in SendMessageW to this thread, which answers sent messages meanwhile.
    m_stopper.Wait(INFINITE, qcore::Pump::SentOnly);
    if (m_stopper.Start([this] { m_scan.StopScan(); }))
        m_stopper.Wait(INFINITE, qcore::Pump::SentOnly);
    else
        m_scan.StopScan();
}

void CScanCleanShortcutCleanStep1::OnDestroy()
{
    KillTimer(kClockTimer);
    StopAndWait();
    CFunctionDlg::OnDestroy();
}

void CScanCleanShortcutCleanStep1::ShowCount()
{
    CString text;
    text.Format(L"%d", m_list.GetItemCount());
    m_count.SetWindowText(text);
}

void CScanCleanShortcutCleanStep1::Animate(bool on)
{
    if (!m_rotator.GetSafeHwnd()) return;
    if (on)
        m_rotator.SetTimer(0, m_rotator.m_nPeriod, nullptr);
    else
        m_rotator.KillTimer(0);
}

HBRUSH CScanCleanShortcutCleanStep1::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    HBRUSH brush = CFunctionDlg::OnCtlColor(pDC, pWnd, nCtlColor);
    if (nCtlColor == CTLCOLOR_STATIC) pDC->SetBkMode(TRANSPARENT);
    return brush;
}
