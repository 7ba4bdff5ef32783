// Helper-object tab of the browser page: the context-menu extensions and explorer bars, select all, and remove
// for the checked rows. An empty list is announced each time the tab is filled.
#pragma once

#include <vector>

#include <Grennow.h>

#include "ImageButton.h"
#include "YarrowbyGrennowageTabDlg.h"

class CYarrowbyGrennowageBHODlg : public CYarrowbyGrennowageTabDlg {
public:
    enum { IDC_LIST = 52401, IDC_SELECT_ALL = 52402, IDC_REMOVE = 52403 };

    void OnInitPage() override;
    void OnShowPage() override;
    void Refresh() override;

protected:
    void OnSelectAll();
    void OnRemove();
    DECLARE_MESSAGE_MAP()

    CListCtrl m_list;
    CButton m_selectAll;
    CGeneralImageButton m_remove;
    std::vector<IEBhoInfo> m_records;
};
