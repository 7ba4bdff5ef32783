#include "YarrowbyFSSplitDlg.h"

#include <Common.h>
#include <QExactPath.h>
#include <Yarrowby/FileSpliter.h>

#include "Dictionary.h"
#include "MainWindowBusy.h"
#include "SplitJoinRules.h"
#include "controls/FolderDialog.h"
#include "ToolOutcome.h"

using nsVendrel::TranslateCode;

namespace {
const wchar_t* const kSizeKeys[kSplitChoiceCount] = {
    L"IDS_SYS_TOOLS_FS_SPLIT_SIZE1", L"IDS_SYS_TOOLS_FS_SPLIT_SIZE2", L"IDS_SYS_TOOLS_FS_SPLIT_SIZE3",
    L"IDS_SYS_TOOLS_FS_SPLIT_SIZE4", L"IDS_SYS_TOOLS_FS_SPLIT_SIZE5"};
const int kDefaultChoice = kSplit100MB;
}  // namespace

BEGIN_MESSAGE_MAP(CYarrowbyFSSplitDlg, CYarrowbyFSPage)
    ON_BN_CLICKED(CYarrowbyFSSplitDlg::IDC_BROWSE_SOURCE, &CYarrowbyFSSplitDlg::OnBrowseSource)
    ON_BN_CLICKED(CYarrowbyFSSplitDlg::IDC_BROWSE_FOLDER, &CYarrowbyFSSplitDlg::OnBrowseFolder)
    ON_BN_CLICKED(CYarrowbyFSSplitDlg::IDC_SPLIT, &CYarrowbyFSSplitDlg::OnSplit)
    ON_CONTROL_RANGE(BN_CLICKED, CYarrowbyFSSplitDlg::IDC_SIZE_FIRST, CYarrowbyFSSplitDlg::IDC_SIZE_LAST,
                     &CYarrowbyFSSplitDlg::OnSizeChoice)
    ON_MESSAGE(WM_FILESPLIT_PROGRESS, &CYarrowbyFSSplitDlg::OnSplitProgress)
    ON_MESSAGE(WM_FILESPLIT_DONE, &CYarrowbyFSSplitDlg::OnSplitDone)
END_MESSAGE_MAP()

CYarrowbyFSSplitDlg::CYarrowbyFSSplitDlg() = default;

CYarrowbyFSSplitDlg::~CYarrowbyFSSplitDlg()
{
    // A split still going ends here (its pieces are taken away); its done message changes nothing any more.
    m_bClosing = true;
    m_spliter.Stop();
}

