// The backup pages in this process, driven as a user would: clicks, typed texts, answered message boxes, and the
// results read back from the controls, the folders and the registry of the test prefix.
#include <gtest/gtest.h>

#include <Common.h>

#include <commctrl.h>

#include <algorithm>
#include <atomic>
#include <ctime>
#include <functional>
#include <thread>

#include "BackupFavoriteDlg.h"
#include "BackupFolderBackupDlg.h"
#include "BackupFolderDlg.h"
#include "BackupFolderRestoreDlg.h"
#include "BackupHomeDlg.h"
#include "BackupPageLogic.h"
#include "BackupRegistryDlg.h"
#include "BackupSysRestoreDlg.h"
#include "Dictionary.h"
#include "PageFactory.h"
#include "QTestSupport.h"
#include "ScanTestHost.h"

using namespace scan_test;
using shell_test::ListCellText;
using shell_test::MessageBoxDriver;
using shell_test::PumpUntil;

namespace {

std::wstring Text(const wchar_t* key) { return static_cast<LPCWSTR>(nsVendrel::TranslateCode(key)); }

bool HasText(MessageBoxDriver& boxes, const std::wstring& text)
{
    for (const auto& t : boxes.Texts())
        if (t.find(text) != std::wstring::npos) return true;
    return false;
}

void SaveFile(const std::wstring& path, const std::string& data)
{
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE) << path.c_str();
    DWORD written = 0;
    ::WriteFile(h, data.data(), static_cast<DWORD>(data.size()), &written, nullptr);
    CloseHandle(h);
}

std::string LoadFile(const std::wstring& path)
{
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return "<missing>";
    std::string data;
    char buffer[4096];
    DWORD got = 0;
    while (::ReadFile(h, buffer, sizeof(buffer), &got, nullptr) && got) data.append(buffer, got);
    CloseHandle(h);
    return data;
}

void SetEdit(HWND parent, int id, const std::wstring& text) { ::SetDlgItemTextW(parent, id, text.c_str()); }

std::wstring TreeItemText(HWND tree, HTREEITEM item)
{
    wchar_t text[MAX_PATH] = L"";
    TVITEMW tv = {};
    tv.mask = TVIF_TEXT;
    tv.hItem = item;
    tv.pszText = text;
    tv.cchTextMax = MAX_PATH;
    TreeView_GetItem(tree, &tv);
    return text;
}

// The texts of the item's children, sorted.
std::vector<std::wstring> ChildTexts(HWND tree, HTREEITEM parent)
{
    std::vector<std::wstring> texts;
    for (HTREEITEM c = TreeView_GetChild(tree, parent); c; c = TreeView_GetNextSibling(tree, c))
        texts.push_back(TreeItemText(tree, c));
    std::sort(texts.begin(), texts.end());
    return texts;
}

// A modal dialog of this process with that title: fills an edit, then presses a button (from a helper thread,
// as the dialog's modal loop holds the test's thread).
class DialogAnswer {
public:
    DialogAnswer(const wchar_t* title, int editId, std::wstring text, int button)
        : m_thread([=] {
              for (int i = 0; i < 1000 && !m_stop; ++i) {
                  HWND dialog = ::FindWindowW(nullptr, title);
                  DWORD pid = 0;
                  if (dialog) ::GetWindowThreadProcessId(dialog, &pid);
                  if (dialog && pid == ::GetCurrentProcessId() && ::IsWindowVisible(dialog)) {
                      if (editId) ::SetDlgItemTextW(dialog, editId, text.c_str());
                      ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
                      m_done = true;
                      return;
                  }
                  ::Sleep(20);
              }
          })
    {
    }
    ~DialogAnswer()
    {
        m_stop = true;
        m_thread.join();
    }
    bool Done() const { return m_done; }

private:
    std::atomic<bool> m_stop{false}, m_done{false};
    std::thread m_thread;
};

class BackupPage : public ::testing::Test {
protected:
    static void SetUpTestSuite() { nsVendrel::LoadDictionarys((shell_test::ProgramFolder() + L"dic\\en").c_str()); }

