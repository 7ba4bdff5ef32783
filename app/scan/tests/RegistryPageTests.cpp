// The registry page as a user drives it, against the real engine and a seeded registry: choose categories, scan,
// read the rows, tick and repair, and find the entries gone from the registry and present in the backup database.
#include <gtest/gtest.h>

#include <sqlite3.h>

#include <algorithm>
#include <string>
#include <vector>

#include "Dictionary.h"
#include "PageFactory.h"
#include "ScanCleanRegCleanDlg.h"
#include "ScanTestHost.h"
#include "QTestSupport.h"
#include "controls/CheckBoxEx.h"

using namespace scan_test;
using shell_test::ListCellText;
using shell_test::PumpUntil;

namespace {

const wchar_t kSharedDlls[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\SharedDlls";
const wchar_t kMuiCache[] = L"Software\\Microsoft\\Windows\\ShellNoRoam\\MUICache";
const wchar_t kHelp[] = L"SOFTWARE\\Microsoft\\Windows\\Help";
const wchar_t kHtmlHelp[] = L"SOFTWARE\\Microsoft\\Windows\\Html Help";
const wchar_t kAppPaths[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\qgone.exe";

void SetValue(HKEY root, const wchar_t* key, const wchar_t* name, DWORD type, const void* data, DWORD size)
{
    HKEY k = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(root, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k, nullptr));
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExW(k, name, 0, type, static_cast<const BYTE*>(data), size));
    RegCloseKey(k);
}
void SetSz(HKEY root, const wchar_t* key, const wchar_t* name, const wchar_t* text)
{
    SetValue(root, key, name, REG_SZ, text, DWORD((wcslen(text) + 1) * sizeof(wchar_t)));
}
void SetDword(HKEY root, const wchar_t* key, const wchar_t* name, DWORD v)
{
    SetValue(root, key, name, REG_DWORD, &v, sizeof(v));
}
bool ValueExists(HKEY root, const wchar_t* key, const wchar_t* name)
{
    HKEY k = nullptr;
    if (RegOpenKeyExW(root, key, 0, KEY_QUERY_VALUE, &k) != ERROR_SUCCESS) return false;
    bool found = RegQueryValueExW(k, name, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
    RegCloseKey(k);
    return found;
}

std::string Utf8(const std::wstring& text)
{
    int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), int(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(size_t(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), int(text.size()), &out[0], n, nullptr, nullptr);
    return out;
}

// Rows of the backup database (beside the program) that hold this value name.
int BackupRowsFor(const std::wstring& valueName)
{
    std::string path = Utf8(shell_test::ProgramFolder() + L"regbackup\\regbackup.db");
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        return -1;
    }
    int rows = -1;
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db, "select count(*) from datainfo where valuekey = ?1", -1, &st, nullptr) == SQLITE_OK) {
        std::string name = Utf8(valueName);
        sqlite3_bind_text(st, 1, name.c_str(), int(name.size()), SQLITE_TRANSIENT);
        if (sqlite3_step(st) == SQLITE_ROW) rows = sqlite3_column_int(st, 0);
    }
    sqlite3_finalize(st);
    sqlite3_close(db);
    return rows;
}

// The page's own visibility (the hidden host window hides everything on screen).
bool Shown(HWND wnd) { return (::GetWindowLongW(wnd, GWL_STYLE) & WS_VISIBLE) != 0; }

class RegistryPage : public ::testing::Test {
protected:
    static void SetUpTestSuite() { nsVendrel::LoadDictionarys((shell_test::ProgramFolder() + L"dic\\en").c_str()); }

    void SetUp() override
    {
        container.Create(IDD_FUNCTION_PAGE, host.Wnd());
        container.MoveWindow(179, 60, 750, 620);
        CFunctionDlg* created = Shell::CreatePageObject(PAGE_ID_SCAN_CLEAN_REGISTRY);
        page = dynamic_cast<CScanCleanRegCleanDlg*>(created);
        ASSERT_NE(nullptr, page) << "the registry page is not what the factory makes for its id";
        CFunctionDlgContainer::AddPage(page, &container, PAGE_ID_SCAN_CLEAN_REGISTRY);
        container.ShowPage(PAGE_ID_SCAN_CLEAN_REGISTRY);
        step0 = page->GetStep0().m_hWnd;
        step1 = page->GetStep1().m_hWnd;
        list = ::GetDlgItem(step1, 11103);
        ASSERT_TRUE(Shown(step0));
    }

