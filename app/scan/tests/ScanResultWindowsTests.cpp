// The one-click scan's result dialog (routing of items to its five lists, tabs, close) and the boot-mode pop-up
// (stored counts, a click opens the main window, the timer closes it), in windows of this process.
#include <gtest/gtest.h>

#include "Common.h"
#include "Dictionary.h"
#include "PopupMessageDlg.h"
#include "ScanTestHost.h"
#include "QTestSupport.h"
#include "ScoreResultDialog.h"

using namespace scan_test;
using shell_test::ListCellText;

namespace {

bool Shown(HWND wnd) { return (::GetWindowLongW(wnd, GWL_STYLE) & WS_VISIBLE) != 0; }

TEST(ScoreResultDialog, RoutesItemsTabsAndCloses)
{
    HostMainWindow host;
    CScoreResultDialog dlg;
    ASSERT_TRUE(dlg.CreateResultWindow(host.Wnd()));
    HWND wnd = dlg.m_hWnd;
    EXPECT_FALSE(Shown(wnd));
    EXPECT_EQ(std::wstring(nsVendrel::TranslateCode(L"IDS_START_SCAN_RESULT_COLUMN")), shell_test::WindowText(wnd));
    // Shaped from the bitmap: the key-coloured corners are outside the window's region.
    HRGN rgn = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(ERROR, GetWindowRgn(wnd, rgn));
    EXPECT_FALSE(PtInRegion(rgn, 0, 0));
    EXPECT_TRUE(PtInRegion(rgn, 320, 200));
    DeleteObject(rgn);

    // The close button's id is its own.
    for (int i = 0; i < kScoreResultListCount; ++i)
        EXPECT_NE(CScoreResultDialog::IDC_CLOSE, CScoreResultDialog::IDC_LIST_FIRST + i);

    struct Item {
        const wchar_t* text;
        LPARAM category;
    } items[] = {
        {L"reg", 1}, {L"trace", 2}, {L"junk", 3}, {L"link", 4}, {L"assoc", 5}, {L"none", 0}, {L"odd", 7}, {L"reg2", 1},
    };
    for (const Item& item : items)
        EXPECT_EQ(0, ::SendMessageW(wnd, WM_SCORE_RESULT_ITEM, (WPARAM)item.text, item.category));
    // A broken file association has no tab of its own: it shows among all items.
    const int expected[kScoreResultListCount] = {8, 2, 1, 1, 1};
    for (int i = 0; i < kScoreResultListCount; ++i) EXPECT_EQ(expected[i], dlg.GetItemCount(i)) << i;
    HWND all = ::GetDlgItem(wnd, CScoreResultDialog::IDC_LIST_FIRST);
    EXPECT_EQ(L"reg", ListCellText(all, 0));  // appended in arrival order
    EXPECT_EQ(L"assoc", ListCellText(all, 4));
    EXPECT_EQ(L"reg2", ListCellText(all, 7));
    EXPECT_EQ(L"link", ListCellText(::GetDlgItem(wnd, CScoreResultDialog::IDC_LIST_FIRST + 4), 0));

    // A tab shows its list alone; close goes back to the first tab and hides the window.
    ::ShowWindow(wnd, SW_SHOW);
    ClickButton(wnd, CScoreResultDialog::IDC_TAB_FIRST + 4);
    for (int i = 0; i < kScoreResultListCount; ++i)
        EXPECT_EQ(i == 4, Shown(::GetDlgItem(wnd, CScoreResultDialog::IDC_LIST_FIRST + i))) << i;
    ClickButton(wnd, CScoreResultDialog::IDC_CLOSE);
    EXPECT_TRUE(::IsWindow(wnd));
    EXPECT_FALSE(Shown(wnd));
    for (int i = 0; i < kScoreResultListCount; ++i)
        EXPECT_EQ(i == 0, Shown(::GetDlgItem(wnd, CScoreResultDialog::IDC_LIST_FIRST + i))) << i;

    dlg.ClearLists();
    for (int i = 0; i < kScoreResultListCount; ++i) EXPECT_EQ(0, dlg.GetItemCount(i)) << i;
}

// Every tab caption, in every language, fits inside its tab in the font the tab takes for it.
TEST(ScoreResultDialog, TabCaptionsFitTheirTabsInEveryLanguage)
{
    HostMainWindow host;
    CScoreResultDialog dlg;
    ASSERT_TRUE(dlg.CreateResultWindow(host.Wnd()));
    const wchar_t* const keys[kScoreResultListCount] = {
        L"IDS_START_SCAN_RESULT_TAB_ALL", L"IDS_START_SCAN_RESULT_TAB_REGISTRY", L"IDS_START_SCAN_RESULT_TAB_EVIDENCE",
        L"IDS_START_SCAN_RESULT_TAB_JUNKFILE", L"IDS_START_SCAN_RESULT_TAB_FILE_ASSOC"};
    for (const wchar_t* language : {L"en", L"de", L"es", L"fr", L"it", L"jp", L"cn", L"hk", L"ar", L"nl", L"pt"}) {
        nsVendrel::CRBDictionary dictionary(CString(SBGetAppPathW().c_str()) + L"dic\\" + language, 0);
        for (int i = 0; i < kScoreResultListCount; ++i) {
            HWND tab = ::GetDlgItem(dlg.m_hWnd, CScoreResultDialog::IDC_TAB_FIRST + i);
            const CString caption = dictionary.Translate(keys[i], 0, 1);
            ASSERT_NE(CString(keys[i]), caption) << language;
            ::SetWindowTextW(tab, caption);
            RECT r;
            ::GetWindowRect(tab, &r);
            HDC dc = ::GetDC(tab);
            HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(tab, WM_GETFONT, 0, 0)));
            SIZE text = {};
            ::GetTextExtentPoint32W(dc, caption.GetString(), caption.GetLength(), &text);
            ::SelectObject(dc, old);
            ::ReleaseDC(tab, dc);
            EXPECT_LE(text.cx, r.right - r.left - 2 * CTabButton::kTextPadding) << language << " " << keys[i];
        }
    }
}

