#include "Tessik/RegDesktopMan.h"

#include <Common.h>

#include "TweakRegistry.h"

using tessik::ViewFor;

namespace {

const wchar_t kLnkFile[] = L"lnkfile";
const wchar_t kExplorer[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer";
const wchar_t kAdvanced[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced";
const wchar_t kTips[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\tips";
const wchar_t kNewWindow[] = L"SOFTWARE\\Classes\\Directory\\shell\\NewWindow";
const wchar_t kNewWindowCommand[] = L"SOFTWARE\\Classes\\Directory\\shell\\NewWindow\\command";
const wchar_t kWinlogon[] = L"Software\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon";

// A DWORD that "does not read as `value`": missing or unreadable counts as not equal.
bool DwordIsNot(HKEY root, const wchar_t* key, const wchar_t* name, DWORD value)
{
    DWORD data = 0;
    return !SBRegGetDWORDValueW(root, key, name, data, ViewFor(root)) || data != value;
}

bool SetDword(HKEY root, const wchar_t* key, const wchar_t* name, DWORD data)
{
    return SBRegSetDWORDValueW(root, key, name, data, ViewFor(root)) == ERROR_SUCCESS;
}

}  // namespace

CRegDesktopMan::CRegDesktopMan() { UpdateCurrentSettings(); }

CRegDesktopMan::~CRegDesktopMan() = default;

void CRegDesktopMan::UpdateCurrentSettings()
{
    std::wstring text;
    m_bRemoveShortcutArrow = !SBRegGetStringValueW(HKEY_CLASSES_ROOT, kLnkFile, L"IsShortcut", text);

    BYTE link[1024];
    DWORD size = sizeof(link);
    m_bRemoveShortcutText =
        SBRegGetBinValueW(HKEY_CURRENT_USER, kExplorer, L"link", link, size) && size > 0 && link[0] != 0x11;

    m_bNewWindowShellCommand = SBRegKeyExistW(HKEY_LOCAL_MACHINE, kNewWindow, ViewFor(HKEY_LOCAL_MACHINE));
    m_bBallonTips = DwordIsNot(HKEY_CURRENT_USER, kAdvanced, L"EnableBalloonTips", 0);
    m_bCacheThumbnail = DwordIsNot(HKEY_CURRENT_USER, kAdvanced, L"DisableThumbnailCache", 1);
    m_bRestartExplorerAfterCrash = DwordIsNot(HKEY_LOCAL_MACHINE, kWinlogon, L"AutoRestartShell", 0);
}

void CRegDesktopMan::EnableRemoveShortcutArrow(bool enable)
{
    m_bRemoveShortcutArrow = enable;
    CommitRemoveShortcutArrow();
}

void CRegDesktopMan::EnableRemoveShortcutText(bool enable)
{
    m_bRemoveShortcutText = enable;
    CommitRemoveShortcutText();
}

void CRegDesktopMan::EnableNewWindowShellCommand(bool enable)
{
    m_bNewWindowShellCommand = enable;
    CommitNewWindowShellCommand();
}

void CRegDesktopMan::EnableBallonTips(bool enable)
{
    m_bBallonTips = enable;
    CommitEnableBallonTips();
}

void CRegDesktopMan::EnableCasheThumbnail(bool enable)
{
    m_bCacheThumbnail = enable;
    CommitCasheThumbnail();
}

void CRegDesktopMan::EnableRestartExplorerAfterCrash(bool enable)
{
    m_bRestartExplorerAfterCrash = enable;
    CommitRestartExplorerAfterCrash();
}

bool CRegDesktopMan::CommitRemoveShortcutArrow()
{
    // Stored inverted: the arrow goes when "IsShortcut" goes.
    if (m_bRemoveShortcutArrow) {
        LONG status = SBRegDeleteValueW(HKEY_CLASSES_ROOT, kLnkFile, L"IsShortcut");
        return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
    }
    return SBRegSetStringValueW(HKEY_CLASSES_ROOT, kLnkFile, L"IsShortcut", L"") == ERROR_SUCCESS;
}

bool CRegDesktopMan::CommitRemoveShortcutText()
{
    const BYTE data[4] = {static_cast<BYTE>(m_bRemoveShortcutText ? 0x00 : 0x11), 0, 0, 0};
    return SBRegSetBinValueW(HKEY_CURRENT_USER, kExplorer, L"link", data, sizeof(data)) == ERROR_SUCCESS;
}

bool CRegDesktopMan::CommitNewWindowShellCommand()
{
    const REGSAM view = ViewFor(HKEY_LOCAL_MACHINE);
    if (!m_bNewWindowShellCommand) {
        LONG status = SBRegDeleteTreeW(HKEY_LOCAL_MACHINE, kNewWindow, view);
        return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
    }
    if (SBRegSetStringValueW(HKEY_LOCAL_MACHINE, kNewWindow, nullptr, L"Open In New Window", view) != ERROR_SUCCESS)
        return false;
    return SBRegSetStringValueW(HKEY_LOCAL_MACHINE, kNewWindowCommand, nullptr, L"explorer.exe", view) == ERROR_SUCCESS;
}

bool CRegDesktopMan::CommitEnableBallonTips()
{
    const DWORD data = m_bBallonTips ? 1 : 0;
    return SetDword(HKEY_CURRENT_USER, kAdvanced, L"EnableBalloonTips", data) &&
           SetDword(HKEY_CURRENT_USER, kAdvanced, L"StartButtonBalloonTip", data) &&
           SetDword(HKEY_CURRENT_USER, kAdvanced, L"ShowInfoTip", data) &&
           SetDword(HKEY_CURRENT_USER, kAdvanced, L"FolderContentsInfoTip", data) &&
           SetDword(HKEY_CURRENT_USER, kTips, L"Show", data);
}

bool CRegDesktopMan::CommitCasheThumbnail()
{
    return SetDword(HKEY_CURRENT_USER, kAdvanced, L"DisableThumbnailCache", m_bCacheThumbnail ? 0 : 1);
}

bool CRegDesktopMan::CommitRestartExplorerAfterCrash()
{
    return SetDword(HKEY_LOCAL_MACHINE, kWinlogon, L"AutoRestartShell", m_bRestartExplorerAfterCrash ? 1 : 0);
}
