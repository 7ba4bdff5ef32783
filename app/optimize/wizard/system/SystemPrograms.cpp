#include "SystemPrograms.h"

#include <QProcess.h>

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

std::wstring SystemProgramPath(const wchar_t* name) { return SystemFolder() + L"\\" + name; }

bool RegisterDllSilently(const std::wstring& dllPath, HANDLE cancel)
{
    return qcore::RunProgram(SystemProgramPath(L"regsvr32.exe"), L"/s \"" + dllPath + L"\"", kRegisterDllTimeoutMs,
                             cancel)
        .Succeeded();
}

}  // namespace SystemPrograms
