#include "MoravinHomeDlg.h"

#include "Dictionary.h"
#include "PageFactory.h"

using nsVendrel::TranslateCode;

QUORVEL_REGISTER_PAGE(PAGE_ID_REPAIR_HOME, CMoravinHomeDlg);

namespace {

const CMoravinHomeDlg::Entry kEntries[CMoravinHomeDlg::kButtons] = {
    {41000, L"IDS_SYS_FIX_HOME_ERROR_WIZARD", PAGE_ID_REPAIR_WIZARD, {14001, 14002, 14003}},
    {41001, L"IDS_SYS_FIX_HOME_ACTIVEX", PAGE_ID_REPAIR_ACTIVEX, {14004, 14005, 14006}},
    {41003, L"IDS_SYS_FIX_HOME_ERROR_UTIL", PAGE_ID_REPAIR_ERROR_UTILITY, {14007, 14008, 14009}},
    {41004, L"IDS_SYS_FIX_HOME_FILE_ASSOC", PAGE_ID_REPAIR_FILE_ASSOC, {14010, 14011, 14012}},
    {41005, L"IDS_SYS_FIX_HOME_WINSOCK2", PAGE_ID_REPAIR_WINSOCK, {14013, 14014, 14015}},
    {41006, L"IDS_SYS_FIX_HOME_PRINTER_SPOOLER", PAGE_ID_REPAIR_PRINTER, {14016, 14017, 14018}},
    {41007, L"IDS_SYS_FIX_HOME_DLL_DOWNLOAD", PAGE_ID_REPAIR_DLL_DOWNLOAD, {14019, 14020, 14021}},
};

const int kButtonWidth = 64, kButtonHeight = 50, kTop = 30, kLeft = 30, kPitch = 104;
const int kCaptionWidth = 250, kCaptionTop = 104, kCaptionBottom = 154;

}  // namespace

BEGIN_MESSAGE_MAP(CMoravinHomeDlg, CFunctionDlg)
    ON_COMMAND_RANGE(41000, 41007, &CMoravinHomeDlg::OnEntry)
END_MESSAGE_MAP()

const CMoravinHomeDlg::Entry* CMoravinHomeDlg::Entries() { return kEntries; }

void CMoravinHomeDlg::OnInitPage()
{
    for (int n = 0; n < kButtons; ++n) {
        const Entry& e = kEntries[n];
        const int left = kLeft + kPitch * n;
        m_buttons[n].SetBitmaps(e.bitmaps[0], e.bitmaps[1], e.bitmaps[2], RGB(255, 255, 255));
        CreateButton(m_buttons[n], nullptr, e.buttonId, CRect(left, kTop, left + kButtonWidth, kTop + kButtonHeight),
                     WS_TABSTOP);
        const int centre = left + kButtonWidth / 2;
        m_captions[n].Create(TranslateCode(e.captionKey), WS_CHILD | WS_VISIBLE,
                             CRect(centre - kCaptionWidth / 2, kCaptionTop, centre + kCaptionWidth / 2, kCaptionBottom),
                             this, IDC_FIRST_CAPTION + n);
        m_captions[n].SetTextFont(13, TRUE);
        m_captions[n].m_nWrapWidth = kPitch - 4;
    }
}

void CMoravinHomeDlg::OnShowPage() { ShowWindow(SW_SHOW); }

void CMoravinHomeDlg::OnEntry(UINT id)
{
    for (const Entry& e : kEntries) {
        if (e.buttonId != int(id)) continue;
        CWnd* main = AfxGetMainWnd();
        if (main && main->GetSafeHwnd()) ::PostMessageW(main->GetSafeHwnd(), WM_SWITCH_PAGE, WPARAM(e.pageId), 0);
        return;
    }
}
