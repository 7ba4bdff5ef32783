#include "StartupWnd.h"

#include "MemDC.h"
#include "SkinDraw.h"

IMPLEMENT_DYNAMIC(CStartupWnd, CDialogEx)

BEGIN_MESSAGE_MAP(CStartupWnd, CDialogEx)
    ON_WM_ERASEBKGND()
    ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

CStartupWnd::CStartupWnd()
    : CDialogEx(IDD_STARTUP_DIALOG, nullptr), m_ready(::CreateEventW(nullptr, TRUE, FALSE, nullptr))
{
}

CStartupWnd::~CStartupWnd() = default;

DWORD WINAPI CStartupWnd::ThreadProc(LPVOID param)
{
    auto* splash = static_cast<CStartupWnd*>(param);
    splash->DoModal();
    splash->m_hReadyWnd = nullptr;
    return 0;
}

BOOL CStartupWnd::OnInitDialog()
{
    CDialogEx::OnInitDialog();
    // No owner: a modal splash must never disable or wait on the main window's thread.
    ::SetWindowLongPtrW(GetSafeHwnd(), GWLP_HWNDPARENT, 0);

    m_bitmap.Attach(Shell::LoadSkinBitmap(IDB_STARTUP_SPLASH));
    SIZE size = Shell::BitmapSize(static_cast<HBITMAP>(m_bitmap.GetSafeHandle()));
    SetWindowPos(nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    CenterWindow();
    CRect window;
    GetWindowRect(&window);
    SetWindowRgn(::CreateRoundRectRgn(0, 0, window.Width(), window.Height(), 10, 10), TRUE);

    m_text.Create(L"", WS_CHILD | WS_VISIBLE, CRect(250, 211, 450, 231), this, kTextId);
    m_text.SetFont(GetFont());

    {
        const qcore::ScopedLock hold(m_textLock);
        if (!m_strEarlyText.IsEmpty()) m_text.SetWindowText(m_strEarlyText);
        m_hReadyWnd = GetSafeHwnd();
    }
    ::SetEvent(m_ready.Get());
    return TRUE;
}

void CStartupWnd::ShowLoadingText(LPCWSTR text)
{
    HWND wnd = nullptr;
    {
        const qcore::ScopedLock hold(m_textLock);
        wnd = m_hReadyWnd;
        if (!wnd) m_strEarlyText = text;
    }
    if (!wnd) return;
    ::SetDlgItemTextW(wnd, kTextId, text);
    ::InvalidateRect(wnd, nullptr, TRUE);
    ::UpdateWindow(wnd);
}

BOOL CStartupWnd::OnEraseBkgnd(CDC* pDC)
{
    CRect client;
    GetClientRect(&client);
    nsVendrel::CMemDC mem(pDC, client);
    Shell::DrawMaskedBitmap(mem.GetSafeHdc(), 0, 0, static_cast<HBITMAP>(m_bitmap.GetSafeHandle()), CLR_INVALID);
    return TRUE;
}

HBRUSH CStartupWnd::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    if (pWnd && pWnd->GetDlgCtrlID() == kTextId) {
        pDC->SetBkMode(TRANSPARENT);
        pDC->SetTextColor(RGB(255, 255, 255));
        return static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
    }
    return CDialogEx::OnCtlColor(pDC, pWnd, nCtlColor);
}
