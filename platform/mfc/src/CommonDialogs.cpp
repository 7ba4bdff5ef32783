// CFileDialog over GetOpenFileName/GetSaveFileName.
#include "ThreadState.h"

#include "QMfcCommonDialogs.h"

IMPLEMENT_DYNAMIC(CFileDialog, CCommonDialog)

CFileDialog::CFileDialog(BOOL openFileDialog, LPCWSTR defExt, LPCWSTR fileName, DWORD flags, LPCWSTR filter,
                         CWnd* parent, DWORD, BOOL)
    : CCommonDialog(parent),
      m_ofn(),
      m_bOpenFileDialog(openFileDialog),
      m_szFileName(),
      m_szFileTitle(),
      m_strDefExt(defExt)
{
    m_ofn.lStructSize = sizeof(m_ofn);
    m_ofn.lpstrFile = m_szFileName;
    m_ofn.nMaxFile = sizeof(m_szFileName) / sizeof(m_szFileName[0]);
    m_ofn.lpstrFileTitle = m_szFileTitle;
    m_ofn.nMaxFileTitle = sizeof(m_szFileTitle) / sizeof(m_szFileTitle[0]);
    m_ofn.Flags = flags | OFN_ENABLESIZING;
    if (openFileDialog) m_ofn.Flags |= OFN_EXPLORER;
    if (defExt) m_ofn.lpstrDefExt = m_strDefExt;
    if (fileName) lstrcpynW(m_szFileName, fileName, (int)m_ofn.nMaxFile);
    if (filter) {
        // "a|b|c||" -> "a\0b\0c\0\0"
        for (const wchar_t* p = filter; *p; ++p) m_filter.push_back(*p == L'|' ? L'\0' : *p);
        m_filter.push_back(L'\0');
        m_filter.push_back(L'\0');
        m_ofn.lpstrFilter = m_filter.data();
    }
}

INT_PTR CFileDialog::DoModal()
{
    m_ofn.hwndOwner = PreModal();
    m_ofn.hInstance = AfxGetInstanceHandle();
    BOOL ok = m_bOpenFileDialog ? GetOpenFileNameW(&m_ofn) : GetSaveFileNameW(&m_ofn);
    return ok ? IDOK : IDCANCEL;
}

CString CFileDialog::GetPathName() const
{
    if ((m_ofn.Flags & OFN_ALLOWMULTISELECT) && m_ofn.nFileOffset > 0 && m_ofn.lpstrFile[m_ofn.nFileOffset - 1] == 0) {
        // Several files: the buffer starts with the folder.
        POSITION pos = GetStartPosition();
        return GetNextPathName(pos);
    }
    return CString(m_ofn.lpstrFile);
}

CString CFileDialog::GetFileName() const
{
    CString path = GetPathName();
    return path.Mid(path.ReverseFind(L'\\') + 1);
}

CString CFileDialog::GetFileExt() const
{
    CString name = GetFileName();
    int dot = name.ReverseFind(L'.');
    return dot >= 0 ? name.Mid(dot + 1) : CString();
}

CString CFileDialog::GetFileTitle() const
{
    CString name = GetFileName();
    int dot = name.ReverseFind(L'.');
    return dot > 0 ? name.Left(dot) : name;
}

CString CFileDialog::GetFolderPath() const
{
    CString path = GetPathName();
    int slash = path.ReverseFind(L'\\');
    return slash >= 0 ? path.Left(slash) : CString();
}

CString CFileDialog::GetNextPathName(POSITION& pos) const
{
    const wchar_t* p = (const wchar_t*)pos;
    if (!p) return CString();
    const wchar_t* buffer = m_ofn.lpstrFile;
    if (p == buffer) {
        if (!(m_ofn.Flags & OFN_ALLOWMULTISELECT)) {
            pos = NULL;
            return CString(buffer);
        }
        p += wcslen(p) + 1;
        if (!*p) {  // a single selection holds the whole path
            pos = NULL;
            return CString(buffer);
        }
    }
    CString folder(buffer);
    CString name(p);
    p += wcslen(p) + 1;
    pos = *p ? (POSITION)p : NULL;
    if (!folder.IsEmpty() && folder[folder.GetLength() - 1] != L'\\') folder += L'\\';
    return folder + name;
}
