#include "Tessik/RegSystemServiceMan.h"

#include <Common.h>

#include <string>

#include "TweakRegistry.h"

using tessik::ViewFor;

namespace {

const wchar_t kServices[] = L"System\\CurrentControlSet\\services\\";
const size_t kMaxKeyPath = 1023;  // longer paths name no service

// The service's key path; false for a null or empty name or a path that would be too long.
bool ServiceKey(const wchar_t* name, std::wstring& key)
{
    if (!name || !*name) return false;
    key = kServices;
    key += name;
    return key.size() <= kMaxKeyPath;
}

bool ReadServiceDword(const std::wstring& key, const wchar_t* value, DWORD& data)
{
    return SBRegGetDWORDValueW(HKEY_LOCAL_MACHINE, key.c_str(), value, data, ViewFor(HKEY_LOCAL_MACHINE));
}

}  // namespace

CRegSystemServiceMan::CRegSystemServiceMan() = default;
CRegSystemServiceMan::~CRegSystemServiceMan() = default;

bool CRegSystemServiceMan::IsServiceExisted(const wchar_t* serviceName) const
{
    std::wstring key;
    DWORD type = 0;
    return ServiceKey(serviceName, key) && ReadServiceDword(key, L"Type", type);
}

bool CRegSystemServiceMan::GetServiceStartType(const wchar_t* serviceName, SystemServiceStartType& type) const
{
    type = SERVICE_START_UNKNOWN;
    if (!IsServiceExisted(serviceName)) return false;
    std::wstring key;
    ServiceKey(serviceName, key);
    DWORD start = 0;
    if (!ReadServiceDword(key, L"Start", start)) return false;
    type = static_cast<SystemServiceStartType>(start);
    return true;
}

bool CRegSystemServiceMan::SetServiceStartType(const wchar_t* serviceName, SystemServiceStartType type) const
{
    // 5 means "not known": writing it (or any other number) would corrupt the service's configuration.
    if (type < SERVICE_START_BOOT || type > SERVICE_START_DISABLED) return false;
    if (!IsServiceExisted(serviceName)) return false;
    std::wstring key;
    ServiceKey(serviceName, key);
    return SBRegSetDWORDValueW(HKEY_LOCAL_MACHINE, key.c_str(), L"Start", static_cast<DWORD>(type),
                               ViewFor(HKEY_LOCAL_MACHINE)) == ERROR_SUCCESS;
}

void CRegSystemServiceMan::GetSystemServices(CSBStringArrayW& services) const
{
    services.Clear();
    CSBStringArrayW names;
    if (!SBRegGetSubKeysW(HKEY_LOCAL_MACHINE, kServices, names, ViewFor(HKEY_LOCAL_MACHINE))) return;
    for (int i = 0; i < names.GetCount(); ++i) {
        const std::wstring name = names.GetString(i);
        std::wstring key;
        DWORD type = 0;
        if (ServiceKey(name.c_str(), key) && ReadServiceDword(key, L"Type", type) && type == SERVICE_WIN32_OWN_PROCESS)
            services.AddString(name.c_str());
    }
}
