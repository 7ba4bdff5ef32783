// CYarrowbyActiveXBlockDlg: the catalogue of known ActiveX controls with their blocked state; the ticked ones are
// blocked or unblocked through Yarrowby's kill bits.
#pragma once

#include <Yarrowby/ActiveXLock.h>

#include <string>
#include <vector>

#include "FunctionDlg.h"
#include "ImageButton.h"
#include "controls/ImageRotator.h"

class CYarrowbyActiveXBlockDlg : public CFunctionDlg {
public:
    enum {
        IDC_DESCRIPTION = 53001,
        IDC_STATE = 53002,
        IDC_ROTATOR = 53003,
        IDC_LIST = 53004,
        IDC_SELECT_ALL = 53005,
        IDC_BLOCK = 53006,
        IDC_UNBLOCK = 53007
    };
    // The catalogue's resource number.
    static const UINT kCatalogue = 409;

    CYarrowbyActiveXBlockDlg();
    void OnInitPage() override;
    void OnShowPage() override;

    // Reads every row's blocked state again, and the count of unblocked controls.
    void RefreshStates();
    // Blocks (true) or unblocks the ticked rows' controls.
    void BlockTicked(bool block);
    CListCtrl& List() { return m_list; }

protected:
    void OnSelectAll();
    void OnBlock() { BlockTicked(true); }
    void OnUnblock() { BlockTicked(false); }
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    DECLARE_MESSAGE_MAP()

private:
    CListCtrl m_list;
    CButton m_selectAll;
    CActiveXLock m_lock;
    CStatic m_state;
    CImageRotator m_rotator;
};
