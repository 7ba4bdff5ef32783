// PopupMessageDlg: after a scan in boot mode, a small window slides up above the taskbar with the five stored
// counts, slides away by itself after five seconds, and opens the main window when clicked. It owns its lifetime:
// created with new, it deletes itself once its window is destroyed.
#pragma once

#include <QMfc.h>

class PopupMessageDlg : public CDialogEx {
public:
    enum { IDD = 464, kCloseTimer = 1001, kCloseAfterMs = 5000, kSlideMs = 800 };

    // Creates the window (no parent) and starts the five-second timer.
    PopupMessageDlg();

    BOOL OnInitDialog() override;
    void OnOK() override {}
    void OnCancel() override {}

protected:
    void PostNcDestroy() override;
    void OnTimer(UINT_PTR nIDEvent);
    void OnLButtonUp(UINT nFlags, CPoint point);
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    BOOL OnEraseBkgnd(CDC* pDC);
    DECLARE_MESSAGE_MAP()

private:
    ~PopupMessageDlg() override;

    HBITMAP m_hBackground = nullptr;
    HBRUSH m_hBackBrush = nullptr;
    CFont m_titleFont;
    CFont m_actionFont;
};
