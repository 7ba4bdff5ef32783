// The disk optimiser page: lists the fixed drives with their size and free space and optimises the chosen one
// through the defragmenter library (Velmora), one job at a time. The job runs on a worker; the library's
// progress callback copies what the page shows and posts it, so the worker never waits for the window. Stop
// asks the job to end and waits up to a second for it; Optimise comes back only once the job has really ended.
#pragma once

#include <vector>

#include "FunctionDlg.h"
#include "ImageButton.h"
#include "QLock.h"
#include "QWorker.h"
#include "Velmora.h"
#include "controls/DiskManControl.h"
#include "controls/ProgressCtrlEx.h"

class CYarrowbyDiskManDlg : public CFunctionDlg {
public:
    enum {
        IDC_DRIVES = 57001,
        IDC_SKIP = 57002,
        IDC_REFRESH = 57003,
        IDC_MAP_TITLE = 57004,
        IDC_MAP = 57005,
        IDC_OPTIMIZE = 57008,
        IDC_STOP = 57009,
        IDC_DIR_LABEL = 57011,
        IDC_DIRS = 57012,
        IDC_FILE_LABEL = 57013,
        IDC_FILES = 57014,
        IDC_FRAG_LABEL = 57015,
        IDC_FRAGMENTS = 57016,
        IDC_ZIP_LABEL = 57017,
        IDC_COMPRESSED = 57018,
        IDC_MFT_LABEL = 57019,
        IDC_MFT = 57020,
        IDC_PROGRESS = 57021,
    };
    enum Column { kVolume, kStatus, kTotal, kFree, kFreeShare };
    static constexpr int kMapColumns = 90;
    static constexpr int kMapRows = 32;
    static constexpr int kOptimizeJob = UDEFRAG_OPTIMIZE_JOB;

    CYarrowbyDiskManDlg();
    ~CYarrowbyDiskManDlg() override;

    void OnInitPage() override;

    // True from an accepted Optimise until its job has ended.
    bool IsWorking() const { return m_running; }
    CDiskManControl* Map() const { return m_map; }

    // The callbacks handed to the library (run on the job's thread; context = the page).
    static void OnJobProgress(udefrag_job_progress* record, void* page);
    static int IsStopRequested(void* page);

protected:
    void OnOptimize();
    void OnStop();
    void OnRefresh();
    LRESULT OnProgressPosted(WPARAM, LPARAM);
    LRESULT OnJobEnded(WPARAM runId, LPARAM result);
    void OnDestroy();
    DECLARE_MESSAGE_MAP()

private:
    // What a progress call showed, kept until the window takes it.
    struct Snapshot {
        long files = 0, directories = 0, compressed = 0;
        long long fragments = 0, mftBytes = 0;
        double percentage = 0;
        bool hasMap = false;
        std::vector<signed char> map;
    };
    void FillDriveList(int flag);
    void ShowProgress(const Snapshot& s);
    void ApplyPendingProgress();
    void EnableIdleControls(bool enable);
    void FinishRun(bool stopped, int result);
    void SetOptimisingRowStatus(const wchar_t* key);

    CListCtrl m_drives;
    CStatic m_values[5];
    CProgressCtrlEx m_progress;
    CDiskManControl* m_map = nullptr;
    int m_jobType = 0;
    char m_letter = 0;
    int m_columns = kMapColumns, m_rows = kMapRows;

    CButton m_skip;
    CGeneralImageButton m_refresh, m_optimize, m_stop;

    qcore::CWorker m_worker;  // its stop flag is what the terminator answers
    bool m_libraryReady = false;
    bool m_running = false;
    int m_runId = 0;
    qcore::Lock m_snapshotLock;
    Snapshot m_snapshot;
    bool m_snapshotPending = false;
};