    void TearDown() override
    {
        RegDeleteKeyW(HKEY_CURRENT_USER, kMuiCache);
        if (page) {
            page->DestroyWindow();
            delete page;
        }
        container.DestroyWindow();
    }

    void Choose(std::initializer_list<int> boxIds)
    {
        for (int id : boxIds) {
            ClickAt(::GetDlgItem(step0, id), 2, 2);
            ASSERT_EQ(1, page->GetStep0().FindRow(id - 11005)->checkBox.GetState()) << id;
        }
    }

    // Starts the scan and waits for the results step.
    void ScanAndWait()
    {
        ClickButton(step0, 11003);
        ASSERT_TRUE(PumpUntil([&] { return Shown(step1) && !page->GetStep0().IsScanning(); }, 60000));
    }

    void RepairAndWait()
    {
        ClickButton(step1, 11105);
        ASSERT_TRUE(PumpUntil([&] { return !page->GetStep1().IsCleaning() && ::IsWindowEnabled(step1); }, 60000));
    }

    // Rows whose result is this value.
    std::vector<int> RowsOf(int type, HKEY root, const std::wstring& valueName)
    {
        std::vector<int> rows;
        for (int i = 0; i < ListCount(list); ++i) {
            auto* r = reinterpret_cast<const CRegistryData::SCAN_RESULT*>(ListItemData(list, i));
            if (r && r->type == type && r->data.root == root && r->data.valueName == valueName) rows.push_back(i);
        }
        return rows;
    }

    void ClickRow(int row)
    {
        RECT rc = {};
        rc.left = LVIR_BOUNDS;
        ::SendMessageW(list, LVM_ENSUREVISIBLE, (WPARAM)row, FALSE);
        ::SendMessageW(list, LVM_GETITEMRECT, (WPARAM)row, (LPARAM)&rc);
        ClickAt(list, rc.left + 30, rc.top + 20);
    }

    void SetSelectAll(bool on)
    {
        ::SendDlgItemMessageW(step1, 11104, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
        ClickButton(step1, 11104);
    }

    std::wstring Text(HWND parent, int id) { return shell_test::WindowText(::GetDlgItem(parent, id)); }

    HostMainWindow host;
    CFunctionDlgContainer container;
    CScanCleanRegCleanDlg* page = nullptr;
    HWND step0 = nullptr, step1 = nullptr, list = nullptr;
};

TEST_F(RegistryPage, ScanListsEachSeededEntryAndRepairRemovesOnlyTheTickedOne)
{
    const std::wstring shared = L"C:\\QuorvelGone\\shared.dll", mui = L"C:\\QuorvelGone\\mui.exe";
    SetDword(HKEY_LOCAL_MACHINE, kSharedDlls, shared.c_str(), 1);
    SetSz(HKEY_CURRENT_USER, kMuiCache, mui.c_str(), L"Mui");
    SetSz(HKEY_LOCAL_MACHINE, kHelp, L"qgone1.hlp", L"C:\\QuorvelGone");
    SetSz(HKEY_LOCAL_MACHINE, kHtmlHelp, L"qgone2.chm", L"C:\\QuorvelGone");
    SetSz(HKEY_LOCAL_MACHINE, kAppPaths, L"", L"C:\\QuorvelGone\\qgone.exe");  // a category left out

    Choose({11005, 11009, 11010});
    ScanAndWait();
    EXPECT_EQ((std::vector<WPARAM>{1, 0}), host.BusyCalls());
    for (int id = 11005; id <= 11014; ++id) {
        bool chosen = id == 11005 || id == 11009 || id == 11010;
        EXPECT_EQ(chosen ? 3 : 0, page->GetStep0().FindRow(id - 11005)->checkBox.GetState()) << id;
    }

    // One row per seeded entry, with its reason; both help keys were scanned.
    struct Seed {
        int type;
        HKEY root;
        std::wstring name;
        const wchar_t* reasonKey;
    } seeds[] = {
        {RST_SHAREDDLL, HKEY_LOCAL_MACHINE, shared, L"IDS_SCAN_CLEAN_REGISTRY_REASON_FILE_NOT_FOUND"},
        {RST_MUICACHE, HKEY_CURRENT_USER, mui, L"IDS_SCAN_CLEAN_REGISTRY_REASON_JUNK_VALUE"},
        {RST_HELP, HKEY_LOCAL_MACHINE, L"qgone1.hlp", L"IDS_SCAN_CLEAN_REGISTRY_REASON_FILE_NOT_FOUND"},
        {RST_HELP, HKEY_LOCAL_MACHINE, L"qgone2.chm", L"IDS_SCAN_CLEAN_REGISTRY_REASON_FILE_NOT_FOUND"},
    };
    for (const Seed& s : seeds) {
        std::vector<int> rows = RowsOf(s.type, s.root, s.name);
        ASSERT_EQ(1u, rows.size()) << std::string(s.name.begin(), s.name.end());
        std::wstring reason = nsVendrel::TranslateCode(s.reasonKey).GetString();
        EXPECT_EQ(0u, ListCellText(list, rows[0]).find(reason + L" ")) << ListCellText(list, rows[0]).c_str();
    }
    EXPECT_TRUE(RowsOf(RST_APPPATH, HKEY_LOCAL_MACHINE, L"").empty());
    const int before = ListCount(list);
    EXPECT_EQ(std::to_wstring(before), Text(step1, 11107));
    EXPECT_EQ(std::to_wstring(RowsOf(RST_MUICACHE, HKEY_CURRENT_USER, mui).size()), Text(step0, 11054).substr(0, 1));

    std::wstring shot = ArtifactsFolder() + L"registry-result-list.bmp";
    EXPECT_TRUE(CaptureWindowToBmp(list, shot));
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(shot.c_str()));

