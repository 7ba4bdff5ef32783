#include "YarrowbyFSSplitDlg.h"

#include <Common.h>
#include <QExactPath.h>
#include <Yarrowby/FileSpliter.h>

#include "Dictionary.h"
#include "SplitJoinRules.h"

using nsVendrel::TranslateCode;

namespace {
const wchar_t* const kSizeKeys[kSplitChoiceCount] = {L"IDS_SYS_TOOLS_FS_SPLIT_SIZE1", L"IDS_SYS_TOOLS_FS_SPLIT_SIZE2",
                                                     L"IDS_SYS_TOOLS_FS_SPLIT_SIZE3", L"IDS_SYS_TOOLS_FS_SPLIT_SIZE4",
                                                     L"IDS_SYS_TOOLS_FS_SPLIT_SIZE5"};
const int kDefaultChoice = kSplit100MB;
}  // namespace

BEGIN_MESSAGE_MAP(CYarrowbyFSSplitDlg, CYarrowbyFSPage)
    ON_BN_CLICKED(CYarrowbyFSSplitDlg::IDC_BROWSE_SOURCE, &CYarrowbyFSSplitDlg::OnBrowseSource)
    ON_BN_CLICKED(CYarrowbyFSSplitDlg::IDC_BROWSE_FOLDER, &CYarrowbyFSSplitDlg::OnBrowseFolder)
    ON_BN_CLICKED(CYarrowbyFSSplitDlg::IDC_SPLIT, &CYarrowbyFSSplitDlg::OnSplit)
    ON_CONTROL_RANGE(BN_CLICKED, CYarrowbyFSSplitDlg::IDC_SIZE_FIRST, CYarrowbyFSSplitDlg::IDC_SIZE_LAST,
                     &CYarrowbyFSSplitDlg::OnSizeChoice)
    ON_MESSAGE(WM_FILESPLIT_PROGRESS, &CYarrowbyFSSplitDlg::OnRunProgress)
    ON_MESSAGE(WM_FILESPLIT_DONE, &CYarrowbyFSSplitDlg::OnSplitDone)
END_MESSAGE_MAP()

CYarrowbyFSSplitDlg::CYarrowbyFSSplitDlg() = default;

CYarrowbyFSSplitDlg::~CYarrowbyFSSplitDlg()
{
    // A split still going ends here (its pieces are taken away).
    MarkClosing();
    m_spliter.Stop();
}

void CYarrowbyFSSplitDlg::OnInitPage()
{
    CRect client;
    GetClientRect(&client);
    const int right = client.right - 20, editRight = right - 144;
    const DWORD path = ES_AUTOHSCROLL | ES_READONLY;
    const PageControlRow controls[] = {
        {IDC_STEP1, PageControlKind::GroupBox, {20, 0, right, 68}, L"IDS_SYS_TOOLS_FS_SPLIT_STEP1"},
        {IDC_STEP2, PageControlKind::GroupBox, {20, 76, right, 144}, L"IDS_SYS_TOOLS_FS_SPLIT_STEP2"},
        {IDC_STEP3, PageControlKind::GroupBox, {20, 152, right, 262}, L"IDS_SYS_TOOLS_FS_SPLIT_STEP3"},
        {IDC_NAME_LABEL, PageControlKind::Text, {35, 28, 165, 46}, L"IDS_SYS_TOOLS_FS_SPLIT_NAME"},
        {IDC_SOURCE, PageControlKind::Edit, {170, 25, editRight, 47}, nullptr, path},
        {IDC_BROWSE_SOURCE,
         PageControlKind::Button,
         {right - 134, 17, right - 10, 57},
         L"IDS_SYS_TOOLS_FS_SPLIT_BROWSE"},
        {IDC_FOLDER_LABEL, PageControlKind::Text, {35, 104, 165, 122}, L"IDS_SYS_TOOLS_FS_SPLIT_DIR"},
        {IDC_FOLDER, PageControlKind::Edit, {170, 101, editRight, 123}, nullptr, path},
        {IDC_BROWSE_FOLDER,
         PageControlKind::Button,
         {right - 134, 93, right - 10, 133},
         L"IDS_SYS_TOOLS_FS_SPLIT_BROWSE"},
    };
    CreateControls(controls);
    // The five sizes in two columns, the custom one (last) narrower with its edit beside it.
    for (int i = 0; i < kSplitChoiceCount; ++i) {
        const int x = i < 3 ? 35 : 370, y = 176 + (i % 3) * 26;
        const int width = i == kSplitCustom ? 150 : 320;
        CreateControl(
            {IDC_SIZE_FIRST + i, PageControlKind::CheckBox, {x, y, x + width, y + 20}, kSizeKeys[i], BS_RADIOBUTTON});
    }
    CreateControl({IDC_CUSTOM, PageControlKind::Edit, {525, 201, 585, 223}, nullptr, ES_AUTOHSCROLL});
    m_spin.Create(WS_CHILD | WS_VISIBLE | UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS | UDS_NOTHOUSANDS,
                  CRect(0, 0, 0, 0), this, IDC_CUSTOM_SPIN);
    m_spin.SetBuddy(GetDlgItem(IDC_CUSTOM));
    m_spin.SetRange32(1, 100);
    CreateText(m_unit, nullptr, 0xFFFF, CRect(592, 204, 640, 222));
    m_unit.SetWindowText(L"MB");

    m_progress.Create(WS_CHILD | WS_VISIBLE, CRect(20, 276, right, 292), this, IDC_PROGRESS);
    m_progress.SetRange(0, 100);
    CreateControl(
        {IDC_SPLIT, PageControlKind::Button, {right - 124, 306, right, 346}, L"IDS_SYS_TOOLS_FS_SPLIT_BTN_SPLIT"});
    m_spliter.SetParentWnd(m_hWnd);
}

