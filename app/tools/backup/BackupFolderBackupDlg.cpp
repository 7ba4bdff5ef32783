#include "BackupFolderBackupDlg.h"

#include <Common.h>

#include <shellapi.h>

#include "BackupPageLogic.h"
#include "BackupPageParts.h"
#include "Dictionary.h"
#include "MainWindowBusy.h"

using nsVendrel::TranslateCode;

namespace {
// Item data of the drive tree: a folder whose entries have been listed below it.
enum : DWORD_PTR { kFolder = 1 };

int SystemIconIndex(const std::wstring& path, DWORD attributes)
{
    SHFILEINFOW info = {};
    // Asked by name and attributes only: no file is opened for its icon.
    SHGetFileInfoW(path.c_str(), attributes, &info, sizeof(info),
                   SHGFI_SYSICONINDEX | SHGFI_SMALLICON | SHGFI_USEFILEATTRIBUTES);
    return info.iIcon;
}

const wchar_t* const kTextKeys[7] = {
    L"IDS_BACKUP_FOLDER_BACKUP_TIP",
    L"IDS_BACKUP_FOLDER_BACKUP_STEP1_GROUP",
    L"IDS_BACKUP_FOLDER_BACKUP_STEP1_TXT_SELECTED_FILES",
    L"IDS_BACKUP_FOLDER_BACKUP_STEP2_GROUP",
    L"IDS_BACKUP_FOLDER_BACKUP_STEP2_TIP_NAME",
    L"IDS_BACKUP_FOLDER_BACKUP_STEP2_TIP_SAVEDIR",
    L"IDS_BACKUP_FOLDER_BACKUP_STEP3_GROUP",
};
const RECT kTextRects[7] = {
    {20, 0, 710, 18},    {20, 22, 290, 40},   {430, 22, 710, 40},  {20, 262, 710, 280},
    {20, 286, 150, 304}, {20, 314, 150, 332}, {20, 348, 710, 366},
};
}  // namespace

BEGIN_MESSAGE_MAP(CBackupFolderBackupDlg, CFunctionDlg)
    ON_BN_CLICKED(CBackupFolderBackupDlg::IDC_ADD, &CBackupFolderBackupDlg::OnAdd)
    ON_BN_CLICKED(CBackupFolderBackupDlg::IDC_REMOVE, &CBackupFolderBackupDlg::OnRemove)
    ON_BN_CLICKED(CBackupFolderBackupDlg::IDC_BROWSE, &CBackupFolderBackupDlg::OnBrowse)
    ON_BN_CLICKED(CBackupFolderBackupDlg::IDC_BACKUP, &CBackupFolderBackupDlg::OnBackup)
    ON_NOTIFY(TVN_ITEMEXPANDINGW, CBackupFolderBackupDlg::IDC_TREE, &CBackupFolderBackupDlg::OnItemExpanding)
    ON_MESSAGE(WM_FILEBACKUP_PROGRESS, &CBackupFolderBackupDlg::OnBackupProgress)
    ON_MESSAGE(WM_FILEBACKUP_DONE, &CBackupFolderBackupDlg::OnBackupDone)
END_MESSAGE_MAP()

