#include "YarrowbysHomeDlg.h"

#include "Dictionary.h"
#include "PageFactory.h"

using nsVendrel::TranslateCode;

QUORVEL_REGISTER_PAGE(PAGE_ID_TOOLS_HOME, CYarrowbysHomeDlg);

namespace {

const CYarrowbysHomeDlg::Entry kEntries[CYarrowbysHomeDlg::kButtons] = {
    {51000, {311, 310, 309}, L"IDS_SYS_TOOLS_HOME_DLG_ACTIVEX", PAGE_ID_TOOLS_ACTIVEX_BLOCK},
    {51001, {320, 319, 318}, L"IDS_SYS_TOOLS_HOME_DLG_UNINSTALL", PAGE_ID_TOOLS_UNINSTALL},
    {51002, {317, 316, 315}, L"IDS_SYS_TOOLS_HOME_DLG_FILE_SPLITTER", PAGE_ID_TOOLS_FILE_SPLITTER},
    {51003, {314, 313, 312}, L"IDS_SYS_TOOLS_HOME_DLG_FILE_SHREDDER", PAGE_ID_TOOLS_FILE_SHREDDER},
    {51004, {412, 413, 414}, L"IDS_SYS_TOOLS_HOME_DLG_IE", PAGE_ID_TOOLS_BROWSER},
    {51005, {441, 440, 439}, L"IDS_SYS_TOOLS_HOME_DLG_DISKMAN", PAGE_ID_TOOLS_DISK_MANAGER},
    {51006, {444, 443, 442}, L"IDS_SYS_TOOLS_HOME_DLG_WIN_UPDATE", PAGE_ID_TOOLS_WINDOWS_UPDATE},
    {51007, {459, 458, 457}, L"IDS_SYS_TOOLS_HOME_DLG_FILE_EXT", PAGE_ID_TOOLS_FILE_EXTENSION},
};

// Seven buttons in the first row, the eighth alone in the second; captions 250 wide, centred under their button.
const int kButtonSize = 64, kLeft = 30, kPitch = 104;
const int kRowTop[2] = {30, 194}, kCaptionTop[2] = {104, 268};
const int kCaptionWidth = 250, kCaptionHeight = 50;

}  // namespace

BEGIN_MESSAGE_MAP(CYarrowbysHomeDlg, CFunctionDlg)
    ON_COMMAND_RANGE(51000, 51007, &CYarrowbysHomeDlg::OnEntry)
END_MESSAGE_MAP()

const CYarrowbysHomeDlg::Entry* CYarrowbysHomeDlg::Entries() { return kEntries; }

void CYarrowbysHomeDlg::OnInitPage()
{
    for (int n = 0; n < kButtons; ++n) {
        const Entry& e = kEntries[n];
        const int row = n < 7 ? 0 : 1;
        const int left = kLeft + kPitch * (row == 0 ? n : 0);
        m_buttons[n].SetBitmaps(e.bitmaps[0], e.bitmaps[1], e.bitmaps[2], RGB(255, 255, 255));
        CreateButton(m_buttons[n], nullptr, e.buttonId,
                     CRect(left, kRowTop[row], left + kButtonSize, kRowTop[row] + kButtonSize), WS_TABSTOP);
        const int captionLeft = left - (kCaptionWidth - kButtonSize) / 2;  // button left - 93
        m_captions[n].Create(
            TranslateCode(e.captionKey), WS_CHILD | WS_VISIBLE,
            CRect(captionLeft, kCaptionTop[row], captionLeft + kCaptionWidth, kCaptionTop[row] + kCaptionHeight), this,
            IDC_FIRST_CAPTION + n);
        m_captions[n].SetTextFont(13, TRUE);
        // Neighbouring captions overlap: each wraps within its button's share of the row.
        m_captions[n].m_nWrapWidth = kPitch - 4;
    }
}

void CYarrowbysHomeDlg::OnEntry(UINT id)
{
    const int n = static_cast<int>(id) - IDC_FIRST_BUTTON;
    if (n < 0 || n >= kButtons) return;
    // Posted: the switch happens after this handler has returned (and is dropped while the window is busy).
    if (CWnd* main = AfxGetMainWnd()) ::PostMessageW(main->GetSafeHwnd(), WM_SWITCH_PAGE, kEntries[n].pageId, 0);
}
