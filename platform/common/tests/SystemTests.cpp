// Windows version, WOW64, services and DLL self-registration.
#include "TestSupport.h"

using namespace common_test;

namespace {

// Runs a program of the build's folder and returns its exit code (or -1).
int RunProgram(const std::wstring& name)
{
    std::wstring command = L"\"" + SBGetAppPathW() + name + L"\"";
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return -1;
    DWORD code = static_cast<DWORD>(-1);
    if (WaitForSingleObject(pi.hProcess, 30000) == WAIT_OBJECT_0) GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return static_cast<int>(code);
}

TEST(OsVersion, ThisProcess)
{
    int kind = -1;
    bool is64 = false;
    ASSERT_TRUE(GetOSVersion(kind, is64));
    EXPECT_TRUE(kind == SB_OS_WIN7 || kind == SB_OS_VISTA || kind == SB_OS_XP) << kind;
#ifdef _WIN64
    EXPECT_TRUE(is64);
    EXPECT_FALSE(IsWow64());
#endif
}

TEST(OsVersion, KindPerReportedWindowsVersion)
{
    // Wine reports the version configured for the program in its AppDefaults key.
    const std::wstring key = L"Software\\Wine\\AppDefaults\\CommonOsProbe.exe";
    struct Case {
        const wchar_t* wineVersion;
        int kind;
    } cases[] = {
        {L"winxp64", SB_OS_XP},
        {L"vista", SB_OS_VISTA},
        {L"win7", SB_OS_WIN7},
        {L"win10", SB_OS_WIN7},
    };
    for (const Case& c : cases) {
        RawSetString(HKEY_CURRENT_USER, key, L"Version", REG_SZ, c.wineVersion);
        EXPECT_EQ(c.kind * 10 + 1, RunProgram(L"CommonOsProbe.exe")) << c.wineVersion;
    }
    RawDeleteTree(HKEY_CURRENT_USER, key);
}

TEST(DllRegistration, CallsTheLibrarysOwnEntry)
{
    const std::wstring key = std::wstring(TestKeyBase()) + L"\\Registration";
    RawDeleteTree(HKEY_CURRENT_USER, key);
    const std::wstring app = SBGetAppPathW();
    EXPECT_TRUE(SBRegisterDll((app + L"CommonVersioned.dll").c_str()));
    DWORD registered = 0;
    EXPECT_TRUE(SBRegGetDWORDValueW(HKEY_CURRENT_USER, key.c_str(), L"Registered", registered));
    EXPECT_EQ(1u, registered);
    RawDeleteTree(HKEY_CURRENT_USER, key);

    EXPECT_FALSE(SBRegisterDll((app + L"CommonFixedVersion.dll").c_str()));  // no registration entry
    EXPECT_FALSE(SBRegisterDll((app + L"missing-library.dll").c_str()));
    EXPECT_FALSE(SBRegisterDll(L""));
    EXPECT_FALSE(SBRegisterDll(nullptr));
}

}  // namespace

namespace {

TEST(Services, StartByDisplayNameAndQueryRunning)
{
    // Demand-start services of the prefix; display names may come wrapped in quotes.
    struct Case {
        const wchar_t* startName;
        const wchar_t* keyName;
        const wchar_t* displayName;
    } cases[] = {
        {L"\"Automatic Updates\"", L"wuauserv", L"Automatic Updates"},
        {L"Spooler", L"Spooler", L"Print Spooler"},  // a key name is accepted too
    };
    for (const Case& c : cases) {
        EXPECT_FALSE(SBIsSvcRunW(c.keyName)) << c.keyName << " ran before the test";
        EXPECT_TRUE(SBStartServiceW(c.startName)) << c.keyName;
        EXPECT_TRUE(SBIsSvcRunW(c.keyName)) << c.keyName;
        EXPECT_TRUE(SBIsSvcRunW(c.displayName)) << c.keyName;
        EXPECT_TRUE(SBStartServiceW(c.startName)) << c.keyName << " already running";
    }
    for (const wchar_t* missing : {L"Quorvel No Such Service", L"\"\"", L""}) {
        EXPECT_FALSE(SBStartServiceW(missing)) << missing;
        EXPECT_FALSE(SBIsSvcRunW(missing)) << missing;
    }
    EXPECT_FALSE(SBStartServiceW(nullptr));
    EXPECT_FALSE(SBIsSvcRunW(nullptr));
}

}  // namespace
