// The browser's start page and its download, save and picture folders for the current user. The object caches
// the four texts: they are read only by UpdateCurrentSettings, and a setter changes its text only after the
// registry took the write.
#pragma once

#include <string>

#include "Grennow/GrennowApi.h"

class GRENNOW_API CIEGerneralSetting {
public:
    // Four empty texts; nothing is read yet.
    CIEGerneralSetting();
    ~CIEGerneralSetting();
    CIEGerneralSetting(const CIEGerneralSetting& other);
    CIEGerneralSetting& operator=(const CIEGerneralSetting& other);

    // Reads the four values (a missing one reads as an empty text).
    void UpdateCurrentSettings();

    const std::wstring& GetIEHomePage() const { return m_homePage; }
    const std::wstring& GetIEDownloadDir() const { return m_downloadDir; }
    const std::wstring& GetIESaveToDir() const { return m_saveDir; }
    const std::wstring& GetIEPictureDir() const { return m_pictureDir; }

    // Each setter writes its value and returns true when the registry took it. A null text writes nothing and
    // returns false. The start page is always stored as a plain string, "%" and all.
    bool SetIEHomaPage(const wchar_t* page);
    bool SetIEDownloadDir(const wchar_t* folder);
    bool SetIESaveToDir(const wchar_t* folder);
    bool SetIEPictureDir(const wchar_t* folder);

private:
    std::wstring m_homePage;
    std::wstring m_downloadDir;
    std::wstring m_saveDir;
    std::wstring m_pictureDir;
};