void CBackupFolderBackupDlg::OnInitPage()
{
    for (int i = 0; i < 7; ++i)
        m_texts[i].Create(TranslateCode(kTextKeys[i]), WS_CHILD | WS_VISIBLE | SS_LEFT, kTextRects[i], this);
    m_tree.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT |
                      TVS_SHOWSELALWAYS,
                  CRect(20, 42, 290, 254), this, IDC_TREE);
    CreateButton(m_add, L"IDS_BACKUP_FOLDER_BACKUP_STEP1_BUTTON_ADD", IDC_ADD, BackupPages::PageButtonRect(298, 100));
    CreateButton(m_remove, L"IDS_BACKUP_FOLDER_BACKUP_STEP1_BUTTON_REMOVE", IDC_REMOVE,
                 BackupPages::PageButtonRect(298, 150));
    m_sources.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | WS_HSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
                     CRect(430, 42, 710, 254), this, IDC_SOURCES);
    CreateEdit(m_name, IDC_NAME, CRect(150, 284, 450, 306), ES_AUTOHSCROLL);
    CreateEdit(m_folder, IDC_FOLDER, CRect(150, 312, 570, 334), ES_AUTOHSCROLL);
    CreateButton(m_browse, L"IDS_BACKUP_FOLDER_BACKUP_STEP2_BUTTON_BROWSE", IDC_BROWSE,
                 BackupPages::PageButtonRect(586, 303));
    m_speed.Create(WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWNLIST, CRect(20, 370, 300, 470), this, IDC_SPEED);
    for (const wchar_t* key :
         {L"IDS_BACKUP_FLDBACK_SPEED_FASE", L"IDS_BACKUP_FLDBACK_SPEED_NORMAL", L"IDS_BACKUP_FLDBACK_SPEED_MAX"})
        m_speed.AddString(TranslateCode(key));
    m_speed.SetCurSel(1);
    // The tree, the lists and the edits are in the dialog's font.
    for (CWnd* w : {static_cast<CWnd*>(&m_tree), static_cast<CWnd*>(&m_sources), static_cast<CWnd*>(&m_name),
                    static_cast<CWnd*>(&m_folder), static_cast<CWnd*>(&m_speed)})
        w->SetFont(GetFont());
    m_progress.Create(WS_CHILD | WS_VISIBLE, CRect(20, 404, 570, 422), this, IDC_PROGRESS);
    m_progress.SetRange32(0, 100);
    m_result.Create(L"", WS_CHILD | WS_VISIBLE | SS_LEFT, CRect(20, 426, 570, 456), this, IDC_RESULT);
    CreateButton(m_start, L"IDS_BACKUP_FOLDER_BACKUP_BUTTON_BACKUP", IDC_BACKUP, BackupPages::PageButtonRect(586, 392));

    SHFILEINFOW info = {};
    HIMAGELIST system = reinterpret_cast<HIMAGELIST>(
        SHGetFileInfoW(L"C:\\", 0, &info, sizeof(info), SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
    // The shell's own list: the tree shows it and never destroys it.
    if (system) ::SendMessageW(m_tree.GetSafeHwnd(), TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(system));
    m_backup.SetParentWnd(GetSafeHwnd());
    m_backup.SetProgressCtrl(&m_progress);
    FillDrives();
}

void CBackupFolderBackupDlg::FillDrives()
{
    m_tree.DeleteAllItems();
    HTREEITEM root = m_tree.InsertItem(TranslateCode(L"IDS_BACKUP_FOLDERBACK_MYCOMPUTER"), TVI_ROOT);
    // An empty removable drive must not bring up the system's "insert a disk" box.
    UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS);
    wchar_t drives[512] = L"";
    DWORD n = GetLogicalDriveStringsW(511, drives);
    for (const wchar_t* d = drives; n && n < 512 && *d; d += wcslen(d) + 1) {
        if (GetDriveTypeW(d) == DRIVE_CDROM) continue;
        int icon = SystemIconIndex(d, FILE_ATTRIBUTE_DIRECTORY);
        HTREEITEM drive = m_tree.InsertItem(d, icon, icon, root);
        m_tree.SetItemData(drive, kFolder);
        ListFolder(drive, d);
    }
    SetErrorMode(oldMode);
    m_tree.Expand(root, TVE_EXPAND);
}

void CBackupFolderBackupDlg::ListFolder(HTREEITEM item, const std::wstring& folder)
{
    m_tree.SetItemData(item, kFolder);
    std::wstring base = folder;
    if (!base.empty() && base.back() == L'\\') base.pop_back();
    for (const auto& entry : BackupPages::ShownEntries(base)) {
        const std::wstring& name = entry.name;
        bool isFolder = entry.isFolder;
        int icon = SystemIconIndex(base + L"\\" + name, isFolder ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL);
        TVINSERTSTRUCTW ins = {};
        ins.hParent = item;
        ins.hInsertAfter = TVI_LAST;
        ins.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM | TVIF_CHILDREN;
        ins.item.pszText = const_cast<wchar_t*>(name.c_str());
        ins.item.iImage = ins.item.iSelectedImage = icon;
        ins.item.lParam = isFolder ? LPARAM(kFolder) : 0;
        // A folder shows its expand button now and is listed when it is opened.
        ins.item.cChildren = isFolder ? 1 : 0;
        m_tree.InsertItem(&ins);
    }
}

std::wstring CBackupFolderBackupDlg::ItemPath(HTREEITEM item) const
{
    std::vector<std::wstring> texts;
    // Up to, not including, the root (the item without a parent, whatever its translated text).
    for (HTREEITEM i = item; i && m_tree.GetParentItem(i); i = m_tree.GetParentItem(i))
        texts.insert(texts.begin(), std::wstring(static_cast<LPCWSTR>(m_tree.GetItemText(i))));
    return BackupPages::TreeItemPath(texts);
}

void CBackupFolderBackupDlg::OnItemExpanding(NMHDR* header, LRESULT* result)
{
    *result = 0;
    NMTREEVIEWW* view = reinterpret_cast<NMTREEVIEWW*>(header);
    HTREEITEM item = view->itemNew.hItem;
    if (!(view->action & TVE_EXPAND) || !m_tree.GetParentItem(item)) return;
    if (!(m_tree.GetItemData(item) & kFolder)) return;
    CWaitCursor wait;
    // Listed anew at every opening: what was made in the folder since the last look shows, what went is gone.
    for (HTREEITEM child = m_tree.GetChildItem(item); child;) {
        HTREEITEM next = m_tree.GetNextSiblingItem(child);
        m_tree.DeleteItem(child);
        child = next;
    }
    ListFolder(item, ItemPath(item));
    if (!m_tree.GetChildItem(item)) {
        // An empty folder: no expand button any more.
        TVITEMW tv = {};
        tv.mask = TVIF_CHILDREN;
        tv.hItem = item;
        tv.cChildren = 0;
        m_tree.SetItem(&tv);
    }
}

