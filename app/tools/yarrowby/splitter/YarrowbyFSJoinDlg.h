// CYarrowbyFSJoinDlg: the join tab: the pieces of a split file, listed in their number order, and an output
// folder; Yarrowby's joiner writes the file and reports with WM_FILEJOIN_PROGRESS and WM_FILEJOIN_DONE.
#pragma once

#include <Yarrowby/FileJoin.h>

#include <string>
#include <vector>

#include "YarrowbyFSPage.h"

class CYarrowbyFSJoinDlg : public CYarrowbyFSPage {
public:
    enum {
        IDC_STEP1 = 55200,
        IDC_STEP2 = 55201,
        IDC_HINT = 55202,
        IDC_BROWSE_PIECES = 55204,
        IDC_LIST = 55205,
        IDC_FOLDER = 55207,
        IDC_BROWSE_FOLDER = 55208,
        IDC_JOIN = 55209,
        IDC_PROGRESS = 55210
    };

    CYarrowbyFSJoinDlg();
    ~CYarrowbyFSJoinDlg() override;

    void OnInitPage() override;

    // Empties the list and lists the pieces, each where the join order puts it.
    void SetPieces(const std::vector<std::wstring>& paths);
    void SetFolder(const CString& folder);
    void OnJoin();
    CListCtrl& List() { return m_list; }

protected:
    void OnBrowsePieces();
    void OnBrowseFolder();
    LRESULT OnJoinDone(WPARAM failed, LPARAM firstError);
    DECLARE_MESSAGE_MAP()

private:
    CListCtrl m_list;
    CFileJoin m_join;
};
