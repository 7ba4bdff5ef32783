// The repair pages as a user drives them, each in this process under a host main window that records the busy
// notices: the DLL re-registration against a stand-in regsvr32 over a fixture set of the system folder, the
// error utility and file association pages against seeded registry state, the printer page against stand-ins
// for sc and net, and the Winsock page against a seeded catalog, a stand-in netsh and a stand-in wineboot (which
// Wine's restart runs).
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <Common.h>
#include <Moravin/RegisterDll.h>
#include <Moravin/WinsockRepaire.h>

#include <string>
#include <vector>

#include "Dictionary.h"
#include "MoravinActiveXDlg.h"
#include "PageFactory.h"
#include "QRegistryFixtures.h"
#include "QStubPrograms.h"
#include "QTestSupport.h"
#include "ScanTestHost.h"

using namespace scan_test;
using namespace shell_test;
using nsVendrel::TranslateCode;

namespace {

std::wstring Text(const wchar_t* key) { return std::wstring(TranslateCode(key)); }

void SetCheck(HWND list, int row, bool check)
{
    LVITEMW item = {};
    item.stateMask = LVIS_STATEIMAGEMASK;
    item.state = INDEXTOSTATEIMAGEMASK(check ? 2 : 1);
    ::SendMessageW(list, LVM_SETITEMSTATE, (WPARAM)row, (LPARAM)&item);
}

void Select(HWND list, int row)
{
    LVITEMW item = {};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    ::SendMessageW(list, LVM_SETITEMSTATE, (WPARAM)row, (LPARAM)&item);
}

class RepairPages : public testing::Test {
protected:
    static void SetUpTestSuite() { nsVendrel::LoadDictionarys((ProgramFolder() + L"dic\\en").c_str()); }

    void SetUp() override
    {
        container.Create(IDD_FUNCTION_PAGE, host.Wnd());
        container.MoveWindow(186, 126, 737, 536);
    }
    void TearDown() override
    {
        if (page) {
            page->DestroyWindow();
            delete page;
        }
        container.DestroyWindow();
    }

    // Makes the page the factory registers for the id, as the main window does, and shows it.
    HWND Open(int pageId)
    {
        page = Shell::CreatePageObject(pageId);
        CFunctionDlgContainer::AddPage(page, &container, pageId);
        container.ShowPage(pageId);
        return page->GetSafeHwnd();
    }
    HWND Item(int id) const { return ::GetDlgItem(page->GetSafeHwnd(), id); }
    // Clicks a button and waits for the message box the click leads to; returns its text.
    std::wstring ClickForMessage(MessageBoxDriver& boxes, int id, DWORD timeoutMs = 60000)
    {
        const size_t before = boxes.Texts().size();
        ClickButton(page->GetSafeHwnd(), id);
        if (!PumpUntil([&] { return boxes.Texts().size() > before; }, timeoutMs)) return L"(no message)";
        // The box has been answered; let the page finish the handler it was shown from.
        PumpFor(100);
        return boxes.Texts().back();
    }
    bool Busy() const
    {
        std::vector<WPARAM> calls = host.BusyCalls();
        return !calls.empty() && calls.back() == 1;
    }

    HostMainWindow host;
    CFunctionDlgContainer container;
    CFunctionDlg* page = nullptr;
};

}  // namespace

// Every page id of the repair group that this folder builds has its page class.
TEST_F(RepairPages, TheRepairPagesAreRegisteredUnderTheirIds)
{
    for (int id : {PAGE_ID_REPAIR_ACTIVEX, PAGE_ID_REPAIR_ERROR_UTILITY, PAGE_ID_REPAIR_FILE_ASSOC,
                   PAGE_ID_REPAIR_WINSOCK, PAGE_ID_REPAIR_PRINTER})
        EXPECT_TRUE(Shell::IsPageRegistered(id)) << id;
}

