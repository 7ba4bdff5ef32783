// CSchedulingDlg: the modal dialog that defines a new scheduled scan (daily every N days, weekly every N weeks on
// chosen weekdays, or monthly on day N, at a start time) and saves it in the Task Scheduler on OK.
#pragma once

#include <QGuards.h>
#include <QMfc.h>

#include "OptionIds.h"

class CSchedulingDlg : public CDialog {
public:
    explicit CSchedulingDlg(CWnd* pParent = nullptr);

    // The result of saving the task at OK (E_PENDING before).
    HRESULT GetSaveResult() const { return m_hrSave; }

    int m_nInterval = 1;
    CString m_strStartTime;
    CString m_strTaskName;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;
    void OnTypeChange();
    void OnIntervalChange();
    BOOL OnEraseBkgnd(CDC* pDC);
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    DECLARE_MESSAGE_MAP()

    // Keeps the interval in the range of the selected type and shows it.
    void ClampInterval();
    WORD CheckedWeekdays() const;

    CComboBox m_type;
    CDateTimeCtrl m_time;
    CSpinButtonCtrl m_spin;
    qcore::UniqueGdiObject m_background, m_panel;
    HRESULT m_hrSave = E_PENDING;
    bool m_bClamping = false;
};
