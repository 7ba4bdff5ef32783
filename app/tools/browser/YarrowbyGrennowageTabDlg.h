// Base of the six tabs of the browser page: the tabs' shared painting (page background, then the frame's tab
// buttons over it; transparent texts on white), their skin pictures, and the reload each time a tab is shown.
#pragma once

#include <initializer_list>
#include <memory>
#include <vector>

#include "FunctionDlg.h"

class CYarrowbyGrennowageTabDlg : public CFunctionDlg {
    DECLARE_DYNAMIC(CYarrowbyGrennowageTabDlg)
public:
    CYarrowbyGrennowageTabDlg();
    ~CYarrowbyGrennowageTabDlg() override;

    // Shows the tab and reloads its contents from the library.
    void OnShowPage() override;
    virtual void Refresh() = 0;

protected:
    BOOL OnEraseBkgnd(CDC* pDC);
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    DECLARE_MESSAGE_MAP()

    // The tab's report list across the tab from top down to its buttons, in the text font: a tab stop, the
    // selection kept shown, grid lines, check boxes and full-row selection.
    void CreateCheckList(CListCtrl& list, UINT id, int top, std::initializer_list<PageListColumn> columns);
    // A picture static showing the skin bitmap, kept for the tab's whole life.
    CStatic* AddPicture(UINT bitmapId, const RECT& rect, UINT id);
    // Sets a text drawn on the page's background and has the background under it repainted.
    void SetTransparentText(CWnd& control, const wchar_t* text);
    // Shows the translated text in a message box.
    static void ShowMessage(const wchar_t* key);

private:
    std::vector<std::unique_ptr<CStatic>> m_pictures;
    std::vector<std::unique_ptr<CBitmap>> m_bitmaps;
};
