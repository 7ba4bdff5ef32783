// CYarrowbyFileShredderDlg: files collected in a list are overwritten several times and deleted by Yarrowby's
// shredder, which reports to the page with WM_SHRED_PROGRESS and WM_SHRED_DONE.
#pragma once

#include <Yarrowby/FileShredder.h>

#include <string>
#include <vector>

#include "FunctionDlg.h"
#include "ImageButton.h"
#include "controls/ImageRotator.h"
#include "controls/ProgressCtrlEx.h"

class CYarrowbyFileShredderDlg : public CFunctionDlg {
public:
    enum {
        IDC_ROTATOR = 56001,
        IDC_DESCRIPTION = 56002,
        IDC_LIST = 56003,
        IDC_PASSES_LABEL = 56004,
        IDC_PASSES = 56005,
        IDC_PASSES_SPIN = 56006,
        IDC_ADD = 56007,
        IDC_REMOVE = 56008,
        IDC_ERASE = 56009,
        IDC_PROGRESS = 56010
    };

    CYarrowbyFileShredderDlg();
    ~CYarrowbyFileShredderDlg() override;

    void OnInitPage() override;

    // Appends the files in order; one already listed (compared ignoring case) is named in a message and skipped.
    void AddFiles(const std::vector<std::wstring>& paths);
    CListCtrl& List() { return m_list; }
    CProgressCtrlEx& Progress() { return m_progress; }

protected:
    void OnAdd();
    void OnRemove();
    void OnErase();
    void OnPassesChanged();
    LRESULT OnShredProgress(WPARAM, LPARAM);
    LRESULT OnShredDone(WPARAM failed, LPARAM firstError);
    DECLARE_MESSAGE_MAP()

private:
    bool IsListed(const CString& path) const;
    // Takes away the rows whose files are gone (shredded); the others stay for another try.
    void RemoveShreddedRows();

    CListCtrl m_list;
    CEdit m_passes;
    CProgressCtrlEx m_progress;
    int m_nStep = 0;
    CFileShredder m_shredder;
    CImageRotator m_rotator;
    CSpinButtonCtrl m_spin;
    int m_nRunPasses = 1;
    bool m_bRunning = false;
    bool m_bClosing = false;
};
