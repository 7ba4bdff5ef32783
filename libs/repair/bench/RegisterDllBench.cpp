// Re-registration of the prefix's whole system folder with the real regsvr32: the library's run (a few at a time)
// against the same regsvr32 calls made one by one by a batch script (the floor), in the same prefix, in paired
// runs after one untimed script run that warms the caches. A sampling thread counts the regsvr32 processes
// running at once during the library's runs.
// Usage: MoravinRegisterDllBench.exe (run through bench/run-register-bench.sh, in a fresh sandboxed prefix;
// pairs: QUORVEL_BENCH_PAIRS, default 3).
#include <windows.h>
#include <tlhelp32.h>

#include <Moravin.h>

#include <atomic>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "PairedRuns.h"

namespace {

std::wstring SystemFolder()
{
    wchar_t folder[MAX_PATH] = L"";
    GetSystemDirectoryW(folder, MAX_PATH);
    return folder;
}

int RunningRegistrations()
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return 0;
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof(entry);
    int count = 0;
    for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry))
        if (lstrcmpiW(entry.szExeFile, L"regsvr32.exe") == 0) ++count;
    CloseHandle(snapshot);
    return count;
}

// The batch script's run: one regsvr32 after the other (cmd waits for each).
double RunScript(const std::vector<std::wstring>& dlls)
{
    wchar_t temp[MAX_PATH] = L"";
    GetTempPathW(MAX_PATH, temp);
    const std::wstring script = std::wstring(temp) + L"reregister.cmd";
    HANDLE file = CreateFileW(script.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    std::string text = "@echo off\r\n";
    for (const std::wstring& dll : dlls) {
        std::wstring line = L"\"" + SystemFolder() + L"\\regsvr32.exe\" /s \"" + dll + L"\"\r\n";
        text.append(line.begin(), line.end());  // system paths are ASCII
    }
    DWORD written = 0;
    WriteFile(file, text.data(), DWORD(text.size()), &written, nullptr);
    CloseHandle(file);

    std::wstring command = L"\"" + SystemFolder() + L"\\cmd.exe\" /c \"" + script + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    const double start = bench::Now();
    if (!CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr, &startup,
                        &process))
        return -1;
    WaitForSingleObject(process.hProcess, INFINITE);
    const double seconds = bench::Now() - start;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return seconds;
}

struct LibraryRun {
    double seconds = -1;
    int items = 0;
    LPARAM failures = 0;
    int peak = 0;
};

LibraryRun* g_run = nullptr;

LRESULT CALLBACK CountMessages(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_DLLREG_ITEM_DONE) ++g_run->items;
    if (msg == WM_DLLREG_DONE) {
        g_run->failures = lParam;
        PostQuitMessage(0);
    }
    return DefWindowProcW(wnd, msg, wParam, lParam);
}

LibraryRun RunLibrary()
{
    LibraryRun run;
    g_run = &run;
    WNDCLASSW wc = {};
    wc.lpfnWndProc = &CountMessages;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"RegisterDllBench";
    RegisterClassW(&wc);
    HWND window = CreateWindowW(wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);

    std::atomic<bool> sampling{true};
    std::thread sampler([&] {
        while (sampling) {
            const int now = RunningRegistrations();
            if (now > run.peak) run.peak = now;
            Sleep(5);
        }
    });
    Moravin::CRegisterDll registration;
    registration.SetParentWnd(window);
    const double start = bench::Now();
    if (registration.RegisterSystemDll()) {
        MSG msg;
        while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
        run.seconds = bench::Now() - start;
    }
    sampling = false;
    sampler.join();
    DestroyWindow(window);
    return run;
}

}  // namespace

int wmain()
{
    Moravin::CRegisterDll registration;
    std::vector<std::wstring> dlls;
    registration.GetDllNames(dlls);
    wprintf(L"DLLs in the system folder: %zu; at most %d registrations at once\n", dlls.size(),
            Moravin::CRegisterDll::MaxRunningRegistrations());

    RunScript(dlls);  // warms the caches for both sides
    LibraryRun library;
    bench::RunPairs(
        "DLL re-registration", "one-by-one regsvr32 script", bench::PairsFromEnvironment(3),
        [&] { return RunScript(dlls); },
        [&] {
            library = RunLibrary();
            return library.seconds;
        });
    wprintf(L"library, last run: %d rows, %ld failed to register, peak %d regsvr32 at once\n", library.items,
            static_cast<long>(library.failures), library.peak);
    return 0;
}
