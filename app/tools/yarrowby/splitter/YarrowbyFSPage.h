// What the split and join tabs share: the white look of their controls, the output folder, the progress bar, and
// the run of Yarrowby's splitter or joiner: the splitter's page and the tab are disabled and the main window is
// busy while it goes on (so the tabs cannot change under it).
#pragma once

#include "FunctionDlg.h"
#include "controls/ProgressCtrlEx.h"

class CYarrowbyFSPage : public CFunctionDlg {
public:
    CProgressCtrlEx& Progress() { return m_progress; }

protected:
    CYarrowbyFSPage();

    // The user's choice of folder into the edit.
    void BrowseFolderInto(int editId);
    // The folder the output goes to, made when missing; false (the user told to choose one when it is empty)
    // when there is none.
    static bool MakeOutputFolder(const CString& folder);
    void BeginRun();
    // At the run's done message: false while the page is being destroyed (nothing changes any more) and after a
    // failed run (the bar back at 0 and the failure told with failedKey); true with the bar full.
    bool EndRun(WPARAM failed, LPARAM firstError, const wchar_t* failedKey);
    // From the page's destructor, before the run is stopped: its done message changes nothing.
    void MarkClosing() { m_bClosing = true; }

    LRESULT OnRunProgress(WPARAM done, LPARAM total);
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    DECLARE_MESSAGE_MAP()

    CProgressCtrlEx m_progress;

private:
    // This page and its parent, the splitter's page.
    void EnablePages(BOOL enable);

    bool m_bRunning = false;
    bool m_bClosing = false;
};
