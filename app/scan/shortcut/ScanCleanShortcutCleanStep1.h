// Second step of the shortcut page: the running scan. The repair library's worker reports every folder entry,
// every invalid shortcut and its end with SendMessageW; the step lists the shortcuts, shows the path it is at
// (at a human rate), the count and the elapsed time, and hands the rows to step 2 when the scan has ended.
#pragma once

#include <vector>

#include "FunctionDlg.h"
#include "ImageButton.h"
#include "InvalidShortcut.h"
#include "Moravin/ShortCutClean.h"
#include "QWorker.h"
#include "controls/ImageRotator.h"
#include "controls/ProgressCtrlEx.h"

class CScanCleanShortcutCleanDlg;

class CScanCleanShortcutCleanStep1 : public CFunctionDlg {
public:
    enum {
        IDC_STOP = 11403,
        IDC_RESULT_LIST = 11404,
        IDC_ROTATOR = 11405,
        IDC_IN_PROGRESS = 11406,
        IDC_PATH = 11407,
        IDC_PROGRESS = 11408,
        IDC_COUNT_CAPTION = 11409,
        IDC_COUNT = 11410,
        IDC_ELAPSED_CAPTION = 11411,
        IDC_ELAPSED = 11412,
    };
    enum { kClockTimer = 1, kClockTimerMs = 1000, kPathIntervalMs = 100 };

    CScanCleanShortcutCleanStep1();
    ~CScanCleanShortcutCleanStep1() override;

    void SetHost(CScanCleanShortcutCleanDlg* pHost) { m_pHost = pHost; }
    void OnInitPage() override;
    // Each time the step comes to the front a scan of the drives ticked in step 0 starts.
    void OnShowPage() override;

    bool IsScanning() const { return m_bScanning; }
    const std::vector<InvalidShortcut>& Found() const { return m_found; }
    CListCtrl& GetList() { return m_list; }
    // Stops a running scan and waits for it (window destruction).
    void StopAndWait();

protected:
    void OnStop();
    void OnTimer(UINT_PTR nIDEvent);
    LRESULT OnInvalidFound(WPARAM wParam, LPARAM lParam);
    LRESULT OnScanProgress(WPARAM wParam, LPARAM);
    LRESULT OnScanDone(WPARAM, LPARAM);
    LRESULT OnStopped(WPARAM, LPARAM);
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    void OnDestroy();
    DECLARE_MESSAGE_MAP()

private:
    void ShowCount();
    void Animate(bool on);

    CScanCleanShortcutCleanDlg* m_pHost = nullptr;
    Moravin::CShortCutClean m_scan;
    qcore::CWorker m_stopper;  // Stop waits for the scan off the interface thread, which the scan sends to
    bool m_bScanning = false;
    bool m_bClosing = false;
    std::vector<InvalidShortcut> m_found;
    unsigned m_nElapsed = 0;
    int m_nProgress = 0;
    DWORD m_lastPathShown = 0;

    CListCtrl m_list;
    CImageList m_icons;
    CImageRotator m_rotator;
    CStatic m_inProgress, m_path, m_countCaption, m_count, m_elapsedCaption, m_elapsed;
    CProgressCtrlEx m_progress;
    CGeneralImageButton m_stop;
};
