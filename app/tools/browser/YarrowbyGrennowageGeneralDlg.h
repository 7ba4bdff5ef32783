// General tab of the browser page: the start page and the download, save and picture folders. Each group's
// Apply writes its edit's text; "Use blank page" and Browse only fill the edit. The stored values are shown each
// time the tab is shown.
#pragma once

#include "ImageButton.h"
#include "YarrowbyGrennowageTabDlg.h"

class CYarrowbyGrennowageGeneralDlg : public CYarrowbyGrennowageTabDlg {
public:
    enum {
        IDC_HOME_GROUP = 52013,
        IDC_HOME_PICTURE = 52014,
        IDC_HOME_USE_BLANK = 52015,
        IDC_HOME_EDIT = 52017,
        IDC_HOME_APPLY = 52018,
        IDC_DOWNLOAD_GROUP = 52019,
        IDC_DOWNLOAD_PICTURE = 52020,
        IDC_DOWNLOAD_BROWSE = 52021,
        IDC_DOWNLOAD_EDIT = 52023,
        IDC_DOWNLOAD_APPLY = 52024,
        IDC_SAVE_GROUP = 52025,
        IDC_SAVE_PICTURE = 52026,
        IDC_SAVE_BROWSE = 52027,
        IDC_SAVE_EDIT = 52029,
        IDC_SAVE_APPLY = 52030,
        IDC_PICTURE_GROUP = 52031,
        IDC_PICTURE_PICTURE = 52032,
        IDC_PICTURE_BROWSE = 52033,
        IDC_PICTURE_EDIT = 52035,
        IDC_PICTURE_APPLY = 52036,
    };
    // The four groups, top to bottom.
    enum Setting { kHomePage = 0, kDownloadDir, kSaveDir, kPictureDir, kSettingCount };

    void OnInitPage() override;
    void Refresh() override;

protected:
    void OnUseBlank();
    void OnApplyHome() { Apply(kHomePage); }
    void OnApplyDownload() { Apply(kDownloadDir); }
    void OnApplySave() { Apply(kSaveDir); }
    void OnApplyPicture() { Apply(kPictureDir); }
    void OnBrowseDownload() { Browse(kDownloadDir); }
    void OnBrowseSave() { Browse(kSaveDir); }
    void OnBrowsePicture() { Browse(kPictureDir); }
    DECLARE_MESSAGE_MAP()

    // Writes the edit's text; tells the user when the registry did not take it.
    void Apply(Setting setting);
    // Lets the user pick a folder (starting at the edit's folder) and puts it into the edit.
    void Browse(Setting setting);

    // Home page, download, save and picture folder, in that order.
    CEdit m_edits[kSettingCount];
    CGeneralImageButton m_buttons[kSettingCount * 2];
};
