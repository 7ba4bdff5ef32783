// CRegMenuMan: the six start-menu settings through a fresh object, with the raw values they write.
#include <gtest/gtest.h>

#include <Tessik/RegMenuMan.h>

#include "RegFixture.h"

using namespace tessik_test;

namespace {

const wchar_t kAdvanced[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced";
const wchar_t kPolicies[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";
const wchar_t kDesktop[] = L"Control Panel\\Desktop";

struct DwordRow {
    const char* what;
    HKEY root;
    const wchar_t* key;
    const wchar_t* value;
    void (CRegMenuMan::*set)(bool);
    bool (CRegMenuMan::*get)() const;
    DWORD writtenForTrue;
    bool getterForTrue;  // what the getter says after set(true)
    bool getterWhenMissing;
};

const DwordRow kRows[] = {
    {"show recent", HKEY_CURRENT_USER, kAdvanced, L"Start_ShowRecentDocs", &CRegMenuMan::EnableRecentDocShow,
     &CRegMenuMan::IsShowRecentDoc, 1, true, false},
    {"track recent", HKEY_LOCAL_MACHINE, kPolicies, L"NoRecentDocsHistory", &CRegMenuMan::EnableRecentTrack,
     &CRegMenuMan::IsDisableRecentTrack, 0, false, false},
    {"clear on exit", HKEY_LOCAL_MACHINE, kPolicies, L"ClearRecentDocsOnExit", &CRegMenuMan::EnableClearDocsOnExit,
     &CRegMenuMan::IsClearRecentDocsOnExit, 1, true, false},
    {"several pages", HKEY_CURRENT_USER, kAdvanced, L"Start_ScrollPrograms", &CRegMenuMan::EnableMultiPageDisplay,
     &CRegMenuMan::IsMultiPageDisplay, 0, true, true},
    {"show run", HKEY_CURRENT_USER, kAdvanced, L"Start_ShowRun", &CRegMenuMan::ShowRunOnStartMenu,
     &CRegMenuMan::IsShowRun, 1, true, false},
};

TEST(MenuSettings, DwordSettingsRoundTrip)
{
    for (const DwordRow& row : kRows) {
        DeleteValue(row.root, row.key, row.value);
        EXPECT_EQ(row.getterWhenMissing, (CRegMenuMan().*row.get)()) << row.what;
        for (bool on : {true, false}) {
            CRegMenuMan man;
            (man.*row.set)(on);
            EXPECT_EQ(on == row.getterForTrue, (man.*row.get)()) << row.what;  // cached at once
            RawValue v = ReadRaw(row.root, row.key, row.value);
            EXPECT_EQ(DWORD(REG_DWORD), v.type) << row.what;
            EXPECT_EQ(on ? row.writtenForTrue : 1 - row.writtenForTrue, v.Dword()) << row.what;
            EXPECT_EQ(on == row.getterForTrue, (CRegMenuMan().*row.get)()) << row.what;
        }
    }
}

TEST(MenuSettings, StartMenuDelayIsAStringOfZeroOrFourHundred)
{
    SetText(HKEY_CURRENT_USER, kDesktop, L"MenuShowDelay", L"400");
    EXPECT_FALSE(CRegMenuMan().IsStartMenuSpeedOptimized());
    CRegMenuMan().OptimizeStartMenuSpeed(true);
    RawValue v = ReadRaw(HKEY_CURRENT_USER, kDesktop, L"MenuShowDelay");
    EXPECT_EQ(DWORD(REG_SZ), v.type);
    EXPECT_EQ(L"0", v.Text());
    EXPECT_TRUE(CRegMenuMan().IsStartMenuSpeedOptimized());
    CRegMenuMan().OptimizeStartMenuSpeed(false);
    EXPECT_EQ(L"400", ReadRaw(HKEY_CURRENT_USER, kDesktop, L"MenuShowDelay").Text());
    EXPECT_FALSE(CRegMenuMan().IsStartMenuSpeedOptimized());
}

TEST(MenuSettings, TrackingOffReadsAsDisabled)
{
    CRegMenuMan man;
    man.EnableRecentTrack(false);
    EXPECT_TRUE(man.IsDisableRecentTrack());
    EXPECT_EQ(1u, ReadRaw(HKEY_LOCAL_MACHINE, kPolicies, L"NoRecentDocsHistory").Dword());
}

}  // namespace
