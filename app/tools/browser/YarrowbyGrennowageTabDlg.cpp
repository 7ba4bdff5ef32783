#include "YarrowbyGrennowageTabDlg.h"

#include "Dictionary.h"
#include "ImageButton.h"
#include "YarrowbyGrennowageDlg.h"

using nsVendrel::TranslateCode;

IMPLEMENT_DYNAMIC(CYarrowbyGrennowageTabDlg, CFunctionDlg)

BEGIN_MESSAGE_MAP(CYarrowbyGrennowageTabDlg, CFunctionDlg)
    ON_WM_ERASEBKGND()
    ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

CYarrowbyGrennowageTabDlg::CYarrowbyGrennowageTabDlg() = default;

CYarrowbyGrennowageTabDlg::~CYarrowbyGrennowageTabDlg() = default;

void CYarrowbyGrennowageTabDlg::OnShowPage()
{
    CFunctionDlg::OnShowPage();
    Refresh();
}

BOOL CYarrowbyGrennowageTabDlg::OnEraseBkgnd(CDC* pDC)
{
    CFunctionDlg::OnEraseBkgnd(pDC);
    // The tabs touch the page's top edge: they are drawn again over the freshly erased page.
    CWnd* parent = GetParent();
    if (parent && parent->IsKindOf(RUNTIME_CLASS(CYarrowbyGrennowageDlg)))
        static_cast<CYarrowbyGrennowageDlg*>(parent)->InvalidateTabs();
    return TRUE;
}

HBRUSH CYarrowbyGrennowageTabDlg::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    HBRUSH brush = CDialogEx::OnCtlColor(pDC, pWnd, nCtlColor);
    if (nCtlColor == CTLCOLOR_STATIC) pDC->SetBkMode(TRANSPARENT);
    if (nCtlColor == CTLCOLOR_BTN || nCtlColor == CTLCOLOR_STATIC || nCtlColor == CTLCOLOR_EDIT)
        return static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
    return brush;
}

void CYarrowbyGrennowageTabDlg::CreateCheckList(CListCtrl& list, UINT id, int top,
                                                std::initializer_list<PageListColumn> columns)
{
    CreateList(list, id, CRect(16, top, 721, 414), WS_TABSTOP | LVS_SHOWSELALWAYS,
               LVS_EX_GRIDLINES | LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT, columns);
    list.SetFont(&TextFont());
}

CStatic* CYarrowbyGrennowageTabDlg::AddPicture(UINT bitmapId, const RECT& rect, UINT id)
{
    CStatic* picture = new CStatic;
    m_pictures.emplace_back(picture);
    picture->Create(L"", WS_CHILD | WS_VISIBLE | SS_BITMAP, rect, this, id);
    CBitmap* bitmap = new CBitmap;
    m_bitmaps.emplace_back(bitmap);
    LoadSkinBitmap(*bitmap, bitmapId);
    picture->SetBitmap(static_cast<HBITMAP>(bitmap->GetSafeHandle()));
    return picture;
}

void CYarrowbyGrennowageTabDlg::SetTransparentText(CWnd& control, const wchar_t* text)
{
    control.SetWindowText(text);
    CRect area;
    control.GetWindowRect(&area);
    ScreenToClient(&area);
    InvalidateRect(&area, TRUE);
}

void CYarrowbyGrennowageTabDlg::ShowMessage(const wchar_t* key) { AfxMessageBox(TranslateCode(key)); }
