#pragma once

#include <windows.h>

#include <atomic>
#include <string>
#include <vector>

#include "LumbreyApi.h"
#include "QLock.h"
#include "QWorker.h"

// Messages sent (SendMessageW, from the scanner's worker thread) to the window given to ScanJunkFile.
// The path in wParam is valid only during the call.
#define WM_JUNKSCAN_CURRENT_FILE (WM_USER + 1)  // wParam: full path of every file met, before it is tested
#define WM_JUNKSCAN_FILE_FOUND (WM_USER + 2)    // wParam: full path of a junk file that is not in use
#define WM_JUNKSCAN_DONE (WM_USER + 3)          // once at the end of every scan, also after a stop

namespace Lumbrey {

// True when the file name's extension (with its dot) equals one of exts, in any letter case (the system's folding, not only A-Z).
LUMBREY_API bool IsJunkFileName(const std::wstring& path, const std::vector<std::wstring>& exts);

// Finds files by extension below a list of folders on a worker thread of its own. Files that are in use
// are never reported; reparse points (junctions, symlinks) are not followed; paths too long for the file
// API are skipped rather than cut.
class LUMBREY_API CJunkFileScanner {
public:
    CJunkFileScanner();
    ~CJunkFileScanner();  // stops and waits for a running scan
    CJunkFileScanner(const CJunkFileScanner&) = delete;
    CJunkFileScanner& operator=(const CJunkFileScanner&) = delete;

    // A copy of the default extension list.
    std::vector<std::wstring> GetExtList();

    // Starts a scan and returns at once; nothing happens when wnd is not a window. A running scan is
    // stopped and waited for first.
    void ScanJunkFile(const std::vector<std::wstring>& folders, const std::vector<std::wstring>& exts, HWND wnd);
    void ScanJunkFile(const std::vector<std::wstring>& folders, HWND wnd);

    // Stops the running scan and waits for its worker; returns at once when none runs. Messages sent
    // to a window of the calling thread are still processed while it waits. Not to be called from inside
    // a handler of this scanner's own messages (the worker waits for that handler to return).
    void StopScan();

    // Runs one scan with the inputs of the last ScanJunkFile on the calling thread (the worker's body).
    static DWORD WINAPI ScanThreadFunc(LPVOID param);

    static std::vector<std::wstring> m_junkfileExts;
    static bool m_bInitialized;

private:
    static void InitializeStaticMembers();
    void DoScan();
    void _ScanDirectory(const std::wstring& folder, const std::vector<std::wstring>& exts, HWND wnd);
    bool _IsJunkFile(const std::wstring& path, const std::vector<std::wstring>& exts) const;

    qcore::Lock m_cs;  // guards the three inputs below
    std::vector<std::wstring> m_folders;
    std::vector<std::wstring> m_exts;
    HWND m_hWnd;
    std::atomic<bool> m_bScanning;
    qcore::CWorker m_worker;  // its stop flag ends the walk; last, so it is stopped before the inputs go
};

}  // namespace Lumbrey
