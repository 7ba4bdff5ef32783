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

int GroupTop(int group)
{
    return kTop + group * (kGroupH + kGroupGap);
}

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
    AddGroupBox(L"IDS_SYS_TOOLS_IE_SECURITY_GRP_ADDRESSLIST", CRect(kLeft, y, kRight, y + kGroupH), IDC_ADDRESS_GROUP);
    AddPicture(1554, CRect(kLeft + 14, y + 24, kLeft + 46, y + 56), IDC_ADDRESS_DESCRIPTION);
    AddText(L"IDS_SYS_TOOLS_IE_SECURITY_ADDRESS_LIST_DESCRIPTION", CRect(kLeft + 60, y + 20, kRight - 16, y + 52),
            IDC_ADDRESS_DESCRIPTION);
    AddText(L"IDS_SYS_TOOLS_IE_SECURITY_ADDRESS_LIST_NOTICE", CRect(kLeft + 60, y + 58, kLeft + 550, y + 100),
            IDC_ADDRESS_NOTICE);
    m_clear.Create(TranslateCode(L"IDS_SYS_TOOLS_IE_SECURITY_TEXT_CLEAR"), WS_CHILD | WS_VISIBLE,
                   CRect(kLeft + 565, y + 57, kLeft + 689, y + 97), this, IDC_CLEAR);

    for (int i = 0; i < kSecurityOptionCount; ++i) {
        const Switch& s = kSwitches[i];
        y = GroupTop(i + 1);
        AddGroupBox(s.boxKey, CRect(kLeft, y, kRight, y + kGroupH), UINT(s.box));
        AddPicture(s.bitmap, CRect(kLeft + 14, y + 24, kLeft + 46, y + 56), UINT(s.picture));
        AddText(s.descriptionKey, CRect(kLeft + 60, y + 20, kRight - 16, y + 52), UINT(s.description));
        m_status[i].Create(L"", WS_CHILD | WS_VISIBLE | SS_LEFT, CRect(kLeft + 60, y + 68, kLeft + 550, y + 88), this,
                           UINT(s.status));
        m_status[i].SetFont(&m_font);
        m_toggle[i].Create(L"", WS_CHILD | WS_VISIBLE, CRect(kLeft + 565, y + 57, kLeft + 689, y + 97), this,
                           UINT(s.toggle));
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
