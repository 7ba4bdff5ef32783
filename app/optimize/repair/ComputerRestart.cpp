#include "ComputerRestart.h"

#include <windows.h>

#include <QGuards.h>

RestartRequest RequestRestart()
{
    qcore::UniqueHandle token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, token.Put()))
        return RestartRequest::NoShutdownRight;
    TOKEN_PRIVILEGES privileges = {};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    if (!LookupPrivilegeValueW(nullptr, SE_SHUTDOWN_NAME, &privileges.Privileges[0].Luid))
        return RestartRequest::NoShutdownRight;
    // Success with ERROR_NOT_ALL_ASSIGNED means the token does not hold the right at all.
    if (!AdjustTokenPrivileges(token.Get(), FALSE, &privileges, 0, nullptr, nullptr) || GetLastError() != ERROR_SUCCESS)
        return RestartRequest::NoShutdownRight;
    const DWORD reason = SHTDN_REASON_MAJOR_OPERATINGSYSTEM | SHTDN_REASON_MINOR_RECONFIG | SHTDN_REASON_FLAG_PLANNED;
    return ExitWindowsEx(EWX_REBOOT | EWX_FORCEIFHUNG, reason) ? RestartRequest::Requested : RestartRequest::Failed;
}
