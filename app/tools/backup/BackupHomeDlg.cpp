#include "BackupHomeDlg.h"

#include "Dictionary.h"
#include "PageFactory.h"

using nsVendrel::TranslateCode;

QUORVEL_REGISTER_PAGE(PAGE_ID_BACKUP_HOME, CBackupHomeDlg);

namespace {
const CBackupHomeDlg::Entry kEntries[CBackupHomeDlg::kButtonCount] = {
    {29928, PAGE_ID_BACKUP_REGISTRY, 1600, L"IDS_BACKUP_HOME_DLG_BTN_REGISTRY_BACKUP"},
    {29929, PAGE_ID_BACKUP_RESTORE_POINT, 1603, L"IDS_BACKUP_HOME_DLG_BTN_SYS_RESTORE"},
    {29930, PAGE_ID_BACKUP_FAVORITES, 1606, L"IDS_BACKUP_HOME_DLG_BTN_FAV_BACKUP"},
    {29931, PAGE_ID_BACKUP_FOLDER, 1609, L"IDS_BACKUP_HOME_DLG_BTN_FOLDER_BACKUP"},
};
// Four 96-pixel buttons in a row with their captions below.
const int kTop = 60, kLeft = 40, kStep = 170, kSize = 96, kCaptionWidth = 160;
}  // namespace

const CBackupHomeDlg::Entry* CBackupHomeDlg::Entries() { return kEntries; }

void CBackupHomeDlg::OnInitPage()
{
    for (int i = 0; i < kButtonCount; ++i) {
        const Entry& e = kEntries[i];
        int x = kLeft + i * kStep;
        CreateButton(m_buttons[i], nullptr, UINT(e.buttonId), CRect(x, kTop, x + kSize, kTop + kSize), BS_OWNERDRAW);
        m_buttons[i].SetBitmaps(e.firstBitmap, e.firstBitmap + 1, e.firstBitmap + 2, RGB(255, 255, 255));
        int captionLeft = x + kSize / 2 - kCaptionWidth / 2;
        m_captions[i].Create(TranslateCode(e.key), WS_CHILD | WS_VISIBLE,
                             CRect(captionLeft, kTop + kSize + 10, captionLeft + kCaptionWidth, kTop + kSize + 60),
                             this);
        m_captions[i].SetTextFont(14, TRUE);
    }
}

BOOL CBackupHomeDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (HIWORD(wParam) == BN_CLICKED) {
        for (const Entry& e : kEntries) {
            if (LOWORD(wParam) != e.buttonId) continue;
            // Posted: the switch happens after the click has been handled; a busy main window drops it.
            CWnd* main = AfxGetMainWnd();
            if (main && main->GetSafeHwnd()) ::PostMessageW(main->GetSafeHwnd(), WM_SWITCH_PAGE, e.pageId, 0);
            return TRUE;
        }
    }
    return CFunctionDlg::OnCommand(wParam, lParam);
}
