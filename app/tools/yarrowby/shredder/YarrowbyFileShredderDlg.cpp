#include "YarrowbyFileShredderDlg.h"

#include <Common.h>
#include <QExactPath.h>

#include "Dictionary.h"
#include "MainWindowBusy.h"
#include "PageFactory.h"
#include "ShredderText.h"
#include "ToolOutcome.h"

using nsVendrel::TranslateCode;

QUORVEL_REGISTER_PAGE(PAGE_ID_TOOLS_FILE_SHREDDER, CYarrowbyFileShredderDlg);

namespace {
// The open dialog's name buffer, in characters.
const DWORD kNameBufferChars = 2412;
}  // namespace

BEGIN_MESSAGE_MAP(CYarrowbyFileShredderDlg, CFunctionDlg)
    ON_BN_CLICKED(CYarrowbyFileShredderDlg::IDC_ADD, &CYarrowbyFileShredderDlg::OnAdd)
    ON_BN_CLICKED(CYarrowbyFileShredderDlg::IDC_REMOVE, &CYarrowbyFileShredderDlg::OnRemove)
    ON_BN_CLICKED(CYarrowbyFileShredderDlg::IDC_ERASE, &CYarrowbyFileShredderDlg::OnErase)
    ON_EN_CHANGE(CYarrowbyFileShredderDlg::IDC_PASSES, &CYarrowbyFileShredderDlg::OnPassesChanged)
    ON_MESSAGE(WM_SHRED_PROGRESS, &CYarrowbyFileShredderDlg::OnShredProgress)
    ON_MESSAGE(WM_SHRED_DONE, &CYarrowbyFileShredderDlg::OnShredDone)
END_MESSAGE_MAP()

CYarrowbyFileShredderDlg::CYarrowbyFileShredderDlg() = default;

CYarrowbyFileShredderDlg::~CYarrowbyFileShredderDlg()
{
    // A run still going ends here; its done message finds the page closing and changes nothing.
    m_bClosing = true;
    m_shredder.Stop();
}

