#include "SysOpHomeDlg.h"

#include "Dictionary.h"
#include "PageFactory.h"

using nsVendrel::TranslateCode;

QUORVEL_REGISTER_PAGE(PAGE_ID_OPTIMIZE_HOME, CSysOpHomeDlg);

namespace {

struct HomeButton {
    UINT normal, hover, pressed;
    const wchar_t* captionKey;
    int page;
};

const HomeButton kButtons[CSysOpHomeDlg::kButtonCount] = {
    {266, 265, 264, L"IDS_SYS_OP_HOME_DLG_MENU_OPT", PAGE_ID_OPTIMIZE_MENU},
    {263, 262, 261, L"IDS_SYS_OP_HOME_DLG_DESKTOP_OPT", PAGE_ID_OPTIMIZE_DESKTOP},
    {269, 268, 267, L"IDS_SYS_OP_HOME_DLG_NETWORK_OPT", PAGE_ID_OPTIMIZE_NETWORK},
    {275, 274, 273, L"IDS_SYS_OP_HOME_DLG_SERVICE_OPT", PAGE_ID_OPTIMIZE_SERVICE},
    {278, 277, 276, L"IDS_SYS_OP_HOME_DLG_STARTUP_OPT", PAGE_ID_OPTIMIZE_STARTUP},
    {272, 271, 270, L"IDS_SYS_OP_HOME_DLG_OTHER_OPT", PAGE_ID_OPTIMIZE_OTHER},
};

}  // namespace

int CSysOpHomeDlg::PageOfButton(int id)
{
    const int i = id - kFirstButtonId;
    return i >= 0 && i < kButtonCount ? kButtons[i].page : 0;
}

void CSysOpHomeDlg::OnInitPage()
{
    for (int i = 0; i < kButtonCount; ++i) {
        const int x = 30 + 104 * i;
        m_buttons[i].SetBitmaps(kButtons[i].normal, kButtons[i].hover, kButtons[i].pressed, RGB(255, 255, 255));
        CreateButton(m_buttons[i], nullptr, kFirstButtonId + i, CRect(x, 30, x + 64, 94));
        m_buttons[i].SizeToBitmap();
        // The caption is centred under its button, wider than it so long translations fit.
        m_captions[i].Create(TranslateCode(kButtons[i].captionKey), WS_CHILD | WS_VISIBLE | SS_OWNERDRAW,
                             CRect(x - 20, 104, x + 84, 154), this);
        m_captions[i].SetTextFont(13, TRUE);
    }
}

BOOL CSysOpHomeDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const int page = PageOfButton(LOWORD(wParam));
    if (HIWORD(wParam) == BN_CLICKED && page) {
        // Posted: the switch happens after this handler has returned (and is dropped while the window is busy).
        if (CWnd* main = AfxGetMainWnd()) ::PostMessageW(main->GetSafeHwnd(), WM_SWITCH_PAGE, page, 0);
        return TRUE;
    }
    return CFunctionDlg::OnCommand(wParam, lParam);
}
