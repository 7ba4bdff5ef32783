// CRegSystemServiceMan: a service's existence and start type, read and written on its registry key (the change
// takes effect at the next start of Windows), and the list of services that run in a process of their own.
#pragma once

#include "TessikApi.h"

class CSBStringArrayW;

// The service's "Start" value; 5 when it could not be read.
enum SystemServiceStartType {
    SERVICE_START_BOOT = 0,
    SERVICE_START_SYSTEM = 1,
    SERVICE_START_AUTO = 2,
    SERVICE_START_MANUAL = 3,
    SERVICE_START_DISABLED = 4,
    SERVICE_START_UNKNOWN = 5,
};

class TESSIK_API CRegSystemServiceMan {
public:
    CRegSystemServiceMan();
    ~CRegSystemServiceMan();

    // True when the service key has a readable DWORD "Type".
    bool IsServiceExisted(const wchar_t* serviceName) const;
    // Sets type to 5 first; true with the stored "Start" when the service exists and the value reads.
    bool GetServiceStartType(const wchar_t* serviceName, SystemServiceStartType& type) const;
    // Writes "Start" of an existing service. Only 0 to 4 are start types; any other value is refused (false) and
    // nothing is written. Never creates a service key.
    bool SetServiceStartType(const wchar_t* serviceName, SystemServiceStartType type) const;
    // The services whose "Type" is 16 (own process). Cleared first; empty when the list cannot be read.
    void GetSystemServices(CSBStringArrayW& services) const;
};
