// Re-registers the DLLs of the system folder with the system's registration server (regsvr32 /s), a few at a
// time, on a worker thread, and reports each DLL's result and the end to a window of the caller.
#pragma once

#include <windows.h>

#include <QWorker.h>

#include <string>
#include <vector>

#include "Moravin/MoravinApi.h"

// Messages sent to the parent window with SendMessageW.
// A DLL's registration ended: wParam its 0-based position in the GetDllNames order, lParam a DllRegResult.
#define WM_DLLREG_ITEM_DONE 0xFBB
// Once at the end of every run: wParam 1 when the run was stopped before every DLL was started, else 0;
// lParam the number of DLLs whose registration failed (0: the run succeeded), or DLLREG_LIST_FAILED when the
// system folder could not be listed (nothing was registered).
#define WM_DLLREG_DONE 0xFBC
#define DLLREG_LIST_FAILED (-1)

namespace Moravin {

// The outcome of one DLL's registration (lParam of WM_DLLREG_ITEM_DONE).
enum DllRegResult {
    DLLREG_REGISTERED = 0,           // regsvr32 ended with 0
    DLLREG_NOTHING_TO_REGISTER = 1,  // the DLL has no registration entry point (regsvr32 exit code 4): not a failure
    DLLREG_FAILED = 2,               // regsvr32 reported another failure
    DLLREG_NOT_STARTED = 3,          // regsvr32 could not be started
    DLLREG_TIMED_OUT = 4,            // regsvr32 did not end in time and was ended
};

// True for the results that count as a failed registration.
inline bool IsDllRegFailure(DllRegResult result)
{
    return result != DLLREG_REGISTERED && result != DLLREG_NOTHING_TO_REGISTER;
}

class MORAVIN_API CRegisterDll {
public:
    // Time one registration may take before it is ended.
    static const DWORD kRegistrationTimeoutMs = 60000;

    CRegisterDll();
    // Stops a running re-registration and waits for it (handling the messages it sends meanwhile).
    ~CRegisterDll();
    CRegisterDll(const CRegisterDll&) = delete;
    CRegisterDll& operator=(const CRegisterDll&) = delete;

    // The window that receives the messages.
    void SetParentWnd(HWND hWnd);
    // Appends the full paths of the system folder's files whose names end in ".dll" (in that letter case), in
    // the order the folder lists them (the list is not cleared first). False when the folder cannot be listed.
    bool GetDllNames(std::vector<std::wstring>& names);
    // Starts re-registering every DLL of GetDllNames on a worker thread and returns at once. A run still going is
    // stopped and waited for first. False (nothing started, no message) without a parent window or when the
    // worker could not start.
    bool RegisterSystemDll();
    // Asks the run to start no further DLL; the registrations already running end and are reported, then
    // WM_DLLREG_DONE follows. Returns at once, so it may be called from the parent window's thread.
    void StopRegisterDll();
    // The path of the DLL at this position of the current run (the position of WM_DLLREG_ITEM_DONE); empty for
    // none. The folder may have changed since the caller listed it: this names the DLL the report is about. Read
    // it while handling the run's messages.
    std::wstring RunDllName(size_t position) const;
    // Registers one DLL and waits for the result (up to kRegistrationTimeoutMs).
    DllRegResult DoRegisterDll(std::wstring dllPath);

    // The most registrations that run at the same time.
    static int MaxRunningRegistrations();
    // The registration server's arguments for one DLL: "/s" and the quoted path.
    static std::wstring RegistrationArguments(const std::wstring& dllPath);
    // The result of a registration that ended with this exit code.
    static DllRegResult ResultOfExitCode(DWORD exitCode);

protected:
    // The worker's body: the run over every DLL, then WM_DLLREG_DONE.
    void RegisterThread();

private:
    HWND m_hParentWnd;
    std::vector<std::wstring> m_runNames;  // the current run's DLLs, in the order of its positions
    // Declared last: it ends (stopping and waiting for the run) before the members the run uses.
    qcore::CWorker m_worker;
};

}  // namespace Moravin
