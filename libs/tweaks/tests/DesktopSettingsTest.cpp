// CRegDesktopMan: each setting read from a fixture state, written, and read back through a fresh object with the
// exact values and types in the registry.
#include <gtest/gtest.h>

#include <Tessik/RegDesktopMan.h>

#include "RegFixture.h"

using namespace tessik_test;

namespace {

const wchar_t kExplorer[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer";
const wchar_t kAdvanced[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced";
const wchar_t kTips[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\tips";
const wchar_t kNewWindow[] = L"SOFTWARE\\Classes\\Directory\\shell\\NewWindow";
const wchar_t kWinlogon[] = L"Software\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon";

TEST(DesktopSettings, ShortcutArrowIsStoredInverted)
{
    SetText(HKEY_CLASSES_ROOT, L"lnkfile", L"IsShortcut", L"yes");
    EXPECT_FALSE(CRegDesktopMan().GetIsRemoveShortcutArrow());

    CRegDesktopMan().EnableRemoveShortcutArrow(true);
    EXPECT_FALSE(ReadRaw(HKEY_CLASSES_ROOT, L"lnkfile", L"IsShortcut").exists);
    EXPECT_TRUE(CRegDesktopMan().GetIsRemoveShortcutArrow());

    CRegDesktopMan().EnableRemoveShortcutArrow(false);
    RawValue v = ReadRaw(HKEY_CLASSES_ROOT, L"lnkfile", L"IsShortcut");
    EXPECT_TRUE(v.exists);
    EXPECT_EQ(DWORD(REG_SZ), v.type);
    EXPECT_EQ(L"", v.Text());
    EXPECT_FALSE(CRegDesktopMan().GetIsRemoveShortcutArrow());
}

TEST(DesktopSettings, ShortcutTextReadsTheFirstByteOfLink)
{
    struct {
        bool present;
        std::vector<BYTE> data;
        bool removed;
    } cases[] = {
        {false, {}, false},
        {true, {0x11, 0, 0, 0}, false},
        {true, {0x00, 0, 0, 0}, true},
        {true, {0x01, 0, 0, 0}, true},
    };
    for (const auto& c : cases) {
        DeleteValue(HKEY_CURRENT_USER, kExplorer, L"link");
        if (c.present) SetBinary(HKEY_CURRENT_USER, kExplorer, L"link", c.data);
        EXPECT_EQ(c.removed, CRegDesktopMan().GetIsRemoveShortcutText()) << c.present << " " << int(c.data.size());
    }
    for (bool on : {true, false}) {
        CRegDesktopMan().EnableRemoveShortcutText(on);
        RawValue v = ReadRaw(HKEY_CURRENT_USER, kExplorer, L"link");
        EXPECT_EQ(DWORD(REG_BINARY), v.type);
        EXPECT_EQ((std::vector<BYTE>{BYTE(on ? 0x00 : 0x11), 0, 0, 0}), v.data);
        EXPECT_EQ(on, CRegDesktopMan().GetIsRemoveShortcutText());
    }
}

TEST(DesktopSettings, NewWindowVerbIsCreatedWithItsCommandAndRemovedWhole)
{
    DeleteTree(HKEY_LOCAL_MACHINE, kNewWindow);
    EXPECT_FALSE(CRegDesktopMan().GetHasNewWindowShellCommand());

    CRegDesktopMan().EnableNewWindowShellCommand(true);
    EXPECT_EQ(L"Open In New Window", ReadRaw(HKEY_LOCAL_MACHINE, kNewWindow, nullptr).Text());
    RawValue command = ReadRaw(HKEY_LOCAL_MACHINE, std::wstring(kNewWindow) + L"\\command", nullptr);
    EXPECT_EQ(DWORD(REG_SZ), command.type);
    EXPECT_EQ(L"explorer.exe", command.Text());
    EXPECT_TRUE(CRegDesktopMan().GetHasNewWindowShellCommand());

    CRegDesktopMan().EnableNewWindowShellCommand(false);
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kNewWindow));
    EXPECT_FALSE(CRegDesktopMan().GetHasNewWindowShellCommand());
}

TEST(DesktopSettings, BalloonTipsWriteAllFiveValues)
{
    DeleteValue(HKEY_CURRENT_USER, kAdvanced, L"EnableBalloonTips");
    EXPECT_TRUE(CRegDesktopMan().GetIsBallonTipsEnabled());  // missing reads as on
    for (bool on : {false, true}) {
        CRegDesktopMan().EnableBallonTips(on);
        for (const wchar_t* name :
             {L"EnableBalloonTips", L"StartButtonBalloonTip", L"ShowInfoTip", L"FolderContentsInfoTip"})
            EXPECT_EQ(DWORD(on), ReadRaw(HKEY_CURRENT_USER, kAdvanced, name).Dword()) << name;
        EXPECT_EQ(DWORD(on), ReadRaw(HKEY_CURRENT_USER, kTips, L"Show").Dword());
        EXPECT_EQ(on, CRegDesktopMan().GetIsBallonTipsEnabled());
    }
}

TEST(DesktopSettings, ThumbnailCacheAndExplorerRestartDefaultToOn)
{
    DeleteValue(HKEY_CURRENT_USER, kAdvanced, L"DisableThumbnailCache");
    DeleteValue(HKEY_LOCAL_MACHINE, kWinlogon, L"AutoRestartShell");
    EXPECT_TRUE(CRegDesktopMan().GetIsCacheThumbnail());
    EXPECT_TRUE(CRegDesktopMan().GetIsRestartExplorerAfterCrash());

    for (bool on : {false, true}) {
        CRegDesktopMan man;
        man.EnableCasheThumbnail(on);
        man.EnableRestartExplorerAfterCrash(on);
        EXPECT_EQ(DWORD(on ? 0 : 1), ReadRaw(HKEY_CURRENT_USER, kAdvanced, L"DisableThumbnailCache").Dword());
        EXPECT_EQ(DWORD(on ? 1 : 0), ReadRaw(HKEY_LOCAL_MACHINE, kWinlogon, L"AutoRestartShell").Dword());
        CRegDesktopMan fresh;
        EXPECT_EQ(on, fresh.GetIsCacheThumbnail());
        EXPECT_EQ(on, fresh.GetIsRestartExplorerAfterCrash());
    }
}

TEST(DesktopSettings, GettersReturnTheLastSetStateWithoutReading)
{
    CRegDesktopMan man;
    man.EnableRemoveShortcutArrow(true);
    SetText(HKEY_CLASSES_ROOT, L"lnkfile", L"IsShortcut", L"yes");  // changed outside
    EXPECT_TRUE(man.GetIsRemoveShortcutArrow());
    man.UpdateCurrentSettings();
    EXPECT_FALSE(man.GetIsRemoveShortcutArrow());
}

}  // namespace
