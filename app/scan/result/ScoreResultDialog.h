// CScoreResultDialog: the skinned window of the one-click scan that lists every item the scan reports, in one list
// for all items and one per category behind five tab buttons. The scan step fills it with WM_SCORE_RESULT_ITEM.
#pragma once

#include "FunctionDlg.h"
#include "ImageButton.h"
#include "ScoreResultModel.h"
#include "TabButton.h"

// wParam: the item's text (valid during the call); lParam: 1 registry, 2 privacy trace, 3 junk file,
// 4 invalid shortcut, 5 broken file association.
#define WM_SCORE_RESULT_ITEM 0x7E8

class CScoreResultDialog : public CFunctionDlg {
public:
    enum {
        IDC_TAB_FIRST = 62302,   // 62302..62306
        IDC_LIST_FIRST = 62307,  // 62307..62311
        IDC_CLOSE = 62312,       // its own id: never shared with a list
    };

    CScoreResultDialog();
    ~CScoreResultDialog() override;

    // Creates the window from the main-window template as an owned pop-up of pParent, shapes it, builds its
    // controls and leaves it hidden.
    BOOL CreateResultWindow(CWnd* pParent);
    void OnInitPage() override;
    // Shows the window in front of every other window of the program and gives it the keyboard: it exists from
    // start-up on, and the main window's own showing puts it behind. Its title is in the current language.
    void ShowInFront();
    void ClearLists();
    // Shows list nIndex (0..4) and selects its tab.
    void ShowList(int nIndex);
    int GetItemCount(int nList) const;
    CListCtrl& GetList(int nIndex) { return m_lists[nIndex]; }

protected:
    LRESULT OnResultItem(WPARAM wParam, LPARAM lParam);
    void OnTab(UINT nId);
    void OnClose();
    BOOL OnEraseBkgnd(CDC* pDC);
    LRESULT OnNcHitTest(CPoint point);
    DECLARE_MESSAGE_MAP()

private:
    void Shape();

    HBITMAP m_hBackground = nullptr;
    CFont m_titleFont;
    CListCtrl m_lists[kScoreResultListCount];
    CTabButton m_tabs[kScoreResultListCount];
    CImageButton m_close;
};
