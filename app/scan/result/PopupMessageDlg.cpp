#include "PopupMessageDlg.h"
#include "SkinDraw.h"

#include "ImageButton.h"
#include "Settings.h"

namespace {
const int kFirstCountId = 1003;  // the five counts' statics, in the stored counts' order
}  // namespace

BEGIN_MESSAGE_MAP(PopupMessageDlg, CDialogEx)
    ON_WM_TIMER()
    ON_WM_LBUTTONUP()
    ON_WM_CTLCOLOR()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

PopupMessageDlg::PopupMessageDlg() : CDialogEx(IDD, nullptr)
{
    if (Create(IDD, nullptr)) SetTimer(kCloseTimer, kCloseAfterMs, nullptr);
}

PopupMessageDlg::~PopupMessageDlg()
{
    if (m_hBackBrush) DeleteObject(m_hBackBrush);
    if (m_hBackground) DeleteObject(m_hBackground);
}

BOOL PopupMessageDlg::OnInitDialog()
{
    CDialogEx::OnInitDialog();
    m_hBackground = Shell::LoadSkinBitmap(465);
    if (m_hBackground) m_hBackBrush = CreatePatternBrush(m_hBackground);

    CreateSkinFont(m_titleFont, 26, TRUE);
    CreateSkinFont(m_actionFont, 24, FALSE);
    if (CWnd* title = GetDlgItem(1001)) title->SetFont(&m_titleFont);
    if (CWnd* action = GetDlgItem(1002)) action->SetFont(&m_actionFont);

    for (int i = 0; i < Settings::kLastScanCounts; ++i) {
        CString text;
        text.Format(L"%d", int(Settings::LastScanCount(i)));
        SetDlgItemText(kFirstCountId + i, text);
    }

    RECT work = {};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    SetWindowPos(&wndTopMost, work.right - 320, work.bottom - 200, 300, 200, SWP_NOACTIVATE);
    AnimateWindow(m_hWnd, kSlideMs, AW_SLIDE | AW_VER_NEGATIVE);
    return TRUE;
}

void PopupMessageDlg::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent != kCloseTimer) {
        CDialogEx::OnTimer(nIDEvent);
        return;
    }
    KillTimer(kCloseTimer);
    AnimateWindow(m_hWnd, kSlideMs, AW_HIDE | AW_SLIDE | AW_VER_POSITIVE);
    DestroyWindow();
}

void PopupMessageDlg::OnLButtonUp(UINT, CPoint)
{
    KillTimer(kCloseTimer);
    ShowWindow(SW_HIDE);
    CWnd* main = AfxGetMainWnd();
    if (main && main->GetSafeHwnd()) main->ShowWindow(SW_SHOW);
    // Destroying the window first ends its timer, so nothing reaches the object once it is gone.
    DestroyWindow();
}

void PopupMessageDlg::PostNcDestroy()
{
    CDialogEx::PostNcDestroy();
    delete this;
}

BOOL PopupMessageDlg::OnEraseBkgnd(CDC* pDC)
{
    CRect client;
    GetClientRect(&client);
    ::FillRect(pDC->GetSafeHdc(), &client, m_hBackBrush ? m_hBackBrush : (HBRUSH)GetStockObject(WHITE_BRUSH));
    return TRUE;
}

HBRUSH PopupMessageDlg::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    if (nCtlColor == CTLCOLOR_STATIC) {
        pDC->SetBkMode(TRANSPARENT);
        pDC->SetTextColor(pWnd && pWnd->GetDlgCtrlID() == 1001 ? RGB(52, 107, 185) : RGB(198, 18, 19));
        return (HBRUSH)GetStockObject(NULL_BRUSH);
    }
    return CDialogEx::OnCtlColor(pDC, pWnd, nCtlColor);
}
