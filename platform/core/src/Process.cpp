#include "QProcess.h"

#include <vector>

#include "QGuards.h"

namespace qcore {

HANDLE ShutdownEvent()
{
    static HANDLE event = [] {
        wchar_t name[64];
        wsprintfW(name, L"Local\\Quorvel.Shutdown.%lu", ::GetCurrentProcessId());
        HANDLE h = ::CreateEventW(nullptr, TRUE, FALSE, name);
        // Without a name space (an old system), an unnamed event still serves this module.
        return h ? h : ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    }();
    return event;
}

void SignalShutdown() { ::SetEvent(ShutdownEvent()); }

bool ShutdownSignalled() { return ::WaitForSingleObject(ShutdownEvent(), 0) == WAIT_OBJECT_0; }

std::wstring ProgramCommandLine(const std::wstring& program, const std::wstring& arguments)
{
    std::wstring line = L"\"" + program + L"\"";
    if (!arguments.empty()) line += L" " + arguments;
    return line;
}

HANDLE StartProgram(const std::wstring& program, const std::wstring& arguments, bool shown, const std::wstring& folder)
{
    if (program.empty()) return nullptr;
    // CreateProcessW may write into the command line: it gets a copy of its own.
    const std::wstring line = ProgramCommandLine(program, arguments);
    std::vector<wchar_t> buffer(line.begin(), line.end());
    buffer.push_back(L'\0');
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    if (!shown) {
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = SW_HIDE;
    }
    PROCESS_INFORMATION process = {};
    if (!::CreateProcessW(program.c_str(), buffer.data(), nullptr, nullptr, FALSE, shown ? 0 : CREATE_NO_WINDOW,
                          nullptr, folder.empty() ? nullptr : folder.c_str(), &startup, &process))
        return nullptr;
    ::CloseHandle(process.hThread);
    return process.hProcess;
}

ProgramRun WaitForProgram(HANDLE process, DWORD timeoutMs, HANDLE cancel, Pump pump)
{
    ProgramRun run;
    if (!process) return run;
    HANDLE handles[3] = {process, ShutdownEvent(), cancel};
    const DWORD count = cancel ? 3 : 2;
    DWORD which = 0;
    const WaitOutcome outcome = WaitForAny(handles, count, timeoutMs, pump, &which);
    if (outcome == WaitOutcome::Signalled && which == 0) {
        run.state = ProgramRun::Ended;
        if (!::GetExitCodeProcess(process, &run.exitCode)) run.exitCode = DWORD(-1);  // ended, outcome unknown
        return run;
    }
    // Nobody waits for it any more: a child left running would outlive the job (and the program).
    ::TerminateProcess(process, ERROR_CANCELLED);
    ::WaitForSingleObject(process, 1000);
    run.state = outcome == WaitOutcome::Signalled ? ProgramRun::Cancelled : ProgramRun::TimedOut;
    run.exitCode = ERROR_CANCELLED;
    return run;
}

ProgramRun RunProgram(const std::wstring& program, const std::wstring& arguments, DWORD timeoutMs, HANDLE cancel,
                      Pump pump)
{
    if (ShutdownSignalled()) {
        ProgramRun cancelled;
        cancelled.state = ProgramRun::Cancelled;
        return cancelled;
    }
    UniqueHandle process(StartProgram(program, arguments));
    if (!process) return ProgramRun();
    return WaitForProgram(process.Get(), timeoutMs, cancel, pump);
}

}  // namespace qcore
