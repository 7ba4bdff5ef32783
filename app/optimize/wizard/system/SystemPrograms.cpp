#include "SystemPrograms.h"

#include <vector>

#include <QGuards.h>

namespace SystemPrograms {

std::wstring SystemFolder()
{
    wchar_t buffer[MAX_PATH] = L"";
    const UINT n = ::GetSystemDirectoryW(buffer, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return std::wstring();
    std::wstring folder(buffer, n);
    while (!folder.empty() && folder.back() == L'\\') folder.pop_back();
    return folder;
}

std::wstring SystemProgramPath(const wchar_t* name)
{
    return SystemFolder() + L"\\" + name;
}

RunOutcome RunHidden(const std::wstring& program, const std::wstring& arguments, DWORD* exitCode, HANDLE cancel)
{
    if (exitCode) *exitCode = 0;
    std::wstring command = L"\"" + program + L"\"";
    if (!arguments.empty()) command += L" " + arguments;
    std::vector<wchar_t> line(command.begin(), command.end());
    line.push_back(L'\0');

    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION pi = {};
    if (!::CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr,
                          &si, &pi))
        return RunOutcome::NotStarted;
    qcore::UniqueHandle process(pi.hProcess), thread(pi.hThread);

    HANDLE waits[] = {process.Get(), cancel};
    const DWORD r = ::WaitForMultipleObjects(cancel ? 2 : 1, waits, FALSE, INFINITE);
    if (r != WAIT_OBJECT_0) return RunOutcome::Cancelled;
    DWORD code = 0;
    ::GetExitCodeProcess(process.Get(), &code);
    if (exitCode) *exitCode = code;
    return RunOutcome::Finished;
}

bool RegisterDllSilently(const std::wstring& dllPath, HANDLE cancel)
{
    DWORD code = 1;
    const RunOutcome outcome =
        RunHidden(SystemProgramPath(L"regsvr32.exe"), L"/s \"" + dllPath + L"\"", &code, cancel);
    return outcome == RunOutcome::Finished && code == 0;
}

} // namespace SystemPrograms
