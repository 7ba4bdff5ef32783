#include "FolderDialog.h"

CFolderDialog::CFolderDialog() : m_bi(), m_szInitialFolder(), m_szPath()
{
    m_bi.pszDisplayName = new wchar_t[MAX_PATH]();
    m_bi.ulFlags = BIF_RETURNONLYFSDIRS;
    m_bi.lpfn = BrowseCallbackProc;
    m_bi.lParam = reinterpret_cast<LPARAM>(this);
}

CFolderDialog::~CFolderDialog()
{
    delete[] m_bi.pszDisplayName;
    if (m_bi.pidlRoot) ::CoTaskMemFree(const_cast<LPITEMIDLIST>(m_bi.pidlRoot));
}

void CFolderDialog::SetInitialFolder(LPCWSTR folder) { lstrcpynW(m_szInitialFolder, folder ? folder : L"", MAX_PATH); }

INT_PTR CFolderDialog::DoModal()
{
    m_bi.hwndOwner = PreModal();
    m_szPath[0] = L'\0';
    LPITEMIDLIST chosen = ::SHBrowseForFolderW(&m_bi);
    if (!chosen) return IDCANCEL;
    BOOL hasPath = ::SHGetPathFromIDListW(chosen, m_szPath);
    ::CoTaskMemFree(chosen);
    if (!hasPath) {
        m_szPath[0] = L'\0';
        return -1;
    }
    return IDOK;
}

void CFolderDialog::OnInitialized()
{
    if (m_szInitialFolder[0])
        ::SendMessageW(m_hBrowseWnd, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(m_szInitialFolder));
}

void CFolderDialog::OnSelChanged(LPCITEMIDLIST item)
{
    if (!(m_bi.ulFlags & BIF_STATUSTEXT)) return;
    wchar_t path[MAX_PATH] = L"";
    if (!item || !::SHGetPathFromIDListW(item, path)) path[0] = L'\0';
    ::SendMessageW(m_hBrowseWnd, BFFM_SETSTATUSTEXTW, 0, reinterpret_cast<LPARAM>(path));
}

int CFolderDialog::OnValidateFailed(LPCWSTR)
{
    ::MessageBeep(MB_ICONHAND);
    return 1;  // keep the browser open
}

int CALLBACK CFolderDialog::BrowseCallbackProc(HWND wnd, UINT message, LPARAM lParam, LPARAM data)
{
    CFolderDialog* dialog = reinterpret_cast<CFolderDialog*>(data);
    if (!dialog) return 0;
    dialog->m_hBrowseWnd = wnd;
    int result = 0;
    switch (message) {
    case BFFM_INITIALIZED: dialog->OnInitialized(); break;
    case BFFM_SELCHANGED: dialog->OnSelChanged(reinterpret_cast<LPCITEMIDLIST>(lParam)); break;
    case BFFM_VALIDATEFAILEDW: result = dialog->OnValidateFailed(reinterpret_cast<LPCWSTR>(lParam)); break;
    }
    dialog->m_hBrowseWnd = nullptr;
    return result;
}
