#include "Tessik/RegMenuMan.h"

#include <Common.h>

#include "TweakRegistry.h"

using tessik::ViewFor;

namespace {

const wchar_t kAdvanced[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced";
const wchar_t kPolicies[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";
const wchar_t kDesktop[] = L"Control Panel\\Desktop";

// "Reads and is not 0".
bool DwordSet(HKEY root, const wchar_t* key, const wchar_t* name)
{
    DWORD data = 0;
    return SBRegGetDWORDValueW(root, key, name, data, ViewFor(root)) && data != 0;
}

bool SetDword(HKEY root, const wchar_t* key, const wchar_t* name, bool on)
{
    return SBRegSetDWORDValueW(root, key, name, on ? 1 : 0, ViewFor(root)) == ERROR_SUCCESS;
}

}  // namespace

CRegMenuMan::CRegMenuMan() { UpdateCurrentSettings(); }

CRegMenuMan::~CRegMenuMan() = default;

void CRegMenuMan::UpdateCurrentSettings()
{
    m_bShowRecentDocs = DwordSet(HKEY_CURRENT_USER, kAdvanced, L"Start_ShowRecentDocs");
    m_bRecentTrack = !DwordSet(HKEY_LOCAL_MACHINE, kPolicies, L"NoRecentDocsHistory");
    m_bClearRecentDocsOnExit = DwordSet(HKEY_LOCAL_MACHINE, kPolicies, L"ClearRecentDocsOnExit");
    m_bMultiPageDisplay = !DwordSet(HKEY_CURRENT_USER, kAdvanced, L"Start_ScrollPrograms");
    std::wstring delay;
    m_bStartMenuSpeed = SBRegGetStringValueW(HKEY_CURRENT_USER, kDesktop, L"MenuShowDelay", delay) && delay == L"0";
    m_bShowRun = DwordSet(HKEY_CURRENT_USER, kAdvanced, L"Start_ShowRun");
}

void CRegMenuMan::EnableRecentDocShow(bool enable)
{
    m_bShowRecentDocs = enable;
    CommitShowRecentDocs();
}

void CRegMenuMan::EnableRecentTrack(bool enable)
{
    m_bRecentTrack = enable;
    CommitRecentTrack();
}

void CRegMenuMan::EnableClearDocsOnExit(bool enable)
{
    m_bClearRecentDocsOnExit = enable;
    CommitClearRecentDocsOnExit();
}

void CRegMenuMan::EnableMultiPageDisplay(bool enable)
{
    m_bMultiPageDisplay = enable;
    CommitMultiPageDisplay();
}

void CRegMenuMan::OptimizeStartMenuSpeed(bool enable)
{
    m_bStartMenuSpeed = enable;
    CommitStartMenuSpeed();
}

void CRegMenuMan::ShowRunOnStartMenu(bool enable)
{
    m_bShowRun = enable;
    CommitShowRun();
}

bool CRegMenuMan::CommitShowRecentDocs()
{
    return SetDword(HKEY_CURRENT_USER, kAdvanced, L"Start_ShowRecentDocs", m_bShowRecentDocs);
}

bool CRegMenuMan::CommitRecentTrack()
{
    return SetDword(HKEY_LOCAL_MACHINE, kPolicies, L"NoRecentDocsHistory", !m_bRecentTrack);
}

bool CRegMenuMan::CommitClearRecentDocsOnExit()
{
    return SetDword(HKEY_LOCAL_MACHINE, kPolicies, L"ClearRecentDocsOnExit", m_bClearRecentDocsOnExit);
}

bool CRegMenuMan::CommitMultiPageDisplay()
{
    return SetDword(HKEY_CURRENT_USER, kAdvanced, L"Start_ScrollPrograms", !m_bMultiPageDisplay);
}

bool CRegMenuMan::CommitStartMenuSpeed()
{
    return SBRegSetStringValueW(HKEY_CURRENT_USER, kDesktop, L"MenuShowDelay", m_bStartMenuSpeed ? L"0" : L"400") ==
           ERROR_SUCCESS;
}

bool CRegMenuMan::CommitShowRun() { return SetDword(HKEY_CURRENT_USER, kAdvanced, L"Start_ShowRun", m_bShowRun); }
