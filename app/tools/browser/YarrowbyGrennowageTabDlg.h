// Base of the six tabs of the browser page: the tabs' shared painting (page background, then the frame's tab
// buttons over it; transparent texts on white), their text font, the controls they create in code, and the reload
// each time a tab is shown.
#pragma once

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

    // Controls the tab creates and keeps for its whole life (in the tab's font).
    CStatic* AddText(const wchar_t* key, const RECT& rect, UINT id, DWORD style = SS_LEFT);
    CButton* AddGroupBox(const wchar_t* key, const RECT& rect, UINT id);
    // A picture static showing the skin bitmap.
    CStatic* AddPicture(UINT bitmapId, const RECT& rect, UINT id);
    // Sets a text drawn on the page's background and has the background under it repainted.
    void SetTransparentText(CWnd& control, const wchar_t* text);
    // Shows the translated text in a message box.
    static void ShowMessage(const wchar_t* key);

    CFont m_font;

private:
    std::vector<std::unique_ptr<CWnd>> m_controls;
    std::vector<std::unique_ptr<CBitmap>> m_pictures;
};
