// CFolderDialog: the folder picker of the pages, over the shell's folder browser. DoModal returns IDOK with the
// chosen folder in GetFolderPath(), IDCANCEL when the user cancels, and -1 when the chosen item has no
// file-system path. Subclasses may react to the browser's notifications through the three virtuals; the
// browser's window (m_hBrowseWnd) is valid only while one of them runs.
#pragma once

#include <QMfc.h>

#include <shlobj.h>

class CFolderDialog : public CCommonDialog {
public:
    CFolderDialog();
    ~CFolderDialog() override;
    CFolderDialog(const CFolderDialog&) = delete;
    CFolderDialog& operator=(const CFolderDialog&) = delete;

    INT_PTR DoModal() override;

    // The folder selected when the browser opens (empty: the browser's own choice).
    void SetInitialFolder(LPCWSTR folder);
    CString GetFolderPath() const { return m_szPath; }

    virtual void OnInitialized();
    virtual void OnSelChanged(LPCITEMIDLIST item);
    virtual int OnValidateFailed(LPCWSTR text);

    static int CALLBACK BrowseCallbackProc(HWND wnd, UINT message, LPARAM lParam, LPARAM data);

    // Owner, root (an item list given here is freed with the dialog), title and flags of the browser.
    BROWSEINFOW m_bi;
    wchar_t m_szInitialFolder[MAX_PATH];
    wchar_t m_szPath[MAX_PATH];
    HWND m_hBrowseWnd = nullptr;
};
