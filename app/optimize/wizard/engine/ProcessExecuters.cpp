#include "ProcessExecuters.h"

#include <windows.h>

#include <shellapi.h>

#include <Common.h>
#include <QGuards.h>

#include "system/SystemPrograms.h"

namespace {

struct ServiceHandleTraits {
    using Type = SC_HANDLE;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) { ::CloseServiceHandle(h); }
};
using UniqueServiceHandle = qcore::UniqueResource<ServiceHandleTraits>;

// The service's key name for a display name; the name itself when it is already a key name or unknown.
std::wstring ServiceKeyName(SC_HANDLE manager, const std::wstring& name)
{
    wchar_t key[257] = L"";
    DWORD size = 257;
    if (::GetServiceKeyNameW(manager, name.c_str(), key, &size)) return key;
    return name;
}

}  // namespace

bool CExeExecuter::Run()
{
    // The shell may need COM on this worker thread.
    qcore::ComInit com;
    const std::wstring path = WideAttribute("ExecutePath");
    const std::wstring params = WideAttribute("ExecuteParam");
    const HINSTANCE result = ::ShellExecuteW(nullptr, nullptr, path.c_str(), params.empty() ? nullptr : params.c_str(),
                                             nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(result) > 32;
}

bool CRegisterDllExecuter::Run() { return SystemPrograms::RegisterDllSilently(WideAttribute("RegisterDll")); }

std::wstring UnquoteServiceName(const std::wstring& name)
{
    size_t begin = 0, end = name.size();
    if (begin < end && name[begin] == L'"') ++begin;
    if (end > begin && name[end - 1] == L'"') --end;
    return name.substr(begin, end - begin);
}

bool CSystemServiceExecuter::Run()
{
    const std::wstring name = UnquoteServiceName(WideAttribute("StartService"));
    if (name.empty()) return false;
    UniqueServiceHandle manager(::OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT));
    if (!manager) return false;
    const std::wstring key = ServiceKeyName(manager.Get(), name);
    {
        UniqueServiceHandle service(::OpenServiceW(manager.Get(), key.c_str(), SERVICE_CHANGE_CONFIG));
        if (!service) return false;
        if (!::ChangeServiceConfigW(service.Get(), SERVICE_NO_CHANGE, SERVICE_AUTO_START, SERVICE_NO_CHANGE, nullptr,
                                    nullptr, nullptr, nullptr, nullptr, nullptr, nullptr))
            return false;
    }
    // Starts it and waits (bounded) until it leaves the start-pending state.
    return SBStartServiceW(key.c_str());
}
