// What the split and join tabs share: the white look of their controls, and disabling the splitter's page
// around them while a run goes on (so the tabs cannot change under it).
#pragma once

#include "FunctionDlg.h"

class CYarrowbyFSPage : public CFunctionDlg {
protected:
    CYarrowbyFSPage();

    // This page and its parent, the splitter's page.
    void EnablePages(BOOL enable);
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    DECLARE_MESSAGE_MAP()

    CFont m_textFont;
};
