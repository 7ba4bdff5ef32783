// Services, DLL self-registration and the Windows version.
#include "Common.h"

#include <objbase.h>

#include <QProcess.h>

namespace {

class ServiceHandle {
public:
    explicit ServiceHandle(SC_HANDLE handle = nullptr) : m_handle(handle) {}
    ~ServiceHandle()
    {
        if (m_handle) CloseServiceHandle(m_handle);
    }
    ServiceHandle(const ServiceHandle&) = delete;
    ServiceHandle& operator=(const ServiceHandle&) = delete;
    SC_HANDLE Get() const { return m_handle; }

private:
    SC_HANDLE m_handle;
};

// The name without surrounding blanks and quote characters.
std::wstring Unquote(const wchar_t* name)
{
    std::wstring text = name ? name : L"";
    size_t first = text.find_first_not_of(L" \t\"");
    if (first == std::wstring::npos) return std::wstring();
    size_t last = text.find_last_not_of(L" \t\"");
    return text.substr(first, last - first + 1);
}

// Opens a service by key name or display name, trying the preferred kind of name first.
SC_HANDLE OpenServiceByName(SC_HANDLE manager, const std::wstring& name, DWORD access, bool displayNameFirst)
{
    if (!displayNameFirst) {
        SC_HANDLE service = OpenServiceW(manager, name.c_str(), access);
        if (service) return service;
    }
    wchar_t keyName[257] = L"";
    DWORD length = static_cast<DWORD>(sizeof(keyName) / sizeof(keyName[0]));
    if (GetServiceKeyNameW(manager, name.c_str(), keyName, &length) && keyName[0]) {
        SC_HANDLE service = OpenServiceW(manager, keyName, access);
        if (service) return service;
    }
    return displayNameFirst ? OpenServiceW(manager, name.c_str(), access) : nullptr;
}

bool QueryState(SC_HANDLE service, DWORD& state)
{
    SERVICE_STATUS status;
    if (!QueryServiceStatus(service, &status)) return false;
    state = status.dwCurrentState;
    return true;
}

}  // namespace

bool SBStartServiceW(const wchar_t* displayName)
{
    std::wstring name = Unquote(displayName);
    if (name.empty()) return false;
    ServiceHandle manager(OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT));
    if (!manager.Get()) return false;
    ServiceHandle service(OpenServiceByName(manager.Get(), name, SERVICE_START | SERVICE_QUERY_STATUS, true));
    if (!service.Get()) return false;
    DWORD state = 0;
    if (!QueryState(service.Get(), state)) return false;
    if (state != SERVICE_RUNNING && state != SERVICE_START_PENDING) {
        if (!StartServiceW(service.Get(), 0, nullptr) && GetLastError() != ERROR_SERVICE_ALREADY_RUNNING) return false;
    }
    // Wait until the start request is done, bounded so a hung service cannot hang the caller, and not past the
    // program's own end.
    DWORD started = GetTickCount();
    while (QueryState(service.Get(), state) && state == SERVICE_START_PENDING && GetTickCount() - started < 30000 &&
           WaitForSingleObject(qcore::ShutdownEvent(), 50) == WAIT_TIMEOUT)
        continue;
    return state == SERVICE_RUNNING;
}

bool SBIsSvcRunW(const wchar_t* serviceName)
{
    std::wstring name = Unquote(serviceName);
    if (name.empty()) return false;
    ServiceHandle manager(OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT));
    if (!manager.Get()) return false;
    ServiceHandle service(OpenServiceByName(manager.Get(), name, SERVICE_QUERY_STATUS, false));
    DWORD state = 0;
    return service.Get() && QueryState(service.Get(), state) && state == SERVICE_RUNNING;
}

bool SBRegisterDll(const wchar_t* dllPath)
{
    if (!dllPath || !*dllPath) return false;
    // Registration code may use COM; join the caller's apartment or open one and balance it.
    HRESULT com = CoInitialize(nullptr);
    bool hasFolder = wcschr(dllPath, L'\\') || wcschr(dllPath, L'/');
    HMODULE module = LoadLibraryExW(dllPath, nullptr, hasFolder ? LOAD_WITH_ALTERED_SEARCH_PATH : 0);
    bool registered = false;
    if (module) {
        typedef HRESULT(STDAPICALLTYPE * RegisterFn)();
        RegisterFn reg =
            reinterpret_cast<RegisterFn>(reinterpret_cast<void*>(GetProcAddress(module, "DllRegisterServer")));
        registered = reg && reg() == S_OK;
        FreeLibrary(module);
    }
    if (SUCCEEDED(com)) CoUninitialize();
    return registered;
}

bool IsWow64()
{
#ifdef _WIN64
    return false;
#else
    typedef BOOL(WINAPI * IsWow64ProcessFn)(HANDLE, PBOOL);
    static IsWow64ProcessFn isWow64Process = reinterpret_cast<IsWow64ProcessFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "IsWow64Process")));
    BOOL wow64 = FALSE;
    return isWow64Process && isWow64Process(GetCurrentProcess(), &wow64) && wow64;
#endif
}

bool GetOSVersion(int& kind, bool& is64)
{
    // RtlGetVersion reports the real version; GetVersionExW may be capped by compatibility shims.
    typedef LONG(WINAPI * RtlGetVersionFn)(OSVERSIONINFOW*);
    static RtlGetVersionFn rtlGetVersion = reinterpret_cast<RtlGetVersionFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "RtlGetVersion")));
    OSVERSIONINFOW info = {};
    info.dwOSVersionInfoSize = sizeof(info);
    if (!rtlGetVersion || rtlGetVersion(&info) != 0) {
        info = OSVERSIONINFOW();
        info.dwOSVersionInfoSize = sizeof(info);
        if (!GetVersionExW(&info)) info.dwMajorVersion = 5;  // only XP lacks both
    }
    if (info.dwMajorVersion > 6 || (info.dwMajorVersion == 6 && info.dwMinorVersion >= 1))
        kind = SB_OS_WIN7;
    else if (info.dwMajorVersion == 6)
        kind = SB_OS_VISTA;
    else
        kind = SB_OS_XP;
#ifdef _WIN64
    is64 = true;
#else
    is64 = IsWow64();
#endif
    return true;
}
