#include "ScanCleanHomeDlg.h"

#include "Dictionary.h"
#include "PageFactory.h"

QUORVEL_REGISTER_PAGE(PAGE_ID_SCAN_CLEAN_HOME, CScanCleanHomeDlg);

using nsVendrel::TranslateCode;

namespace {

struct HomeButton {
    int page;
    const wchar_t* captionKey;
    UINT normal, hover, pressed;
};

const HomeButton kButtons[CScanCleanHomeDlg::kButtonCount] = {
    {PAGE_ID_SCAN_CLEAN_REGISTRY, L"IDS_SCAN_CLEAN_HOME_REG_SCAN", 254, 253, 252},
    {PAGE_ID_SCAN_CLEAN_EVIDENCE, L"IDS_SCAN_CLEAN_HOME_EVIDENCE", 260, 259, 258},
    {PAGE_ID_SCAN_CLEAN_JUNK, L"IDS_SCAN_CLEAN_HOME_JUNK_FILE", 257, 256, 255},
    {PAGE_ID_SCAN_CLEAN_SHORTCUT, L"IDS_SCAN_CLEAN_HOME_SHORTCUT", 305, 304, 303},
};

const int kLeft = 30, kTop = 30, kStep = 104, kSize = 64;
const int kCaptionWidth = 250, kCaptionTop = 104, kCaptionBottom = 154;

}  // namespace

BEGIN_MESSAGE_MAP(CScanCleanHomeDlg, CFunctionDlg)
    ON_COMMAND_RANGE(CScanCleanHomeDlg::IDC_FIRST_BUTTON, CScanCleanHomeDlg::IDC_FIRST_BUTTON + 3,
                     &CScanCleanHomeDlg::OnButton)
END_MESSAGE_MAP()

void CScanCleanHomeDlg::OnInitPage()
{
    for (int i = 0; i < kButtonCount; ++i) {
        const HomeButton& info = kButtons[i];
        const int x = kLeft + i * kStep;
        m_buttons[i].SetBitmaps(info.normal, info.hover, info.pressed, RGB(255, 255, 255));
        CreateButton(m_buttons[i], nullptr, UINT(IDC_FIRST_BUTTON + i), CRect(x, kTop, x + kSize, kTop + kSize),
                     WS_TABSTOP);
        // A caption centred under its button, wider than the button.
        const int captionLeft = x - (kCaptionWidth - kSize) / 2;
        m_captions[i].Create(TranslateCode(info.captionKey), WS_CHILD | WS_VISIBLE,
                             CRect(captionLeft, kCaptionTop, captionLeft + kCaptionWidth, kCaptionBottom), this);
        m_captions[i].SetTextFont(12, TRUE);
    }
}

int CScanCleanHomeDlg::PageForButton(int buttonId)
{
    const int i = buttonId - IDC_FIRST_BUTTON;
    return i >= 0 && i < kButtonCount ? kButtons[i].page : 0;
}

void CScanCleanHomeDlg::OnButton(UINT nId)
{
    // Posted, not sent: the main window drops the request while it is busy.
    const int page = PageForButton(int(nId));
    CWnd* main = AfxGetMainWnd();
    if (page && main && main->GetSafeHwnd()) ::PostMessageW(main->GetSafeHwnd(), WM_SWITCH_PAGE, WPARAM(page), 0);
}
