// Runs a program of the system folder (regsvr32, netsh, sc, net) as a hidden child process and reports how it
// ended. The program is always named by its full path in the system folder, never looked up through the current
// folder or the search path.
#pragma once

#include <windows.h>

#include <string>

#include "Moravin/MoravinApi.h"

namespace Moravin {

// How one run of a system program ended.
struct SystemProgramRun {
    enum State {
        NotStarted,  // the program could not be started (missing, or no right to run it)
        Ended,       // it ended; exitCode holds its exit code
        TimedOut,    // it was still running when the time allowed ran out (it is left running)
    };
    State state = NotStarted;
    DWORD exitCode = 0;

    bool Succeeded() const { return state == Ended && exitCode == 0; }
};

// Starts <system folder>\<program> (e.g. L"netsh.exe") hidden, with the arguments as given (the caller quotes
// paths), and waits up to timeoutMs for it to end. While waiting, messages other threads send to the calling
// thread are handled, so a window of this thread never blocks a sender.
MORAVIN_API SystemProgramRun RunSystemProgram(const wchar_t* program, const std::wstring& arguments,
                                              DWORD timeoutMs);

}  // namespace Moravin
