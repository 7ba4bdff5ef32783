#include "YarrowbyFSPage.h"

#include "ImageButton.h"

BEGIN_MESSAGE_MAP(CYarrowbyFSPage, CFunctionDlg)
    ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

CYarrowbyFSPage::CYarrowbyFSPage() { CreateSkinFont(m_textFont, 13, FALSE); }

void CYarrowbyFSPage::EnablePages(BOOL enable)
{
    if (CWnd* home = GetParent()) home->EnableWindow(enable);
    EnableWindow(enable);
}

HBRUSH CYarrowbyFSPage::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    CFunctionDlg::OnCtlColor(pDC, pWnd, nCtlColor);
    // Buttons, labels and the read-only edits sit on white; labels draw no background of their own.
    if (nCtlColor == CTLCOLOR_STATIC || nCtlColor == CTLCOLOR_EDIT || nCtlColor == CTLCOLOR_BTN) {
        pDC->SetBkColor(RGB(255, 255, 255));
        if (nCtlColor == CTLCOLOR_STATIC && pWnd && pWnd->IsExactly(RUNTIME_CLASS(CStatic))) pDC->SetBkMode(TRANSPARENT);
        return static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
    }
    return SharedWhiteBrush();
}
