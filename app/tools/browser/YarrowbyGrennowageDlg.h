// The browser management page of the tools group: six tab buttons along its top and the six tabs below them
// (general, plug-ins, ActiveX, security, helper objects, restore). Showing the page selects the general tab;
// choosing a tab hides the others and reloads the chosen one.
#pragma once

#include <map>

#include "FunctionDlg.h"
#include "TabButton.h"
#include "YarrowbyGrennowageActiveXDlg.h"
#include "YarrowbyGrennowageBHODlg.h"
#include "YarrowbyGrennowageGeneralDlg.h"
#include "YarrowbyGrennowagePluginDlg.h"
#include "YarrowbyGrennowageRestoreDlg.h"
#include "YarrowbyGrennowageSecurityDlg.h"

class CYarrowbyGrennowageDlg : public CFunctionDlg {
    DECLARE_DYNAMIC(CYarrowbyGrennowageDlg)
public:
    enum { IDC_TAB_GENERAL = 52001, IDC_TAB_PLUGIN, IDC_TAB_ACTIVEX, IDC_TAB_SECURITY, IDC_TAB_BHO, IDC_TAB_RESTORE };
    enum { kTabCount = 6 };

    CYarrowbyGrennowageDlg();
    ~CYarrowbyGrennowageDlg() override;

    void OnInitPage() override;
    void OnShowPage() override;

    // Marks the tab button, hides every other tab and shows (and reloads) the tab of that button. A button id
    // outside the six leaves every tab hidden.
    void SelectTab(UINT buttonId);
    // Repaints the six tab buttons.
    void InvalidateTabs();
    CTabButton* GetTabButton(UINT buttonId);

protected:
    void OnTab(UINT buttonId);
    DECLARE_MESSAGE_MAP()

    // Tab button id -> tab page id, in ascending button order.
    std::map<int, int> m_tabPages;
    CTabButton m_tabs[kTabCount];
    CYarrowbyGrennowageGeneralDlg m_general;
    CYarrowbyGrennowagePluginDlg m_plugin;
    CYarrowbyGrennowageActiveXDlg m_activeX;
    CYarrowbyGrennowageSecurityDlg m_security;
    CYarrowbyGrennowageBHODlg m_bho;
    CYarrowbyGrennowageRestoreDlg m_restore;
};
