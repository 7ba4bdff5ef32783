// CYarrowbyFileSplitterHomeDlg: the splitter's page, two tabs over its two sub-pages: the split page and the
// join page.
#pragma once

#include "FunctionDlg.h"
#include "TabButton.h"
#include "YarrowbyFSJoinDlg.h"
#include "YarrowbyFSSplitDlg.h"

class CYarrowbyFileSplitterHomeDlg : public CFunctionDlg {
public:
    enum { IDC_DESCRIPTION = 55001, IDC_TAB_SPLIT = 55002, IDC_TAB_JOIN = 55003 };
    // Sub-page keys.
    enum { kSplitPage = 55004, kJoinPage = 55005 };

    CYarrowbyFileSplitterHomeDlg();
    void OnInitPage() override;
    void OnShowPage() override;

    // Marks the tab and shows its sub-page; the other tab's sub-page is hidden.
    void SelectTab(UINT tabId);
    static int SubPageOfTab(UINT tabId);
    CYarrowbyFSSplitDlg& SplitPage() { return m_split; }
    CYarrowbyFSJoinDlg& JoinPage() { return m_join; }

protected:
    void OnTab(UINT id);
    DECLARE_MESSAGE_MAP()

private:
    CTabButton m_tabs[2];
    CYarrowbyFSSplitDlg m_split;
    CYarrowbyFSJoinDlg m_join;
};
