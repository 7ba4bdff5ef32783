// Plug-in tab of the browser page: the browser helper objects, and delete for the checked rows.
#pragma once

#include <vector>

#include <Grennow.h>

#include "ImageButton.h"
#include "YarrowbyGrennowageTabDlg.h"

class CYarrowbyGrennowagePluginDlg : public CYarrowbyGrennowageTabDlg {
public:
    enum { IDC_DESCRIPTION = 52101, IDC_LIST = 52102, IDC_DELETE = 52103 };

    void OnInitPage() override;
    void Refresh() override;

protected:
    void OnDelete();
    DECLARE_MESSAGE_MAP()

    CListCtrl m_list;
    CGeneralImageButton m_delete;
    std::vector<IEPluginInfo> m_records;
};
