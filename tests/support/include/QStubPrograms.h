// Stand-ins for system programs in the test prefix. A StubProgram copies the stub (QvSystemStub.exe, built beside
// the test programs) over <system folder>\<name>.exe and makes Wine run that copy instead of its own program for
// every process this test starts (through the prefix's DLL override settings). The stub records each
// command line it is started with, counts how many copies run at once, and exits with a scripted code after a
// scripted delay (see tests/support/stubs/SystemProgramStub.cpp).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace shell_test {

class StubProgram {
public:
    // name: the program's base name, e.g. L"regsvr32". Installs the stub and starts with an empty script and log:
    // exit code 0, no delay. ok() tells whether the copy could be made.
    explicit StubProgram(const wchar_t* name);
    StubProgram(const StubProgram&) = delete;
    StubProgram& operator=(const StubProgram&) = delete;

    bool ok() const { return m_ok; }
    // Full path of the installed copy, as a caller of the system program names it.
    const std::wstring& Path() const { return m_path; }

    // The exit code of every run, and of runs whose command line contains `token` (any letter case).
    void SetExitCode(DWORD code);
    void SetExitCodeFor(const std::wstring& token, DWORD code);
    // Milliseconds each run waits before it exits, in general and for runs whose command line contains `token`.
    void SetDelay(DWORD ms);
    void SetDelayFor(const std::wstring& token, DWORD ms);

    // The command lines of the runs so far, in the order they started.
    std::vector<std::wstring> Calls() const;
    // The most copies that ran at the same time since the last Reset, and how many run now.
    DWORD PeakRunning() const;
    DWORD Running() const;
    // Empties the log and the counters; the script stays.
    void Reset();

private:
    std::wstring m_name;
    std::wstring m_path;
    std::wstring m_log;
    bool m_ok = false;
};

// The system folder without a trailing backslash.
std::wstring SystemFolder();

// Narrows the system folder's DLLs, as a listing that wants names ending in ".dll" exactly sees them, to a small
// set: every other "x.dll" is renamed "x.DLL" while the object lives and renamed back afterwards. Wine finds
// files in any letter case, so the prefix keeps working meanwhile.
class SystemDllSet {
public:
    // keep: file names (e.g. L"ole32.dll") that stay listed.
    explicit SystemDllSet(const std::vector<std::wstring>& keep);
    ~SystemDllSet();
    SystemDllSet(const SystemDllSet&) = delete;
    SystemDllSet& operator=(const SystemDllSet&) = delete;
    // Creates an empty file <system folder>\name, removed again with the set.
    void AddFixture(const std::wstring& name);

private:
    std::vector<std::wstring> m_renamed;
    std::vector<std::wstring> m_fixtures;
};

}  // namespace shell_test
