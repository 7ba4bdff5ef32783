// One way to run another program: started by its full path, waited for with a time limit, and ended when the
// limit passes, when the caller cancels, or when the program is shutting down. No wait on another program lasts
// longer than the caller allows, and none outlives the program's own end.
#pragma once

#include <windows.h>

#include <string>

#include "QWorker.h"

namespace qcore {

// The process-wide shutdown signal, a manual-reset event shared by every module of this process (it is found by
// a name that holds the process id, so each DLL's copy of this code meets the same event). Set once, when the
// program closes: every wait of RunProgram and WaitForProgram ends with it, and their child is ended.
HANDLE ShutdownEvent();
void SignalShutdown();
bool ShutdownSignalled();

// How one run of another program ended.
struct ProgramRun {
    enum State {
        NotStarted,  // it could not be started (missing, or no right to run it)
        Ended,       // it ended by itself; exitCode holds its exit code
        TimedOut,    // it still ran when the time allowed had passed: it was ended
        Cancelled,   // the caller's cancel event or the shutdown came first: it was ended
    };
    State state = NotStarted;
    DWORD exitCode = 0;

    bool Succeeded() const { return state == Ended && exitCode == 0; }
};

// The command line of a program: its full path in quotes, a blank and the arguments (which the caller quotes).
std::wstring ProgramCommandLine(const std::wstring& program, const std::wstring& arguments);

// Starts program (a full path; never looked up on the search path) with the arguments, hidden without a console
// window unless `shown`, in `folder` (empty: this process's current folder). Returns the process handle, which
// the caller closes, or null when it could not be started.
HANDLE StartProgram(const std::wstring& program, const std::wstring& arguments, bool shown = false,
                    const std::wstring& folder = std::wstring());

// Waits for a started process up to timeoutMs, or until `cancel` (optional) or the shutdown is signalled; in the
// two last cases and on the time limit the process is ended. pump: as for WaitForHandle.
ProgramRun WaitForProgram(HANDLE process, DWORD timeoutMs, HANDLE cancel = nullptr, Pump pump = Pump::None);

// StartProgram hidden, then WaitForProgram; Cancelled without a start once the shutdown was signalled.
ProgramRun RunProgram(const std::wstring& program, const std::wstring& arguments, DWORD timeoutMs,
                      HANDLE cancel = nullptr, Pump pump = Pump::None);

}  // namespace qcore
