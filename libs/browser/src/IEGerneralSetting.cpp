#include "Grennow/IEGerneralSetting.h"

#include <windows.h>

#include <Common.h>

#include "RegistryPlaces.h"

using namespace Grennow;

namespace {

const wchar_t kStartPage[] = L"Start Page";
const wchar_t kDownloadDirectory[] = L"Download Directory";
const wchar_t kSaveDirectory[] = L"Save Directory";
const wchar_t kMyPictures[] = L"My Pictures";

typedef LONG (*StringWriter)(HKEY, const wchar_t*, const wchar_t*, const wchar_t*, REGSAM);

// Writes the text and takes it into the cache only when the registry took it.
bool WriteCached(StringWriter write, const wchar_t* key, const wchar_t* value, const wchar_t* text, std::wstring& cache)
{
    if (!text) return false;
    if (write(HKEY_CURRENT_USER, key, value, text, 0) != ERROR_SUCCESS) return false;
    cache = text;
    return true;
}

}  // namespace

CIEGerneralSetting::CIEGerneralSetting() = default;
CIEGerneralSetting::~CIEGerneralSetting() = default;
CIEGerneralSetting::CIEGerneralSetting(const CIEGerneralSetting& other) = default;
CIEGerneralSetting& CIEGerneralSetting::operator=(const CIEGerneralSetting& other) = default;

void CIEGerneralSetting::UpdateCurrentSettings()
{
    SBRegGetStringValueW(HKEY_CURRENT_USER, kMainKey, kStartPage, m_homePage);
    SBRegGetStringValueW(HKEY_CURRENT_USER, kBrowserKey, kDownloadDirectory, m_downloadDir);
    SBRegGetStringValueW(HKEY_CURRENT_USER, kMainKey, kSaveDirectory, m_saveDir);
    SBRegGetStringValueW(HKEY_CURRENT_USER, kShellFoldersKey, kMyPictures, m_pictureDir);
}

bool CIEGerneralSetting::SetIEHomaPage(const wchar_t* page)
{
    // A plain string: a "%" in an address is not an environment reference.
    return WriteCached(SBRegSetStringValueNoExpandW, kMainKey, kStartPage, page, m_homePage);
}

bool CIEGerneralSetting::SetIEDownloadDir(const wchar_t* folder)
{
    return WriteCached(SBRegSetStringValueW, kBrowserKey, kDownloadDirectory, folder, m_downloadDir);
}

bool CIEGerneralSetting::SetIESaveToDir(const wchar_t* folder)
{
    return WriteCached(SBRegSetStringValueW, kMainKey, kSaveDirectory, folder, m_saveDir);
}

bool CIEGerneralSetting::SetIEPictureDir(const wchar_t* folder)
{
    return WriteCached(SBRegSetStringValueW, kShellFoldersKey, kMyPictures, folder, m_pictureDir);
}
