// COptionDlg: the options window that the OPTIONS button shows. A skinned top-level window owned by the main
// window, created once and hidden; it holds two tabs, General (start with Windows, interface language) and
// Schedule (scheduled scans), each a page of its own. It is dragged by its top strip and hidden, never
// destroyed, by its close button, Escape or Alt+F4.
#pragma once

#include <QMfc.h>

#include <map>
#include <memory>

#include "FunctionDlg.h"
#include "ImageButton.h"
#include "TabButton.h"

class COptionTab0Dlg;
class COptionTab1Dlg;

class COptionDlg : public CFunctionDlg {
    DECLARE_DYNAMIC(COptionDlg)
public:
    // Where the tab pages sit in the window, and the height of the strip that drags it.
    static constexpr RECT kPageRect = {12, 73, 528, 369};
    static constexpr int kDragStripHeight = 27;

    COptionDlg();
    ~COptionDlg() override;

    void OnInitPage() override;
    // Shows the window on its General tab.
    void OnShowPage() override;
    void OnCancel() override;
    // Selects the tab (IDC_OPTION_TAB_GENERAL or IDC_OPTION_TAB_SCHEDULE): its page is shown, the other hidden.
    void SelectTab(int tabId);

    // Tab button id -> sub-page key.
    std::map<int, int> m_tabPages;
    CBitmap m_bmpSkin;

protected:
    // Sizes the window to its skin, centres it and cuts the skin's magenta corners out of its shape.
    void Shape();
    void OnCloseButton();
    void OnGeneralTab();
    void OnScheduleTab();
    BOOL OnEraseBkgnd(CDC* pDC);
    LRESULT OnNcHitTest(CPoint point);
    DECLARE_MESSAGE_MAP()

    CFont m_fontTitle;
    CImageButton m_btnClose;
    CTabButton m_tabGeneral, m_tabSchedule;
    std::unique_ptr<COptionTab0Dlg> m_pGeneral;
    std::unique_ptr<COptionTab1Dlg> m_pSchedule;
};
