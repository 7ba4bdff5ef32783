// Finds invalid shortcuts: ".lnk" files below a list of folders whose target file no longer exists.
#pragma once

#include <windows.h>

#include <atomic>
#include <string>
#include <vector>

#include "Moravin/MoravinApi.h"
#include "QGuards.h"
#include "QLock.h"

// Messages sent to the parent window with SendMessageW. Text pointers are valid only during the call.
// An invalid shortcut: wParam the full path of the ".lnk" file, lParam the target path stored in the link.
#define WM_SHORTCUT_INVALID_FOUND 0xFB8
// Before each folder entry is examined ("." and ".." included): wParam its full path, lParam 0.
#define WM_SHORTCUT_SCAN_PROGRESS 0xFB9
// Once at the end of every scan, also after a stop or when the worker could not start: wParam 0, lParam 0.
#define WM_SHORTCUT_SCAN_DONE 0xFBA

namespace qpath {
class MissingPathRule;  // the shared rule of PathRules.h, which the library's users need not include
}

namespace Moravin {

class MORAVIN_API CShortCutClean {
public:
    CShortCutClean();
    // Stops a running scan and waits for it.
    ~CShortCutClean();
    // A copy would share the worker's handle and folder list.
    CShortCutClean(const CShortCutClean&) = delete;
    CShortCutClean& operator=(const CShortCutClean&) = delete;

    // The window that receives the messages (null: only progress and done are sent, to nobody).
    void SetParentWnd(HWND hWnd);
    // Starts a scan of the folders on a worker thread and returns at once. A scan still running is stopped and
    // waited for first. False when the worker could not start; the done message has been sent then.
    bool FindShortCutLink(std::vector<std::wstring> folders);
    // Runs the scan on the calling thread (done message included). A threaded scan still running is stopped and
    // waited for first.
    void FindShortCutLinkNoThread(std::vector<std::wstring> folders);
    // Asks the worker to stop and waits for it to end. Called on the thread that owns the parent window, it keeps
    // handling the messages the worker sends while it waits. Returns at once when no worker runs.
    void StopScan();

protected:
    static DWORD WINAPI ScanThread(LPVOID param);
    // Scans one folder and, recursively, its sub-folders. False when the folder cannot be listed.
    bool FindLink(const wchar_t* folder);
    // Reads the file-system target of a link into target (capacity in characters). Non-zero only for a link that
    // names a file-system path that fitted whole; shell objects and advertised links give 0.
    int GetShortCutFile(const wchar_t* link, wchar_t* target, int capacity);

private:
    bool FindLinkIn(const std::wstring& folder, qpath::MissingPathRule& missingRule);
    void ExamineLink(const std::wstring& linkPath, qpath::MissingPathRule& missingRule);
    // Stops and waits for a worker that is still running; true when there was one.
    bool StopRunningWorker();

    HWND m_hParentWnd;
    qcore::UniqueHandle m_thread;
    std::vector<std::wstring> m_folders;
    std::atomic<LONG> m_bStop;
    // Guards m_thread: StopScan may run on another thread than the one that starts scans.
    qcore::Lock m_threadLock;
};

}  // namespace Moravin
