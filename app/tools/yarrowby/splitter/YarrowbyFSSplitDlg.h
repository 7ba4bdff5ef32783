// CYarrowbyFSSplitDlg: the split tab: a file, a folder and a piece size, and Yarrowby's splitter writing the
// pieces, which reports with WM_FILESPLIT_PROGRESS and WM_FILESPLIT_DONE.
#pragma once

#include <Yarrowby/FileSpliter.h>

#include "YarrowbyFSPage.h"

class CYarrowbyFSSplitDlg : public CYarrowbyFSPage {
public:
    enum {
        IDC_STEP1 = 55101,
        IDC_STEP2 = 55102,
        IDC_STEP3 = 55103,
        IDC_NAME_LABEL = 55104,
        IDC_SOURCE = 55105,
        IDC_BROWSE_SOURCE = 55106,
        IDC_FOLDER_LABEL = 55107,
        IDC_FOLDER = 55108,
        IDC_BROWSE_FOLDER = 55109,
        IDC_SIZE_FIRST = 55110,
        IDC_SIZE_LAST = 55114,
        IDC_CUSTOM = 55115,
        IDC_CUSTOM_SPIN = 55116,
        IDC_PROGRESS = 55117,
        IDC_SPLIT = 55118
    };
    // Files below this size are not split.
    static const long long kSmallestSource = 1048576;

    CYarrowbyFSSplitDlg();
    ~CYarrowbyFSSplitDlg() override;

    void OnInitPage() override;
    void OnShowPage() override;

    void SetSource(const CString& path);
    void SetFolder(const CString& folder);
    void OnSplit();

protected:
    void OnBrowseSource();
    void OnBrowseFolder();
    void OnSizeChoice(UINT id);
    LRESULT OnSplitDone(WPARAM failed, LPARAM firstError);
    DECLARE_MESSAGE_MAP()

private:
    // Asks before pieces of an earlier split of this name are replaced and removes them; false when declined.
    bool ClearEarlierPieces(const CString& source, const CString& folder, unsigned long long pieceSize);

    CFileSpliter m_spliter;
    CStatic m_unit;
    CSpinButtonCtrl m_spin;
};
