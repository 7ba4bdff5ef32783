#include "Moravin/RegisterDll.h"

#include <Common.h>
#include <QGuards.h>
#include <QProcess.h>

#include <algorithm>

#include "Moravin/SystemProgram.h"
#include "SystemProgramStart.h"

namespace Moravin {

namespace {

// regsvr32's exit code when the DLL exports no DllRegisterServer.
const DWORD kNoEntryPointExitCode = 4;

bool EndsInDll(const wchar_t* name)
{
    const size_t length = wcslen(name);
    return length > 4 && wcscmp(name + length - 4, L".dll") == 0;
}

// One registration in progress.
struct Running {
    size_t index;
    HANDLE process;
    DWORD startTick;
};

}  // namespace

CRegisterDll::CRegisterDll() : m_hParentWnd(nullptr) {}

CRegisterDll::~CRegisterDll() { m_worker.StopAndWait(INFINITE, qcore::Pump::SentOnly); }

void CRegisterDll::SetParentWnd(HWND hWnd) { m_hParentWnd = hWnd; }

bool CRegisterDll::GetDllNames(std::vector<std::wstring>& names)
{
    const std::wstring folder = SBNormalizePathW(SystemFolder());
    if (folder.empty()) return false;
    WIN32_FIND_DATAW found;
    qcore::UniqueFind find(FindFirstFileW((folder + L"\\*").c_str(), &found));
    if (!find) return false;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && EndsInDll(found.cFileName))
            names.push_back(folder + L"\\" + found.cFileName);
    } while (FindNextFileW(find.Get(), &found));
    return true;
}

bool CRegisterDll::RegisterSystemDll()
{
    if (!m_hParentWnd) return false;
    m_worker.StopAndWait(INFINITE, qcore::Pump::SentOnly);
    return m_worker.Start([this] { RegisterThread(); });
}

void CRegisterDll::StopRegisterDll() { m_worker.RequestStop(); }

DllRegResult CRegisterDll::DoRegisterDll(std::wstring dllPath)
{
    SystemProgramRun run = RunSystemProgram(L"regsvr32.exe", RegistrationArguments(dllPath), kRegistrationTimeoutMs);
    switch (run.state) {
    case SystemProgramRun::NotStarted: return DLLREG_NOT_STARTED;
    case SystemProgramRun::TimedOut: return DLLREG_TIMED_OUT;
    case SystemProgramRun::Cancelled: return DLLREG_FAILED;
    default: return ResultOfExitCode(run.exitCode);
    }
}

int CRegisterDll::MaxRunningRegistrations()
{
    SYSTEM_INFO info = {};
    GetSystemInfo(&info);
    return std::min(8, std::max(2, static_cast<int>(info.dwNumberOfProcessors)));
}

std::wstring CRegisterDll::RegistrationArguments(const std::wstring& dllPath) { return L"/s \"" + dllPath + L"\""; }

DllRegResult CRegisterDll::ResultOfExitCode(DWORD exitCode)
{
    if (exitCode == 0) return DLLREG_REGISTERED;
    return exitCode == kNoEntryPointExitCode ? DLLREG_NOTHING_TO_REGISTER : DLLREG_FAILED;
}

std::wstring CRegisterDll::RunDllName(size_t position) const
{
    return position < m_runNames.size() ? m_runNames[position] : std::wstring();
}

void CRegisterDll::RegisterThread()
{
    m_runNames.clear();
    if (!GetDllNames(m_runNames)) {
        SendMessageW(m_hParentWnd, WM_DLLREG_DONE, 0, DLLREG_LIST_FAILED);
        return;
    }
    const std::vector<std::wstring>& names = m_runNames;
    const size_t limit = static_cast<size_t>(MaxRunningRegistrations());
    std::vector<Running> running;
    size_t next = 0;
    LPARAM failures = 0;
    auto report = [&](size_t index, DllRegResult result) {
        if (IsDllRegFailure(result)) ++failures;
        SendMessageW(m_hParentWnd, WM_DLLREG_ITEM_DONE, index, result);
    };

    for (;;) {
        while (running.size() < limit && next < names.size() && !m_worker.StopRequested()) {
            HANDLE process = StartSystemProgram(L"regsvr32.exe", RegistrationArguments(names[next]));
            if (process)
                running.push_back({next, process, GetTickCount()});
            else
                report(next, DLLREG_NOT_STARTED);
            ++next;
        }
        if (running.empty()) break;

        // Wake when one ends, or when the one started first runs out of time.
        HANDLE handles[MAXIMUM_WAIT_OBJECTS];
        DWORD wait = kRegistrationTimeoutMs;
        const DWORD now = GetTickCount();
        for (size_t i = 0; i < running.size(); ++i) {
            handles[i] = running[i].process;
            const DWORD elapsed = now - running[i].startTick;
            wait = std::min(wait, elapsed >= kRegistrationTimeoutMs ? 0 : kRegistrationTimeoutMs - elapsed);
        }
        // The program closing ends every registration still running: none is left behind it.
        handles[running.size()] = qcore::ShutdownEvent();
        const DWORD woke = WaitForMultipleObjects(static_cast<DWORD>(running.size() + 1), handles, FALSE, wait);
        if (woke < WAIT_OBJECT_0 + running.size()) {
            const Running done = running[woke - WAIT_OBJECT_0];
            running.erase(running.begin() + (woke - WAIT_OBJECT_0));
            DWORD exitCode = DWORD(-1);
            GetExitCodeProcess(done.process, &exitCode);
            CloseHandle(done.process);
            report(done.index, ResultOfExitCode(exitCode));
            continue;
        }
        // The time of some is up (or the program closes, or the wait itself failed): end them, so no more than
        // the limit ever run.
        const bool waitFailed = woke != WAIT_TIMEOUT;
        if (waitFailed) m_worker.RequestStop();
        const DWORD later = GetTickCount();
        for (size_t i = running.size(); i-- > 0;) {
            if (!waitFailed && later - running[i].startTick < kRegistrationTimeoutMs) continue;
            const Running ended = running[i];
            running.erase(running.begin() + i);
            TerminateProcess(ended.process, ERROR_TIMEOUT);
            WaitForSingleObject(ended.process, 5000);
            CloseHandle(ended.process);
            report(ended.index, waitFailed ? DLLREG_FAILED : DLLREG_TIMED_OUT);
        }
    }
    const WPARAM stopped = next < names.size() ? 1 : 0;
    SendMessageW(m_hParentWnd, WM_DLLREG_DONE, stopped, failures);
}

}  // namespace Moravin