void CYarrowbyFSSplitDlg::OnShowPage()
{
    CFunctionDlg::OnShowPage();
    OnSizeChoice(UINT(IDC_SIZE_FIRST + kDefaultChoice));
    SetDlgItemText(IDC_CUSTOM, L"1");
    m_progress.SetPos(0);
}

void CYarrowbyFSSplitDlg::SetSource(const CString& path) { SetDlgItemText(IDC_SOURCE, path); }

void CYarrowbyFSSplitDlg::SetFolder(const CString& folder) { SetDlgItemText(IDC_FOLDER, folder); }

void CYarrowbyFSSplitDlg::OnBrowseSource()
{
    CFileDialog dialog(TRUE, nullptr, nullptr, OFN_HIDEREADONLY, nullptr, this);
    if (dialog.DoModal() == IDOK) SetSource(dialog.GetPathName());
}

void CYarrowbyFSSplitDlg::OnBrowseFolder() { BrowseFolderInto(IDC_FOLDER); }

void CYarrowbyFSSplitDlg::OnSizeChoice(UINT id)
{
    for (int i = 0; i < kSplitChoiceCount; ++i)
        CheckDlgButton(IDC_SIZE_FIRST + i, UINT(IDC_SIZE_FIRST + i) == id ? BST_CHECKED : BST_UNCHECKED);
}

void CYarrowbyFSSplitDlg::OnSplit()
{
    CString source, folder;
    GetDlgItemText(IDC_SOURCE, source);
    GetDlgItemText(IDC_FOLDER, folder);
    // No file reads as one too small, so each missing choice has its own request.
    if (SBGetFileSizeW(source) < kSmallestSource) {
        AfxMessageBox(TranslateCode(L"IDS_SYT_TOOLS_FS_SIZETOOSMALL"));
        return;
    }
    if (!MakeOutputFolder(folder)) return;
    int choice = -1;
    for (int i = 0; i < kSplitChoiceCount; ++i)
        if (IsDlgButtonChecked(IDC_SIZE_FIRST + i) == BST_CHECKED) choice = i;
    if (choice < 0) return;
    float custom = 1.0f;
    if (choice == kSplitCustom) {
        CString text;
        GetDlgItemText(IDC_CUSTOM, text);
        bool reset = false;
        custom = CustomMegabytes(text, reset);
        if (reset) SetDlgItemText(IDC_CUSTOM, L"1");
    }
    const unsigned long long pieceSize = SplitPieceSize(choice, custom);
    if (pieceSize == 0) return;
    if (!ClearEarlierPieces(source, folder, pieceSize)) return;

    BeginRun();
    m_spliter.SplitFiles(std::wstring(source), std::wstring(folder), pieceSize);
}

bool CYarrowbyFSSplitDlg::ClearEarlierPieces(const CString& source, const CString& folder, unsigned long long pieceSize)
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

LRESULT CYarrowbyFSSplitDlg::OnSplitDone(WPARAM failed, LPARAM firstError)
{
    if (!EndRun(failed, firstError, L"IDS_SYS_TOOLS_FS_SPLIT_FAILED")) return 0;
    AfxMessageBox(TranslateCode(L"IDS_SYS_TOOLS_FS_SUCCESS"));
    SetSource(L"");
    SetFolder(L"");
    return 0;
}
