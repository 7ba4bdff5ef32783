// CYarrowbyUninstallDlg: the installed programs with their icons and details; a program's own uninstaller is
// started, or its entry taken off the list, through Yarrowby's uninstall manager.
#pragma once

#include <Yarrowby/UninstallManager.h>

#include <vector>

#include "FunctionDlg.h"
#include "ImageButton.h"

class CYarrowbyUninstallDlg : public CFunctionDlg {
public:
    enum {
        IDC_SHOW_ALL = 54001,
        IDC_LIST = 54002,
        IDC_DETAILS = 54003,
        IDC_PROGRAM_ICON = 54004,
        IDC_TITLE = 54005,
        IDC_VERSION_LABEL = 54006,
        IDC_VERSION = 54007,
        IDC_PUBLISHER_LABEL = 54008,
        IDC_PUBLISHER = 54009,
        IDC_HOMEPAGE_LABEL = 54010,
        IDC_HOMEPAGE = 54011,
        IDC_REFRESH = 54012,
        IDC_UNINSTALL = 54013,
        IDC_REMOVE = 54014
    };
    // The icon of a program that has none of its own.
    static const UINT kDefaultIcon = 410;

    CYarrowbyUninstallDlg();
    ~CYarrowbyUninstallDlg() override;

    void OnInitPage() override;
    void OnShowPage() override;

    void Refresh();
    CListCtrl& List() { return m_list; }
    // The record behind a row, or null.
    const UnInstallItem* RecordOfRow(int row) const;
    // The icon the details show (the page's own copy), or null.
    HICON ShownIcon() const { return m_shownIcon; }

protected:
    void OnShowAll();
    void OnRefreshClicked();
    void OnUninstall();
    void OnRemove();
    void OnItemChanged(NMHDR* header, LRESULT* result);
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    DECLARE_MESSAGE_MAP()

private:
    void DeleteRecords();
    int SelectedRow() const;
    void RepaintDetails();
    // Uninstall and Remove Entry with no row chosen.
    void AskToChooseAProgram();

    CButton m_showAll;
    CListCtrl m_list;
    CButton m_details;
    CStatic m_icon, m_title, m_version, m_publisher, m_homePage;
    CUninstallManager m_manager;
    std::vector<UnInstallItem*> m_records;
    CImageList m_icons;
    bool m_bShowAll = false;
    // The details' icon is a copy of its own, so no record's icon is ever destroyed while it is shown.
    HICON m_shownIcon = nullptr;
    CFont m_titleFont;
};
