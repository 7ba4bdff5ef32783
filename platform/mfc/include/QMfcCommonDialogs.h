// CFileDialog: the system's open/save dialog. Filters are written MFC-style "Text|*.txt|All|*.*||" and turned
// into the system's NUL-separated form. Callers may point m_ofn.lpstrFile/nMaxFile at their own (larger) buffer
// before DoModal; multi-selection results are walked with GetStartPosition/GetNextPathName.
#pragma once

#include <commdlg.h>

#include <vector>

#include "QMfcDialog.h"

class CFileDialog : public CCommonDialog {
    DECLARE_DYNAMIC(CFileDialog)
public:
    explicit CFileDialog(BOOL openFileDialog, LPCWSTR defExt = NULL, LPCWSTR fileName = NULL,
                         DWORD flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, LPCWSTR filter = NULL,
                         CWnd* parent = NULL, DWORD size = 0, BOOL vistaStyle = TRUE);

    OPENFILENAMEW m_ofn;

    INT_PTR DoModal() override;
    CString GetPathName() const;
    CString GetFileName() const;
    CString GetFileExt() const;
    CString GetFileTitle() const;
    CString GetFolderPath() const;
    POSITION GetStartPosition() const { return (POSITION)m_ofn.lpstrFile; }
    CString GetNextPathName(POSITION& pos) const;

protected:
    BOOL m_bOpenFileDialog;
    std::vector<wchar_t> m_filter;
    wchar_t m_szFileName[MAX_PATH * 2];
    wchar_t m_szFileTitle[MAX_PATH];
    CString m_strDefExt;
};
