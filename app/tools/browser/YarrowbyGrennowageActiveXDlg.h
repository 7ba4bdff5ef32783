// ActiveX tab of the browser page: the downloaded controls with their state, and block, unblock and delete for
// the checked rows.
#pragma once

#include <vector>

#include <Grennow.h>

#include "ImageButton.h"
#include "YarrowbyGrennowageTabDlg.h"

class CYarrowbyGrennowageActiveXDlg : public CYarrowbyGrennowageTabDlg {
public:
    enum { IDC_DESCRIPTION = 52201, IDC_LIST = 52202, IDC_UNBLOCK = 52203, IDC_BLOCK = 52204, IDC_DELETE = 52205 };

    void OnInitPage() override;
    void Refresh() override;

protected:
    void OnBlock();
    void OnUnblock();
    void OnDelete();
    DECLARE_MESSAGE_MAP()

    // Blocks (or unblocks) the checked controls that are not yet in that state.
    void SetBlocked(bool block);

    CListCtrl m_list;
    CGeneralImageButton m_delete, m_block, m_unblock;
    // The records of the rows (a row's item data is its index here).
    std::vector<IEActiveXInfo> m_records;
};