void CYarrowbyFileShredderDlg::OnInitPage()
{
    CRect client;
    GetClientRect(&client);
    const int right = client.right - 20;
    m_rotator.m_nPeriod = 100;
    m_rotator.Create(L"", WS_CHILD | WS_VISIBLE, CRect(20, 15, 84, 79), this, IDC_ROTATOR);
    m_rotator.AddImage(386);
    CreateControl({IDC_DESCRIPTION, PageControlKind::Text, {100, 20, right, 80}, L"IDS_SYT_TOOLS_FILE_SHREDDER_DESP"});

    CreateList(m_list, IDC_LIST, CRect(20, 90, right, 400), WS_TABSTOP | LVS_SHOWSELALWAYS,
               LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    m_list.SetFont(&TextFont());
    m_list.InsertColumn(0, TranslateCode(L"IDS_SYT_TOOLS_FILE_SHREDDER_LIST1"), LVCFMT_LEFT, 420);
    m_list.InsertColumn(1, TranslateCode(L"IDS_SYT_TOOLS_FILE_SHREDDER_LIST2"), LVCFMT_RIGHT, 110);
    m_list.InsertColumn(2, TranslateCode(L"IDS_SYT_TOOLS_FILE_SHREDDER_LIST3"), LVCFMT_LEFT, 140);

    CreateControl({IDC_PASSES_LABEL, PageControlKind::Text, {20, 417, 230, 435}, L"IDS_SYT_TOOLS_FILE_SHREDDER_TIMES"});
    CreateEdit(m_passes, IDC_PASSES, CRect(235, 414, 285, 436), WS_TABSTOP | ES_AUTOHSCROLL);
    m_passes.SetWindowText(L"1");
    m_spin.Create(WS_CHILD | WS_VISIBLE | UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS | UDS_NOTHOUSANDS,
                  CRect(0, 0, 0, 0), this, IDC_PASSES_SPIN);
    m_spin.SetBuddy(&m_passes);
    m_spin.SetRange32(CFileShredder::kMinPasses, CFileShredder::kMaxPasses);
    m_spin.SetPos32(1);

    const PageControlRow buttons[] = {
        {IDC_ADD, PageControlKind::Button, {20, 448, 144, 488}, L"IDS_SYT_TOOLS_FILE_SHREDDER_BTN_ADD"},
        {IDC_REMOVE, PageControlKind::Button, {154, 448, 278, 488}, L"IDS_SYT_TOOLS_FILE_SHREDDER_BTN_REMOVE"},
        {IDC_ERASE, PageControlKind::Button, {right - 124, 448, right, 488}, L"IDS_SYT_TOOLS_FILE_SHREDDER_BTN_ERASE"},
    };
    CreateControls(buttons);
    m_progress.Create(WS_CHILD | WS_VISIBLE, CRect(20, 500, right, 516), this, IDC_PROGRESS);
    m_progress.SetRange(0, 100);
    m_progress.SetPos(0);
    m_shredder.SetParentWnd(m_hWnd);
}

bool CYarrowbyFileShredderDlg::IsListed(const CString& path) const
{
    for (int row = 0; row < m_list.GetItemCount(); ++row)
        if (m_list.GetItemText(row, 0).CompareNoCase(path) == 0) return true;
    return false;
}

void CYarrowbyFileShredderDlg::AddFiles(const std::vector<std::wstring>& paths)
{
    for (const std::wstring& path : paths) {
        const CString text = path.c_str();
        if (IsListed(text)) {
            AfxMessageBox(TranslateCode(L"IDS_SYT_TOOLS_FILE_SHREDDER_FILE") + text +
                          TranslateCode(L"IDS_SYT_TOOLS_FILE_SHREDDER_EXIST"));
            continue;
        }
        CString time;
        WIN32_FIND_DATAW entry;
        HANDLE find = ::FindFirstFileW(path.c_str(), &entry);
        if (find != INVALID_HANDLE_VALUE) {
            ::FindClose(find);
            FILETIME localFile;
            SYSTEMTIME local;
            if (::FileTimeToLocalFileTime(&entry.ftLastWriteTime, &localFile) &&
                ::FileTimeToSystemTime(&localFile, &local))
                time = ShredTimeText(local);
        }
        const int row = m_list.GetItemCount();
        m_list.InsertItem(row, text);
        m_list.SetItemText(row, 1, ShredSizeText(SBGetFileSizeW(path.c_str())));
        m_list.SetItemText(row, 2, time);
    }
}

void CYarrowbyFileShredderDlg::OnAdd()
{
    std::vector<wchar_t> names(kNameBufferChars, L'\0');
    CFileDialog dialog(TRUE, nullptr, nullptr, OFN_HIDEREADONLY | OFN_ALLOWMULTISELECT | OFN_EXPLORER, nullptr, this);
    dialog.m_ofn.lpstrFile = names.data();
    dialog.m_ofn.nMaxFile = kNameBufferChars;
    if (dialog.DoModal() != IDOK) return;
    std::vector<std::wstring> paths;
    for (POSITION pos = dialog.GetStartPosition(); pos;) paths.push_back(std::wstring(dialog.GetNextPathName(pos)));
    AddFiles(paths);
}

void CYarrowbyFileShredderDlg::OnRemove()
{
    if (m_list.GetSelectedCount() == 0) {
        AfxMessageBox(TranslateCode(L"IDS_SYT_TOOLS_FILE_SHREDDER_SELECT"));
        return;
    }
    for (int row = m_list.GetItemCount() - 1; row >= 0; --row)
        if (m_list.GetItemState(row, LVIS_SELECTED) & LVIS_SELECTED) m_list.DeleteItem(row);
}

void CYarrowbyFileShredderDlg::OnPassesChanged()
{
    if (!m_passes.GetSafeHwnd()) return;
    CString text;
    m_passes.GetWindowText(text);
    if (!IsPassCountText(text)) m_passes.SetWindowText(L"1");
}

void CYarrowbyFileShredderDlg::OnErase()
{
    if (m_list.GetItemCount() == 0) {
        AfxMessageBox(TranslateCode(L"IDS_SYT_TOOLS_FILE_SHREDDER_NOITEM"));
        return;
    }
    CString text;
    m_passes.GetWindowText(text);
    m_nRunPasses = PassCountOf(text);
    m_nStep = 0;
    std::vector<std::wstring> files;
    for (int row = 0; row < m_list.GetItemCount(); ++row) files.push_back(std::wstring(m_list.GetItemText(row, 0)));

    EnableWindow(FALSE);
    SetMainWindowBusy(true);
    m_bRunning = true;
    // The done message comes once, later from the shredder's thread, or at once when it cannot start.
    m_shredder.ShredderFiles(files, m_nRunPasses);
}

LRESULT CYarrowbyFileShredderDlg::OnShredProgress(WPARAM, LPARAM)
{
    ++m_nStep;
    m_progress.SetPos(ShredBarPosition(m_nStep, m_nRunPasses));
    m_progress.UpdateWindow();
    return 0;
}

void CYarrowbyFileShredderDlg::RemoveShreddedRows()
{
    for (int row = m_list.GetItemCount() - 1; row >= 0; --row) {
        const std::wstring exact = qcore::ExactPath(std::wstring(m_list.GetItemText(row, 0)));
        if (::GetFileAttributesW(exact.c_str()) == INVALID_FILE_ATTRIBUTES && ::GetLastError() == ERROR_FILE_NOT_FOUND)
            m_list.DeleteItem(row);
    }
}

LRESULT CYarrowbyFileShredderDlg::OnShredDone(WPARAM failed, LPARAM firstError)
{
    m_nStep = 0;
    if (m_bClosing) return 0;
    EnableWindow(TRUE);
    if (m_bRunning) SetMainWindowBusy(false);
    m_bRunning = false;
    if (failed == 0) {
        m_list.DeleteAllItems();
        AfxMessageBox(TranslateCode(L"IDS_SYT_TOOLS_FILE_SHREDDER_SUCCESS"));
    } else {
        RemoveShreddedRows();
        AfxMessageBox(ToolFailureText(L"IDS_SYT_TOOLS_FILE_SHREDDER_FAILED", failed, firstError),
                      MB_OK | MB_ICONWARNING);
    }
    return 0;
}
