// Three privacy switches of the browser for the current user (empty the cache on exit, play background sounds,
// show pictures) and the list of typed addresses. The three switches are read when the object is built.
#pragma once

#include "Grennow/GrennowApi.h"

class GRENNOW_API CIESecurityMan {
public:
    // Reads the three switches.
    CIESecurityMan();
    ~CIESecurityMan();
    CIESecurityMan(const CIESecurityMan& other) = default;
    CIESecurityMan& operator=(const CIESecurityMan& other) = default;

    // Reads the three switches again. A missing "Persistent" counts as "keep the cache"; a missing or empty sound or
    // picture text counts as on (only exactly "no" is off).
    void UpdateCurrentSettings();

    bool GetIsClearTmpExitIE() const { return m_bClearTmpExitIE; }
    bool GetIsPlayBkgndSound() const { return m_bPlayBkgndSound; }
    bool GetIsDisplayImage() const { return m_bDisplayImage; }

    // Each returns true when the registry took the write. Only EnableClearTmpExitIE updates the cached switch (and
    // only then); the other two leave the cache as read.
    bool EnableClearTmpExitIE(bool on);
    bool EnablePlayBkgndSound(bool on);
    bool EnableDisplayImage(bool on);
    // Deletes every typed address; the key itself stays. True when nothing is left (also when there was none).
    bool ClearIEAddressList();

private:
    // The program reads these three by position: they stay the first members, one byte each, in this order.
    bool m_bClearTmpExitIE;
    bool m_bPlayBkgndSound;
    bool m_bDisplayImage;
};