// Register: each row shows its own DLL's result, the bar runs to the end, the main window is busy meanwhile, and
// the closing message says whether every DLL was registered. A DLL that came after the list was made gets a row
// of its own, and no result lands on another DLL's row. A second run starts the rows afresh.
TEST_F(RepairPages, DllPageShowsEachRowsResult)
{
    StubProgram regsvr32(L"regsvr32");
    ASSERT_TRUE(regsvr32.ok());
    regsvr32.SetExitCodeFor(L"qvfail.dll", 5);
    regsvr32.SetExitCodeFor(L"qvlate.dll", 5);
    regsvr32.SetExitCodeFor(L"qvnoentry.dll", 4);
    SystemDllSet set({L"ole32.dll", L"shell32.dll"});
    set.AddFixture(L"qvfail.dll");
    set.AddFixture(L"qvnoentry.dll");

    Open(PAGE_ID_REPAIR_ACTIVEX);
    HWND list = Item(CMoravinActiveXDlg::IDC_DLL_LIST), progress = Item(CMoravinActiveXDlg::IDC_PROGRESS);
    ASSERT_EQ(4, ListCount(list));
    set.AddFixture(L"qvlate.dll");  // the folder changes after the page listed it
    const std::wstring system = SystemFolder();
    auto expectedText = [&](const std::wstring& path) {
        if (_wcsicmp(path.c_str(), (system + L"\\qvfail.dll").c_str()) == 0 ||
            _wcsicmp(path.c_str(), (system + L"\\qvlate.dll").c_str()) == 0)
            return Text(L"IDS_SYS_FIX_DLL_REGISTER_FAILED");
        if (_wcsicmp(path.c_str(), (system + L"\\qvnoentry.dll").c_str()) == 0)
            return Text(L"IDS_SYS_FIX_DLL_REGISTER_NOTHING");
        return Text(L"IDS_SYS_FIX_DLL_REGISTER_SUCCESS");
    };

    MessageBoxDriver boxes(IDOK);
    EXPECT_EQ(Text(L"IDS_SYS_FIX_DLL_REGISTER_SOME_FAILED"), ClickForMessage(boxes, CMoravinActiveXDlg::IDC_REGISTER));
    EXPECT_EQ(std::vector<WPARAM>({1, 0}), host.BusyCalls());
    EXPECT_TRUE(::IsWindowEnabled(Item(CMoravinActiveXDlg::IDC_REGISTER)));
    ASSERT_EQ(5, ListCount(list));
    EXPECT_EQ(5, (int)::SendMessageW(progress, PBM_GETPOS, 0, 0));
    for (int row = 0; row < 5; ++row) {
        SCOPED_TRACE(testing::PrintToString(ListCellText(list, row, 0)));
        EXPECT_EQ(expectedText(ListCellText(list, row, 0)), ListCellText(list, row, 1));
    }
    EXPECT_EQ(5u, regsvr32.Calls().size());

    // Fixed meanwhile: the second run finds every DLL registered.
    regsvr32.SetExitCodeFor(L"qvfail.dll", 0);
    regsvr32.SetExitCodeFor(L"qvlate.dll", 0);
    EXPECT_EQ(Text(L"IDS_SYS_FIX_DLL_REGISTER_SUCCESS"), ClickForMessage(boxes, CMoravinActiveXDlg::IDC_REGISTER));
    EXPECT_EQ(5, ListCount(list));
    for (int row = 0; row < 5; ++row) {
        if (ListCellText(list, row, 0) == system + L"\\qvfail.dll") {
            EXPECT_EQ(Text(L"IDS_SYS_FIX_DLL_REGISTER_SUCCESS"), ListCellText(list, row, 1));
        }
    }

    // A run whose system folder could not be listed ends with the failure text, not with success.
    const size_t before = boxes.Texts().size();
    ::PostMessageW(page->GetSafeHwnd(), WM_DLLREG_DONE, 0, DLLREG_LIST_FAILED);
    ASSERT_TRUE(PumpUntil([&] { return boxes.Texts().size() > before; }));
    EXPECT_EQ(Text(L"IDS_SYS_FIX_DLL_LIST_FAILED"), boxes.Texts().back());
}

// Stop while registrations run: nothing further starts and the closing message is the stop text.
TEST_F(RepairPages, DllPageStopEndsTheRun)
{
    StubProgram regsvr32(L"regsvr32");
    ASSERT_TRUE(regsvr32.ok());
    regsvr32.SetDelay(1000);
    Open(PAGE_ID_REPAIR_ACTIVEX);
    HWND list = Item(CMoravinActiveXDlg::IDC_DLL_LIST);
    ASSERT_GT(ListCount(list), 100);

    MessageBoxDriver boxes(IDOK);
    ClickButton(page->GetSafeHwnd(), CMoravinActiveXDlg::IDC_REGISTER);
    EXPECT_TRUE(Busy());
    EXPECT_FALSE(::IsWindowEnabled(Item(CMoravinActiveXDlg::IDC_REGISTER)));
    ASSERT_TRUE(PumpUntil([&] { return regsvr32.Running() > 0; }, 20000));
    ClickButton(page->GetSafeHwnd(), CMoravinActiveXDlg::IDC_STOP);
    ASSERT_TRUE(PumpUntil([&] { return !boxes.Texts().empty(); }, 30000));
    EXPECT_EQ(Text(L"IDS_SYS_FIX_DLL_STOP_BTN"), boxes.Texts().back());
    EXPECT_FALSE(Busy());
    EXPECT_LE(regsvr32.Calls().size(), size_t(Moravin::CRegisterDll::MaxRunningRegistrations()));
    int marked = 0;
    for (int row = 0; row < ListCount(list); ++row) marked += ListCellText(list, row, 1).empty() ? 0 : 1;
    EXPECT_EQ(int(regsvr32.Calls().size()), marked);
}

