// Backs up chosen files and folders into one ".fbk" zip archive on a worker thread.
#pragma once

#include "BackupMessages.h"
#include "BackupPlan.h"
#include "BackupProgress.h"
#include "ColdrithApi.h"
#include "QWorker.h"
#include "zip/ZipArchive.h"

#include <windows.h>

#include <string>
#include <vector>

namespace Coldrith {
// User data of the backup progress callback.
struct CProgressInfo {
    uint64_t m_uTotal = 0;  // bytes of all planned files
    uint64_t m_uDone = 0;   // bytes of the finished entries
    HWND m_hProgress = nullptr;
    HWND m_hNotify = nullptr;  // receives WM_FILEBACKUP_PROGRESS
    CProgressThrottle m_throttle;
};

class COLDRITH_API CFileBackup {
public:
    CFileBackup();
    // Stops a running worker and waits for it (dispatching messages meanwhile).
    ~CFileBackup();
    CFileBackup(const CFileBackup&) = delete;
    CFileBackup& operator=(const CFileBackup&) = delete;

    void SetParentWnd(HWND parent);
    // The control gets PBM_SETRANGE32 with the total; its parent gets WM_FILEBACKUP_PROGRESS.
    void SetProgressCtrl(HWND progress);
    template <class TProgressCtrl>
    void SetProgressCtrl(TProgressCtrl* control)
    {
        SetProgressCtrl(control ? control->GetSafeHwnd() : static_cast<HWND>(nullptr));
    }

    // Writes folder\name.fbk from the sources. compression: 0 fastest, 1 default, 2 best.
    // False without a parent window; a run still going is stopped first.
    bool ZipFiles(const std::wstring& folder, const std::wstring& name, std::vector<std::wstring>& sources,
                  int compression);
    void StopZipProcess();
    // What the last finished run left out or failed on, one line each (read it after WM_FILEBACKUP_DONE).
    std::vector<std::wstring> GetRunErrors() const { return m_errors; }

protected:
    static DWORD WINAPI BackupThread(LPVOID param);
    static bool Callback(uint32_t fileLength, uint32_t done, void* userData);
    int Run();
    int FailWhole(const std::wstring& path, const CBackupPlan& plan);

    CZipArchive m_zip;
    qcore::CWorker m_worker;
    HWND m_hParentWnd = nullptr;
    std::wstring m_strFolder;
    std::wstring m_strName;
    std::vector<std::wstring> m_sources;
    int m_iCompression = 1;
    HWND m_hProgress = nullptr;
    std::vector<std::wstring> m_errors;
};

// Compression level for a compression choice: 0 -> 1, 1 -> default, 2 -> 9, anything else -> default.
COLDRITH_API int LevelFromChoice(int compression);
}  // namespace Coldrith
