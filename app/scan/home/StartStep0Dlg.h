// CStartStep0Dlg: the first step of the home page. Shows the health score, time and counts of the last one-click
// scan and the quick-scan button; starts a scan by itself in boot mode or when the last scan is due.
#pragma once

#include "FunctionDlg.h"
#include "ImageButton.h"
#include "controls/ImageRotator.h"
#include "StartScanList.h"

class CStartStep0Dlg : public CFunctionDlg {
public:
    enum {
        IDC_BUSY = 62101,
        IDC_HEALTH_CAPTION = 62102,
        IDC_STATUS = 62104,
        IDC_SCORE_CAPTION = 62105,
        IDC_SCORE = 62106,
        IDC_TIME_CAPTION = 62107,
        IDC_TIME = 62108,
        IDC_QUICK_SCAN = 62109,
        IDC_LIST = 62110,
    };

    CStartStep0Dlg();

    void OnInitPage() override;
    void OnShowPage() override;
    // Reads the stored result of the last scan into the labels and the list.
    void RefreshLastResult();
    // Switches the home page to the scan step, which starts a scan.
    void OnQuickScan();
    LRESULT OnLanguageChanged(WPARAM, LPARAM);

    CStartScanList& List() { return m_list; }

protected:
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    void OnListCustomDraw(NMHDR* pNMHDR, LRESULT* pResult);
    DECLARE_MESSAGE_MAP()

private:
    // True when the seven-day rule may start a scan now: once per process when the result could not be stored,
    // so a settings key that cannot be written does not start a scan at every visit.
    bool DueScanAllowed() const;

    CImageRotator m_busy;
    CStatic m_healthCaption, m_scoreCaption, m_timeCaption, m_status, m_score, m_time;
    CGeneralImageButton m_quickScan;
    CStartScanList m_list;
    CFont m_captionFont, m_valueFont;
    bool m_bAutoStarted = false;
};
