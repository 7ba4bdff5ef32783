// System Restore: lists, creates and removes restore points, schedules a roll-back, switches System Restore on.
// WMI ("ROOT\default", class SystemRestore) lists, rolls back and enables; srclient.dll, loaded by name on every
// call, creates and removes. Every outcome is the system's own answer: nothing is reported done that it refused.
#pragma once

#include "ColdrithApi.h"

#include <windows.h>
#include <srrestoreptapi.h>

#include <string>
#include <vector>

namespace Coldrith {
class COLDRITH_API CSystemBackup {
public:
    struct RestorePointItem {
        std::wstring description;
        std::wstring time;  // "yyyy-mm-dd hh:mm:ss" as WMI gives it (no time-zone conversion); "" when unknown
        int sequence = 0;
    };

    // COM is never set up on the caller's thread: each WMI call runs on a short helper thread of its own in the
    // multithreaded apartment, initialised and uninitialised there in balance. So a page may call from its
    // interface thread whatever apartment that thread is in.
    CSystemBackup() {}
    ~CSystemBackup() {}
    CSystemBackup(const CSystemBackup&) = delete;
    CSystemBackup& operator=(const CSystemBackup&) = delete;

    // Kept for callers that pair them around their use of the object; they touch no apartment.
    void Init() {}
    void UnInit() {}

    // Appends one item per restore point (cancelled operations, type 13, left out). False when WMI cannot be
    // reached; a query the system refuses lists nothing and still returns true.
    bool EnumRestorPoint(std::vector<RestorePointItem>& items);
    // Creates a restore point with the description (cut to 255 characters). False only while a roll-back is
    // scheduled (nothing is asked of the system then); otherwise true, and GetLastStatus() tells the outcome.
    bool AddRestorePoint(std::wstring description);
    // True only when the system removed the restore point; GetLastStatus() holds its answer.
    bool RemoveRestorePoint(int sequence);
    // Schedules the roll-back to the restore point (it happens at the next restart). True, and from then on
    // AddRestorePoint refuses, only when the system accepted it.
    bool RestorePoint(int sequence);
    // Switches System Restore on for all drives; true when the system says it did.
    bool EnableSystemRestore();

    // The system's answer to the last create or remove: ERROR_SUCCESS when done; ERROR_SERVICE_DISABLED when
    // System Restore is off; ERROR_MOD_NOT_FOUND or ERROR_PROC_NOT_FOUND when it is not installed; the status the
    // system gave, or ERROR_GEN_FAILURE when it failed without one.
    DWORD GetLastStatus() const { return m_dwLastStatus; }
    bool IsRestoreScheduled() const { return m_bRestoreScheduled; }

private:
    bool m_bRestoreScheduled = false;
    DWORD m_dwLastStatus = ERROR_SUCCESS;
};

// "yyyy-mm-dd hh:mm:ss" from a WMI date-time text ("yyyymmddhhmmss.ffffff+zzz"); "" when it is too short or
// not made of digits where digits belong.
COLDRITH_API std::wstring FormatWmiTime(const std::wstring& wmiTime);
// Fills the system's request that opens a restore point: BEGIN_SYSTEM_CHANGE, APPLICATION_INSTALL, sequence 0,
// the description cut to 255 characters and terminated.
COLDRITH_API void MakeRestorePointRequest(const std::wstring& description, RESTOREPOINTINFOW& request);
}  // namespace Coldrith