void CYarrowbyFSSplitDlg::OnInitPage()
{
    CRect client;
    GetClientRect(&client);
    const int right = client.right - 20;
    const wchar_t* const steps[] = {L"IDS_SYS_TOOLS_FS_SPLIT_STEP1", L"IDS_SYS_TOOLS_FS_SPLIT_STEP2",
                                    L"IDS_SYS_TOOLS_FS_SPLIT_STEP3"};
    const CRect stepRects[] = {CRect(20, 0, right, 68), CRect(20, 76, right, 144), CRect(20, 152, right, 262)};
    for (int i = 0; i < 3; ++i) {
        m_steps[i].Create(TranslateCode(steps[i]), WS_CHILD | WS_VISIBLE | BS_GROUPBOX, stepRects[i], this,
                          UINT(IDC_STEP1 + i));
        m_steps[i].SetFont(&m_textFont);
    }
    const int editRight = right - 144;
    m_nameLabel.Create(TranslateCode(L"IDS_SYS_TOOLS_FS_SPLIT_NAME"), WS_CHILD | WS_VISIBLE | SS_LEFT,
                       CRect(35, 28, 165, 46), this, IDC_NAME_LABEL);
    m_source.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | ES_LEFT | ES_AUTOHSCROLL | ES_READONLY,
                    CRect(170, 25, editRight, 47), this, IDC_SOURCE);
    m_browseSource.Create(TranslateCode(L"IDS_SYS_TOOLS_FS_SPLIT_BROWSE"), WS_CHILD | WS_VISIBLE,
                          CRect(right - 134, 17, right - 10, 57), this, IDC_BROWSE_SOURCE);
    m_folderLabel.Create(TranslateCode(L"IDS_SYS_TOOLS_FS_SPLIT_DIR"), WS_CHILD | WS_VISIBLE | SS_LEFT,
                         CRect(35, 104, 165, 122), this, IDC_FOLDER_LABEL);
    m_folder.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | ES_LEFT | ES_AUTOHSCROLL | ES_READONLY,
                    CRect(170, 101, editRight, 123), this, IDC_FOLDER);
    m_browseFolder.Create(TranslateCode(L"IDS_SYS_TOOLS_FS_SPLIT_BROWSE"), WS_CHILD | WS_VISIBLE,
                          CRect(right - 134, 93, right - 10, 133), this, IDC_BROWSE_FOLDER);

    for (int i = 0; i < kSplitChoiceCount; ++i) {
        const int x = i < 3 ? 35 : 370, y = 176 + (i % 3) * 26;
        m_sizes[i].Create(TranslateCode(kSizeKeys[i]), WS_CHILD | WS_VISIBLE | BS_RADIOBUTTON,
                          CRect(x, y, x + (i == kSplitCustom ? 150 : 320), y + 20), this, UINT(IDC_SIZE_FIRST + i));
        m_sizes[i].SetFont(&m_textFont);
    }
    m_custom.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | ES_LEFT | ES_AUTOHSCROLL, CRect(525, 201, 585, 223), this,
                    IDC_CUSTOM);
    m_spin.Create(WS_CHILD | WS_VISIBLE | UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS | UDS_NOTHOUSANDS,
                  CRect(0, 0, 0, 0), this, IDC_CUSTOM_SPIN);
    m_spin.SetBuddy(&m_custom);
    m_spin.SetRange32(1, 100);
    m_unit.Create(L"MB", WS_CHILD | WS_VISIBLE | SS_LEFT, CRect(592, 204, 640, 222), this);

    m_progress.Create(WS_CHILD | WS_VISIBLE, CRect(20, 276, right, 292), this, IDC_PROGRESS);
    m_progress.SetRange(0, 100);
    m_split.Create(TranslateCode(L"IDS_SYS_TOOLS_FS_SPLIT_BTN_SPLIT"), WS_CHILD | WS_VISIBLE,
                   CRect(right - 124, 306, right, 346), this, IDC_SPLIT);
    for (CWnd* wnd : {static_cast<CWnd*>(&m_nameLabel), static_cast<CWnd*>(&m_source),
                      static_cast<CWnd*>(&m_folderLabel), static_cast<CWnd*>(&m_folder),
                      static_cast<CWnd*>(&m_custom), static_cast<CWnd*>(&m_unit)})
        wnd->SetFont(&m_textFont);
    m_spliter.SetParentWnd(m_hWnd);
}

void CYarrowbyFSSplitDlg::OnShowPage()
{
    CFunctionDlg::OnShowPage();
    OnSizeChoice(UINT(IDC_SIZE_FIRST + kDefaultChoice));
    m_custom.SetWindowText(L"1");
    m_progress.SetPos(0);
}

void CYarrowbyFSSplitDlg::SetSource(const CString& path) { m_source.SetWindowText(path); }

void CYarrowbyFSSplitDlg::SetFolder(const CString& folder) { m_folder.SetWindowText(folder); }

void CYarrowbyFSSplitDlg::OnBrowseSource()
{
    CFileDialog dialog(TRUE, nullptr, nullptr, OFN_HIDEREADONLY, nullptr, this);
    if (dialog.DoModal() == IDOK) SetSource(dialog.GetPathName());
}

void CYarrowbyFSSplitDlg::OnBrowseFolder()
{
    CFolderDialog dialog;
    dialog.m_bi.hwndOwner = m_hWnd;
    if (dialog.DoModal() == IDOK) SetFolder(dialog.GetFolderPath());
}

