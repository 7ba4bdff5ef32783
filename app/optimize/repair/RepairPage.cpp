#include "RepairPage.h"

#include "MainWindowBusy.h"
#include "OptimizeMessages.h"

BEGIN_MESSAGE_MAP(CRepairPage, CFunctionDlg)
    ON_MESSAGE(WM_REPAIR_JOB_DONE, &CRepairPage::OnJobDoneMessage)
    ON_WM_SETCURSOR()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CRepairPage::CRepairPage() { WatchWorker(m_job); }

CRepairPage::~CRepairPage() { m_job.Wait(INFINITE, qcore::Pump::SentOnly); }

bool CRepairPage::RunJob(std::function<WPARAM()> job)
{
    if (m_job.Running()) return false;
    SetBusy(true);
    const HWND page = GetSafeHwnd();
    if (!m_job.Start([page, job] { ::PostMessageW(page, WM_REPAIR_JOB_DONE, job(), 0); })) {
        SetBusy(false);
        return false;
    }
    return true;
}

void CRepairPage::OnJobDone(WPARAM) {}

LRESULT CRepairPage::OnJobDoneMessage(WPARAM wParam, LPARAM)
{
    // The worker posts as its last act: its end follows at once.
    m_job.Wait(INFINITE, qcore::Pump::SentOnly);
    SetBusy(false);
    OnJobDone(wParam);
    return 0;
}

void CRepairPage::SetBusy(bool busy)
{
    if (m_bBusy == busy) return;
    m_bBusy = busy;
    SetMainWindowBusy(busy);
    // The cursor changes at once when it is over the page, not only when the mouse next moves.
    POINT cursor;
    if (!::GetCursorPos(&cursor)) return;
    const HWND under = ::WindowFromPoint(cursor);
    if (under && (under == GetSafeHwnd() || ::IsChild(GetSafeHwnd(), under)))
        ::SetCursor(::LoadCursorW(nullptr, busy ? IDC_WAIT : IDC_ARROW));
}

BOOL CRepairPage::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
{
    if (m_bBusy) {
        ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
        return TRUE;
    }
    return CFunctionDlg::OnSetCursor(pWnd, nHitTest, message);
}

void CRepairPage::OnDestroy()
{
    // The job may still post to this window: let it end while the window exists.
    m_job.Wait(INFINITE, qcore::Pump::SentOnly);
    if (m_bBusy) SetBusy(false);
    CFunctionDlg::OnDestroy();
}
