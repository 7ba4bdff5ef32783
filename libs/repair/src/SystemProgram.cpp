#include "Moravin/SystemProgram.h"

#include <QGuards.h>
#include <QWorker.h>

#include <vector>

#include "SystemProgramStart.h"

namespace Moravin {

std::wstring SystemProgramCommandLine(const std::wstring& programPath, const std::wstring& arguments)
{
    std::wstring line = L"\"" + programPath + L"\"";
    if (!arguments.empty()) line += L" " + arguments;
    return line;
}

HANDLE StartSystemProgram(const wchar_t* program, const std::wstring& arguments)
{
    const std::wstring folder = SystemFolder();
    if (folder.empty() || !program || !*program) return nullptr;
    const std::wstring path = folder + L"\\" + program;
    const std::wstring line = SystemProgramCommandLine(path, arguments);
    // CreateProcessW may write into the command line: it gets a copy of its own.
    std::vector<wchar_t> buffer(line.begin(), line.end());
    buffer.push_back(L'\0');

    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(path.c_str(), buffer.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr,
                        &startup, &process))
        return nullptr;
    CloseHandle(process.hThread);
    return process.hProcess;
}

SystemProgramRun RunSystemProgram(const wchar_t* program, const std::wstring& arguments, DWORD timeoutMs)
{
    SystemProgramRun run;
    qcore::UniqueHandle process(StartSystemProgram(program, arguments));
    if (!process) return run;
    if (qcore::WaitForHandle(process.Get(), timeoutMs, qcore::Pump::SentOnly) != qcore::WaitOutcome::Signalled) {
        run.state = SystemProgramRun::TimedOut;  // its end was not seen
        return run;
    }
    run.state = SystemProgramRun::Ended;
    if (!GetExitCodeProcess(process.Get(), &run.exitCode)) run.exitCode = DWORD(-1);  // ended, outcome unknown
    return run;
}

}  // namespace Moravin
