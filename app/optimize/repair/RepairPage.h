// CRepairPage: the base of the repair pages. It runs a page's long repair on a worker thread, so the window keeps
// painting while system programs and services work; meanwhile the main window is busy (the drawer takes no page
// requests) and the cursor over the page shows that it waits. The job's result comes back to the page on its
// own thread, through OnJobDone.
#pragma once

#include <QWorker.h>

#include <functional>

#include "FunctionDlg.h"
#include "ImageButton.h"

class CRepairPage : public CFunctionDlg {
public:
    CRepairPage();
    ~CRepairPage() override;

    // True from the start of a job (or SetBusy(true)) until it ended.
    bool IsBusy() const { return m_bBusy; }

protected:
    // The repair pages' report lists keep the selection shown and have grid lines and full-row selection.
    static constexpr DWORD kListStyle = LVS_SHOWSELALWAYS;
    static constexpr DWORD kListExtendedStyle = LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT;

    // Starts job on a worker thread; its return value reaches OnJobDone. Marks the page busy first. False (and
    // not busy) when a job still runs or no thread could be made.
    bool RunJob(std::function<WPARAM()> job);
    // Set when the page is asked to end: a job of several steps stops between two of them.
    const std::atomic<bool>& JobStopFlag() const { return m_job.StopFlag(); }
    // Called on the page's thread when the job has ended, after the page stopped being busy.
    virtual void OnJobDone(WPARAM result);
    // The main window busy or idle, and the wait cursor over the page.
    void SetBusy(bool busy);

    LRESULT OnJobDoneMessage(WPARAM wParam, LPARAM lParam);
    BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    void OnDestroy();
    DECLARE_MESSAGE_MAP()

private:
    qcore::CWorker m_job;
    bool m_bBusy = false;
};
