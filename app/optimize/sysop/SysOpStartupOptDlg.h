// CSysOpStartupOptDlg: the programs started at log-on from both Run keys with their icons, the details of the
// selected one, and removal of the checked ones.
#pragma once

#include <Tessik/RegAutoStartupItemMan.h>

#include <vector>

#include "FunctionDlg.h"
#include "ImageButton.h"

class CSysOpStartupOptDlg : public CFunctionDlg {
public:
    enum {
        IDC_LIST = 26001,
        IDC_DETAILS = 26002,
        IDC_PROGRAM_ICON = 26003,
        IDC_NAME = 26004,
        IDC_FILE = 26005,
        IDC_LOCATION = 26006,
        IDC_REMOVE = 26007
    };
    using Item = tessik::CRegAutoStartupItemMan::StartupItem;

    CSysOpStartupOptDlg();
    // wow64: the process is a 32-bit one on 64-bit Windows (the default constructor asks the system). Every item
    // is checked and removed in the registry view it was listed from.
    explicit CSysOpStartupOptDlg(bool wow64);
    void OnInitPage() override;
    void OnShowPage() override;

    void Refresh();
    void OnRemove();
    CListCtrl& List() { return m_list; }
    // The item behind a row (rows and items are kept in the same order).
    const Item* ItemOfRow(int row) const;

protected:
    void OnItemChanged(NMHDR* header, LRESULT* result);
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    DECLARE_MESSAGE_MAP()

    CListCtrl m_list;
    CImageList m_smallIcons, m_largeIcons;
    CButton m_details;
    CStatic m_icon, m_name, m_file, m_location;
    CGeneralImageButton m_remove;
    std::vector<Item> m_items;
    bool m_wow64;
};
