// The x64 release packages of this build as a Windows user meets them (they come from prepare.sh, a set-up step
// of CTest): the MSI installed with msiexec, the installed program started, scanning and cleaning the registry
// and keeping its backup beside itself, then removed again, leaving the user's data; and the portable zip's
// program started where it was unpacked.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <string>

#include <Common.h>

#include "QAppDriver.h"
#include "QTestSupport.h"

using namespace shell_test;

namespace {

const wchar_t kInstalled[] = L"C:\\Program Files\\Quorvel\\";
const wchar_t kUninstallKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
const wchar_t kMuiCache[] = L"Software\\Microsoft\\Windows\\ShellNoRoam\\MUICache";
const wchar_t kSeed[] = L"C:\\QuorvelGone\\installed.exe";

bool Exists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::wstring Package(const wchar_t* extension)
{
    WIN32_FIND_DATAW data;
    const std::wstring folder = ProgramFolder() + L"artifacts\\packages\\";
    HANDLE find = ::FindFirstFileW((folder + L"Quorvel-*-x64." + extension).c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return std::wstring();
    ::FindClose(find);
    return folder + data.cFileName;
}

DWORD Msiexec(const std::wstring& arguments)
{
    wchar_t system[MAX_PATH];
    ::GetSystemDirectoryW(system, MAX_PATH);
    std::wstring exe = std::wstring(system) + L"\\msiexec.exe";
    std::wstring cmd = L"\"" + exe + L"\" " + arguments;
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    if (!::CreateProcessW(exe.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return 9999;
    ::WaitForSingleObject(pi.hProcess, 180000);
    DWORD code = 9998;
    ::GetExitCodeProcess(pi.hProcess, &code);
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
    return code;
}

// The installed-programs entry of Quorvel (its key below the Uninstall key), or "" when there is none.
std::wstring UninstallEntry()
{
    CSBStringArrayW keys;
    SBRegGetSubKeysW(HKEY_LOCAL_MACHINE, kUninstallKey, keys);
    for (int i = 0; i < keys.GetCount(); ++i) {
        const std::wstring k = keys.GetString(i);
        std::wstring name;
        if (SBRegGetStringValueW(HKEY_LOCAL_MACHINE, (std::wstring(kUninstallKey) + L"\\" + k).c_str(), L"DisplayName",
                                 name) &&
            name == L"Quorvel")
            return std::wstring(kUninstallKey) + L"\\" + k;
    }
    return std::wstring();
}

// The Start-menu shortcut in the programs folder of all users (CSIDL_COMMON_PROGRAMS) or of the installing user
// (CSIDL_PROGRAMS).
bool StartMenuShortcutExists(int folder)
{
    wchar_t programs[MAX_PATH] = L"";
    return ::SHGetSpecialFolderPathW(nullptr, programs, folder, FALSE) &&
           Exists(std::wstring(programs) + L"\\Quorvel.lnk");
}

bool SeedExists()
{
    std::wstring value;
    return SBRegGetStringValueW(HKEY_CURRENT_USER, kMuiCache, kSeed, value);
}

// Through the drawer to the registry page; scans the open/save-free MUI category and repairs what it found.
void ScanAndCleanTheRegistry(HWND main)
{
    HWND header = DrawerEntry(main, 110000);
    ASSERT_NE(nullptr, header);
    ClickWindow(header);
    HWND item = DrawerEntry(main, 110001);
    ASSERT_TRUE(item && PumpUntil([&] { return ::IsWindowVisible(item) != FALSE; }, 20000));
    ClickWindow(item);
    ASSERT_TRUE(PumpUntil([&] { return VisiblePageId(main) == 110001; }, 20000));
    HWND page = FindDescendant(PageContainer(main), 110001);
    HWND start = FindDescendant(page, 11003), muiBox = FindDescendant(page, 11009), list = FindDescendant(page, 11103);
    ASSERT_TRUE(start && muiBox && list);
    ::SendMessageW(muiBox, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    ::SendMessageW(muiBox, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    PressButton(start);
    ASSERT_TRUE(
        PumpUntil([&] { return ::IsWindowVisible(list) && ::IsWindowEnabled(FindDescendant(page, 11105)); }, 60000))
        << "the scan did not end";
    ASSERT_GE((int)::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 1);
    PressButton(FindDescendant(page, 11105));
    ASSERT_TRUE(PumpUntil([&] { return (int)::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0) == 0; }, 60000));
}

TEST(InstalledProgram, TheMsiInstallsAWorkingProgramAndRemovesItKeepingTheUsersData)
{
    const std::wstring msi = Package(L"msi");
    ASSERT_FALSE(msi.empty()) << "no x64 package in Q:\\artifacts\\packages (made by tests/package/prepare.sh)";
    ASSERT_EQ(0u, Msiexec(L"/i \"" + msi + L"\" /qn"));
    const std::wstring program = std::wstring(kInstalled) + L"Quorvel.exe";
    ASSERT_TRUE(Exists(program));
    EXPECT_TRUE(Exists(std::wstring(kInstalled) + L"dic\\en\\shell.ini"));
    // Installed per machine: the shortcut is among all users' programs, not the installing user's.
    EXPECT_TRUE(StartMenuShortcutExists(CSIDL_COMMON_PROGRAMS));
    EXPECT_FALSE(StartMenuShortcutExists(CSIDL_PROGRAMS));
    const std::wstring entry = UninstallEntry();
    ASSERT_FALSE(entry.empty()) << "no entry in the installed-programs list";
    std::wstring text;
    EXPECT_TRUE(SBRegGetStringValueW(HKEY_LOCAL_MACHINE, entry.c_str(), L"Publisher", text) && !text.empty());
    EXPECT_TRUE(SBRegGetStringValueW(HKEY_LOCAL_MACHINE, entry.c_str(), L"DisplayVersion", text) && !text.empty());
    EXPECT_TRUE(SBRegGetStringValueW(HKEY_LOCAL_MACHINE, entry.c_str(), L"DisplayIcon", text) && !text.empty());

    // The installed copy at work: a registry scan and clean, backed up beside the installed program.
    SetRecentLastScan();
    ASSERT_EQ(0, SBRegSetStringValueNoExpandW(HKEY_CURRENT_USER, kMuiCache, kSeed, L"gone"));
    {
        QuorvelProcess app;
        ASSERT_TRUE(app.StartProgram(program));
        ASSERT_GE(app.WaitUntilVisible(30000), 0);
        ::CreateDirectoryW((ProgramFolder() + L"artifacts").c_str(), nullptr);
        EXPECT_TRUE(SaveWindowShot(app.MainWindow(), ProgramFolder() + L"artifacts\\installed-program.bmp"));
        ScanAndCleanTheRegistry(app.MainWindow());
        app.Exit();
    }
    EXPECT_FALSE(SeedExists());
    const std::wstring database = std::wstring(kInstalled) + L"regbackup\\regbackup.db";
    EXPECT_TRUE(Exists(database)) << "the backup of the clean is beside the installed program";

    // Start with Windows was on: the removal takes it away with the program's files.
    ASSERT_EQ(0, SBRegSetStringValueNoExpandW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run",
                                              L"Quorvel.exe", (std::wstring(kInstalled) + L"laucher.bat").c_str()));
    WriteUtf16(std::wstring(kInstalled) + L"laucher.bat", L"@start x\r\nexit", false);

    ASSERT_EQ(0u, Msiexec(L"/x \"" + msi + L"\" /qn"));
    EXPECT_FALSE(Exists(program));
    EXPECT_FALSE(Exists(std::wstring(kInstalled) + L"Common.dll"));
    EXPECT_FALSE(StartMenuShortcutExists(CSIDL_COMMON_PROGRAMS));
    EXPECT_FALSE(StartMenuShortcutExists(CSIDL_PROGRAMS));
    EXPECT_TRUE(UninstallEntry().empty());
    EXPECT_FALSE(Exists(std::wstring(kInstalled) + L"laucher.bat"));
    EXPECT_FALSE(SBRegGetStringValueW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run",
                                      L"Quorvel.exe", text));
    EXPECT_TRUE(Exists(database)) << "the registry backup database is the user's: it stays";
}

TEST(InstalledProgram, ThePortableCopyStartsWhereItWasUnpacked)
{
    const std::wstring program = ProgramFolder() + L"artifacts\\portable\\Quorvel\\Quorvel.exe";
    ASSERT_TRUE(Exists(program)) << "the portable zip was not unpacked by tests/package/prepare.sh";
    SetRecentLastScan();
    QuorvelProcess app;
    ASSERT_TRUE(app.StartProgram(program));
    ASSERT_GE(app.WaitUntilVisible(30000), 0);
    app.Exit();
}

}  // namespace