    void SetUp() override
    {
        container.Create(IDD_FUNCTION_PAGE, host.Wnd());
        container.MoveWindow(186, 126, 737, 536);
        container.ShowWindow(SW_SHOW);
    }
    void TearDown() override
    {
        container.DestroyWindow();
        delete page;
    }
    template <typename T>
    T* Show(int id)
    {
        page = Shell::CreatePageObject(id);
        T* typed = dynamic_cast<T*>(page);
        EXPECT_NE(nullptr, typed) << "the factory makes another class for " << id;
        CFunctionDlgContainer::AddPage(page, &container, id);
        container.ShowPage(id);
        return typed;
    }
    HWND Item(HWND parent, int id) { return ::GetDlgItem(parent, id); }
    // Shown as far as the page goes (the test's host window itself stays hidden).
    static bool Shown(HWND wnd) { return (::GetWindowLongW(wnd, GWL_STYLE) & WS_VISIBLE) != 0; }

    HostMainWindow host;
    CFunctionDlgContainer container;
    CFunctionDlg* page = nullptr;
};

std::wstring Scratch(const wchar_t* name)
{
    std::wstring folder = shell_test::MakeScratchFolder(name);
    return folder.substr(0, folder.size() - 1);
}

}  // namespace

// ---- backup home ---------------------------------------------------------------------------------------------

TEST_F(BackupPage, HomeButtonsAskForTheFourPages)
{
    Show<CBackupHomeDlg>(PAGE_ID_BACKUP_HOME);
    const int expected[][2] = {{29928, PAGE_ID_BACKUP_REGISTRY},
                               {29929, PAGE_ID_BACKUP_RESTORE_POINT},
                               {29930, PAGE_ID_BACKUP_FAVORITES},
                               {29931, PAGE_ID_BACKUP_FOLDER}};
    for (const auto& e : expected) {
        HWND button = Item(page->GetSafeHwnd(), e[0]);
        ASSERT_NE(nullptr, button);
        EXPECT_TRUE(::GetWindowLongW(button, GWL_STYLE) & WS_VISIBLE);
        ClickButton(page->GetSafeHwnd(), e[0]);
        // Posted, not sent: the request waits in the main window's queue.
        MSG msg;
        ASSERT_TRUE(::PeekMessageW(&msg, host.Handle(), WM_SWITCH_PAGE, WM_SWITCH_PAGE, PM_REMOVE)) << e[0];
        EXPECT_EQ(static_cast<WPARAM>(e[1]), msg.wParam);
    }
}

// ---- Favorites --------------------------------------------------------------------------------------------------

