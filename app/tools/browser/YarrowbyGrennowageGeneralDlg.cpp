#include "YarrowbyGrennowageGeneralDlg.h"

#include <Grennow.h>

#include "BrowserPageLogic.h"
#include "controls/FolderDialog.h"

typedef CYarrowbyGrennowageGeneralDlg CGeneralTab;

namespace {

// One group of the tab: its controls and texts.
const struct Group {
    int box, picture, edit, apply, other;
    const wchar_t* boxKey;
    const wchar_t* descriptionKey;
    const wchar_t* captionKey;
    const wchar_t* otherKey;  // "use blank page" or "browse"
    UINT bitmap;
} kGroups[CGeneralTab::kSettingCount] = {
    {CGeneralTab::IDC_HOME_GROUP, CGeneralTab::IDC_HOME_PICTURE, CGeneralTab::IDC_HOME_EDIT,
     CGeneralTab::IDC_HOME_APPLY, CGeneralTab::IDC_HOME_USE_BLANK, L"IDS_SYS_TOOLS_IE_GENERAL_GROUPBOX_HOME_PAGE",
     L"IDS_SYS_TOOLS_IE_GENERAL_HOMEPAGE_DESCRIPTION", L"IDS_SYS_TOOLS_IE_GENERAL_HOMEPAGE_CAPTION",
     L"IDS_SYS_TOOLS_IE_GENERAL_HOMEPAGE_BUTTON_USEBLANK", 1550},
    {CGeneralTab::IDC_DOWNLOAD_GROUP, CGeneralTab::IDC_DOWNLOAD_PICTURE, CGeneralTab::IDC_DOWNLOAD_EDIT,
     CGeneralTab::IDC_DOWNLOAD_APPLY, CGeneralTab::IDC_DOWNLOAD_BROWSE,
     L"IDS_SYS_TOOLS_IE_GENERAL_GROUPBOX_DOWNLOAD_DIR", L"IDS_SYS_TOOLS_IE_GENERAL_DOWNLOAD_DIR_DESCRIPTION",
     L"IDS_SYS_TOOLS_IE_GENERAL_DOWNLOAD_DIR_CAPTION", L"IDS_SYS_TOOLS_IE_GENERAL_BROWSE", 1551},
    {CGeneralTab::IDC_SAVE_GROUP, CGeneralTab::IDC_SAVE_PICTURE, CGeneralTab::IDC_SAVE_EDIT,
     CGeneralTab::IDC_SAVE_APPLY, CGeneralTab::IDC_SAVE_BROWSE, L"IDS_SYS_TOOLS_IE_GENERAL_GROUPBOX_SAVETO_DIR",
     L"IDS_SYS_TOOLS_IE_GENERAL_SAVEAS_DESCRIPTION", L"IDS_SYS_TOOLS_IE_GENERAL_SAVEAS_CAPTION",
     L"IDS_SYS_TOOLS_IE_GENERAL_BROWSE", 1552},
    {CGeneralTab::IDC_PICTURE_GROUP, CGeneralTab::IDC_PICTURE_PICTURE, CGeneralTab::IDC_PICTURE_EDIT,
     CGeneralTab::IDC_PICTURE_APPLY, CGeneralTab::IDC_PICTURE_BROWSE, L"IDS_SYS_TOOLS_IE_GENERAL_GROUPBOX_PIC_DIR",
     L"IDS_SYS_TOOLS_IE_GENERAL_PICTURE_DIR_DESCRIPTION", L"IDS_SYS_TOOLS_IE_GENERAL_PICTURE_DIR_CAPTION",
     L"IDS_SYS_TOOLS_IE_GENERAL_BROWSE", 1553},
};

const int kLeft = 16, kRight = 721, kTop = 4, kGroupH = 112, kGroupGap = 8;

CString EditText(const CEdit& edit)
{
    CString text;
    edit.GetWindowText(text);
    return text;
}

}  // namespace

