// The fixed repairs against seeded registry state in the prefix: each repair's effect, its outcome, and the
// repairs whose target is already absent.
#include <windows.h>
#include <aclapi.h>
#include <sddl.h>

#include <gtest/gtest.h>

#include <Common.h>
#include <Moravin/ErrorUtility.h>

#include <functional>
#include <string>
#include <vector>

#include "PagingFiles.h"
#include "QRegistryFixtures.h"
#include "QStubPrograms.h"

using Moravin::CErrorRepaire;
using Moravin::CErrorUtility;
using namespace shell_test;

namespace {

const HKEY HKCU = HKEY_CURRENT_USER;
const HKEY HKLM = HKEY_LOCAL_MACHINE;
const HKEY HKCR = HKEY_CLASSES_ROOT;

const wchar_t kWinlogon[] = L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon";
const wchar_t kRun[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
const wchar_t kCpls[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Control Panel\\Cpls";
const wchar_t kCdRomClass[] = L"SYSTEM\\CurrentControlSet\\Control\\Class\\{4D36E965-E325-11CE-BFC1-08002BE10318}";
const wchar_t kJScript[] = L"SOFTWARE\\Classes\\CLSID\\{f414c260-6ac0-11cf-b6d1-00aa00bbbb58}\\InprocServer32";
const wchar_t kServices[] = L"SYSTEM\\CurrentControlSet\\Services\\";
const wchar_t kMemory[] = L"SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Memory Management";
const wchar_t kPolicies[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";
const wchar_t kGpoPolicies[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Group Policy Objects\\LocalUser\\Software\\Microsoft\\Windows\\"
    L"CurrentVersion\\Policies\\Explorer";
const wchar_t kDesktopIcons[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\HideDesktopIcons\\NewStartPanel";

// The utility with its access-rights operation reachable.
class AccessUtility : public CErrorUtility {
public:
    using CErrorUtility::ModifyAccess;
};

std::wstring SystemFile(const wchar_t* name) { return SystemFolder() + L"\\" + name; }

void ExpectAbsent(HKEY root, const std::wstring& key, const wchar_t* value)
{
    EXPECT_FALSE(ReadValue(root, key, value).present) << testing::PrintToString(key) << " " << value;
}

void ExpectString(HKEY root, const std::wstring& key, const wchar_t* value, const std::wstring& text,
                  DWORD type = REG_SZ)
{
    StoredValue v = ReadValue(root, key, value);
    EXPECT_TRUE(v.present && v.type == type) << testing::PrintToString(key) << " " << value << " type " << v.type;
    EXPECT_EQ(text, v.Text()) << testing::PrintToString(key) << " " << value;
}

void ExpectDword(HKEY root, const std::wstring& key, const wchar_t* value, DWORD data)
{
    StoredValue v = ReadValue(root, key, value);
    EXPECT_TRUE(v.present && v.type == REG_DWORD) << testing::PrintToString(key) << " " << value;
    EXPECT_EQ(data, v.Dword()) << testing::PrintToString(key) << " " << value;
}

void SeedJunk(HKEY root, const std::wstring& key, const wchar_t* value)
{
    ASSERT_TRUE(SeedString(root, key, value, L"junk"));
}

struct RepairCase {
    int number;
    std::function<void()> seed;    // the fault
    std::function<void()> verify;  // the state after the repair
};

// The Administrators entry of the key's DACL: its rights and inheritance flags (0, 0 when there is none).
std::pair<DWORD, BYTE> AdministratorsEntry(HKEY root, const wchar_t* key)
{
    HKEY h = nullptr;
    if (RegOpenKeyExW(root, key, 0, READ_CONTROL, &h) != ERROR_SUCCESS) return {0, 0};
    std::vector<BYTE> buffer(4096);
    DWORD size = DWORD(buffer.size());
    LONG status = RegGetKeySecurity(h, DACL_SECURITY_INFORMATION, buffer.data(), &size);
    RegCloseKey(h);
    if (status != ERROR_SUCCESS) return {0, 0};
    BOOL present = FALSE, defaulted = FALSE;
    PACL dacl = nullptr;
    GetSecurityDescriptorDacl(buffer.data(), &present, &dacl, &defaulted);
    PSID admins = nullptr;
    ConvertStringSidToSidW(L"S-1-5-32-544", &admins);
    std::pair<DWORD, BYTE> found = {0, 0};
    for (DWORD i = 0; dacl && i < dacl->AceCount; ++i) {
        ACCESS_ALLOWED_ACE* ace = nullptr;
        if (GetAce(dacl, i, reinterpret_cast<void**>(&ace)) && ace->Header.AceType == ACCESS_ALLOWED_ACE_TYPE &&
            EqualSid(&ace->SidStart, admins))
            found = {ace->Mask, ace->Header.AceFlags};
    }
    LocalFree(admins);
    return found;
}

}  // namespace

// Each repair of the utility against its seeded fault; the same repair run again, with the fault already gone,
// still succeeds.
TEST(FixedRepairs, EachUtilityRepairFixesItsFault)
{
    const std::wstring lanman = std::wstring(kServices) + L"lanmanserver";
    const std::wstring scsi = std::wstring(kServices) + L"FCA_SCSI";
    const std::wstring snaServer = std::wstring(kServices) + L"SnaServr";
    const std::wstring snaBase = std::wstring(kServices) + L"SnaBase";
    std::vector<RepairCase> cases = {
        {0,
         [] {
             SeedJunk(HKCU, L"Software\\Microsoft\\Internet Explorer\\Desktop\\Old WorkAreas", L"OldWorkAreaRects");
             SeedJunk(HKCU, L"Software\\Microsoft\\Internet Explorer\\Main", L"Window_Placement");
         },
         [] {
             ExpectAbsent(HKCU, L"Software\\Microsoft\\Internet Explorer\\Desktop\\Old WorkAreas", L"OldWorkAreaRects");
             ExpectAbsent(HKCU, L"Software\\Microsoft\\Internet Explorer\\Main", L"Window_Placement");
         }},
        {1,
         [] {
             SeedJunk(HKLM, kWinlogon, L"LegalNoticeCaption");
             SeedJunk(HKLM, kWinlogon, L"LegalNoticeText");
         },
         [] {
             ExpectAbsent(HKLM, kWinlogon, L"LegalNoticeCaption");
             ExpectAbsent(HKLM, kWinlogon, L"LegalNoticeText");
         }},
        {2, [&] { SeedDword(HKLM, lanman, L"Type", 32); },
         [&] { ExpectDword(HKLM, lanman + L"\\parameters", L"DiskSpaceThreshold", 1024); }},
        {3, [&] { SeedDword(HKLM, scsi, L"Type", 1); },
         [&] {
             ExpectDword(HKLM, scsi + L"\\PARAMETERS\\DEVICE", L"MaximumLogicalUnit", 8);
             ExpectDword(HKLM, scsi + L"\\PARAMETERS\\DEVICE", L"NumberOfRequests", 64);
         }},
        {4, [&] { SeedDword(HKLM, snaServer, L"Type", 16); },
         [&] { ExpectString(HKLM, snaServer + L"\\Parameters", L"NOINITCNOS", L"YES"); }},
        {9, [&] { SeedDword(HKLM, snaBase, L"Type", 16); },
         [&] { ExpectDword(HKLM, snaBase + L"\\Parameters", L"PoolMutexTimeout", 1000); }},
        {10,
         [] {
             SeedJunk(HKLM, kRun, L"rundll32.exe");
             SeedJunk(HKLM, kRun, L"cmaudio");
             SeedJunk(HKLM, kRun, L"cmicnfg.cpl");
             SeedJunk(HKLM, kCpls, L"Cmcpls");
             SeedJunk(HKLM, kRun, L"keep");
         },
         [] {
             ExpectAbsent(HKLM, kRun, L"rundll32.exe");
             ExpectAbsent(HKLM, kRun, L"cmaudio");
             ExpectAbsent(HKLM, kRun, L"cmicnfg.cpl");
             ExpectAbsent(HKLM, kCpls, L"Cmcpls");
             ExpectString(HKLM, kRun, L"keep", L"junk");
         }},
        {11, [] { SeedJunk(HKLM, kJScript, L""); },
         [] {
             ExpectString(HKLM, kJScript, L"", SystemFile(L"jscript.dll"));
             ExpectString(HKLM, kJScript, L"ThreadingModel", L"Both");
         }},
        {15, [] { SeedMultiString(HKLM, kMemory, L"PagingFiles", {L"C:\\pagefile.sys 1536 3072"}); },
         [] {
             StoredValue v = ReadValue(HKLM, kMemory, L"PagingFiles");
             EXPECT_EQ(DWORD(REG_MULTI_SZ), v.type);
             EXPECT_EQ(L"C:\\pagefile.sys 2048 2048", v.Text());
         }},
    };
    // 5 to 8: four faces of one repair.
    for (int n = 5; n <= 8; ++n)
        cases.push_back({n,
                         [] {
                             SeedJunk(HKLM, kCdRomClass, L"UpperFilter");
                             SeedJunk(HKLM, kCdRomClass, L"LowFilter");
                         },
                         [] {
                             ExpectAbsent(HKLM, kCdRomClass, L"UpperFilter");
                             ExpectAbsent(HKLM, kCdRomClass, L"LowFilter");
                         }});

    CErrorUtility utility;
    for (const RepairCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "repair " << c.number);
        c.seed();
        EXPECT_TRUE(utility.ErrorRepaire(c.number));
        c.verify();
        EXPECT_TRUE(utility.ErrorRepaire(c.number)) << "run again";
        c.verify();
    }
}

// Settings of services that are not installed make up no service keys, and a right on a missing key has nothing
// to change: those repairs have nothing to do and succeed. Numbers outside the table do nothing.
TEST(FixedRepairs, RepairsOfAbsentTargetsSucceedWithoutCreatingThem)
{
    CErrorUtility utility;
    const struct {
        int number;
        const wchar_t* key;
    } absent[] = {
        {3, L"SYSTEM\\CurrentControlSet\\Services\\FCA_SCSI"},
        {4, L"SYSTEM\\CurrentControlSet\\Services\\SnaServr"},
        {9, L"SYSTEM\\CurrentControlSet\\Services\\SnaBase"},
        {12, L"SOFTWARE\\InstallShield"},
    };
    for (const auto& a : absent) {
        SCOPED_TRACE(testing::Message() << "repair " << a.number);
        RemoveKey(HKLM, a.key);
        EXPECT_TRUE(utility.ErrorRepaire(a.number));
        EXPECT_FALSE(KeyExists(HKLM, a.key));
    }
    EXPECT_TRUE(utility.ErrorRepaire(-1));
    EXPECT_TRUE(utility.ErrorRepaire(16));
}

// A step that cannot write fails the repair; the other steps of it are still done.
TEST(FixedRepairs, ARepairThatCannotWriteFails)
{
    const std::wstring device = L"SYSTEM\\CurrentControlSet\\Services\\FCA_SCSI\\PARAMETERS\\DEVICE";
    ASSERT_TRUE(SeedDword(HKLM, L"SYSTEM\\CurrentControlSet\\Services\\FCA_SCSI", L"Type", 1));
    {
        LockedKey locked(HKLM, device);
        ASSERT_TRUE(locked.locked());
        EXPECT_FALSE(CErrorUtility().ErrorRepaire(3));
    }
    RemoveKey(HKLM, device);

    // Repair 0: the first delete works, the second cannot open its key.
    const std::wstring workAreas = L"Software\\Microsoft\\Internet Explorer\\Desktop\\Old WorkAreas";
    ASSERT_TRUE(SeedString(HKCU, workAreas, L"OldWorkAreaRects", L"x"));
    {
        LockedKey locked(HKCU, L"Software\\Microsoft\\Internet Explorer\\Main");
        ASSERT_TRUE(locked.locked());
        EXPECT_FALSE(CErrorUtility().ErrorRepaire(0));
    }
    ExpectAbsent(HKCU, workAreas, L"OldWorkAreaRects");
}

// Administrators get full access to the InstallShield key, inherited below it.
TEST(FixedRepairs, AccessRepairGrantsAdministratorsFullAccess)
{
    ASSERT_TRUE(SeedString(HKLM, L"SOFTWARE\\InstallShield\\Sub", L"v", L"x"));
    CErrorUtility utility;
    EXPECT_TRUE(utility.ErrorRepaire(12));
    const std::pair<DWORD, BYTE> entry = AdministratorsEntry(HKLM, L"SOFTWARE\\InstallShield");
    EXPECT_EQ(DWORD(KEY_ALL_ACCESS), entry.first);
    EXPECT_EQ(BYTE(CONTAINER_INHERIT_ACE | OBJECT_INHERIT_ACE), entry.second);

    AccessUtility access;
    EXPECT_FALSE(access.ModifyAccess(L"MACHINE\\SOFTWARE\\QuorvelNoSuchKey"));
    EXPECT_FALSE(KeyExists(HKLM, L"SOFTWARE\\QuorvelNoSuchKey"));
    EXPECT_TRUE(access.ModifyAccess(L"CURRENT_USER\\Software\\Microsoft"));
}

// The utility's registration and service repairs report the real outcome of the system calls.
TEST(FixedRepairs, RegistrationAndServiceRepairsReportTheirOutcome)
{
    CErrorUtility utility;
    EXPECT_TRUE(utility.ErrorRepaire(13));  // the system's own actxprxy.dll and shdocvw.dll register
    EXPECT_TRUE(utility.ErrorRepaire(14));
    EXPECT_TRUE(SBIsSvcRunW(L"wuauserv"));
}

// The paging-file list: every entry gets one fixed size of at least 2048 MB, up to an entry without a blank.
TEST(FixedRepairs, PagingFileEntriesGetAFixedSizeOfAtLeast2048Mb)
{
    const struct {
        std::vector<std::wstring> in, out;
    } cases[] = {
        {{L"C:\\pagefile.sys 1536 3072"}, {L"C:\\pagefile.sys 2048 2048"}},
        {{L"C:\\pagefile.sys 4096 8192"}, {L"C:\\pagefile.sys 4096 4096"}},
        {{L"C:\\pagefile.sys 1000"}, {L"C:\\pagefile.sys 2048 2048"}},
        {{L"C:\\pagefile.sys 4096"}, {L"C:\\pagefile.sys 4096 4096"}},
        {{L"C:\\pagefile.sys 0 0"}, {L"C:\\pagefile.sys 2048 2048"}},
        {{L"a 1 2", L"nospace", L"b 3 4"}, {L"a 2048 2048", L"nospace", L"b 3 4"}},
        {{}, {}},
    };
    for (const auto& c : cases) EXPECT_EQ(c.out, Moravin::RewritePagingFiles(c.in));

    // In the registry: the list is written back whole; without a list nothing is written.
    CErrorUtility utility;
    ASSERT_TRUE(SeedMultiString(HKLM, kMemory, L"PagingFiles", {L"a 1 2", L"nospace", L"b 3 4"}));
    EXPECT_TRUE(utility.ErrorRepaire(15));
    EXPECT_EQ(L"a 2048 2048|nospace|b 3 4", ReadValue(HKLM, kMemory, L"PagingFiles").Text());
    SBRegDeleteValueW(HKLM, kMemory, L"PagingFiles");
    EXPECT_TRUE(utility.ErrorRepaire(15));
    EXPECT_FALSE(ReadValue(HKLM, kMemory, L"PagingFiles").present);
}

// The second table: each repair's writes, with the repairs that start services checked for their outcome.
TEST(FixedRepairs, EachFurtherRepairFixesItsFault)
{
    const std::wstring adsLib = L"TypeLib\\{97d25db0-0363-11cf-abc4-02608c9e7553}\\1.0";
    const std::wstring devMgr = L"CLSID\\{74246bfc-4c96-11d0-abef-0020af6b0b7a}";
    const std::wstring usbStor = std::wstring(kServices) + L"UsbStor";
    const std::wstring usbHub = std::wstring(kServices) + L"usbhub";
    const wchar_t* bands[] = {L"NoBandCustomize",     L"NoMovingBands",  L"NoCloseDragDropBands", L"NoSetTaskbar",
                              L"NoToolbarsOnTaskbar", L"NoSaveSettings", L"NoActiveDesktop",      L"ClassicShell"};
    std::vector<RepairCase> cases = {
        {0, [] {},
         [] {
             ExpectString(HKLM, L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer", L"Max Cached Icons",
                          L"2048");
         }},
        {1, [] { SeedJunk(HKCR, L"lnkfile", L"IsShortcut"); },
         [] { ExpectString(HKCR, L"lnkfile", L"IsShortcut", L""); }},
        {2,
         [&] {
             for (const wchar_t* name : bands) SeedDword(HKCU, kPolicies, name, 1);
         },
         [&] {
             for (const wchar_t* name : bands) ExpectDword(HKCU, kPolicies, name, 0);
             ExpectDword(HKCU, kGpoPolicies, L"NoCloseDragDropBands", 0);
             ExpectDword(HKCU, kGpoPolicies, L"NoMovingBands", 0);
             ExpectString(HKCU,
                          L"Software\\Microsoft\\Internet Explorer\\Explorer Bars\\"
                          L"{32683183-48a0-441b-a342-7c2a440a9478}",
                          L"Media Band", L"00");
         }},
        {9, [] {},
         [] {
             ExpectString(HKCR, L"AllFilesystemObjects\\shellex\\ContextMenuHandlers\\Send To", L"",
                          L"{7BA4C740-9E81-11CF-99D3-00AA004AE837}");
         }},
        {10, [] {},
         [] {
             ExpectString(HKCR, L"Directory\\Background\\shellex\\ContextMenuHandlers\\New", L"",
                          L"{D969A300-E7FF-11d0-A93B-00A0C90F2719}");
         }},
        {12, [] {},
         [] { ExpectString(HKLM, L"SOFTWARE\\Classes\\chm.file\\shell\\open\\command", L"", L"\"hh.exe\" %1"); }},
        {18, [] { SeedDword(HKCU, kPolicies, L"RestrictRun", 1); },
         [] {
             ExpectDword(HKLM, kWinlogon, L"PowerdownAfterShutdown", 0);
             ExpectDword(HKCU, L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced", L"StartMenuLogoff",
                         1);
             ExpectDword(HKCU, kPolicies, L"RestrictRun", 0);
         }},
        {19, [] { SeedJunk(HKLM, kJScript, L""); },
         [] {
             ExpectString(HKLM, kJScript, L"", SystemFile(L"jscript.dll"));
             ExpectString(HKLM, kJScript, L"ThreadingModel", L"Both");
         }},
        {20, [] { SeedDword(HKCU, kPolicies, L"NoPropertiesMyComputer", 1); },
         [] { ExpectDword(HKCU, kPolicies, L"NoPropertiesMyComputer", 0); }},
        {24,
         [&] {
             SeedDword(HKLM, usbStor, L"Start", 4);
             SeedDword(HKLM, usbHub, L"Start", 4);
         },
         [&] {
             ExpectDword(HKLM, usbStor, L"Start", 3);
             ExpectDword(HKLM, usbHub, L"Start", 3);
         }},
    };
    const struct {
        int number;
        const wchar_t* value;
    } icons[] = {{3, L"{450D8FBA-AD25-11D0-98A8-0800361B1103}"}, {4, L"{20D04FE0-3AEA-1069-A2D8-08002B30309D}"},
                 {5, L"{450D8FBA-AD25-11D0-98A8-0800361B1103}"}, {6, L"{645FF040-5081-101B-9F08-00AA002F954E}"},
                 {7, L"{208D2C60-3AEA-1069-A2D7-08002B30309D}"}, {8, L"{871C5380-42A0-1069-A2EA-08002B30309D}"}};
    for (const auto& icon : icons) {
        const wchar_t* value = icon.value;
        cases.push_back({icon.number, [value] { SeedDword(HKCU, kDesktopIcons, value, 1); },
                         [value] { ExpectDword(HKCU, kDesktopIcons, value, 0); }});
    }

    CErrorRepaire repair;
    for (const RepairCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "repair " << c.number);
        c.seed();
        EXPECT_TRUE(repair.ErrorRepaire(c.number));
        c.verify();
    }
    for (int none : {11, 15, 17, 22, 25, -1}) EXPECT_TRUE(repair.ErrorRepaire(none)) << none;

    // Services that this system does not have: the repair fails, and its registry steps are still done.
    RemoveKey(HKCR, adsLib);
    EXPECT_FALSE(repair.ErrorRepaire(16));  // no Secondary Logon service here
    ExpectString(HKCR, adsLib, L"", L"Active DS Type Library");
    // Texts that name %windir% are stored expandable, as the system's own: readers expand only that type.
    ExpectString(HKCR, adsLib + L"\\0\\win32", L"", L"%windir%\\system32\\activeds.tlb", REG_EXPAND_SZ);
    ExpectString(HKCR, adsLib + L"\\0", L"", L"0");
    ExpectString(HKCR, adsLib + L"\\FLAGS", L"", L"%windir%\\system32", REG_EXPAND_SZ);
    EXPECT_FALSE(repair.ErrorRepaire(21));  // Plug and Play has another display name here
    ExpectString(HKCR, devMgr, L"", L"Device Manager");
    ExpectString(HKCR, devMgr + L"\\InprocServer32", L"", SystemFile(L"devmgr.dll"));
    ExpectString(HKCR, devMgr + L"\\InprocServer32", L"ThreadingModel", L"Apartment");
    ExpectString(HKCR, devMgr + L"\\ProgId", L"", L"DevMgrSnapin.DevMgrSnapin.1");
    ExpectString(HKCR, devMgr + L"\\VersionIndependentProgId", L"", L"DevMgrSnapin.DevMgrSnapin.1");
    EXPECT_FALSE(repair.ErrorRepaire(23));
    EXPECT_TRUE(repair.ErrorRepaire(13));
    EXPECT_TRUE(SBIsSvcRunW(L"wuauserv"));

    // UsbStor and usbhub not installed: no service keys are made up.
    RemoveKey(HKLM, usbStor);
    RemoveKey(HKLM, usbHub);
    EXPECT_TRUE(repair.ErrorRepaire(24));
    EXPECT_FALSE(KeyExists(HKLM, usbStor));
    EXPECT_FALSE(KeyExists(HKLM, usbHub));
}