// The error utility: sixteen rows, the description of the selected one, the "choose" message, the repairs of the
// checked rows with the success text, and the failure text when a repair could not write.
TEST_F(RepairPages, ErrorUtilityRepairsTheCheckedFaults)
{
    const std::wstring ieMain = L"Software\\Microsoft\\Internet Explorer\\Main";
    const std::wstring winlogon = L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon";
    ASSERT_TRUE(SeedString(HKEY_CURRENT_USER, ieMain, L"Window_Placement", L"x"));
    ASSERT_TRUE(SeedString(HKEY_LOCAL_MACHINE, winlogon, L"LegalNoticeCaption", L"Notice"));

    Open(PAGE_ID_REPAIR_ERROR_UTILITY);
    HWND list = Item(44002), description = Item(44004);
    ASSERT_EQ(16, ListCount(list));
    EXPECT_EQ(Text(L"IDS_SYS_FIX_ERR_UTIL_ERROR1"), ListCellText(list, 0, 0));
    EXPECT_EQ(Text(L"IDS_SYS_FIX_ERR_UTIL_ERROR16"), ListCellText(list, 15, 0));
    Select(list, 2);
    EXPECT_EQ(Text(L"IDS_SYS_FIX_ERR_UTIL_ERROR3_DESP"), WindowText(description));

    MessageBoxDriver boxes(IDOK);
    EXPECT_EQ(Text(L"IDS_SYS_FIX_ERROR_SELECT"), ClickForMessage(boxes, 44006));
    EXPECT_TRUE(host.BusyCalls().empty());

    SetCheck(list, 0, true);
    SetCheck(list, 1, true);
    EXPECT_EQ(Text(L"IDS_SYS_FIX_ERROR_SUCCESS"), ClickForMessage(boxes, 44006));
    EXPECT_EQ(std::vector<WPARAM>({1, 0}), host.BusyCalls());
    EXPECT_FALSE(ReadValue(HKEY_CURRENT_USER, ieMain, L"Window_Placement").present);
    EXPECT_FALSE(ReadValue(HKEY_LOCAL_MACHINE, winlogon, L"LegalNoticeCaption").present);

    // Showing the page again clears the checks.
    container.ShowPage(PAGE_ID_REPAIR_ERROR_UTILITY);
    for (int row = 0; row < 16; ++row) EXPECT_EQ(0, ListCheck(list, row)) << row;

    // Repair 3 writes under the SCSI service's key, which no one may write here: the run fails as a whole.
    ASSERT_TRUE(SeedDword(HKEY_LOCAL_MACHINE, L"SYSTEM\\CurrentControlSet\\Services\\FCA_SCSI", L"Type", 1));
    LockedKey locked(HKEY_LOCAL_MACHINE, L"SYSTEM\\CurrentControlSet\\Services\\FCA_SCSI\\PARAMETERS\\DEVICE");
    ASSERT_TRUE(locked.locked());
    SetCheck(list, 0, true);
    SetCheck(list, 3, true);
    EXPECT_EQ(Text(L"IDS_SYS_FIX_ERROR_FAILED"), ClickForMessage(boxes, 44006));
}

