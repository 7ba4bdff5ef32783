#include "Moravin/SystemProgram.h"

#include <QProcess.h>

#include "SystemProgramStart.h"

namespace Moravin {

namespace {

std::wstring SystemProgramPath(const wchar_t* program)
{
    const std::wstring folder = SystemFolder();
    if (folder.empty() || !program || !*program) return std::wstring();
    return folder + L"\\" + program;
}

}  // namespace

HANDLE StartSystemProgram(const wchar_t* program, const std::wstring& arguments)
{
    return qcore::StartProgram(SystemProgramPath(program), arguments);
}

SystemProgramRun RunSystemProgram(const wchar_t* program, const std::wstring& arguments, DWORD timeoutMs)
{
    return qcore::RunProgram(SystemProgramPath(program), arguments, timeoutMs, nullptr, qcore::Pump::SentOnly);
}

}  // namespace Moravin
