#include "FunctionDlg.h"

#include <vector>

#include "Dictionary.h"
#include "KeyboardFocus.h"
#include "MemDC.h"
#include "QGuards.h"
#include "SkinDraw.h"

namespace {

const COLORREF kPageBackground = RGB(255, 255, 255);

// The child pages of a window in z-order.
std::vector<CFunctionDlg*> ChildPages(CWnd* parent)
{
    std::vector<CFunctionDlg*> pages;
    for (HWND h = ::GetWindow(parent->GetSafeHwnd(), GW_CHILD); h; h = ::GetWindow(h, GW_HWNDNEXT)) {
        CWnd* wnd = CWnd::FromHandlePermanent(h);
        if (wnd && wnd->IsKindOf(RUNTIME_CLASS(CFunctionDlg))) pages.push_back(static_cast<CFunctionDlg*>(wnd));
    }
    return pages;
}

void ClearVisibleBit(HWND h) { ::SetWindowLongW(h, GWL_STYLE, ::GetWindowLongW(h, GWL_STYLE) & ~WS_VISIBLE); }

bool IsPressable(HWND button) { return button && ::IsWindowVisible(button) && ::IsWindowEnabled(button); }

// The note a page that is not built shows in the middle of its area.
void PaintNotBuiltNote(HDC dc, const RECT& area, const CString& note)
{
    static HFONT font = ::CreateFontW(16, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, 0, 0, 0, 0, FF_SWISS, L"Verdana");
    HGDIOBJ old = ::SelectObject(dc, font);
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, RGB(90, 90, 90));
    RECT text = area;
    ::InflateRect(&text, -40, -40);
    RECT measured = text;
    ::DrawTextW(dc, note, -1, &measured, DT_CENTER | DT_WORDBREAK | DT_NOPREFIX | DT_CALCRECT);
    int lift = ((text.bottom - text.top) - (measured.bottom - measured.top)) / 2;
    text.top += lift > 0 ? lift : 0;
    ::DrawTextW(dc, note, -1, &text, DT_CENTER | DT_WORDBREAK | DT_NOPREFIX);
    ::SelectObject(dc, old);
}

}  // namespace

// ---- CFunctionDlg -------------------------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CFunctionDlg, CDialogEx)

BEGIN_MESSAGE_MAP(CFunctionDlg, CDialogEx)
    ON_WM_ERASEBKGND()
    ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

CFunctionDlg::CFunctionDlg(UINT nIDTemplate, CWnd* pParent) : CDialogEx(nIDTemplate, pParent) { SharedWhiteBrush(); }

HBRUSH CFunctionDlg::SharedWhiteBrush()
{
    static HBRUSH brush = ::CreateSolidBrush(kPageBackground);
    return brush;
}

HBITMAP CFunctionDlg::SharedPanelBitmap()
{
    static HBITMAP panel = Shell::LoadSkinBitmap(IDB_PAGE_PANEL);
    return panel;
}

void CFunctionDlg::OnShowPage()
{
    ShowWindow(SW_SHOW);
    if (GetSubPage(0)) ShowSubPage(0);
}

void CFunctionDlg::OnInitPage() {}

