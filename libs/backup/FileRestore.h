// Lists a ".fbk" archive and restores its entries into a folder on a worker thread.
#pragma once

#include "BackupMessages.h"
#include "BackupProgress.h"
#include "ColdrithApi.h"
#include "QWorker.h"
#include "zip/ZipArchive.h"

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace Coldrith {
class COLDRITH_API CFileRestore {
public:
    // One listed entry.
    struct ZipItem {
        std::wstring name;  // last component of the stored name
        bool isDirectory = false;
        uint32_t size = 0;  // uncompressed bytes
        std::wstring time;  // modification time, "%d %b %Y, %X"
        std::wstring path;  // where the entry is restored below the target ("Data\\s\\c"); empty when unsafe
    };

    CFileRestore();
    // Stops a running worker and waits for it (dispatching messages meanwhile).
    ~CFileRestore();
    CFileRestore(const CFileRestore&) = delete;
    CFileRestore& operator=(const CFileRestore&) = delete;

    void SetParentWnd(HWND parent);
    // Opens the archive read-only and appends its entries to items; false when it cannot be read.
    bool OpenZipFile(const std::wstring& path, std::vector<ZipItem>& items);
    // Restores every entry into the target folder, each as target\<its stored path> with the folders made; an
    // entry whose name is unsafe, or whose file was already restored in this run, is skipped and counted.
    // False without a parent window; a run still going is stopped first.
    bool UnZipFile(const std::wstring& target);
    void StopUnZipProcess();
    // What the last finished run skipped or failed on, one line each (read it after WM_FILERESTORE_DONE).
    std::vector<std::wstring> GetRunErrors() const { return m_errors; }

protected:
    static DWORD WINAPI RestoreThread(LPVOID param);
    static bool Callback(uint32_t entryLength, uint32_t done, void* userData);
    int Run();
    void SendProgress(uint64_t done);

    CZipArchive m_zip;
    qcore::CWorker m_worker;
    std::vector<ZipItem> m_items;
    std::wstring m_strTarget;
    HWND m_hParentWnd = nullptr;
    uint64_t m_uTotalSize = 0;
    uint64_t m_uDoneBefore = 0;  // bytes of the entries finished in this run
    CProgressThrottle m_throttle;
    std::vector<std::wstring> m_errors;
};

// "%d %b %Y, %X" of a DOS date and time; dates outside the field's range read as 1980-01-01.
COLDRITH_API std::wstring FormatDosTime(uint16_t dosDate, uint16_t dosTime);
}  // namespace Coldrith