void CYarrowbyFSSplitDlg::OnSizeChoice(UINT id)
{
    for (int i = 0; i < kSplitChoiceCount; ++i) m_sizes[i].SetCheck(UINT(IDC_SIZE_FIRST + i) == id ? BST_CHECKED : BST_UNCHECKED);
}

void CYarrowbyFSSplitDlg::OnSplit()
{
    CString source, folder;
    m_source.GetWindowText(source);
    m_folder.GetWindowText(folder);
    // No file reads as one too small, so each missing choice has its own request.
    if (SBGetFileSizeW(source) < kSmallestSource) {
        AfxMessageBox(TranslateCode(L"IDS_SYT_TOOLS_FS_SIZETOOSMALL"));
        return;
    }
    if (folder.IsEmpty()) {
        AfxMessageBox(TranslateCode(L"IDS_SYS_TOOLS_FS_CHOOSEFOLDER"));
        return;
    }
    if (!SBRecursiveCreateDirectoryW(folder)) return;
    int choice = -1;
    for (int i = 0; i < kSplitChoiceCount; ++i)
        if (m_sizes[i].GetCheck() == BST_CHECKED) choice = i;
    if (choice < 0) return;
    float custom = 1.0f;
    if (choice == kSplitCustom) {
        CString text;
        m_custom.GetWindowText(text);
        bool reset = false;
        custom = CustomMegabytes(text, reset);
        if (reset) m_custom.SetWindowText(L"1");
    }
    const unsigned long long pieceSize = SplitPieceSize(choice, custom);
    if (pieceSize == 0) return;
    if (!ClearEarlierPieces(source, folder, pieceSize)) return;

    EnablePages(FALSE);
    SetMainWindowBusy(true);
    m_bRunning = true;
    m_spliter.SplitFiles(std::wstring(source), std::wstring(folder), pieceSize);
}

bool CYarrowbyFSSplitDlg::ClearEarlierPieces(const CString& source, const CString& folder,
                                             unsigned long long pieceSize)
{
    // The splitter writes only new files, so pieces of an earlier split of that name go first, once the user
    // agrees; a link among them is removed as a link, never written through.
    const unsigned long long size = static_cast<unsigned long long>(SBGetFileSizeW(source));
    const unsigned long long count = size == 0 ? 1 : (size + pieceSize - 1) / pieceSize;
    std::vector<std::wstring> earlier;
    for (unsigned long long number = 1; number <= count; ++number) {
        const std::wstring name = CFileSpliter::PieceFileName(std::wstring(source), number);
        const std::wstring path(JoinOutputPath(folder, name.c_str()));
        if (::GetFileAttributesW(qcore::ExactPath(path).c_str()) != INVALID_FILE_ATTRIBUTES) earlier.push_back(path);
    }
    if (earlier.empty()) return true;
    if (AfxMessageBox(TranslateCode(L"IDS_SYS_TOOLS_FS_SPLIT_PIECESEXIST"), MB_YESNO | MB_ICONQUESTION) != IDYES)
        return false;
    for (const std::wstring& path : earlier) qcore::DeleteExactFile(path);
    return true;
}

LRESULT CYarrowbyFSSplitDlg::OnSplitProgress(WPARAM done, LPARAM total)
{
    m_progress.SetPos(ToolBarPosition(done, total));
    m_progress.UpdateWindow();
    return 0;
}

LRESULT CYarrowbyFSSplitDlg::OnSplitDone(WPARAM failed, LPARAM firstError)
{
    if (m_bClosing) return 0;
    EnablePages(TRUE);
    if (m_bRunning) SetMainWindowBusy(false);
    m_bRunning = false;
    if (failed == 0) {
        m_progress.SetPos(100);
        AfxMessageBox(TranslateCode(L"IDS_SYS_TOOLS_FS_SUCCESS"));
        SetSource(L"");
        SetFolder(L"");
    } else {
        // The file and the folder stay for another try.
        m_progress.SetPos(0);
        AfxMessageBox(ToolFailureText(L"IDS_SYS_TOOLS_FS_SPLIT_FAILED", failed, firstError), MB_OK | MB_ICONWARNING);
    }
    return 0;
}