BOOL CFunctionDlg::PreTranslateMessage(MSG* msg)
{
    if (msg->message == WM_KEYDOWN && m_hWnd && (GetStyle() & WS_CHILD)) {
        LRESULT wants = msg->hwnd ? ::SendMessageW(msg->hwnd, WM_GETDLGCODE, msg->wParam, (LPARAM)msg) : 0;
        if (!(wants & DLGC_WANTMESSAGE)) {
            switch (msg->wParam) {
            case VK_TAB:
                // The dialog manager would cycle inside this page only.
                if (wants & DLGC_WANTTAB) break;
                Shell::MoveFocusToNextTabStop(msg->hwnd, (::GetKeyState(VK_SHIFT) & 0x8000) != 0);
                return TRUE;
            case VK_RETURN: {
                // A focused push button takes Enter; otherwise the page's default button does.
                bool focusedButton = (wants & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) != 0;
                HWND button = focusedButton        ? msg->hwnd
                              : m_nDefaultButtonId ? ::GetDlgItem(m_hWnd, m_nDefaultButtonId)
                                                   : nullptr;
                if (IsPressable(button)) ::SendMessageW(button, BM_CLICK, 0, 0);
                return TRUE;
            }
            case VK_ESCAPE: {
                // A page of an owned window (the options window) closes that window; in the main window's
                // pages Escape does nothing.
                HWND root = ::GetAncestor(m_hWnd, GA_ROOT);
                CWnd* main = AfxGetMainWnd();
                if (root && (!main || root != main->GetSafeHwnd()))
                    ::SendMessageW(root, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
                return TRUE;
            }
            }
        }
    }
    return CDialogEx::PreTranslateMessage(msg);
}

void CFunctionDlg::StopWorkers()
{
    for (qcore::CWorker* worker : m_watchedWorkers) worker->RequestStop();
    for (CFunctionDlg* page : ChildPages(this)) page->StopWorkers();
}

void CFunctionDlg::AddRunningWorkers(std::vector<HANDLE>& threads)
{
    for (qcore::CWorker* worker : m_watchedWorkers) AddIfRunning(threads, worker->Handle());
    for (CFunctionDlg* page : ChildPages(this)) page->AddRunningWorkers(threads);
}

void CFunctionDlg::AddIfRunning(std::vector<HANDLE>& threads, HANDLE thread)
{
    if (qcore::IsThreadRunning(thread)) threads.push_back(thread);
}

void CFunctionDlg::AddSubPage(CFunctionDlg* pPage, CFunctionDlg* pParent, int nKey)
{
    CRect client;
    pParent->GetClientRect(&client);
    AddSubPage(pPage, pParent, nKey, client);
}

void CFunctionDlg::AddSubPage(CFunctionDlg* pPage, CFunctionDlg* pParent, int nKey, const RECT& area)
{
    pPage->Create(IDD_FUNCTION_PAGE, pParent);
    Shell::MakeControlParent(pPage->GetSafeHwnd());
    pPage->MoveWindow(&area, TRUE);
    pPage->m_nPageId = nKey;
    pPage->OnInitPage();
}

CFunctionDlg* CFunctionDlg::GetSubPage(int nKey)
{
    for (CFunctionDlg* page : ChildPages(this))
        if (page->m_nPageId == nKey) return page;
    return nullptr;
}

void CFunctionDlg::ShowSubPage(int nKey)
{
    CFunctionDlg* shown = nullptr;
    for (CFunctionDlg* page : ChildPages(this)) {
        if (page->m_nPageId == nKey)
            shown = page;
        else
            ClearVisibleBit(page->GetSafeHwnd());
    }
    // Called last: a sub-page may switch its parent's sub-page from inside its OnShowPage.
    if (shown) shown->OnShowPage();
}

void DrawPagePanel(HDC dc, const RECT& r, HBITMAP panel)
{
    SIZE bm = Shell::BitmapSize(panel);
    int width = r.right - r.left, height = r.bottom - r.top;
    if (bm.cx == 0 || width <= 0 || height <= 0) return;
    const qcore::UniqueMemoryDc srcDC(::CreateCompatibleDC(dc));
    const HDC src = srcDC.Get();
    const qcore::GdiSelection selected(src, panel);
    ::SetStretchBltMode(dc, COLORONCOLOR);
    ::StretchBlt(dc, r.left, r.top, width, height, src, 0, 0, bm.cx, bm.cy, SRCCOPY);
    if (height < bm.cy) {
        // A low panel keeps the bitmap's corners 1:1: each quadrant is anchored at its own corner and takes at
        // most its own half of the bitmap, so a wide panel shows no copy of the opposite border inside it.
        int w2 = width / 2, h2 = height / 2;
        int halfW = bm.cx / 2, halfH = bm.cy / 2;
        int leftW = w2 < halfW ? w2 : halfW, rightW = width - w2 < bm.cx - halfW ? width - w2 : bm.cx - halfW;
        int topH = h2 < halfH ? h2 : halfH, bottomH = height - h2 < bm.cy - halfH ? height - h2 : bm.cy - halfH;
        ::BitBlt(dc, r.left, r.top, leftW, topH, src, 0, 0, SRCCOPY);
        ::BitBlt(dc, r.right - rightW, r.top, rightW, topH, src, bm.cx - rightW, 0, SRCCOPY);
        ::BitBlt(dc, r.left, r.bottom - bottomH, leftW, bottomH, src, 0, bm.cy - bottomH, SRCCOPY);
        ::BitBlt(dc, r.right - rightW, r.bottom - bottomH, rightW, bottomH, src, bm.cx - rightW, bm.cy - bottomH,
                 SRCCOPY);
    }
}

CString CFunctionDlg::NotBuiltNote() const
{
    if (m_strMissingLibrary.IsEmpty()) return nsVendrel::TranslateCode(L"IDS_PAGE_NOT_AVAILABLE_YET");
    CString note;
    note.Format(nsVendrel::TranslateCode(L"IDS_PAGE_LIBRARY_MISSING"), m_strMissingLibrary);
    return note;
}

BOOL CFunctionDlg::OnEraseBkgnd(CDC* pDC)
{
    CRect client;
    GetClientRect(&client);
    nsVendrel::CMemDC mem(pDC, client);
    mem.FillSolidRect(&client, kPageBackground);
    if (m_bShowPanel) {
        int count = m_nPanelCount < kMaxPanels ? m_nPanelCount : kMaxPanels;
        for (int i = 0; i < count; ++i) DrawPagePanel(mem.GetSafeHdc(), m_rcPanel[i], SharedPanelBitmap());
    }
    if (m_bNotBuilt) PaintNotBuiltNote(mem.GetSafeHdc(), client, NotBuiltNote());
    return TRUE;
}

HBRUSH CFunctionDlg::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    CDialogEx::OnCtlColor(pDC, pWnd, nCtlColor);
    if (pWnd && pWnd->IsExactly(RUNTIME_CLASS(CStatic))) pDC->SetBkMode(TRANSPARENT);
    return SharedWhiteBrush();
}