// File associations: broken rows come ticked; Repair writes the ticked ones and refreshes; a row left unticked
// stays broken, and a row whose key cannot be written brings the failure text.
TEST_F(RepairPages, FileAssociationPageRepairsTheTickedRows)
{
    RemoveKey(HKEY_CLASSES_ROOT, L"batfile\\shell\\open\\command");
    ASSERT_TRUE(SeedString(HKEY_CLASSES_ROOT, L"comfile\\shell\\open\\command", L"", L"broken"));
    ASSERT_TRUE(SeedString(HKEY_CLASSES_ROOT, L"exefile\\shell\\open\\command", L"", L"\"%1\" %*"));

    Open(PAGE_ID_REPAIR_FILE_ASSOC);
    HWND list = Item(45002);
    ASSERT_EQ(14, ListCount(list));
    EXPECT_EQ(L".bat", ListCellText(list, 0, 1));
    EXPECT_EQ(Text(L"IDS_SYS_FIX_FILE_ASSOC_ERROR"), ListCellText(list, 0, 0));
    EXPECT_EQ(1, ListCheck(list, 0));
    EXPECT_EQ(Text(L"IDS_SYS_FIX_FILE_ASSOC_NORMAL"), ListCellText(list, 3, 0));
    EXPECT_EQ(0, ListCheck(list, 3));
    EXPECT_EQ(L"broken", ListCellText(list, 2, 2));
    EXPECT_EQ(L"\"%1\" %*", ListCellText(list, 2, 3));

    SetCheck(list, 2, false);
    MessageBoxDriver boxes(IDOK);
    ClickButton(page->GetSafeHwnd(), 45004);
    PumpFor(200);
    EXPECT_TRUE(boxes.Texts().empty()) << "every write succeeded";
    EXPECT_EQ(Text(L"IDS_SYS_FIX_FILE_ASSOC_NORMAL"), ListCellText(list, 0, 0));
    EXPECT_EQ(0, ListCheck(list, 0));
    EXPECT_EQ(L"\"%1\" %*", ReadValue(HKEY_CLASSES_ROOT, L"batfile\\shell\\open\\command", L"").Text());
    EXPECT_EQ(Text(L"IDS_SYS_FIX_FILE_ASSOC_ERROR"), ListCellText(list, 2, 0));

    LockedKey locked(HKEY_CLASSES_ROOT, L"comfile\\shell\\open\\command");
    ASSERT_TRUE(locked.locked());
    SetCheck(list, 2, true);
    EXPECT_EQ(Text(L"IDS_SYS_FIX_FILE_ASSOC_FAILED"), ClickForMessage(boxes, 45004));
    EXPECT_EQ(Text(L"IDS_SYS_FIX_FILE_ASSOC_ERROR"), ListCellText(list, 2, 0));
}

// The printer spooler: sc then net, by full path and hidden; success only when both did their part.
TEST_F(RepairPages, PrinterPageRunsScThenNetAndReadsTheirExitCodes)
{
    StubProgram sc(L"sc"), net(L"net");
    ASSERT_TRUE(sc.ok() && net.ok());
    ASSERT_FALSE(SBIsSvcRunW(L"Spooler")) << "the prefix's spooler must be stopped for the failing cases";
    const std::wstring scCall = L"\"" + SystemFolder() + L"\\sc.exe\" config Spooler start= auto";
    const std::wstring netCall = L"\"" + SystemFolder() + L"\\net.exe\" start Spooler";
    Open(PAGE_ID_REPAIR_PRINTER);
    MessageBoxDriver boxes(IDOK);

    // While the programs run, the page is busy and its button disabled; the window keeps answering.
    sc.SetDelay(1500);
    ClickButton(page->GetSafeHwnd(), 47002);
    EXPECT_TRUE(Busy());
    EXPECT_FALSE(::IsWindowEnabled(Item(47002)));
    DWORD_PTR answer = 0;
    EXPECT_TRUE(::SendMessageTimeoutW(page->GetSafeHwnd(), WM_NULL, 0, 0, SMTO_NORMAL, 500, &answer));
    ASSERT_TRUE(PumpUntil([&] { return !boxes.Texts().empty(); }, 60000));
    EXPECT_EQ(Text(L"IDS_SYS_FIX_PRINTSPOOL"), boxes.Texts().back());
    EXPECT_FALSE(Busy());
    EXPECT_EQ(std::vector<std::wstring>({scCall}), sc.Calls());
    EXPECT_EQ(std::vector<std::wstring>({netCall}), net.Calls());
    sc.SetDelay(0);

    const struct {
        DWORD scExit, netExit;
    } failing[] = {{1, 0}, {0, 2}};
    for (const auto& f : failing) {
        SCOPED_TRACE(testing::Message() << "sc " << f.scExit << ", net " << f.netExit);
        sc.Reset();
        net.Reset();
        sc.SetExitCode(f.scExit);
        net.SetExitCode(f.netExit);
        PumpFor(100);
        EXPECT_EQ(Text(L"IDS_SYS_FIX_PRINTSPOOL_FAILED"), ClickForMessage(boxes, 47002));
        EXPECT_EQ(1u, sc.Calls().size());
        EXPECT_EQ(1u, net.Calls().size()) << "net runs after a failed sc too";
    }

    // net fails for a spooler that already runs: the spooler runs, so the repair succeeded.
    ASSERT_TRUE(SBStartServiceW(L"Spooler"));
    sc.SetExitCode(0);
    EXPECT_EQ(Text(L"IDS_SYS_FIX_PRINTSPOOL"), ClickForMessage(boxes, 47002));
}

