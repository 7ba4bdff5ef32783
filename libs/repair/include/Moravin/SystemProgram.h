// Runs a program of the system folder (regsvr32, netsh, sc, net) as a hidden child process and reports how it
// ended. The program is always named by its full path in the system folder, never looked up through the current
// folder or the search path.
#pragma once

#include <windows.h>

#include <string>

#include <QProcess.h>

#include "Moravin/MoravinApi.h"

namespace Moravin {

// How one run of a system program ended: the one record of every run of another program.
using SystemProgramRun = qcore::ProgramRun;

// Starts <system folder>\<program> (e.g. L"netsh.exe") hidden, with the arguments as given (the caller quotes
// paths), and waits up to timeoutMs for it to end; a program still running then, or when the program shuts down,
// is ended. While waiting, messages other threads send to the calling thread are handled, so a window of this
// thread never blocks a sender.
MORAVIN_API SystemProgramRun RunSystemProgram(const wchar_t* program, const std::wstring& arguments, DWORD timeoutMs);

}  // namespace Moravin