    // Select all on then off leaves nothing ticked; then the user ticks the shared DLL row alone. "Select All"
    // shows whether every row is ticked, whoever ticked them.
    SetSelectAll(true);
    for (int i = 0; i < before; ++i) EXPECT_EQ(1, ListCheck(list, i));
    SetSelectAll(false);
    for (int i = 0; i < before; ++i) EXPECT_EQ(0, ListCheck(list, i));
    for (int i = 0; i < before; ++i) ClickRow(i);
    EXPECT_EQ(BST_CHECKED, ::IsDlgButtonChecked(step1, 11104)) << "every row ticked by hand";
    ClickRow(0);
    EXPECT_EQ(BST_UNCHECKED, ::IsDlgButtonChecked(step1, 11104)) << "one row unticked";
    SetSelectAll(false);
    int row = RowsOf(RST_SHAREDDLL, HKEY_LOCAL_MACHINE, shared)[0];
    ClickRow(row);
    ASSERT_EQ(1, ListCheck(list, row));
    EXPECT_EQ(L"", Text(step1, 11108));

    // The database beside the program outlives this run: compare with what it held before.
    const int backedUpBefore = std::max(0, BackupRowsFor(shared));
    host.ClearBusyCalls();
    shell_test::MessageBoxDriver boxes(IDOK);
    RepairAndWait();
    EXPECT_EQ((std::vector<WPARAM>{1, 0}), host.BusyCalls());
    EXPECT_FALSE(ValueExists(HKEY_LOCAL_MACHINE, kSharedDlls, shared.c_str()));
    EXPECT_TRUE(ValueExists(HKEY_CURRENT_USER, kMuiCache, mui.c_str()));
    EXPECT_TRUE(ValueExists(HKEY_LOCAL_MACHINE, kHelp, L"qgone1.hlp"));
    EXPECT_TRUE(ValueExists(HKEY_LOCAL_MACHINE, kHtmlHelp, L"qgone2.chm"));
    EXPECT_EQ(before - 1, ListCount(list));
    EXPECT_TRUE(RowsOf(RST_SHAREDDLL, HKEY_LOCAL_MACHINE, shared).empty());
    EXPECT_EQ(std::to_wstring(before - 1), Text(step1, 11107));
    EXPECT_EQ(backedUpBefore + 1, BackupRowsFor(shared));
    CString done;
    done.Format(nsVendrel::TranslateCode(L"IDS_SCAN_CLEAN_REGISTRY_REPAIR_DONE"), 1);
    EXPECT_EQ(done.GetString(), Text(step1, 11108)) << "a clean that removed all it tried says so";
    ASSERT_TRUE(PumpUntil([&] { return !boxes.Texts().empty(); }, 10000)) << "the repair ended without a word";
    EXPECT_EQ((std::vector<std::wstring>{done.GetString()}), boxes.Texts());
}