// ---- CFunctionDlgContainer ----------------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CFunctionDlgContainer, CDialogEx)

BEGIN_MESSAGE_MAP(CFunctionDlgContainer, CDialogEx)
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CFunctionDlgContainer::CFunctionDlgContainer() : CDialogEx(IDD_FUNCTION_PAGE, nullptr) {}

void CFunctionDlgContainer::AddPage(CFunctionDlg* pPage, CFunctionDlgContainer* pContainer, int nPageId)
{
    CRect client;
    pContainer->GetClientRect(&client);
    pPage->Create(IDD_FUNCTION_PAGE, pContainer);
    pPage->ModifyStyle(WS_BORDER, WS_CHILD);
    Shell::MakeControlParent(pContainer->GetSafeHwnd());
    Shell::MakeControlParent(pPage->GetSafeHwnd());
    pPage->MoveWindow(&client, TRUE);
    pPage->OnInitPage();
    pPage->m_nPageId = nPageId;    // after OnInitPage: inside it a page's own id is still 0
    pPage->SetDlgCtrlID(nPageId);  // the page window carries its id too, for tools that look at windows
}

void CFunctionDlgContainer::ShowPage(int nPageId)
{
    m_nCurrentPageId = nPageId;
    CFunctionDlg* shown = nullptr;
    for (CFunctionDlg* page : ChildPages(this)) {
        if (page->m_nPageId == nPageId)
            shown = page;
        else
            ClearVisibleBit(page->GetSafeHwnd());
    }
    if (shown) {
        ShowWindow(SW_SHOW);
        shown->OnShowPage();
        return;
    }
    ClearVisibleBit(GetSafeHwnd());
    // Clearing the bit repaints nothing: let the parent paint the emptied area.
    if (CWnd* parent = GetParent()) {
        CRect area;
        GetWindowRect(&area);
        parent->ScreenToClient(&area);
        parent->InvalidateRect(&area, TRUE);
    }
}

BOOL CFunctionDlgContainer::OnEraseBkgnd(CDC*) { return TRUE; }
