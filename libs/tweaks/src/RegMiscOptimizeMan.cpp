#include "Tessik/RegMiscOptimizeMan.h"

#include <Common.h>

#include "TweakRegistry.h"

namespace tessik {

namespace {

const wchar_t kCrashControl[] = L"System\\CurrentControlSet\\Control\\CrashControl";
const wchar_t kDesktop[] = L"Control Panel\\Desktop";
const wchar_t kControl[] = L"System\\CurrentControlSet\\Control";
const wchar_t kCdrom[] = L"System\\CurrentControlSet\\Services\\cdrom";
const wchar_t kErrorReporting[] = L"Software\\Microsoft\\PCHealth\\ErrorReporting";
const wchar_t kPolicies[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";
const wchar_t kWinlogon[] = L"Software\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon";

bool ReadDword(HKEY root, const wchar_t* key, const wchar_t* name, DWORD& data)
{
    return SBRegGetDWORDValueW(root, key, name, data, ViewFor(root));
}

bool ReadText(HKEY root, const wchar_t* key, const wchar_t* name, std::wstring& text)
{
    return SBRegGetStringValueW(root, key, name, text, ViewFor(root));
}

bool WriteDword(HKEY root, const wchar_t* key, const wchar_t* name, DWORD data)
{
    return SBRegSetDWORDValueW(root, key, name, data, ViewFor(root)) == ERROR_SUCCESS;
}

bool WriteText(HKEY root, const wchar_t* key, const wchar_t* name, const wchar_t* text)
{
    return SBRegSetStringValueW(root, key, name, text, ViewFor(root)) == ERROR_SUCCESS;
}

}  // namespace

CRegMiscOptimizeMan::CRegMiscOptimizeMan() = default;
CRegMiscOptimizeMan::~CRegMiscOptimizeMan() = default;

bool CRegMiscOptimizeMan::GetRestartWindowWhenError() const
{
    DWORD data = 0;
    return !ReadDword(HKEY_LOCAL_MACHINE, kCrashControl, L"AutoReboot", data) || data == 1;
}

bool CRegMiscOptimizeMan::SetRestartWindowWhenError(bool enable)
{
    return WriteDword(HKEY_LOCAL_MACHINE, kCrashControl, L"AutoReboot", enable ? 1 : 0);
}

bool CRegMiscOptimizeMan::GetEndUnrespApp() const
{
    std::wstring text;
    return ReadText(HKEY_CURRENT_USER, kDesktop, L"AutoEndTask", text) && text == L"1";
}

bool CRegMiscOptimizeMan::SetEndUnrespApp(bool enable)
{
    return WriteText(HKEY_CURRENT_USER, kDesktop, L"AutoEndTask", enable ? L"1" : L"0");
}

bool CRegMiscOptimizeMan::GetAccelerateTurnOff() const
{
    std::wstring text;
    return ReadText(HKEY_LOCAL_MACHINE, kControl, L"WaitToKillServiceTimeout", text) && text == L"0";
}

bool CRegMiscOptimizeMan::SetAccelerateTurnOff(bool enable)
{
    return WriteText(HKEY_LOCAL_MACHINE, kControl, L"WaitToKillServiceTimeout", enable ? L"0" : L"2000");
}

bool CRegMiscOptimizeMan::GetDisableAutoPlay() const
{
    DWORD data = 0;
    return !ReadDword(HKEY_LOCAL_MACHINE, kCdrom, L"AutoRun", data) || data == 0;
}

bool CRegMiscOptimizeMan::SetDisableAutoPlay(bool disable)
{
    return WriteDword(HKEY_LOCAL_MACHINE, kCdrom, L"AutoRun", disable ? 0 : 1);
}

bool CRegMiscOptimizeMan::GetDisableErrReport() const
{
    DWORD data = 0;
    return ReadDword(HKEY_LOCAL_MACHINE, kErrorReporting, L"DoReport", data) && data != 1;
}

bool CRegMiscOptimizeMan::SetDisableErrReport(bool disable)
{
    return WriteDword(HKEY_LOCAL_MACHINE, kErrorReporting, L"DoReport", disable ? 0 : 1);
}

bool CRegMiscOptimizeMan::GetDisableLowDiskWarn() const
{
    DWORD data = 0;
    return ReadDword(HKEY_CURRENT_USER, kPolicies, L"NoLowDiskSpaceChecks", data) && data == 1;
}

bool CRegMiscOptimizeMan::SetDisableLowDiskWarn(bool disable)
{
    return WriteDword(HKEY_CURRENT_USER, kPolicies, L"NoLowDiskSpaceChecks", disable ? 1 : 0);
}

bool CRegMiscOptimizeMan::GetEnableAutoLogon(std::wstring& userName, std::wstring& password) const
{
    std::wstring flag;
    if (!ReadText(HKEY_LOCAL_MACHINE, kWinlogon, L"AutoAdminLogon", flag) || flag == L"0") return false;
    std::wstring text;
    if (ReadText(HKEY_LOCAL_MACHINE, kWinlogon, L"DefaultUserName", text)) userName = text;
    if (ReadText(HKEY_LOCAL_MACHINE, kWinlogon, L"DefaultPassword", text)) password = text;
    return true;
}

bool CRegMiscOptimizeMan::EnableAutoLogon(const std::wstring& userName, const std::wstring& password)
{
    // The account first: switched on without it, Windows would log on with whatever account was stored before.
    if (!WriteText(HKEY_LOCAL_MACHINE, kWinlogon, L"DefaultUserName", userName.c_str()) ||
        !WriteText(HKEY_LOCAL_MACHINE, kWinlogon, L"DefaultPassword", password.c_str()))
        return false;
    return WriteText(HKEY_LOCAL_MACHINE, kWinlogon, L"AutoAdminLogon", L"1");
}

bool CRegMiscOptimizeMan::DisableAutoLogon()
{
    if (!WriteText(HKEY_LOCAL_MACHINE, kWinlogon, L"AutoAdminLogon", L"0")) return false;
    // A password left behind in plain text is readable by every local user.
    LONG status = SBRegDeleteValueW(HKEY_LOCAL_MACHINE, kWinlogon, L"DefaultPassword", ViewFor(HKEY_LOCAL_MACHINE));
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

}  // namespace tessik
