#include "YarrowbyFSJoinDlg.h"

#include <Common.h>

#include "Dictionary.h"
#include "MainWindowBusy.h"
#include "SplitJoinRules.h"
#include "controls/FolderDialog.h"
#include "ToolOutcome.h"

using nsVendrel::TranslateCode;

namespace {
// The open dialog's name buffer, in characters: room for a great many pieces.
const DWORD kNameBufferChars = 67600;
}  // namespace

BEGIN_MESSAGE_MAP(CYarrowbyFSJoinDlg, CYarrowbyFSPage)
    ON_BN_CLICKED(CYarrowbyFSJoinDlg::IDC_BROWSE_PIECES, &CYarrowbyFSJoinDlg::OnBrowsePieces)
    ON_BN_CLICKED(CYarrowbyFSJoinDlg::IDC_BROWSE_FOLDER, &CYarrowbyFSJoinDlg::OnBrowseFolder)
    ON_BN_CLICKED(CYarrowbyFSJoinDlg::IDC_JOIN, &CYarrowbyFSJoinDlg::OnJoin)
    ON_MESSAGE(WM_FILEJOIN_PROGRESS, &CYarrowbyFSJoinDlg::OnJoinProgress)
    ON_MESSAGE(WM_FILEJOIN_DONE, &CYarrowbyFSJoinDlg::OnJoinDone)
END_MESSAGE_MAP()

CYarrowbyFSJoinDlg::CYarrowbyFSJoinDlg() = default;

CYarrowbyFSJoinDlg::~CYarrowbyFSJoinDlg()
{
    // A join still going ends here (nothing is left behind); its done message changes nothing any more.
    m_bClosing = true;
    m_join.Stop();
}

void CYarrowbyFSJoinDlg::OnInitPage()
{
    CRect client;
    GetClientRect(&client);
    const int right = client.right - 20;
    m_steps[0].Create(TranslateCode(L"IDS_SYT_TOOLS_FS_JOIN_GROUPBOX1"), WS_CHILD | WS_VISIBLE | BS_GROUPBOX,
                      CRect(20, 0, right, 228), this, IDC_STEP1);
    m_steps[1].Create(TranslateCode(L"IDS_SYT_TOOLS_FS_JOIN_GROUPBOX2"), WS_CHILD | WS_VISIBLE | BS_GROUPBOX,
                      CRect(20, 236, right, 298), this, IDC_STEP2);
    m_hint.Create(TranslateCode(L"IDS_SYT_TOOLS_FS_JOIN_TIP_SEl_FILE"), WS_CHILD | WS_VISIBLE | SS_LEFT,
                  CRect(35, 28, right - 150, 46), this, IDC_HINT);
    m_browsePieces.Create(TranslateCode(L"IDS_SYT_TOOLS_FS_JOIN_BTN_BROWSE"), WS_CHILD | WS_VISIBLE,
                          CRect(right - 134, 16, right - 10, 56), this, IDC_BROWSE_PIECES);
    m_list.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS,
                  CRect(35, 62, right - 15, 218), this, IDC_LIST);
    m_list.SetExtendedStyle(LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    m_list.InsertColumn(0, L"Filename", LVCFMT_LEFT, right - 75);
    m_folder.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | ES_LEFT | ES_AUTOHSCROLL | ES_READONLY,
                    CRect(35, 260, right - 150, 282), this, IDC_FOLDER);
    m_browseFolder.Create(TranslateCode(L"IDS_SYT_TOOLS_FS_JOIN_BTN_BROWSE"), WS_CHILD | WS_VISIBLE,
                          CRect(right - 134, 251, right - 10, 291), this, IDC_BROWSE_FOLDER);
    m_progress.Create(WS_CHILD | WS_VISIBLE, CRect(20, 310, right, 326), this, IDC_PROGRESS);
    m_progress.SetRange(0, 100);
    m_joinButton.Create(TranslateCode(L"IDS_SYT_TOOLS_FS_JOIN_BTN_JOIN"), WS_CHILD | WS_VISIBLE,
                        CRect(right - 124, 338, right, 378), this, IDC_JOIN);
    for (CWnd* wnd : {static_cast<CWnd*>(&m_steps[0]), static_cast<CWnd*>(&m_steps[1]), static_cast<CWnd*>(&m_hint),
                      static_cast<CWnd*>(&m_list), static_cast<CWnd*>(&m_folder)})
        wnd->SetFont(&m_textFont);
    m_join.SetParentWnd(m_hWnd);
}