TEST_F(BackupPage, FavoritesAreListedBackedUpAndRestoredExactly)
{
    const wchar_t kShellFolders[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
    std::wstring favorites = Scratch(L"favorites-page");
    ASSERT_EQ(0, SBRegSetStringValueW(HKEY_CURRENT_USER, kShellFolders, L"Favorites", favorites.c_str()));
    SBRecursiveCreateDirectoryW((favorites + L"\\News").c_str());
    SaveFile(favorites + L"\\Site.url", "[InternetShortcut]\r\nURL=http://site.invalid/\r\n");
    SaveFile(favorites + L"\\News\\Daily.url", "[InternetShortcut]\r\nURL=http://daily.invalid/\r\n");
    std::wstring copy = CBackupFavoriteDlg::BackupFolder();
    SBDeleteDirectoryW(copy.c_str());

    MessageBoxDriver boxes(IDOK);
    Show<CBackupFavoriteDlg>(PAGE_ID_BACKUP_FAVORITES);
    HWND tree = Item(page->GetSafeHwnd(), CBackupFavoriteDlg::IDC_TREE);
    EXPECT_EQ((std::vector<std::wstring>{L"News", L"Site"}), ChildTexts(tree, TreeView_GetRoot(tree)));

    // Restoring before any backup exists says so and changes nothing.
    ClickButton(page->GetSafeHwnd(), CBackupFavoriteDlg::IDC_RESTORE);
    EXPECT_TRUE(HasText(boxes, Text(L"IDS_BACKUP_FAVORITE_NOBACKUP")));

    ClickButton(page->GetSafeHwnd(), CBackupFavoriteDlg::IDC_BACKUP);
    EXPECT_TRUE(HasText(boxes, Text(L"IDS_BACKUP_FAVORATEBACKUP_SUC")));
    EXPECT_EQ(LoadFile(favorites + L"\\News\\Daily.url"), LoadFile(copy + L"\\News\\Daily.url"));
    EXPECT_EQ(LoadFile(favorites + L"\\Site.url"), LoadFile(copy + L"\\Site.url"));

    ::DeleteFileW((favorites + L"\\News\\Daily.url").c_str());
    SaveFile(favorites + L"\\Site.url", "changed");
    ClickButton(page->GetSafeHwnd(), CBackupFavoriteDlg::IDC_RESTORE);
    EXPECT_TRUE(HasText(boxes, Text(L"IDS_BACKUP_FAVORATEBACKUP_BACKSUC")));
    EXPECT_EQ(LoadFile(copy + L"\\News\\Daily.url"), LoadFile(favorites + L"\\News\\Daily.url"));
    EXPECT_EQ("[InternetShortcut]\r\nURL=http://site.invalid/\r\n", LoadFile(favorites + L"\\Site.url"));

    // Favorites pointed at the system folder: both buttons say why they refuse, and nothing is written there.
    wchar_t system[MAX_PATH] = L"";
    ::GetSystemDirectoryW(system, MAX_PATH);
    ASSERT_EQ(0, SBRegSetStringValueW(HKEY_CURRENT_USER, kShellFolders, L"Favorites", system));
    container.ShowPage(PAGE_ID_BACKUP_FAVORITES);  // the page reads the value each time it is shown
    size_t before = boxes.Texts().size();
    ClickButton(page->GetSafeHwnd(), CBackupFavoriteDlg::IDC_RESTORE);
    ClickButton(page->GetSafeHwnd(), CBackupFavoriteDlg::IDC_BACKUP);
    std::vector<std::wstring> texts = boxes.Texts();
    ASSERT_EQ(before + 2, texts.size());
    EXPECT_EQ(Text(L"IDS_BACKUP_FAVORITE_SYSTEMFOLDER"), texts[before]);
    EXPECT_EQ(Text(L"IDS_BACKUP_FAVORITE_SYSTEMFOLDER"), texts[before + 1]);
    EXPECT_EQ("<missing>", LoadFile(std::wstring(system) + L"\\Site.url"));
    EXPECT_EQ("[InternetShortcut]\r\nURL=http://site.invalid/\r\n", LoadFile(copy + L"\\Site.url"));
    SBDeleteDirectoryW(copy.c_str());
}

// ---- registry backup --------------------------------------------------------------------------------------------

class RegistryBackupPage : public BackupPage {
protected:
    void SetUp() override
    {
        BackupPage::SetUp();
        folder = CBackupRegistryDlg::BackupFolder();
        ::DeleteFileW(folder.c_str());
        SBDeleteDirectoryW(folder.c_str());
        SBRecursiveCreateDirectoryW(folder.c_str());
    }
    void TearDown() override
    {
        BackupPage::TearDown();
        ::DeleteFileW(folder.c_str());
        SBDeleteDirectoryW(folder.c_str());
        SBRegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\QuorvelTest");
    }
    HWND list() { return Item(page->GetSafeHwnd(), CBackupRegistryDlg::IDC_LIST); }
    void Select(int row)
    {
        ListView_SetItemState(list(), row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    }
    bool ButtonsEnabled()
    {
        return ::IsWindowEnabled(Item(page->GetSafeHwnd(), 62004)) &&
               ::IsWindowEnabled(Item(page->GetSafeHwnd(), 62005)) &&
               ::IsWindowEnabled(Item(page->GetSafeHwnd(), 62006));
    }
    std::wstring folder;
};

TEST_F(RegistryBackupPage, BackupMakesADatedFileAndListsIt)
{
    SaveFile(folder + L"\\notes.txt", "not a backup");
    MessageBoxDriver boxes(IDOK);
    CBackupRegistryDlg* registry = Show<CBackupRegistryDlg>(PAGE_ID_BACKUP_REGISTRY);
    EXPECT_EQ(0, ListCount(list())) << "only .reg files are listed";

    std::time_t before = std::time(nullptr);
    ClickButton(page->GetSafeHwnd(), CBackupRegistryDlg::IDC_BACKUP);
    std::time_t after = std::time(nullptr);
    EXPECT_TRUE(registry->IsRunning());
    EXPECT_FALSE(ButtonsEnabled());
    ASSERT_TRUE(PumpUntil([&] { return !registry->IsRunning(); }, 60000));
    EXPECT_TRUE(ButtonsEnabled());
    EXPECT_EQ((std::vector<WPARAM>{1, 0}), host.BusyCalls());
    EXPECT_TRUE(HasText(boxes, Text(L"IDS_BACKUP_REGISTER_BACKSUC")));
    EXPECT_EQ(Text(L"IDS_BACKUP_REGISTER_BACKSUC"), shell_test::WindowText(Item(page->GetSafeHwnd(), 62007)));

    // The file is named from the time of the click (either second of the bracket) and listed by its date.
    ASSERT_EQ(1, ListCount(list()));
    std::wstring row = ListCellText(list(), 0);
    bool named = false;
    for (std::time_t t = before; t <= after && !named; ++t) {
        std::wstring name = BackupPages::RegistryBackupFileName(*std::localtime(&t));
        std::wstring expectedRow;
        BackupPages::RegistryRowTextFromFileName(name, expectedRow);
        named = row == expectedRow && SBGetFileSizeW((folder + L"\\" + name).c_str()) > 0;
    }
    EXPECT_TRUE(named) << row.c_str();
}

TEST_F(RegistryBackupPage, ASeededBackupIsRestoredAndDeleted)
{
    const std::wstring name = L"Backup_Jan.02_2026 03-04-05 AM.reg";
    SaveFile(folder + L"\\" + name,
             "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\QuorvelTest]\r\n\"Value\"=\"from the page\"\r\n");
    MessageBoxDriver boxes(IDOK);
    CBackupRegistryDlg* registry = Show<CBackupRegistryDlg>(PAGE_ID_BACKUP_REGISTRY);
    ASSERT_EQ(1, ListCount(list()));
    EXPECT_EQ(L"Jan.02,2026 03:04:05 AM", ListCellText(list(), 0));

    // Nothing selected: the hint, and nothing runs.
    ClickButton(page->GetSafeHwnd(), CBackupRegistryDlg::IDC_RESTORE);
    EXPECT_TRUE(HasText(boxes, Text(L"IDS_BACKUP_REGISTER_BACKLINE")));
    EXPECT_FALSE(registry->IsRunning());

    // A whole-registry import cannot be undone: the page asks first, naming the backup's date. No imports nothing.
    Select(0);
    boxes.SetButton(IDNO);
    ClickButton(page->GetSafeHwnd(), CBackupRegistryDlg::IDC_RESTORE);
    std::wstring question = Text(L"IDS_BACKUP_REGISTER_RESTOREASK");
    question.replace(question.find(L"%s"), 2, L"Jan.02,2026 03:04:05 AM");
    ASSERT_FALSE(boxes.Texts().empty());
    EXPECT_EQ(question, boxes.Texts().back());
    EXPECT_FALSE(registry->IsRunning());
    EXPECT_FALSE(SBRegKeyExistW(HKEY_CURRENT_USER, L"Software\\QuorvelTest")) << "nothing imported";
    EXPECT_TRUE(host.BusyCalls().empty());

    boxes.SetButton(IDYES);
    ClickButton(page->GetSafeHwnd(), CBackupRegistryDlg::IDC_RESTORE);
    ASSERT_TRUE(PumpUntil([&] { return !registry->IsRunning(); }, 30000));
    EXPECT_TRUE(HasText(boxes, Text(L"IDS_BACKUP_REGISTER_RESOTRESUC")));
    std::wstring value;
    EXPECT_TRUE(SBRegGetStringValueW(HKEY_CURRENT_USER, L"Software\\QuorvelTest", L"Value", value));
    EXPECT_EQ(L"from the page", value);

    boxes.SetButton(IDNO);
    ClickButton(page->GetSafeHwnd(), CBackupRegistryDlg::IDC_REMOVE);
    EXPECT_TRUE(SBIsFileExistW((folder + L"\\" + name).c_str())) << "No keeps the file";
    boxes.SetButton(IDYES);
    ClickButton(page->GetSafeHwnd(), CBackupRegistryDlg::IDC_REMOVE);
    EXPECT_TRUE(HasText(boxes, Text(L"IDS_BACKUP_REGISTER_MOVE")));
    EXPECT_FALSE(SBIsFileExistW((folder + L"\\" + name).c_str()));
    EXPECT_EQ(0, ListCount(list()));
}

TEST_F(RegistryBackupPage, AnUnwritableTargetEndsWithTheFailureText)
{
    MessageBoxDriver boxes(IDOK);
    CBackupRegistryDlg* registry = Show<CBackupRegistryDlg>(PAGE_ID_BACKUP_REGISTRY);
    // The backup folder is now a file: the editor cannot write into it.
    SBDeleteDirectoryW(folder.c_str());
    SaveFile(folder, "a file where the folder was");
    ClickButton(page->GetSafeHwnd(), CBackupRegistryDlg::IDC_BACKUP);
    ASSERT_TRUE(PumpUntil([&] { return !registry->IsRunning(); }, 60000));
    EXPECT_TRUE(HasText(boxes, Text(L"IDS_BACKUP_REGISTER_BACKFAIL")));
    EXPECT_FALSE(HasText(boxes, Text(L"IDS_BACKUP_REGISTER_BACKSUC")));
    EXPECT_EQ(0, ListCount(list()));
    EXPECT_TRUE(ButtonsEnabled());
    EXPECT_EQ((std::vector<WPARAM>{1, 0}), host.BusyCalls()) << "the page never stays busy";
}

// ---- system restore ----------------------------------------------------------------------------------------------

TEST_F(BackupPage, SystemRestoreIsOffOnThisWindowsVersion)
{
    // Wine reports Windows 7: the page says it cannot be used here and disables its four buttons.
    MessageBoxDriver boxes(IDOK);
    Show<CBackupSysRestoreDlg>(PAGE_ID_BACKUP_RESTORE_POINT);
    EXPECT_TRUE(HasText(boxes, Text(L"IDS_BACKUP_RESTOREPOINT_NOTUSE")));
    for (int id = 63003; id <= 63006; ++id) EXPECT_FALSE(::IsWindowEnabled(Item(page->GetSafeHwnd(), id))) << id;
}

TEST_F(BackupPage, TheNameDialogClosesWithCancelAndReturnsTheTypedName)
{
    {
        MessageBoxDriver boxes(IDOK);
        Show<CBackupSysRestoreDlg>(PAGE_ID_BACKUP_RESTORE_POINT);
    }
    {
        DialogAnswer cancel(L"Please Enter", CBackupSysRestoreNameDlg::IDC_NAME, L"typed, then cancelled", IDCANCEL);
        CBackupSysRestoreNameDlg ask(page);
        EXPECT_EQ(IDCANCEL, ask.DoModal());
        EXPECT_TRUE(ask.m_strName.IsEmpty());
    }
    {
        DialogAnswer ok(L"Please Enter", CBackupSysRestoreNameDlg::IDC_NAME, L"Before the driver update", IDOK);
        CBackupSysRestoreNameDlg ask(page);
        EXPECT_EQ(IDOK, ask.DoModal());
        EXPECT_EQ(L"Before the driver update", std::wstring(static_cast<LPCWSTR>(ask.m_strName)));
    }
}

// ---- folder backup and restore --------------------------------------------------------------------------------

class FolderPage : public BackupPage {
protected:
    void SetUp() override
    {
        BackupPage::SetUp();
        folderPage = Show<CBackupFolderDlg>(PAGE_ID_BACKUP_FOLDER);
        backupTab = folderPage->BackupTab();
        restoreTab = folderPage->RestoreTab();
        backupWnd = backupTab->GetSafeHwnd();
        restoreWnd = restoreTab->GetSafeHwnd();
    }
    // Expands the drive tree down to the path and selects its item, as a user clicks through it.
    bool SelectInTree(const std::wstring& path)
    {
        // "C:\users\x" -> "C:\", "users", "x": the drive item carries its backslash.
        std::vector<std::wstring> parts = {path.substr(0, 3)};
        for (size_t start = 3; start < path.size();) {
            size_t end = path.find(L'\\', start);
            if (end == std::wstring::npos) end = path.size();
            parts.push_back(path.substr(start, end - start));
            start = end + 1;
        }
        HWND tree = Item(backupWnd, CBackupFolderBackupDlg::IDC_TREE);
        HTREEITEM item = TreeView_GetRoot(tree);
        for (const auto& part : parts) {
            TreeView_Expand(tree, item, TVE_EXPAND);
            HTREEITEM found = nullptr;
            for (HTREEITEM c = TreeView_GetChild(tree, item); c && !found; c = TreeView_GetNextSibling(tree, c))
                if (lstrcmpiW(TreeItemText(tree, c).c_str(), part.c_str()) == 0) found = c;
            if (!found) return false;
            item = found;
        }
        return TreeView_SelectItem(tree, item) != FALSE;
    }
    void BackUp(const std::vector<std::wstring>& sources, const std::wstring& name, const std::wstring& folder)
    {
        for (const auto& source : sources) {
            ASSERT_TRUE(SelectInTree(source)) << source.c_str();
            ClickButton(backupWnd, CBackupFolderBackupDlg::IDC_ADD);
        }
        SetEdit(backupWnd, CBackupFolderBackupDlg::IDC_NAME, name);
        SetEdit(backupWnd, CBackupFolderBackupDlg::IDC_FOLDER, folder);
        ClickButton(backupWnd, CBackupFolderBackupDlg::IDC_BACKUP);
        ASSERT_TRUE(PumpUntil([&] { return !backupTab->IsRunning(); }, 60000));
    }
    std::wstring ListBoxLine(int i)
    {
        wchar_t text[MAX_PATH] = L"";
        ::SendMessageW(Item(backupWnd, CBackupFolderBackupDlg::IDC_SOURCES), LB_GETTEXT, i, (LPARAM)text);
        return text;
    }

    CBackupFolderDlg* folderPage = nullptr;
    CBackupFolderBackupDlg* backupTab = nullptr;
    CBackupFolderRestoreDlg* restoreTab = nullptr;
    HWND backupWnd = nullptr, restoreWnd = nullptr;
};

TEST_F(FolderPage, AFixtureTreeBacksUpFromThePageAndRestoresIntoANewFolder)
{
    std::wstring root = Scratch(L"folder-page");
    std::wstring data = root + L"\\data";
    SBRecursiveCreateDirectoryW((data + L"\\sub").c_str());
    SaveFile(data + L"\\a.txt", std::string(70000, 'a'));
    SaveFile(data + L"\\sub\\b.bin", std::string("\x00\x01\x02 binary", 10));
    SaveFile(data + L"\\sub\\\x0444\x0430\x0439\x043b.txt", "cyrillic");
    MessageBoxDriver boxes(IDOK);

    EXPECT_TRUE(Shown(backupWnd));
    EXPECT_FALSE(Shown(restoreWnd));
    ASSERT_TRUE(SelectInTree(data));
    ClickButton(backupWnd, CBackupFolderBackupDlg::IDC_ADD);
    ClickButton(backupWnd, CBackupFolderBackupDlg::IDC_ADD);
    EXPECT_TRUE(HasText(boxes, Text(L"IDS_BACKUP_FOLDERBACK_HINT"))) << "the same folder twice";
    ASSERT_EQ(1, ::SendMessageW(Item(backupWnd, CBackupFolderBackupDlg::IDC_SOURCES), LB_GETCOUNT, 0, 0));
    EXPECT_EQ(0, lstrcmpiW(data.c_str(), ListBoxLine(0).c_str()));

    // The name is checked before anything else.
    for (const wchar_t* bad : {L"a:b", L"CON", L"trail."}) {
        SetEdit(backupWnd, CBackupFolderBackupDlg::IDC_NAME, bad);
        ClickButton(backupWnd, CBackupFolderBackupDlg::IDC_BACKUP);
    }
    std::vector<std::wstring> texts = boxes.Texts();
    EXPECT_EQ(3, std::count(texts.begin(), texts.end(), Text(L"IDS_BACKUP_FOLDERBACK_FILENAME")));
    SetEdit(backupWnd, CBackupFolderBackupDlg::IDC_NAME, L"photos");
    ClickButton(backupWnd, CBackupFolderBackupDlg::IDC_BACKUP);
    EXPECT_TRUE(HasText(boxes, Text(L"IDS_BACKUP_FOLDERBACK_PATHEMPTY")));

    SetEdit(backupWnd, CBackupFolderBackupDlg::IDC_FOLDER, root + L"\\archives");
    ClickButton(backupWnd, CBackupFolderBackupDlg::IDC_BACKUP);
    EXPECT_TRUE(backupTab->IsRunning());
    ASSERT_TRUE(PumpUntil([&] { return !backupTab->IsRunning(); }, 60000));
    EXPECT_TRUE(HasText(boxes, Text(L"IDS_BACKUP_FOLDERBACK_SUC")));
    EXPECT_EQ((std::vector<WPARAM>{1, 0}), host.BusyCalls());
    std::wstring archive = root + L"\\archives\\photos.fbk";
    ASSERT_TRUE(SBIsFileExistW(archive.c_str()));
    ClickButton(backupWnd, CBackupFolderBackupDlg::IDC_BACKUP);
    EXPECT_TRUE(HasText(boxes, Text(L"IDS_BACKUP_FOLDEBACK_EXIST")));

    // The restore tab lists the archive by names and unpacks it into a new folder, each entry in its folders.
    ClickButton(folderPage->GetSafeHwnd(), CBackupFolderDlg::IDC_TAB_RESTORE);
    EXPECT_TRUE(Shown(restoreWnd));
    ASSERT_TRUE(restoreTab->OpenArchive(archive));
    HWND list = Item(restoreWnd, CBackupFolderRestoreDlg::IDC_LIST);
    ASSERT_EQ(4, ListCount(list));
    EXPECT_EQ(L"a.txt", ListCellText(list, 0));
    EXPECT_EQ(L"sub", ListCellText(list, 1));
    std::wstring target = root + L"\\restored";
    SetEdit(restoreWnd, CBackupFolderRestoreDlg::IDC_TARGET, target);
    ClickButton(restoreWnd, CBackupFolderRestoreDlg::IDC_RESTORE);
    ASSERT_TRUE(PumpUntil([&] { return !restoreTab->IsRunning(); }, 60000));
    EXPECT_TRUE(HasText(boxes, Text(L"IDS_BACKUP_FOLDERBACK_SUCRESOTRE")));
    std::wstring back = target + L"\\" + data.substr(3);  // the stored path: the source's without its drive
    EXPECT_EQ(LoadFile(data + L"\\a.txt"), LoadFile(back + L"\\a.txt"));
    EXPECT_EQ(LoadFile(data + L"\\sub\\b.bin"), LoadFile(back + L"\\sub\\b.bin"));
    EXPECT_EQ("cyrillic", LoadFile(back + L"\\sub\\\x0444\x0430\x0439\x043b.txt"));
    EXPECT_EQ(0, ListCount(list)) << "the list is emptied after the run";

    // A second restore into the same folder is refused as a whole: nothing is overwritten.
    ASSERT_TRUE(restoreTab->OpenArchive(archive));
    SaveFile(back + L"\\sub\\b.bin", "mine now");
    ::DeleteFileW((back + L"\\a.txt").c_str());
    SetEdit(restoreWnd, CBackupFolderRestoreDlg::IDC_TARGET, target);
    ClickButton(restoreWnd, CBackupFolderRestoreDlg::IDC_RESTORE);
    EXPECT_TRUE(HasText(boxes, Text(L"IDS_BACKUP_FOLDERRESTORE_EXIST")));
    EXPECT_FALSE(restoreTab->IsRunning());
    EXPECT_EQ("mine now", LoadFile(back + L"\\sub\\b.bin"));
    EXPECT_EQ("<missing>", LoadFile(back + L"\\a.txt"));
    shell_test::RemoveTree(root + L"\\");
}

TEST_F(FolderPage, AFolderIsListedAgainWhenItIsOpened)
{
    std::wstring root = Scratch(L"folder-tree");
    SBRecursiveCreateDirectoryW((root + L"\\first").c_str());
    ASSERT_TRUE(SelectInTree(root));
    HWND tree = Item(backupWnd, CBackupFolderBackupDlg::IDC_TREE);
    HTREEITEM item = TreeView_GetSelection(tree);
    auto children = [&] { return ChildTexts(tree, item); };
    // Opened and closed from the keyboard, as a user does (the tree tells its page at every such opening).
    auto key = [&](UINT vk) { ::SendMessageW(tree, WM_KEYDOWN, vk, 0); };
    key(VK_ADD);
    EXPECT_EQ(std::vector<std::wstring>{L"first"}, children());

    // Made and removed while the page is open: the next opening shows the folder as it is now.
    SBRecursiveCreateDirectoryW((root + L"\\later").c_str());
    SaveFile(root + L"\\new.txt", "new");
    ::RemoveDirectoryW((root + L"\\first").c_str());
    key(VK_SUBTRACT);
    key(VK_ADD);
    EXPECT_EQ((std::vector<std::wstring>{L"later", L"new.txt"}), children());
    shell_test::RemoveTree(root + L"\\");
}

TEST_F(FolderPage, SkippedEntriesAreShownWithTheirReasons)
{
    std::wstring root = Scratch(L"folder-skips");
    MessageBoxDriver boxes(IDOK);
    ClickButton(folderPage->GetSafeHwnd(), CBackupFolderDlg::IDC_TAB_RESTORE);

    SaveFile(root + L"\\not.fbk", "this is not an archive at all");
    EXPECT_FALSE(restoreTab->OpenArchive(root + L"\\not.fbk"));
    EXPECT_TRUE(HasText(boxes, Text(L"IDS_BACKUP_FOLDERRESTORE_OPENFAIL")));
    EXPECT_EQ(0, ListCount(Item(restoreWnd, CBackupFolderRestoreDlg::IDC_LIST)));

    // Two sources whose files share a name both come back, each in its folder.
    SBRecursiveCreateDirectoryW((root + L"\\one").c_str());
    SBRecursiveCreateDirectoryW((root + L"\\two").c_str());
    SaveFile(root + L"\\one\\same.txt", "first");
    std::string large(100000, '\0');
    for (size_t i = 0; i < large.size(); ++i) large[i] = static_cast<char>((i * 7919 + i / 97) % 251);
    SaveFile(root + L"\\two\\SAME.TXT", large);
    ClickButton(folderPage->GetSafeHwnd(), CBackupFolderDlg::IDC_TAB_BACKUP);
    BackUp({root + L"\\one", root + L"\\two"}, L"dups", root);
    ClickButton(folderPage->GetSafeHwnd(), CBackupFolderDlg::IDC_TAB_RESTORE);
    ASSERT_TRUE(restoreTab->OpenArchive(root + L"\\dups.fbk"));
    SetEdit(restoreWnd, CBackupFolderRestoreDlg::IDC_TARGET, root + L"\\out");
    ClickButton(restoreWnd, CBackupFolderRestoreDlg::IDC_RESTORE);
    ASSERT_TRUE(PumpUntil([&] { return !restoreTab->IsRunning(); }, 60000));
    std::wstring back = root + L"\\out\\" + root.substr(3);
    EXPECT_EQ("first", LoadFile(back + L"\\one\\same.txt"));
    EXPECT_EQ(large, LoadFile(back + L"\\two\\SAME.TXT"));
    EXPECT_TRUE(HasText(boxes, Text(L"IDS_BACKUP_FOLDERBACK_SUCRESOTRE")));

    // The same archive damaged inside the larger file's data: that entry fails and is named.
    std::string bytes = LoadFile(root + L"\\dups.fbk");
    size_t at = bytes.find("SAME.TXT");  // in its local header, before the data
    ASSERT_NE(std::string::npos, at);
    bytes[at + 8 + 500] ^= 0x55;
    SaveFile(root + L"\\damaged.fbk", bytes);
    ASSERT_TRUE(restoreTab->OpenArchive(root + L"\\damaged.fbk"));
    SetEdit(restoreWnd, CBackupFolderRestoreDlg::IDC_TARGET, root + L"\\out2");
    ClickButton(restoreWnd, CBackupFolderRestoreDlg::IDC_RESTORE);
    ASSERT_TRUE(PumpUntil([&] { return !restoreTab->IsRunning(); }, 60000));
    bool reported = false;
    for (const auto& t : boxes.Texts())
        reported = reported ||
                   (t.find(Text(L"IDS_BACKUP_FOLDERRESTORE_FAIL")) == 0 && t.find(L"SAME.TXT") != std::wstring::npos);
    EXPECT_TRUE(reported) << "the failed entry is named";
    EXPECT_EQ(Text(L"IDS_BACKUP_FOLDERRESTORE_FAIL"),
              shell_test::WindowText(Item(restoreWnd, CBackupFolderRestoreDlg::IDC_RESULT)));
    shell_test::RemoveTree(root + L"\\");
}
