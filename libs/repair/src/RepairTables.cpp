// The steps of every fixed repair, by number.
#include "RepairSteps.h"

namespace Moravin {

namespace {

RepairStep Delete(int n, HKEY root, const wchar_t* key, const wchar_t* value)
{
    return {n, StepKind::DeleteValue, root, key, value, nullptr, 0, nullptr};
}
RepairStep Text(int n, HKEY root, const wchar_t* key, const wchar_t* value, const wchar_t* text,
                const wchar_t* onlyIfKeyExists = nullptr)
{
    return {n, StepKind::SetString, root, key, value, text, 0, onlyIfKeyExists};
}
RepairStep SystemFile(int n, HKEY root, const wchar_t* key, const wchar_t* value, const wchar_t* fileName)
{
    return {n, StepKind::SetSystemFilePath, root, key, value, fileName, 0, nullptr};
}
RepairStep Number(int n, HKEY root, const wchar_t* key, const wchar_t* value, DWORD number,
                  const wchar_t* onlyIfKeyExists = nullptr)
{
    return {n, StepKind::SetDword, root, key, value, nullptr, number, onlyIfKeyExists};
}
RepairStep Service(int n, const wchar_t* displayName)
{
    return {n, StepKind::StartService, nullptr, nullptr, nullptr, displayName, 0, nullptr};
}
RepairStep Register(int n, const wchar_t* dllName)
{
    return {n, StepKind::RegisterSystemDll, nullptr, nullptr, nullptr, dllName, 0, nullptr};
}

const HKEY HKCU = HKEY_CURRENT_USER;
const HKEY HKLM = HKEY_LOCAL_MACHINE;
const HKEY HKCR = HKEY_CLASSES_ROOT;

const wchar_t kRun[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
const wchar_t kWinlogon[] = L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon";
const wchar_t kCdRomClass[] = L"SYSTEM\\CurrentControlSet\\Control\\Class\\{4D36E965-E325-11CE-BFC1-08002BE10318}";
const wchar_t kJScriptServer[] = L"SOFTWARE\\CLASSES\\CLSID\\{f414c260-6ac0-11cf-b6d1-00aa00bbbb58}\\InprocServer32";
const wchar_t kPolicies[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";
const wchar_t kGpoPolicies[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Group Policy Objects\\LocalUser\\Software\\Microsoft\\Windows\\"
    L"CurrentVersion\\Policies\\Explorer";
const wchar_t kDesktopIcons[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\HideDesktopIcons\\NewStartPanel";
const wchar_t kAdsTypeLib[] = L"TypeLib\\{97d25db0-0363-11cf-abc4-02608c9e7553}\\1.0";
const wchar_t kAdsTypeLibWin32[] = L"TypeLib\\{97d25db0-0363-11cf-abc4-02608c9e7553}\\1.0\\0\\win32";
const wchar_t kAdsTypeLibLcid[] = L"TypeLib\\{97d25db0-0363-11cf-abc4-02608c9e7553}\\1.0\\0";
const wchar_t kAdsTypeLibFlags[] = L"TypeLib\\{97d25db0-0363-11cf-abc4-02608c9e7553}\\1.0\\FLAGS";
const wchar_t kDevMgr[] = L"CLSID\\{74246bfc-4c96-11d0-abef-0020af6b0b7a}";
const wchar_t kDevMgrServer[] = L"CLSID\\{74246bfc-4c96-11d0-abef-0020af6b0b7a}\\InprocServer32";
const wchar_t kDevMgrProgId[] = L"CLSID\\{74246bfc-4c96-11d0-abef-0020af6b0b7a}\\ProgId";
const wchar_t kDevMgrVersionless[] = L"CLSID\\{74246bfc-4c96-11d0-abef-0020af6b0b7a}\\VersionIndependentProgId";

}  // namespace

const RepairStep kUtilitySteps[] = {
    Delete(0, HKCU, L"Software\\Microsoft\\Internet Explorer\\Desktop\\Old WorkAreas", L"OldWorkAreaRects"),
    Delete(0, HKCU, L"Software\\Microsoft\\Internet Explorer\\Main", L"Window_Placement"),
    Delete(1, HKLM, kWinlogon, L"LegalNoticeCaption"),
    Delete(1, HKLM, kWinlogon, L"LegalNoticeText"),
    Number(2, HKLM, L"SYSTEM\\CurrentControlSet\\Services\\lanmanserver\\parameters", L"DiskSpaceThreshold", 1024,
           L"SYSTEM\\CurrentControlSet\\Services\\lanmanserver"),
    Number(3, HKLM, L"SYSTEM\\CURRENTCONTROLSET\\SERVICES\\FCA_SCSI\\PARAMETERS\\DEVICE", L"MaximumLogicalUnit", 8,
           L"SYSTEM\\CurrentControlSet\\Services\\FCA_SCSI"),
    Number(3, HKLM, L"SYSTEM\\CURRENTCONTROLSET\\SERVICES\\FCA_SCSI\\PARAMETERS\\DEVICE", L"NumberOfRequests", 64,
           L"SYSTEM\\CurrentControlSet\\Services\\FCA_SCSI"),
    Text(4, HKLM, L"SYSTEM\\CurrentControlSet\\Services\\SnaServr\\Parameters", L"NOINITCNOS", L"YES",
         L"SYSTEM\\CurrentControlSet\\Services\\SnaServr"),
    // 5 to 8 are four faces of one fault with one repair.
    Delete(5, HKLM, kCdRomClass, L"UpperFilter"),
    Delete(5, HKLM, kCdRomClass, L"LowFilter"),
    Delete(6, HKLM, kCdRomClass, L"UpperFilter"),
    Delete(6, HKLM, kCdRomClass, L"LowFilter"),
    Delete(7, HKLM, kCdRomClass, L"UpperFilter"),
    Delete(7, HKLM, kCdRomClass, L"LowFilter"),
    Delete(8, HKLM, kCdRomClass, L"UpperFilter"),
    Delete(8, HKLM, kCdRomClass, L"LowFilter"),
    Number(9, HKLM, L"SYSTEM\\CurrentControlSet\\Services\\SnaBase\\Parameters", L"PoolMutexTimeout", 1000,
           L"SYSTEM\\CurrentControlSet\\Services\\SnaBase"),
    Delete(10, HKLM, kRun, L"rundll32.exe"),
    Delete(10, HKLM, kRun, L"cmaudio"),
    Delete(10, HKLM, L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Control Panel\\Cpls", L"Cmcpls"),
    Delete(10, HKLM, kRun, L"cmicnfg.cpl"),
    SystemFile(11, HKLM, kJScriptServer, L"", L"jscript.dll"),
    Text(11, HKLM, kJScriptServer, L"ThreadingModel", L"Both"),
    {12, StepKind::GrantAdminAccess, HKLM, L"SOFTWARE\\InstallShield", nullptr, nullptr, 0, L"SOFTWARE\\InstallShield"},
    Register(13, L"actxprxy.dll"),
    Register(13, L"shdocvw.dll"),
    Service(14, L"Automatic Updates"),
    {15, StepKind::RewritePagingFiles, HKLM, L"SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Memory Management",
     L"PagingFiles", nullptr, 0, nullptr},
};
const size_t kUtilityStepCount = sizeof(kUtilitySteps) / sizeof(kUtilitySteps[0]);

const RepairStep kRepairSteps[] = {
    Text(0, HKLM, L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer", L"Max Cached Icons", L"2048"),
    Text(1, HKCR, L"lnkfile", L"IsShortcut", L""),
    Number(2, HKCU, kPolicies, L"NoBandCustomize", 0),
    Number(2, HKCU, kPolicies, L"NoMovingBands", 0),
    Number(2, HKCU, kPolicies, L"NoCloseDragDropBands", 0),
    Number(2, HKCU, kPolicies, L"NoSetTaskbar", 0),
    Number(2, HKCU, kPolicies, L"NoToolbarsOnTaskbar", 0),
    Number(2, HKCU, kPolicies, L"NoSaveSettings", 0),
    Number(2, HKCU, kPolicies, L"NoActiveDesktop", 0),
    Number(2, HKCU, kPolicies, L"ClassicShell", 0),
    Number(2, HKCU, kGpoPolicies, L"NoCloseDragDropBands", 0),
    Number(2, HKCU, kGpoPolicies, L"NoMovingBands", 0),
    Text(2, HKCU, L"Software\\Microsoft\\Internet Explorer\\Explorer Bars\\{32683183-48a0-441b-a342-7c2a440a9478}",
         L"Media Band", L"00"),
    Number(3, HKCU, kDesktopIcons, L"{450D8FBA-AD25-11D0-98A8-0800361B1103}", 0),
    Number(4, HKCU, kDesktopIcons, L"{20D04FE0-3AEA-1069-A2D8-08002B30309D}", 0),
    Number(5, HKCU, kDesktopIcons, L"{450D8FBA-AD25-11D0-98A8-0800361B1103}", 0),
    Number(6, HKCU, kDesktopIcons, L"{645FF040-5081-101B-9F08-00AA002F954E}", 0),
    Number(7, HKCU, kDesktopIcons, L"{208D2C60-3AEA-1069-A2D7-08002B30309D}", 0),
    Number(8, HKCU, kDesktopIcons, L"{871C5380-42A0-1069-A2EA-08002B30309D}", 0),
    Text(9, HKCR, L"AllFilesystemObjects\\shellex\\ContextMenuHandlers\\Send To", L"",
         L"{7BA4C740-9E81-11CF-99D3-00AA004AE837}"),
    Text(10, HKCR, L"Directory\\Background\\shellex\\ContextMenuHandlers\\New", L"",
         L"{D969A300-E7FF-11d0-A93B-00A0C90F2719}"),
    Text(12, HKLM, L"SOFTWARE\\Classes\\chm.file\\shell\\open\\command", L"", L"\"hh.exe\" %1"),
    Service(13, L"Automatic Updates"),
    Service(14, L"Windows Installer"),
    Service(16, L"Secondary Logon"),
    Text(16, HKCR, kAdsTypeLib, L"", L"Active DS Type Library"),
    Text(16, HKCR, kAdsTypeLibWin32, L"", L"%windir%\\system32\\activeds.tlb"),
    Text(16, HKCR, kAdsTypeLibLcid, L"", L"0"),
    Text(16, HKCR, kAdsTypeLibFlags, L"", L"%windir%\\system32"),
    Number(18, HKLM, kWinlogon, L"PowerdownAfterShutdown", 0),
    Number(18, HKCU, L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced", L"StartMenuLogoff", 1),
    Number(18, HKCU, kPolicies, L"RestrictRun", 0),
    SystemFile(19, HKLM, kJScriptServer, L"", L"jscript.dll"),
    Text(19, HKLM, kJScriptServer, L"ThreadingModel", L"Both"),
    Number(20, HKCU, kPolicies, L"NoPropertiesMyComputer", 0),
    Service(21, L"Plug and Play"),
    Text(21, HKCR, kDevMgr, L"", L"Device Manager"),
    SystemFile(21, HKCR, kDevMgrServer, L"", L"devmgr.dll"),
    Text(21, HKCR, kDevMgrServer, L"ThreadingModel", L"Apartment"),
    Text(21, HKCR, kDevMgrProgId, L"", L"DevMgrSnapin.DevMgrSnapin.1"),
    Text(21, HKCR, kDevMgrVersionless, L"", L"DevMgrSnapin.DevMgrSnapin.1"),
    Service(23, L"COM+ Event System"),
    Service(23, L"COM+ System Application"),
    Service(23, L"Distributed Transaction Coordinator"),
    Number(24, HKLM, L"SYSTEM\\CurrentControlSet\\Services\\UsbStor", L"Start", 3,
           L"SYSTEM\\CurrentControlSet\\Services\\UsbStor"),
    Number(24, HKLM, L"SYSTEM\\CurrentControlSet\\Services\\usbhub", L"Start", 3,
           L"SYSTEM\\CurrentControlSet\\Services\\usbhub"),
};
const size_t kRepairStepCount = sizeof(kRepairSteps) / sizeof(kRepairSteps[0]);

}  // namespace Moravin
