#include "YarrowbyGrennowageSecurityDlg.h"

#include <Grennow.h>

#include "Dictionary.h"

using nsVendrel::TranslateCode;
using namespace BrowserPage;
typedef CYarrowbyGrennowageSecurityDlg CSecurityTab;

namespace {

const struct Switch {
    int box, picture, description, status, toggle;
    const wchar_t* boxKey;
    const wchar_t* descriptionKey;
    UINT bitmap;
} kSwitches[kSecurityOptionCount] = {
    {CSecurityTab::IDC_TEMP_GROUP, CSecurityTab::IDC_TEMP_PICTURE, CSecurityTab::IDC_TEMP_DESCRIPTION,
     CSecurityTab::IDC_TEMP_STATUS, CSecurityTab::IDC_TEMP_TOGGLE, L"IDS_SYS_TOOLS_IE_SECURITY_GRP_CLEAR_TMP_EXIT_IE",
     L"IDS_SYS_TOOLS_IE_SECURITY_CLEAR_TMP_EXIT_IE_DESCRIPTION", 1555},
    {CSecurityTab::IDC_SOUND_GROUP, CSecurityTab::IDC_SOUND_PICTURE, CSecurityTab::IDC_SOUND_DESCRIPTION,
     CSecurityTab::IDC_SOUND_STATUS, CSecurityTab::IDC_SOUND_TOGGLE, L"IDS_SYS_TOOLS_IE_SECURITY_GRP_DISABLE_SOUND",
     L"IDS_SYS_TOOLS_IE_SECURITY_DISABLE_SOUND_DESCRIPTION", 1556},
    {CSecurityTab::IDC_IMAGE_GROUP, CSecurityTab::IDC_IMAGE_PICTURE, CSecurityTab::IDC_IMAGE_DESCRIPTION,
     CSecurityTab::IDC_IMAGE_STATUS, CSecurityTab::IDC_IMAGE_TOGGLE, L"IDS_SYS_TOOLS_IE_SECURITY_GRP_DISABLE_IMAGE",
     L"IDS_SYS_TOOLS_IE_SECURITY_DISABLE_IMAGE_DESCRIPTION", 1557},
};

const int kLeft = 16, kRight = 721, kTop = 4, kGroupH = 112, kGroupGap = 8;

int GroupTop(int group) { return kTop + group * (kGroupH + kGroupGap); }

}  // namespace

BEGIN_MESSAGE_MAP(CYarrowbyGrennowageSecurityDlg, CYarrowbyGrennowageTabDlg)
    ON_BN_CLICKED(CSecurityTab::IDC_CLEAR, &CSecurityTab::OnClearAddresses)
    ON_BN_CLICKED(CSecurityTab::IDC_TEMP_TOGGLE, &CSecurityTab::OnToggleTemp)
    ON_BN_CLICKED(CSecurityTab::IDC_SOUND_TOGGLE, &CSecurityTab::OnToggleSound)
    ON_BN_CLICKED(CSecurityTab::IDC_IMAGE_TOGGLE, &CSecurityTab::OnToggleImage)
END_MESSAGE_MAP()

void CYarrowbyGrennowageSecurityDlg::OnInitPage()
{
    // The address list's picture and description share one id.
    int y = GroupTop(0);
    CreateControl({IDC_ADDRESS_GROUP,
                   PageControlKind::GroupBox,
                   {kLeft, y, kRight, y + kGroupH},
                   L"IDS_SYS_TOOLS_IE_SECURITY_GRP_ADDRESSLIST"});
    AddPicture(1554, CRect(kLeft + 14, y + 24, kLeft + 46, y + 56), IDC_ADDRESS_DESCRIPTION);
    const PageControlRow address[] = {
        {IDC_ADDRESS_DESCRIPTION,
         PageControlKind::Text,
         {kLeft + 60, y + 20, kRight - 16, y + 52},
         L"IDS_SYS_TOOLS_IE_SECURITY_ADDRESS_LIST_DESCRIPTION"},
        {IDC_ADDRESS_NOTICE,
         PageControlKind::Text,
         {kLeft + 60, y + 58, kLeft + 550, y + 100},
         L"IDS_SYS_TOOLS_IE_SECURITY_ADDRESS_LIST_NOTICE"},
    };
    CreateControls(address);
    CreateButton(m_clear, L"IDS_SYS_TOOLS_IE_SECURITY_TEXT_CLEAR", IDC_CLEAR,
                 CRect(kLeft + 565, y + 57, kLeft + 689, y + 97));

    for (int i = 0; i < kSecurityOptionCount; ++i) {
        const Switch& s = kSwitches[i];
        y = GroupTop(i + 1);
        CreateControl({s.box, PageControlKind::GroupBox, {kLeft, y, kRight, y + kGroupH}, s.boxKey});
        AddPicture(s.bitmap, CRect(kLeft + 14, y + 24, kLeft + 46, y + 56), UINT(s.picture));
        CreateControl(
            {s.description, PageControlKind::Text, {kLeft + 60, y + 20, kRight - 16, y + 52}, s.descriptionKey});
        CreateText(m_status[i], nullptr, UINT(s.status), CRect(kLeft + 60, y + 68, kLeft + 550, y + 88));
        CreateButton(m_toggle[i], nullptr, UINT(s.toggle), CRect(kLeft + 565, y + 57, kLeft + 689, y + 97));
    }
}

void CYarrowbyGrennowageSecurityDlg::Refresh()
{
    CIESecurityMan security;
    for (int i = 0; i < kSecurityOptionCount; ++i) {
        const bool on = IsProtectionOn(security, SecurityOption(i));
        SetTransparentText(m_status[i], TranslateCode(SecurityStatusKey(on)));
        m_toggle[i].SetWindowText(TranslateCode(SecurityButtonKey(on)));
        m_toggle[i].Invalidate();
    }
}

void CYarrowbyGrennowageSecurityDlg::Toggle(SecurityOption option)
{
    CIESecurityMan security;
    if (!ToggleProtection(security, option)) ShowMessage(kSaveFailedKey);
    Refresh();
}

void CYarrowbyGrennowageSecurityDlg::OnClearAddresses()
{
    CIESecurityMan security;
    ShowMessage(security.ClearIEAddressList() ? L"IDS_SYS_TOOLS_IE_SECURITY_OPERATION_COMPLETE" : kSaveFailedKey);
}