// Winsock: the list shows the catalog as it was when the page was made; No changes nothing; a reset that fails
// brings the failure text and no restart; a reset that succeeds asks Windows to restart without forcing running
// programs; without the shutdown right the user is told to restart.
TEST_F(RepairPages, WinsockPageResetsAndRestartsOnlyWhenTheResetWorked)
{
    const std::wstring entry = std::wstring(Moravin::CWinsockRepaire::kCatalogKey) + L"\\000000000001";
    std::vector<BYTE> item(888, 0);
    const char path[] = "%SystemRoot%\\system32\\mswsock.dll";
    memcpy(item.data(), path, sizeof(path));
    const wchar_t protocol[] = L"MSAFD Tcpip [TCP/IP]";
    memcpy(item.data() + 376, protocol, sizeof(protocol));
    ASSERT_TRUE(SeedValue(HKEY_LOCAL_MACHINE, entry, L"PackedCatalogItem", REG_BINARY, item.data(), 888));

    StubProgram netsh(L"netsh"), wineboot(L"wineboot");
    ASSERT_TRUE(netsh.ok() && wineboot.ok());
    Open(PAGE_ID_REPAIR_WINSOCK);
    HWND list = Item(46002);
    ASSERT_EQ(1, ListCount(list));
    EXPECT_EQ(L"000000000001", ListCellText(list, 0, 0));
    EXPECT_EQ(L"%SystemRoot%\\system32\\mswsock.dll", ListCellText(list, 0, 1));
    EXPECT_EQ(L"MSAFD Tcpip [TCP/IP]", ListCellText(list, 0, 2));
    ASSERT_TRUE(SeedValue(HKEY_LOCAL_MACHINE, entry + L"2", L"PackedCatalogItem", REG_BINARY, item.data(), 888));
    container.ShowPage(PAGE_ID_REPAIR_WINSOCK);
    EXPECT_EQ(1, ListCount(list)) << "an entry added later is not shown";

    MessageBoxDriver boxes(IDNO);
    EXPECT_EQ(Text(L"IDS_SYS_FIX_WINSOCK"), ClickForMessage(boxes, 46003));
    EXPECT_TRUE(netsh.Calls().empty());
    EXPECT_TRUE(host.BusyCalls().empty());

    boxes.SetButton(IDYES);
    netsh.SetExitCode(1);
    ClickButton(page->GetSafeHwnd(), 46003);
    ASSERT_TRUE(PumpUntil([&] { return boxes.Texts().size() == 3; }, 60000));
    EXPECT_EQ(Text(L"IDS_SYS_FIX_WINSOCK_FAILED"), boxes.Texts().back());
    EXPECT_EQ(1u, netsh.Calls().size());
    EXPECT_TRUE(wineboot.Calls().empty()) << "no restart after a failed reset";

    netsh.SetExitCode(0);
    ClickButton(page->GetSafeHwnd(), 46003);
    ASSERT_TRUE(PumpUntil([&] { return !wineboot.Calls().empty(); }, 60000));
    PumpFor(300);
    EXPECT_EQ(4u, boxes.Texts().size()) << "only the question";
    // Wine's restart: "--end-session" asks the programs to close, "--force" ends only those that hang; no
    // "--shutdown", so it is a restart.
    EXPECT_EQ(std::vector<std::wstring>({SystemFolder() + L"\\wineboot.exe --end-session --force"}), wineboot.Calls());
    EXPECT_FALSE(Busy());

    // Without the shutdown right (taken away from this process for good).
    HANDLE token = nullptr;
    ASSERT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token));
    TOKEN_PRIVILEGES removed = {};
    removed.PrivilegeCount = 1;
    LookupPrivilegeValueW(nullptr, SE_SHUTDOWN_NAME, &removed.Privileges[0].Luid);
    removed.Privileges[0].Attributes = SE_PRIVILEGE_REMOVED;
    ASSERT_TRUE(AdjustTokenPrivileges(token, FALSE, &removed, 0, nullptr, nullptr));
    CloseHandle(token);
    wineboot.Reset();
    ClickButton(page->GetSafeHwnd(), 46003);
    ASSERT_TRUE(PumpUntil([&] { return boxes.Texts().size() == 6; }, 60000));
    EXPECT_EQ(Text(L"IDS_SYS_FIX_WINSOCK_NO_SHUTDOWN_RIGHT"), boxes.Texts().back());
    EXPECT_TRUE(wineboot.Calls().empty());
}
