// Fixed, numbered repairs of known Windows faults: values written or deleted, services started, DLLs registered,
// rights granted, the paging-file list rewritten. CErrorUtility holds the sixteen repairs of the error utility
// page; CErrorRepaire twenty-five further ones for other callers.
//
// A repair reports its real outcome: true when every step of it succeeded. A value to delete that is already
// gone counts as deleted; a setting of a service that is not installed, or a right on a key that does not
// exist, has nothing to repair and counts as done.
#pragma once

#include <windows.h>

#include <string>

#include "Moravin/MoravinApi.h"

namespace Moravin {

class MORAVIN_API CErrorUtility {
public:
    static const int kRepairCount = 16;

    // Runs repair 0-15. Any other number does nothing and returns true.
    bool ErrorRepaire(int number);

protected:
    // Grants the Administrators group (by its well-known SID, so any system language works) full access to the
    // registry key named in the named-security form (e.g. "MACHINE\SOFTWARE\InstallShield") and everything
    // below it. False when the key's rights cannot be read or changed (a missing key included).
    bool ModifyAccess(std::wstring objectName);
};

class MORAVIN_API CErrorRepaire {
public:
    static const int kRepairCount = 25;

    // Runs repair 0-24. Numbers without a repair (11, 15, 17, 22) and numbers outside 0-24 do nothing and
    // return true.
    bool ErrorRepaire(int number);
};

}  // namespace Moravin