struct FindPopupState {
    DWORD pid;
    HWND found;
};

BOOL CALLBACK FindPopupProc(HWND w, LPARAM p)
{
    auto* f = reinterpret_cast<FindPopupState*>(p);
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    if (pid == f->pid && GetDlgItem(w, 1001) && GetDlgItem(w, 1007)) {
        f->found = w;
        return FALSE;
    }
    return TRUE;
}

HWND FindPopup()
{
    FindPopupState find = {GetCurrentProcessId(), nullptr};
    EnumWindows(FindPopupProc, reinterpret_cast<LPARAM>(&find));
    return find.found;
}

TEST(PopupMessageDlg, ShowsTheStoredCountsAndOpensTheMainWindowWhenClicked)
{
    const wchar_t* key = L"Software\\Quorvel\\Param\\RegScore";
    SBRegSetDWORDValueW(HKEY_LOCAL_MACHINE, key, L"RegCleanErrorCount", 12);
    SBRegSetDWORDValueW(HKEY_LOCAL_MACHINE, key, L"ScanJunkFileErrorCount", 3);
    SBRegDeleteValueW(HKEY_LOCAL_MACHINE, key, L"ScanEvidenceErrorCount");  // unreadable: 0

    HostMainWindow host;
    new PopupMessageDlg();  // owns itself from here on
    HWND popup = FindPopup();
    ASSERT_NE(nullptr, popup);
    EXPECT_EQ(L"12", shell_test::WindowText(GetDlgItem(popup, 1003)));
    EXPECT_EQ(L"0", shell_test::WindowText(GetDlgItem(popup, 1004)));
    EXPECT_EQ(L"3", shell_test::WindowText(GetDlgItem(popup, 1005)));
    RECT work = {}, rc = {};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    GetWindowRect(popup, &rc);
    EXPECT_EQ(work.right - 320, rc.left);
    EXPECT_EQ(300, rc.right - rc.left);

    ::SendMessageW(popup, WM_LBUTTONUP, 0, MAKELPARAM(50, 50));
    EXPECT_FALSE(IsWindow(popup));
    EXPECT_TRUE(Shown(host.Handle()));
    shell_test::PumpFor(100);  // no timer of the gone window fires
}

TEST(PopupMessageDlg, ItsTimerClosesItAndLeavesTheMainWindowHidden)
{
    HostMainWindow host;
    new PopupMessageDlg();
    HWND popup = FindPopup();
    ASSERT_NE(nullptr, popup);
    ::SendMessageW(popup, WM_TIMER, PopupMessageDlg::kCloseTimer, 0);
    EXPECT_FALSE(IsWindow(popup));
    EXPECT_FALSE(Shown(host.Handle()));
}

}  // namespace
