// tessik::CRegMiscOptimizeMan: seven system settings read and written straight through the registry (no state).
#pragma once

#include <string>

#include "TessikApi.h"

namespace tessik {

class TESSIK_API CRegMiscOptimizeMan {
public:
    CRegMiscOptimizeMan();
    ~CRegMiscOptimizeMan();

    bool GetRestartWindowWhenError() const;
    bool SetRestartWindowWhenError(bool enable);
    bool GetEndUnrespApp() const;
    bool SetEndUnrespApp(bool enable);
    bool GetAccelerateTurnOff() const;
    bool SetAccelerateTurnOff(bool enable);
    bool GetDisableAutoPlay() const;
    bool SetDisableAutoPlay(bool disable);
    bool GetDisableErrReport() const;
    bool SetDisableErrReport(bool disable);
    bool GetDisableLowDiskWarn() const;
    bool SetDisableLowDiskWarn(bool disable);

    // True when automatic log-on is on; then fills the stored user name and password (each left as it was when
    // it cannot be read). False leaves both untouched.
    bool GetEnableAutoLogon(std::wstring& userName, std::wstring& password) const;
    // Stores the account, then switches automatic log-on on. False when any of the three did not take; the switch
    // is not written when the account could not be.
    bool EnableAutoLogon(const std::wstring& userName, const std::wstring& password);
    // Switches automatic log-on off and deletes the stored plain-text password; the user name stays.
    // False when the switch or the removal of the password failed.
    bool DisableAutoLogon();
};

}  // namespace tessik
