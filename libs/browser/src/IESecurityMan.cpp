#include "Grennow/IESecurityMan.h"

#include <windows.h>

#include <cstddef>
#include <string>

#include <Common.h>

#include "RegistryPlaces.h"

using namespace Grennow;

namespace {

const wchar_t kPersistent[] = L"Persistent";
const wchar_t kPlaySounds[] = L"Play_Background_Sounds";
const wchar_t kShowImages[] = L"Display Inline Images";

// A yes/no switch of the browser: anything but exactly "no" (a missing value included) is on.
bool ReadYesNo(const wchar_t* value)
{
    std::wstring text;
    SBRegGetStringValueW(HKEY_CURRENT_USER, kMainKey, value, text);
    return text != L"no";
}

bool WriteYesNo(const wchar_t* value, bool on)
{
    return SBRegSetStringValueW(HKEY_CURRENT_USER, kMainKey, value, on ? L"yes" : L"no") == ERROR_SUCCESS;
}

}  // namespace

CIESecurityMan::CIESecurityMan() : m_bClearTmpExitIE(false), m_bPlayBkgndSound(false), m_bDisplayImage(false)
{
    UpdateCurrentSettings();
}

CIESecurityMan::~CIESecurityMan() = default;

void CIESecurityMan::UpdateCurrentSettings()
{
    static_assert(offsetof(CIESecurityMan, m_bClearTmpExitIE) == 0 &&
                      offsetof(CIESecurityMan, m_bPlayBkgndSound) == 1 &&
                      offsetof(CIESecurityMan, m_bDisplayImage) == 2 && sizeof(CIESecurityMan) == 3,
                  "the program reads the three switches by position");
    DWORD persistent = 1;
    m_bClearTmpExitIE = SBRegGetDWORDValueW(HKEY_CURRENT_USER, kCacheKey, kPersistent, persistent) && persistent == 0;
    m_bPlayBkgndSound = ReadYesNo(kPlaySounds);
    m_bDisplayImage = ReadYesNo(kShowImages);
}

bool CIESecurityMan::EnableClearTmpExitIE(bool on)
{
    if (SBRegSetDWORDValueW(HKEY_CURRENT_USER, kCacheKey, kPersistent, on ? 0 : 1) != ERROR_SUCCESS) return false;
    m_bClearTmpExitIE = on;
    return true;
}

bool CIESecurityMan::EnablePlayBkgndSound(bool on) { return WriteYesNo(kPlaySounds, on); }

bool CIESecurityMan::EnableDisplayImage(bool on) { return WriteYesNo(kShowImages, on); }

bool CIESecurityMan::ClearIEAddressList()
{
    LONG status = SBRegClearValuesW(HKEY_CURRENT_USER, kTypedUrlsKey);
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}
