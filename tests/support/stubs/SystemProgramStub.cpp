// A stand-in for a system program (regsvr32, netsh, sc, net, wineboot...) in a test prefix. A test copies it over
// <system folder>\<name>.exe; then it
//   - appends its whole command line, one line per run, to <LogFolder>\<name>.log (UTF-16 LE),
//   - counts how many copies of itself run at once (Running / Peak),
//   - waits DelayMs, and exits with ExitCode,
// where the settings come from HKCU\Software\QuorvelTest\Stubs\<name>. A value in its subkeys "ExitCodes" and
// "Delays" whose name appears in the command line (in any letter case) takes the place of the general setting.
// Only the system's own libraries are used, so the copy runs from the system folder without our runtime DLLs.
#include <windows.h>

#include <wctype.h>

namespace {

const wchar_t kStubsKey[] = L"Software\\QuorvelTest\\Stubs\\";

void ToLower(wchar_t* text)
{
    for (; *text; ++text) *text = static_cast<wchar_t>(towlower(*text));
}

// The program's base name in lower case ("regsvr32" for C:\windows\system32\REGSVR32.EXE).
void OwnName(wchar_t* name, DWORD capacity)
{
    wchar_t path[MAX_PATH] = L"";
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    const wchar_t* base = path;
    for (const wchar_t* p = path; *p; ++p)
        if (*p == L'\\' || *p == L'/') base = p + 1;
    lstrcpynW(name, base, static_cast<int>(capacity));
    wchar_t* dot = nullptr;
    for (wchar_t* p = name; *p; ++p)
        if (*p == L'.') dot = p;
    if (dot) *dot = 0;
    ToLower(name);
}

DWORD ReadDword(HKEY key, const wchar_t* value, DWORD fallback)
{
    DWORD data = 0, size = sizeof(data), type = 0;
    if (RegQueryValueExW(key, value, nullptr, &type, reinterpret_cast<BYTE*>(&data), &size) == ERROR_SUCCESS &&
        type == REG_DWORD)
        return data;
    return fallback;
}

// The value of the subkey whose name is part of the (lower-case) command line; fallback when none is.
DWORD ScriptedFor(HKEY key, const wchar_t* subkey, const wchar_t* commandLine, DWORD fallback)
{
    HKEY sub = nullptr;
    if (RegOpenKeyExW(key, subkey, 0, KEY_READ, &sub) != ERROR_SUCCESS) return fallback;
    DWORD result = fallback;
    for (DWORD i = 0;; ++i) {
        wchar_t name[260] = L"";
        DWORD nameLength = 260, data = 0, size = sizeof(data), type = 0;
        if (RegEnumValueW(sub, i, name, &nameLength, nullptr, &type, reinterpret_cast<BYTE*>(&data), &size) !=
            ERROR_SUCCESS)
            break;
        ToLower(name);
        if (type == REG_DWORD && name[0] && wcsstr(commandLine, name)) {
            result = data;
            break;
        }
    }
    RegCloseKey(sub);
    return result;
}

void AppendLine(const wchar_t* path, const wchar_t* text)
{
    HANDLE file = CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(file, text, static_cast<DWORD>(lstrlenW(text) * sizeof(wchar_t)), &written, nullptr);
    WriteFile(file, L"\r\n", 2 * sizeof(wchar_t), &written, nullptr);
    CloseHandle(file);
}

// Adds delta to Running and raises Peak to it; the mutex keeps the copies from mixing their updates.
void CountRunning(HKEY key, HANDLE mutex, int delta)
{
    WaitForSingleObject(mutex, 10000);
    DWORD running = ReadDword(key, L"Running", 0) + static_cast<DWORD>(delta);
    RegSetValueExW(key, L"Running", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&running), sizeof(running));
    if (delta > 0 && running > ReadDword(key, L"Peak", 0))
        RegSetValueExW(key, L"Peak", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&running), sizeof(running));
    ReleaseMutex(mutex);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int)
{
    wchar_t name[64] = L"";
    OwnName(name, 64);
    wchar_t keyPath[128] = L"";
    lstrcpyW(keyPath, kStubsKey);
    lstrcatW(keyPath, name);
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, keyPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return 250;

    wchar_t mutexName[128] = L"QuorvelTestStub_";
    lstrcatW(mutexName, name);
    HANDLE mutex = CreateMutexW(nullptr, FALSE, mutexName);

    const wchar_t* commandLine = GetCommandLineW();
    wchar_t folder[MAX_PATH] = L"";
    DWORD size = sizeof(folder) - sizeof(wchar_t), type = 0;
    if (RegQueryValueExW(key, L"LogFolder", nullptr, &type, reinterpret_cast<BYTE*>(folder), &size) == ERROR_SUCCESS &&
        type == REG_SZ && folder[0]) {
        wchar_t logPath[MAX_PATH + 80] = L"";
        lstrcpyW(logPath, folder);
        lstrcatW(logPath, L"\\");
        lstrcatW(logPath, name);
        lstrcatW(logPath, L".log");
        WaitForSingleObject(mutex, 10000);
        AppendLine(logPath, commandLine);
        ReleaseMutex(mutex);
    }

    int length = lstrlenW(commandLine);
    wchar_t* lowered = static_cast<wchar_t*>(HeapAlloc(GetProcessHeap(), 0, (length + 1) * sizeof(wchar_t)));
    lstrcpyW(lowered, commandLine);
    ToLower(lowered);
    DWORD exitCode = ScriptedFor(key, L"ExitCodes", lowered, ReadDword(key, L"ExitCode", 0));
    DWORD delay = ScriptedFor(key, L"Delays", lowered, ReadDword(key, L"DelayMs", 0));
    HeapFree(GetProcessHeap(), 0, lowered);

    CountRunning(key, mutex, +1);
    if (delay) Sleep(delay);
    CountRunning(key, mutex, -1);

    if (mutex) CloseHandle(mutex);
    RegCloseKey(key);
    return static_cast<int>(exitCode);
}
