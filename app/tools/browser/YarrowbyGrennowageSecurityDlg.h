// Security tab of the browser page: clears the typed-address list and switches three protections (clear the
// temporary files on exit, no background sounds, no pictures). Each switch shows its state and a button that
// flips it; the tab rereads the stored state after every change.
#pragma once

#include "BrowserPageLogic.h"
#include "ImageButton.h"
#include "YarrowbyGrennowageTabDlg.h"

class CYarrowbyGrennowageSecurityDlg : public CYarrowbyGrennowageTabDlg {
public:
    enum {
        IDC_ADDRESS_GROUP = 52301,
        IDC_ADDRESS_DESCRIPTION = 52302,
        IDC_ADDRESS_NOTICE = 52303,
        IDC_CLEAR = 52304,
        IDC_TEMP_GROUP = 52305,
        IDC_TEMP_PICTURE = 52306,
        IDC_TEMP_DESCRIPTION = 52307,
        IDC_TEMP_STATUS = 52308,
        IDC_TEMP_TOGGLE = 52309,
        IDC_SOUND_GROUP = 52310,
        IDC_SOUND_PICTURE = 52311,
        IDC_SOUND_DESCRIPTION = 52312,
        IDC_SOUND_STATUS = 52313,
        IDC_SOUND_TOGGLE = 52314,
        IDC_IMAGE_GROUP = 52315,
        IDC_IMAGE_PICTURE = 52316,
        IDC_IMAGE_DESCRIPTION = 52317,
        IDC_IMAGE_STATUS = 52318,
        IDC_IMAGE_TOGGLE = 52319,
    };

    void OnInitPage() override;
    void Refresh() override;

protected:
    void OnClearAddresses();
    void OnToggleTemp() { Toggle(BrowserPage::kClearTempOnExit); }
    void OnToggleSound() { Toggle(BrowserPage::kNoBackgroundSounds); }
    void OnToggleImage() { Toggle(BrowserPage::kNoPictures); }
    DECLARE_MESSAGE_MAP()

    void Toggle(BrowserPage::SecurityOption option);

    // Status texts and toggle buttons of the three switches, in the tab's order.
    CStatic m_status[BrowserPage::kSecurityOptionCount];
    CGeneralImageButton m_toggle[BrowserPage::kSecurityOptionCount];
    CGeneralImageButton m_clear;
};