void CYarrowbyFSJoinDlg::SetPieces(const std::vector<std::wstring>& paths)
{
    m_list.DeleteAllItems();
    std::vector<CString> rows;
    for (const std::wstring& path : paths) {
        const CString text = path.c_str();
        const int index = JoinInsertIndex(rows, text);
        rows.insert(rows.begin() + index, text);
        m_list.InsertItem(index, text);
    }
}

void CYarrowbyFSJoinDlg::SetFolder(const CString& folder) { m_folder.SetWindowText(folder); }

void CYarrowbyFSJoinDlg::OnBrowsePieces()
{
    std::vector<wchar_t> names(kNameBufferChars, L'\0');
    CFileDialog dialog(TRUE, nullptr, nullptr, OFN_ALLOWMULTISELECT | OFN_EXPLORER,
                       L"Splite Files|*.splt|All Files|*.*||", this);
    dialog.m_ofn.lpstrFile = names.data();
    dialog.m_ofn.nMaxFile = kNameBufferChars;
    if (dialog.DoModal() != IDOK) return;
    std::vector<std::wstring> paths;
    for (POSITION pos = dialog.GetStartPosition(); pos;) paths.push_back(std::wstring(dialog.GetNextPathName(pos)));
    SetPieces(paths);
}

void CYarrowbyFSJoinDlg::OnBrowseFolder()
{
    CFolderDialog dialog;
    dialog.m_bi.hwndOwner = m_hWnd;
    if (dialog.DoModal() == IDOK) SetFolder(dialog.GetFolderPath());
}

void CYarrowbyFSJoinDlg::OnJoin()
{
    if (m_list.GetItemCount() <= 1) {
        AfxMessageBox(TranslateCode(L"IDS_SYT_TOOLS_FS_JOINONLYONEFILE"));
        return;
    }
    CString folder;
    m_folder.GetWindowText(folder);
    if (folder.IsEmpty()) {
        AfxMessageBox(TranslateCode(L"IDS_SYS_TOOLS_FS_CHOOSEFOLDER"));
        return;
    }
    if (!SBRecursiveCreateDirectoryW(folder)) return;
    const std::wstring name = CFileJoin::JoinedFileName(std::wstring(m_list.GetItemText(0, 0)));
    if (name.empty()) return;
    std::vector<std::wstring> pieces;
    for (int row = 0; row < m_list.GetItemCount(); ++row) pieces.push_back(std::wstring(m_list.GetItemText(row, 0)));
    // An existing file is replaced only once the joined file is complete; declining keeps it and starts nothing.
    if (SBIsFileExistW(JoinOutputPath(folder, name.c_str())) &&
        AfxMessageBox(TranslateCode(L"IDS_SYT_TOOLS_FS_JOIN_FILEEXIST"), MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;

    EnablePages(FALSE);
    SetMainWindowBusy(true);
    m_bRunning = true;
    m_join.JoinSpliterFiles(pieces, std::wstring(folder), name);
}

LRESULT CYarrowbyFSJoinDlg::OnJoinProgress(WPARAM done, LPARAM total)
{
    m_progress.SetPos(ToolBarPosition(done, total));
    m_progress.UpdateWindow();
    return 0;
}

LRESULT CYarrowbyFSJoinDlg::OnJoinDone(WPARAM failed, LPARAM firstError)
{
    if (m_bClosing) return 0;
    EnablePages(TRUE);
    if (m_bRunning) SetMainWindowBusy(false);
    m_bRunning = false;
    if (failed == 0) {
        m_progress.SetPos(100);
        SetFolder(L"");
        m_list.DeleteAllItems();
        AfxMessageBox(TranslateCode(L"IDS_SYT_TOOLS_FJ_SUCCESS"));
    } else {
        // The pieces and the folder stay for another try.
        m_progress.SetPos(0);
        AfxMessageBox(ToolFailureText(L"IDS_SYT_TOOLS_FS_JOIN_FAILED", failed, firstError), MB_OK | MB_ICONWARNING);
    }
    return 0;
}