// After each item the engine reports as cleaned, the count shown must be the number of rows listed.
WNDPROC g_step1Proc = nullptr;
int g_itemsSeen = 0, g_countDisagreements = 0;
LRESULT CALLBACK CompareCountWithList(HWND wnd, UINT msg, WPARAM wp, LPARAM lp)
{
    LRESULT result = CallWindowProcW(g_step1Proc, wnd, msg, wp, lp);
    if (msg == WM_REGCLEAN_ITEM) {
        ++g_itemsSeen;
        HWND list = ::GetDlgItem(wnd, 11103);
        if (shell_test::WindowText(::GetDlgItem(wnd, 11107)) != std::to_wstring(ListCount(list)))
            ++g_countDisagreements;
    }
    return result;
}

TEST_F(RegistryPage, AfterAnAbortOnlyTheListedEntriesCanBeRepaired)
{
    const int seeded = 1500;
    std::vector<std::wstring> names;
    for (int i = 0; i < seeded; ++i) {
        wchar_t name[64];
        swprintf(name, 64, L"C:\\QuorvelGone\\abort\\%04d.exe", i);
        names.push_back(name);
        SetSz(HKEY_CURRENT_USER, kMuiCache, name, L"x");
    }
    Choose({11009});
    ClickButton(step0, 11003);
    ASSERT_TRUE(PumpUntil([&] { return ListCount(list) > 0; }, 30000));
    ClickButton(step0, 11003);  // abort
    ASSERT_TRUE(PumpUntil([&] { return Shown(step1) && !page->GetStep0().IsScanning(); }, 30000));

    const int listed = ListCount(list);
    ASSERT_LT(listed, seeded) << "the scan ended before the abort took effect";
    // Every result the engine holds but the page never listed stays unselected.
    int unlisted = 0;
    for (const CRegistryData::SCAN_RESULT& r : page->GetEngine().GetResults()) {
        if (r.type != RST_MUICACHE || !page->GetStep1().GetResultCount()) continue;
        if (RowsOf(RST_MUICACHE, HKEY_CURRENT_USER, r.data.valueName).empty()) {
            ++unlisted;
            EXPECT_FALSE(page->GetEngine().IsSelected(r));
        }
    }

    SetSelectAll(true);
    g_step1Proc = (WNDPROC)SetWindowLongPtrW(step1, GWLP_WNDPROC, (LONG_PTR)&CompareCountWithList);
    g_itemsSeen = g_countDisagreements = 0;
    shell_test::MessageBoxDriver boxes(IDOK);
    RepairAndWait();
    SetWindowLongPtrW(step1, GWLP_WNDPROC, (LONG_PTR)g_step1Proc);
    EXPECT_GT(g_itemsSeen, 0);
    EXPECT_EQ(0, g_countDisagreements) << "the count shown and the rows listed differ while the clean runs";
    int remaining = 0;
    for (const std::wstring& name : names) remaining += ValueExists(HKEY_CURRENT_USER, kMuiCache, name.c_str()) ? 1 : 0;
    EXPECT_EQ(seeded - listed, remaining) << unlisted << " results were found after the abort";
    EXPECT_EQ(0, ListCount(list));
}

// Another program writes an entry back while the clean runs: its key is there again when the clean ends.
LRESULT CALLBACK WriteBackBeforeTheEnd(HWND wnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_REGCLEAN_FINISHED) SetSz(HKEY_CURRENT_USER, kMuiCache, L"C:\\QuorvelGone\\back.exe", L"b");
    return CallWindowProcW(g_step1Proc, wnd, msg, wp, lp);
}