BEGIN_MESSAGE_MAP(CYarrowbyGrennowageGeneralDlg, CYarrowbyGrennowageTabDlg)
    ON_BN_CLICKED(CGeneralTab::IDC_HOME_APPLY, &CGeneralTab::OnApplyHome)
    ON_BN_CLICKED(CGeneralTab::IDC_HOME_USE_BLANK, &CGeneralTab::OnUseBlank)
    ON_BN_CLICKED(CGeneralTab::IDC_DOWNLOAD_APPLY, &CGeneralTab::OnApplyDownload)
    ON_BN_CLICKED(CGeneralTab::IDC_SAVE_APPLY, &CGeneralTab::OnApplySave)
    ON_BN_CLICKED(CGeneralTab::IDC_PICTURE_APPLY, &CGeneralTab::OnApplyPicture)
    ON_BN_CLICKED(CGeneralTab::IDC_DOWNLOAD_BROWSE, &CGeneralTab::OnBrowseDownload)
    ON_BN_CLICKED(CGeneralTab::IDC_SAVE_BROWSE, &CGeneralTab::OnBrowseSave)
    ON_BN_CLICKED(CGeneralTab::IDC_PICTURE_BROWSE, &CGeneralTab::OnBrowsePicture)
END_MESSAGE_MAP()

void CYarrowbyGrennowageGeneralDlg::OnInitPage()
{
    for (int i = 0; i < kSettingCount; ++i) {
        const Group& g = kGroups[i];
        const int y = kTop + i * (kGroupH + kGroupGap);
        CreateControl({g.box, PageControlKind::GroupBox, {kLeft, y, kRight, y + kGroupH}, g.boxKey});
        AddPicture(g.bitmap, CRect(kLeft + 14, y + 24, kLeft + 46, y + 56), UINT(g.picture));
        CreateControls({{-1, PageControlKind::Text, {kLeft + 60, y + 20, kRight - 16, y + 52}, g.descriptionKey},
                        {-1, PageControlKind::Text, {kLeft + 60, y + 68, kLeft + 150, y + 88}, g.captionKey}});
        m_edits[i].CreateEx(WS_EX_CLIENTEDGE, L"EDIT", L"",
                            WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL,
                            CRect(kLeft + 154, y + 66, kLeft + 424, y + 88), this, UINT(g.edit));
        m_edits[i].SetFont(&TextFont());
        CGeneralImageButton& apply = m_buttons[i * 2];
        CGeneralImageButton& other = m_buttons[i * 2 + 1];
        CreateButton(apply, L"IDS_SYS_TOOLS_IE_GENERAL_APPLY", UINT(g.apply),
                     CRect(kLeft + 433, y + 57, kLeft + 557, y + 97));
        CreateButton(other, g.otherKey, UINT(g.other), CRect(kLeft + 565, y + 57, kLeft + 689, y + 97));
    }
}

void CYarrowbyGrennowageGeneralDlg::Refresh()
{
    CIEGerneralSetting general;
    general.UpdateCurrentSettings();
    m_edits[kHomePage].SetWindowText(general.GetIEHomePage().c_str());
    m_edits[kDownloadDir].SetWindowText(general.GetIEDownloadDir().c_str());
    m_edits[kSaveDir].SetWindowText(general.GetIESaveToDir().c_str());
    m_edits[kPictureDir].SetWindowText(general.GetIEPictureDir().c_str());
}

void CYarrowbyGrennowageGeneralDlg::OnUseBlank() { m_edits[kHomePage].SetWindowText(L"about:blank"); }

void CYarrowbyGrennowageGeneralDlg::Apply(Setting setting)
{
    const CString text = EditText(m_edits[setting]);
    CIEGerneralSetting general;
    bool written = false;
    switch (setting) {
    case kHomePage: written = general.SetIEHomaPage(text); break;
    case kDownloadDir: written = general.SetIEDownloadDir(text); break;
    case kSaveDir: written = general.SetIESaveToDir(text); break;
    case kPictureDir: written = general.SetIEPictureDir(text); break;
    default: return;
    }
    if (!written) ShowMessage(BrowserPage::kSaveFailedKey);
}

void CYarrowbyGrennowageGeneralDlg::Browse(Setting setting)
{
    CFolderDialog picker;
    const CString current = EditText(m_edits[setting]);
    const DWORD attributes = ::GetFileAttributesW(current);
    if (!current.IsEmpty() && attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        picker.SetInitialFolder(current);
    if (picker.DoModal() == IDOK) m_edits[setting].SetWindowText(picker.GetFolderPath());
}
