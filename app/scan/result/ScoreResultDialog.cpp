#include "ScoreResultDialog.h"

#include "Dictionary.h"
#include "QGuards.h"
#include "controls/BitmapDraw.h"
#include "SkinDraw.h"
#include "WindowShape.h"

using nsVendrel::TranslateCode;

namespace {
const wchar_t* const kTabKeys[kScoreResultListCount] = {
    L"IDS_START_SCAN_RESULT_TAB_ALL",        L"IDS_START_SCAN_RESULT_TAB_REGISTRY",
    L"IDS_START_SCAN_RESULT_TAB_EVIDENCE",   L"IDS_START_SCAN_RESULT_TAB_JUNKFILE",
    L"IDS_START_SCAN_RESULT_TAB_FILE_ASSOC",  // lists invalid shortcuts
};
const int kTabX = 20, kTabY = 45, kTabW = 118, kTabH = 31;
const int kMargin = 20;
const int kDragStrip = 40;  // the title strip of the background picture
// The window's title, shown in that strip ("Scan result" in every dictionary).
const wchar_t kTitleKey[] = L"IDS_START_SCAN_RESULT_COLUMN";
const int kTitleX = 20, kTitleFontSize = 15;
}  // namespace

BEGIN_MESSAGE_MAP(CScoreResultDialog, CFunctionDlg)
    ON_MESSAGE(WM_SCORE_RESULT_ITEM, &CScoreResultDialog::OnResultItem)
    ON_COMMAND_RANGE(CScoreResultDialog::IDC_TAB_FIRST, CScoreResultDialog::IDC_TAB_FIRST + kScoreResultListCount - 1,
                     &CScoreResultDialog::OnTab)
    ON_BN_CLICKED(CScoreResultDialog::IDC_CLOSE, &CScoreResultDialog::OnClose)
    ON_WM_ERASEBKGND()
    ON_WM_NCHITTEST()
END_MESSAGE_MAP()

CScoreResultDialog::CScoreResultDialog() : CFunctionDlg(IDD_ENTRY_DIALOG)
{
    m_hBackground = Shell::LoadSkinBitmap(406);
    CreateSkinFont(m_titleFont, kTitleFontSize, TRUE);
}

CScoreResultDialog::~CScoreResultDialog()
{
    if (m_hWnd) DestroyWindow();
    if (m_hBackground) DeleteObject(m_hBackground);
}

BOOL CScoreResultDialog::CreateResultWindow(CWnd* pParent)
{
    if (!Create(IDD_ENTRY_DIALOG, pParent)) return FALSE;
    SetWindowText(TranslateCode(kTitleKey));
    Shape();
    OnInitPage();
    ShowWindow(SW_HIDE);
    return TRUE;
}

void CScoreResultDialog::Shape() { Shell::ShapeWindowToSkin(GetSafeHwnd(), m_hBackground); }

void CScoreResultDialog::OnInitPage()
{
    CRect client;
    GetClientRect(&client);
    CRect listRect(kMargin, kTabY + kTabH + 10, client.right - kMargin, client.bottom - kMargin);
    CString column = TranslateCode(L"IDS_START_SCAN_RESULT_COLUMN");
    CFont* font = GetFont();
    for (int i = 0; i < kScoreResultListCount; ++i) {
        CListCtrl& list = m_lists[i];
        list.Create(WS_CHILD | WS_BORDER | LVS_REPORT | LVS_SINGLESEL | (i == 0 ? WS_VISIBLE : 0), listRect, this,
                    UINT(IDC_LIST_FIRST + i));
        list.SetExtendedStyle(LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
        if (font) list.SetFont(font);
        CRect lc;
        list.GetClientRect(&lc);
        list.InsertColumn(0, column, LVCFMT_LEFT, listRect.Width());

        CTabButton& tab = m_tabs[i];
        CRect tr(kTabX + i * (kTabW + 2), kTabY, kTabX + i * (kTabW + 2) + kTabW, kTabY + kTabH);
        tab.Create(TranslateCode(kTabKeys[i]), WS_CHILD | WS_VISIBLE, tr, this, UINT(IDC_TAB_FIRST + i));
        tab.SetBitmaps(380, 381, 381, 382, CLR_INVALID);
        tab.SetSelected(i == 0);
    }
    m_close.Create(L"", WS_CHILD | WS_VISIBLE, CRect(client.right - 40, 8, client.right - 10, 29), this, IDC_CLOSE);
    m_close.SetBitmaps(132, 131, 130, CLR_INVALID);
    m_close.SizeToBitmap();
}

LRESULT CScoreResultDialog::OnResultItem(WPARAM wParam, LPARAM lParam)
{
    const wchar_t* text = reinterpret_cast<const wchar_t*>(wParam);
    if (!text) text = L"";
    for (int list : ScoreResultListsFor((long long)lParam))
        m_lists[list].InsertItem(m_lists[list].GetItemCount(), text);
    return 0;
}

void CScoreResultDialog::ShowInFront()
{
    SetWindowText(TranslateCode(kTitleKey));  // in the language chosen since it was made
    SetWindowPos(&wndTop, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    SetForegroundWindow();
    SetActiveWindow();
}

void CScoreResultDialog::ClearLists()
{
    for (CListCtrl& list : m_lists)
        if (list.GetSafeHwnd()) list.DeleteAllItems();
}

int CScoreResultDialog::GetItemCount(int nList) const { return const_cast<CListCtrl&>(m_lists[nList]).GetItemCount(); }

void CScoreResultDialog::ShowList(int nIndex)
{
    if (nIndex < 0 || nIndex >= kScoreResultListCount) return;
    for (int i = 0; i < kScoreResultListCount; ++i) {
        m_lists[i].ShowWindow(SW_HIDE);
        m_tabs[i].SetSelected(FALSE);
        m_tabs[i].Invalidate();
    }
    m_lists[nIndex].ShowWindow(SW_SHOW);
    m_tabs[nIndex].SetSelected(TRUE);
    m_tabs[nIndex].Invalidate();
}

void CScoreResultDialog::OnTab(UINT nId) { ShowList(int(nId) - IDC_TAB_FIRST); }

void CScoreResultDialog::OnClose()
{
    ShowList(0);
    // Hides the modeless window; the scan step shows it again.
    EndDialog(0);
    ShowWindow(SW_HIDE);
}

BOOL CScoreResultDialog::OnEraseBkgnd(CDC* pDC)
{
    CRect client;
    GetClientRect(&client);
    HDC dc = pDC->GetSafeHdc();
    if (!m_hBackground) {
        ::FillRect(dc, &client, (HBRUSH)GetStockObject(WHITE_BRUSH));
        return TRUE;
    }
    StretchBitmap(dc, 0, 0, client.Width(), client.Height(), m_hBackground);
    // The title, white on the blue strip, left of the close button.
    CString title;
    GetWindowText(title);
    RECT strip = {kTitleX, 0, client.right - 50, kDragStrip};
    const qcore::GdiSelection font(dc, m_titleFont.GetSafeHandle());
    ::SetTextColor(dc, RGB(255, 255, 255));
    ::SetBkMode(dc, TRANSPARENT);
    ::DrawTextW(dc, title, -1, &strip, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
    return TRUE;
}

LRESULT CScoreResultDialog::OnNcHitTest(CPoint point)
{
    LRESULT hit = CFunctionDlg::OnNcHitTest(point);
    if (hit != HTCLIENT) return hit;
    CPoint client = point;
    ScreenToClient(&client);
    // Dragged by the title strip; the controls below keep their clicks.
    return client.y < kDragStrip ? HTCAPTION : hit;
}