std::vector<std::wstring> CBackupFolderBackupDlg::Sources() const
{
    std::vector<std::wstring> sources;
    for (int i = 0; i < m_sources.GetCount(); ++i) {
        CString text;
        m_sources.GetText(i, text);
        sources.push_back(static_cast<LPCWSTR>(text));
    }
    return sources;
}

void CBackupFolderBackupDlg::OnAdd()
{
    HTREEITEM item = m_tree.GetSelectedItem();
    if (!item || !m_tree.GetParentItem(item) || m_tree.GetItemText(item).IsEmpty()) return;
    std::wstring path = ItemPath(item);
    if (BackupPages::ContainsPathIgnoringCase(Sources(), path)) {
        BackupPages::ShowMessage(L"IDS_BACKUP_FOLDERBACK_HINT");
        return;
    }
    m_sources.AddString(path.c_str());
}

void CBackupFolderBackupDlg::OnRemove()
{
    int selected = m_sources.GetCurSel();
    if (selected >= 0) m_sources.DeleteString(static_cast<UINT>(selected));
}

void CBackupFolderBackupDlg::OnBrowse() { BackupPages::ChooseFolderInto(m_folder); }

void CBackupFolderBackupDlg::OnBackup()
{
    if (m_bRunning) return;
    CString nameText, folderText;
    m_name.GetWindowText(nameText);
    m_folder.GetWindowText(folderText);
    std::wstring name = static_cast<LPCWSTR>(nameText), folder = static_cast<LPCWSTR>(folderText);
    std::vector<std::wstring> sources = Sources();
    const wchar_t* refusal = nullptr;
    BackupPages::ArchiveNameCheck check = BackupPages::CheckArchiveName(name);
    if (check == BackupPages::ArchiveNameCheck::Empty)
        refusal = L"IDS_BACKUP_FOLDERBACKINPUTNAME";
    else if (check == BackupPages::ArchiveNameCheck::Invalid)
        refusal = L"IDS_BACKUP_FOLDERBACK_FILENAME";
    else if (sources.empty())
        refusal = L"IDS_BACKUP_FOLDERBACK_HINT1";
    else if (folder.empty())
        refusal = L"IDS_BACKUP_FOLDERBACK_PATHEMPTY";
    else if (!SBRecursiveCreateDirectoryW(folder.c_str()))
        refusal = L"IDS_BACKUP_FOLDERBACK_PATHILEGLE";
    else {
        std::wstring base = folder;
        if (base.back() == L'\\') base.pop_back();
        if (SBIsFileExistW((base + L"\\" + name + L".fbk").c_str())) refusal = L"IDS_BACKUP_FOLDEBACK_EXIST";
    }
    if (refusal) {
        BackupPages::ShowMessage(refusal);
        return;
    }
    m_bRunning = true;
    m_start.EnableWindow(FALSE);
    SetMainWindowBusy(true);
    EnableWindow(FALSE);
    m_progress.SetRange32(0, 100);
    m_progress.SetPos(0);
    BackupPages::SetResultText(m_result, L"");
    int speed = m_speed.GetCurSel();
    if (!m_backup.ZipFiles(folder, name, sources, speed < 0 ? 1 : speed)) {
        EndRun();
        BackupPages::ShowMessage(L"IDS_BACKUP_FOLDERBACK_FAIL");
    }
}

LRESULT CBackupFolderBackupDlg::OnBackupProgress(WPARAM wParam, LPARAM)
{
    // The library also gives the bar the run's total in bytes; this page shows percent.
    int lower = 0, upper = 0;
    m_progress.GetRange(lower, upper);
    if (lower != 0 || upper != 100) m_progress.SetRange32(0, 100);
    int percent = static_cast<int>(wParam / 100);
    m_progress.SetPos(percent > 100 ? 100 : percent);
    return 0;
}

void CBackupFolderBackupDlg::EndRun()
{
    m_bRunning = false;
    m_start.EnableWindow(TRUE);
    SetMainWindowBusy(false);
    EnableWindow(TRUE);
}

LRESULT CBackupFolderBackupDlg::OnBackupDone(WPARAM, LPARAM lParam)
{
    EndRun();
    m_progress.SetRange32(0, 100);
    m_progress.SetPos(100);
    if (lParam == 0) {
        BackupPages::SetResultText(m_result, TranslateCode(L"IDS_BACKUP_FOLDERBACK_SUC"));
        BackupPages::ShowMessage(L"IDS_BACKUP_FOLDERBACK_SUC");
        return 0;
    }
    BackupPages::SetResultText(m_result, TranslateCode(L"IDS_BACKUP_FOLDERBACK_FAIL"));
    BackupPages::ShowMessage(L"IDS_BACKUP_FOLDERBACK_FAIL",
                             BackupPages::SummarizeLines(m_backup.GetRunErrors(), 20).c_str());
    return 0;
}
