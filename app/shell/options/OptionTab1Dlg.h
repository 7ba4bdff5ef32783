// COptionTab1Dlg: the Schedule tab of the options window. Lists the scheduled scans of this program in the Task
// Scheduler (name, type, start time, next run) and adds, removes and clears them.
#pragma once

#include <QMfc.h>

#include "FunctionDlg.h"

class COptionTab1Dlg : public CFunctionDlg {
    DECLARE_DYNAMIC(COptionTab1Dlg)
public:
    COptionTab1Dlg();

    void OnInitPage() override;
    // Shows the page with the list read again from the scheduler.
    void OnShowPage() override;
    // Empties the list and fills it from the scheduler; a scheduler that cannot be read shows its failure text.
    void FillList();

protected:
    void LayOutButtons();
    void OnAdd();
    void OnRemove();
    void OnClear();
    LRESULT OnLanguageChanged(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

    CFont m_font;
    CListCtrl m_list;
    CButton m_add, m_remove, m_clear;
    CStatic m_status;
};
