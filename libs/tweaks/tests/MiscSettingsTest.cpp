// tessik::CRegMiscOptimizeMan: the six switches and automatic log-on, read and written straight through the registry.
#include <gtest/gtest.h>

#include <QRegistryFixtures.h>
#include <Tessik/RegMiscOptimizeMan.h>

#include "RegFixture.h"

using namespace tessik_test;
using tessik::CRegMiscOptimizeMan;

namespace {

const wchar_t kWinlogon[] = L"Software\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon";

struct Row {
    const char* what;
    HKEY root;
    const wchar_t* key;
    const wchar_t* value;
    bool (CRegMiscOptimizeMan::*get)() const;
    bool (CRegMiscOptimizeMan::*set)(bool);
    bool isText;
    const wchar_t* forTrue;  // stored text, or the DWORD as text
    const wchar_t* forFalse;
    bool whenMissing;
};

const Row kRows[] = {
    {"restart on error", HKEY_LOCAL_MACHINE, L"System\\CurrentControlSet\\Control\\CrashControl", L"AutoReboot",
     &CRegMiscOptimizeMan::GetRestartWindowWhenError, &CRegMiscOptimizeMan::SetRestartWindowWhenError, false, L"1",
     L"0", true},
    {"end hung programs", HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"AutoEndTask",
     &CRegMiscOptimizeMan::GetEndUnrespApp, &CRegMiscOptimizeMan::SetEndUnrespApp, true, L"1", L"0", false},
    {"fast shut-down", HKEY_LOCAL_MACHINE, L"System\\CurrentControlSet\\Control", L"WaitToKillServiceTimeout",
     &CRegMiscOptimizeMan::GetAccelerateTurnOff, &CRegMiscOptimizeMan::SetAccelerateTurnOff, true, L"0", L"2000",
     false},
    {"auto-run off", HKEY_LOCAL_MACHINE, L"System\\CurrentControlSet\\Services\\cdrom", L"AutoRun",
     &CRegMiscOptimizeMan::GetDisableAutoPlay, &CRegMiscOptimizeMan::SetDisableAutoPlay, false, L"0", L"1", true},
    {"error reports off", HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\PCHealth\\ErrorReporting", L"DoReport",
     &CRegMiscOptimizeMan::GetDisableErrReport, &CRegMiscOptimizeMan::SetDisableErrReport, false, L"0", L"1", false},
    {"low-disk warning off", HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer",
     L"NoLowDiskSpaceChecks", &CRegMiscOptimizeMan::GetDisableLowDiskWarn, &CRegMiscOptimizeMan::SetDisableLowDiskWarn,
     false, L"1", L"0", false},
};

TEST(MiscSettings, EverySwitchRoundTripsWithItsExactValue)
{
    for (const Row& row : kRows) {
        DeleteValue(row.root, row.key, row.value);
        EXPECT_EQ(row.whenMissing, (CRegMiscOptimizeMan().*row.get)()) << row.what;
        for (bool on : {true, false}) {
            EXPECT_TRUE((CRegMiscOptimizeMan().*row.set)(on)) << row.what;
            RawValue v = ReadRaw(row.root, row.key, row.value);
            const std::wstring expected = on ? row.forTrue : row.forFalse;
            if (row.isText) {
                EXPECT_EQ(DWORD(REG_SZ), v.type) << row.what;
                EXPECT_EQ(expected, v.Text()) << row.what;
            } else {
                EXPECT_EQ(DWORD(REG_DWORD), v.type) << row.what;
                EXPECT_EQ(std::to_wstring(v.Dword()), expected) << row.what;
            }
            EXPECT_EQ(on, (CRegMiscOptimizeMan().*row.get)()) << row.what;
        }
    }
}

TEST(MiscSettings, ValuesOutsideTheTwoStatesReadAsOff)
{
    const wchar_t crash[] = L"System\\CurrentControlSet\\Control\\CrashControl";
    SetDword(HKEY_LOCAL_MACHINE, crash, L"AutoReboot", 2);
    EXPECT_FALSE(CRegMiscOptimizeMan().GetRestartWindowWhenError());
    SetText(HKEY_LOCAL_MACHINE, L"System\\CurrentControlSet\\Control", L"WaitToKillServiceTimeout", L"5000");
    EXPECT_FALSE(CRegMiscOptimizeMan().GetAccelerateTurnOff());
}

TEST(MiscSettings, AutoLogonOnStoresTheAccountOffDeletesThePasswordOnly)
{
    CRegMiscOptimizeMan man;
    ASSERT_TRUE(man.EnableAutoLogon(L"u", L"p \x00e9"));
    EXPECT_EQ(L"1", ReadRaw(HKEY_LOCAL_MACHINE, kWinlogon, L"AutoAdminLogon").Text());
    EXPECT_EQ(L"u", ReadRaw(HKEY_LOCAL_MACHINE, kWinlogon, L"DefaultUserName").Text());
    EXPECT_EQ(L"p \x00e9", ReadRaw(HKEY_LOCAL_MACHINE, kWinlogon, L"DefaultPassword").Text());
    std::wstring user = L"x", password = L"y";
    EXPECT_TRUE(CRegMiscOptimizeMan().GetEnableAutoLogon(user, password));
    EXPECT_EQ(L"u", user);
    EXPECT_EQ(L"p \x00e9", password);

    ASSERT_TRUE(man.DisableAutoLogon());
    EXPECT_EQ(L"0", ReadRaw(HKEY_LOCAL_MACHINE, kWinlogon, L"AutoAdminLogon").Text());
    EXPECT_FALSE(ReadRaw(HKEY_LOCAL_MACHINE, kWinlogon, L"DefaultPassword").exists);
    EXPECT_EQ(L"u", ReadRaw(HKEY_LOCAL_MACHINE, kWinlogon, L"DefaultUserName").Text());
    user = L"sentinel";
    password = L"sentinel";
    EXPECT_FALSE(CRegMiscOptimizeMan().GetEnableAutoLogon(user, password));
    EXPECT_EQ(L"sentinel", user);
    EXPECT_EQ(L"sentinel", password);

    // Off twice: the password is already gone, which is what was asked.
    EXPECT_TRUE(man.DisableAutoLogon());
}

TEST(MiscSettings, AutoLogonStaysOffWhenTheAccountCannotBeStored)
{
    SetText(HKEY_LOCAL_MACHINE, kWinlogon, L"AutoAdminLogon", L"0");
    {
        shell_test::LockedKey locked(HKEY_LOCAL_MACHINE, kWinlogon);
        if (!locked.locked()) GTEST_SKIP() << "key rights cannot be taken away here";
        EXPECT_FALSE(CRegMiscOptimizeMan().EnableAutoLogon(L"u", L"p"));
    }
    EXPECT_EQ(L"0", ReadRaw(HKEY_LOCAL_MACHINE, kWinlogon, L"AutoAdminLogon").Text());
}

TEST(MiscSettings, EmptyAccountIsWrittenAsEmptyStrings)
{
    ASSERT_TRUE(CRegMiscOptimizeMan().EnableAutoLogon(L"", L""));
    RawValue password = ReadRaw(HKEY_LOCAL_MACHINE, kWinlogon, L"DefaultPassword");
    EXPECT_TRUE(password.exists);
    EXPECT_EQ(L"", password.Text());
    EXPECT_EQ(L"", ReadRaw(HKEY_LOCAL_MACHINE, kWinlogon, L"DefaultUserName").Text());
    CRegMiscOptimizeMan().DisableAutoLogon();
}

}  // namespace
