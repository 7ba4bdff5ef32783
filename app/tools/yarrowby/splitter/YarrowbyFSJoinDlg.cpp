#include "YarrowbyFSJoinDlg.h"

#include <Common.h>

#include "Dictionary.h"
#include "SplitJoinRules.h"

using nsVendrel::TranslateCode;

namespace {
// The open dialog's name buffer, in characters: room for a great many pieces.
const DWORD kNameBufferChars = 67600;
}  // namespace

BEGIN_MESSAGE_MAP(CYarrowbyFSJoinDlg, CYarrowbyFSPage)
    ON_BN_CLICKED(CYarrowbyFSJoinDlg::IDC_BROWSE_PIECES, &CYarrowbyFSJoinDlg::OnBrowsePieces)
    ON_BN_CLICKED(CYarrowbyFSJoinDlg::IDC_BROWSE_FOLDER, &CYarrowbyFSJoinDlg::OnBrowseFolder)
    ON_BN_CLICKED(CYarrowbyFSJoinDlg::IDC_JOIN, &CYarrowbyFSJoinDlg::OnJoin)
    ON_MESSAGE(WM_FILEJOIN_PROGRESS, &CYarrowbyFSJoinDlg::OnRunProgress)
    ON_MESSAGE(WM_FILEJOIN_DONE, &CYarrowbyFSJoinDlg::OnJoinDone)
END_MESSAGE_MAP()

CYarrowbyFSJoinDlg::CYarrowbyFSJoinDlg() = default;

CYarrowbyFSJoinDlg::~CYarrowbyFSJoinDlg()
{
    // A join still going ends here (nothing is left behind).
    MarkClosing();
    m_join.Stop();
}

void CYarrowbyFSJoinDlg::OnInitPage()
{
    CRect client;
    GetClientRect(&client);
    const int right = client.right - 20;
    const PageControlRow pieces[] = {
        {IDC_STEP1, PageControlKind::GroupBox, {20, 0, right, 228}, L"IDS_SYT_TOOLS_FS_JOIN_GROUPBOX1"},
        {IDC_STEP2, PageControlKind::GroupBox, {20, 236, right, 298}, L"IDS_SYT_TOOLS_FS_JOIN_GROUPBOX2"},
        {IDC_HINT, PageControlKind::Text, {35, 28, right - 150, 46}, L"IDS_SYT_TOOLS_FS_JOIN_TIP_SEl_FILE"},
        {IDC_BROWSE_PIECES,
         PageControlKind::Button,
         {right - 134, 16, right - 10, 56},
         L"IDS_SYT_TOOLS_FS_JOIN_BTN_BROWSE"},
    };
    CreateControls(pieces);
    CreateList(m_list, IDC_LIST, CRect(35, 62, right - 15, 218), WS_TABSTOP | LVS_SHOWSELALWAYS,
               LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    m_list.InsertColumn(0, L"Filename", LVCFMT_LEFT, right - 75);
    m_list.SetFont(&TextFont());
    const PageControlRow folder[] = {
        {IDC_FOLDER, PageControlKind::Edit, {35, 260, right - 150, 282}, nullptr, ES_AUTOHSCROLL | ES_READONLY},
        {IDC_BROWSE_FOLDER,
         PageControlKind::Button,
         {right - 134, 251, right - 10, 291},
         L"IDS_SYT_TOOLS_FS_JOIN_BTN_BROWSE"},
    };
    CreateControls(folder);
    m_progress.Create(WS_CHILD | WS_VISIBLE, CRect(20, 310, right, 326), this, IDC_PROGRESS);
    m_progress.SetRange(0, 100);
    CreateControl(
        {IDC_JOIN, PageControlKind::Button, {right - 124, 338, right, 378}, L"IDS_SYT_TOOLS_FS_JOIN_BTN_JOIN"});
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

void CYarrowbyFSJoinDlg::SetFolder(const CString& folder) { SetDlgItemText(IDC_FOLDER, folder); }

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

void CYarrowbyFSJoinDlg::OnBrowseFolder() { BrowseFolderInto(IDC_FOLDER); }

void CYarrowbyFSJoinDlg::OnJoin()
{
    if (m_list.GetItemCount() <= 1) {
        AfxMessageBox(TranslateCode(L"IDS_SYT_TOOLS_FS_JOINONLYONEFILE"));
        return;
    }
    CString folder;
    GetDlgItemText(IDC_FOLDER, folder);
    if (!MakeOutputFolder(folder)) return;
    const std::wstring name = CFileJoin::JoinedFileName(std::wstring(m_list.GetItemText(0, 0)));
    if (name.empty()) return;
    std::vector<std::wstring> pieces;
    for (int row = 0; row < m_list.GetItemCount(); ++row) pieces.push_back(std::wstring(m_list.GetItemText(row, 0)));
    // An existing file is replaced only once the joined file is complete; declining keeps it and starts nothing.
    if (SBIsFileExistW(JoinOutputPath(folder, name.c_str())) &&
        AfxMessageBox(TranslateCode(L"IDS_SYT_TOOLS_FS_JOIN_FILEEXIST"), MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;

    BeginRun();
    m_join.JoinSpliterFiles(pieces, std::wstring(folder), name);
}

LRESULT CYarrowbyFSJoinDlg::OnJoinDone(WPARAM failed, LPARAM firstError)
{
    if (!EndRun(failed, firstError, L"IDS_SYT_TOOLS_FS_JOIN_FAILED")) return 0;
    SetFolder(L"");
    m_list.DeleteAllItems();
    AfxMessageBox(TranslateCode(L"IDS_SYT_TOOLS_FJ_SUCCESS"));
    return 0;
}