TEST_F(RegistryPage, ARowWhoseEntryIsStillThereStaysAndTheFailureIsReported)
{
    const std::wstring back = L"C:\\QuorvelGone\\back.exe", gone = L"C:\\QuorvelGone\\gone.exe";
    SetSz(HKEY_CURRENT_USER, kMuiCache, back.c_str(), L"b");
    SetSz(HKEY_CURRENT_USER, kMuiCache, gone.c_str(), L"g");
    Choose({11009});
    ScanAndWait();
    SetSelectAll(true);
    SetSelectAll(false);
    ClickRow(RowsOf(RST_MUICACHE, HKEY_CURRENT_USER, back)[0]);
    ClickRow(RowsOf(RST_MUICACHE, HKEY_CURRENT_USER, gone)[0]);
    const int before = ListCount(list);

    shell_test::MessageBoxDriver boxes(IDOK);
    g_step1Proc = (WNDPROC)SetWindowLongPtrW(step1, GWLP_WNDPROC, (LONG_PTR)&WriteBackBeforeTheEnd);
    RepairAndWait();
    SetWindowLongPtrW(step1, GWLP_WNDPROC, (LONG_PTR)g_step1Proc);

    EXPECT_FALSE(ValueExists(HKEY_CURRENT_USER, kMuiCache, gone.c_str()));
    EXPECT_TRUE(RowsOf(RST_MUICACHE, HKEY_CURRENT_USER, gone).empty());
    std::vector<int> kept = RowsOf(RST_MUICACHE, HKEY_CURRENT_USER, back);
    ASSERT_EQ(1u, kept.size());
    EXPECT_EQ(1, ListCheck(list, kept[0]));  // still ticked for another try
    EXPECT_EQ(before - 1, ListCount(list));
    EXPECT_EQ(std::to_wstring(before - 1), Text(step1, 11107));
    ASSERT_TRUE(PumpUntil([&] { return !boxes.Texts().empty(); }, 2000));
    EXPECT_EQ(nsVendrel::TranslateCode(L"IDS_SCAN_CLEAN_REGISTRY_REPAIR_FAILED").GetString(), boxes.Texts()[0]);
    EXPECT_EQ(L"", Text(step1, 11108)) << "no success message when a row came back";
}

TEST_F(RegistryPage, ChosenCategoriesStayChosenAndSelectAllFollowsTheBoxes)
{
    auto state = [&](int id) { return page->GetStep0().FindRow(id - 11005)->checkBox.GetState(); };
    auto selectAll = [&] {
        return dynamic_cast<CCheckBoxEx*>(CWnd::FromHandlePermanent(::GetDlgItem(step0, 11100)))->GetState();
    };
    Choose({11009});
    EXPECT_EQ(0, selectAll());
    ClickAt(::GetDlgItem(step0, 11100), 2, 2);  // Select All
    for (int id = 11005; id <= 11014; ++id) EXPECT_EQ(1, state(id)) << id;
    ClickAt(::GetDlgItem(step0, 11005), 2, 2);  // one box off: Select All goes off
    EXPECT_EQ(0, state(11005));
    EXPECT_EQ(0, selectAll());
    ClickAt(::GetDlgItem(step0, 11005), 2, 2);  // every box on again: so is Select All
    EXPECT_EQ(1, selectAll());
    ClickAt(::GetDlgItem(step0, 11007), 2, 2);

    // Another visit of the page shows the same choice.
    container.ShowPage(PAGE_ID_SCAN_CLEAN_REGISTRY);
    ASSERT_TRUE(Shown(step0));
    for (int id = 11005; id <= 11014; ++id) EXPECT_EQ(id == 11007 ? 0 : 1, state(id)) << id;
    EXPECT_EQ(0, selectAll());
}

TEST_F(RegistryPage, NothingChosenOrTickedOnlyExplains)
{
    shell_test::MessageBoxDriver boxes(IDOK);
    ClickButton(step0, 11003);
    EXPECT_FALSE(page->GetStep0().IsScanning());
    EXPECT_TRUE(host.BusyCalls().empty());

    SetSz(HKEY_CURRENT_USER, kMuiCache, L"C:\\QuorvelGone\\kept.exe", L"k");
    Choose({11009});
    ScanAndWait();
    ASSERT_GE(ListCount(list), 1);
    SetSelectAll(true);
    SetSelectAll(false);
    ClickButton(step1, 11105);
    EXPECT_FALSE(page->GetStep1().IsCleaning());
    EXPECT_TRUE(ValueExists(HKEY_CURRENT_USER, kMuiCache, L"C:\\QuorvelGone\\kept.exe"));

    std::vector<std::wstring> texts = boxes.Texts();
    ASSERT_EQ(2u, texts.size());
    EXPECT_EQ(nsVendrel::TranslateCode(L"IDS_SCAN_CLEAN_REGISTRY_NOIMTESELECT").GetString(), texts[0]);
    EXPECT_EQ(nsVendrel::TranslateCode(L"IDS_SCAN_CLEAN_REGISTRY_NOIMTE").GetString(), texts[1]);
}

}  // namespace
