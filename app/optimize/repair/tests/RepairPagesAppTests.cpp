// The real Quorvel.exe: every repair page of this folder is reached from the drawer and from the repair home page,
// and a screenshot of each goes to Q:\artifacts.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "PageIds.h"
#include "QAppDriver.h"
#include "QRegistryFixtures.h"
#include "QStubPrograms.h"
#include "QTestSupport.h"

using namespace shell_test;

namespace {

int ListRows(HWND page, int listId)
{
    return (int)::SendMessageW(FindDescendant(page, listId), LVM_GETITEMCOUNT, 0, 0);
}

// The state each page shows in its screenshot: a few DLLs, a broken association, a catalog entry.
void SeedPrefix()
{
    RemoveKey(HKEY_CLASSES_ROOT, L"batfile\\shell\\open\\command");
    std::vector<BYTE> item(888, 0);
    const char path[] = "%SystemRoot%\\system32\\mswsock.dll";
    memcpy(item.data(), path, sizeof(path));
    const wchar_t protocol[] = L"MSAFD Tcpip [TCP/IP]";
    memcpy(item.data() + 376, protocol, sizeof(protocol));
    SeedValue(HKEY_LOCAL_MACHINE,
              L"System\\CurrentControlSet\\Services\\Winsock2\\Parameters\\Protocol_Catalog9\\Catalog_Entries\\"
              L"000000000001",
              L"PackedCatalogItem", REG_BINARY, item.data(), DWORD(item.size()));
}

TEST(RepairPagesApp, EachRepairPageIsReachedFromTheDrawerAndTheRepairHomePage)
{
    SeedPrefix();
    SystemDllSet dlls({L"ole32.dll", L"oleaut32.dll", L"shell32.dll", L"comctl32.dll"});
    dlls.AddFixture(L"qvbroken.dll");
    StubProgram regsvr32(L"regsvr32");
    ASSERT_TRUE(regsvr32.ok());
    regsvr32.SetExitCodeFor(L"qvbroken.dll", 5);
    SetRecentLastScan();
    QuorvelProcess app;
    ASSERT_TRUE(app.Start());
    ASSERT_GE(app.WaitUntilVisible(), 0);
    HWND main = app.MainWindow();
    PumpFor(500);

    const struct {
        int id;
        int listId;  // 0: the page has no list
        int rows;    // rows the seeded prefix gives it (-1: any)
        const wchar_t* shot;
        int homeButton;  // its button on the repair home page
    } pages[] = {
        {PAGE_ID_REPAIR_ACTIVEX, 43002, 5, L"repair-dll-registration.bmp", 41001},
        {PAGE_ID_REPAIR_ERROR_UTILITY, 44002, 16, L"repair-error-utility.bmp", 41003},
        {PAGE_ID_REPAIR_FILE_ASSOC, 45002, 14, L"repair-file-associations.bmp", 41004},
        {PAGE_ID_REPAIR_WINSOCK, 46002, 1, L"repair-winsock.bmp", 41005},
        {PAGE_ID_REPAIR_PRINTER, 0, -1, L"repair-printer-spooler.bmp", 41006},
    };
    HWND header = DrawerEntry(main, PAGE_ID_REPAIR_HOME);
    ASSERT_NE(nullptr, header);
    ClickWindow(header);
    const std::wstring folder = ProgramFolder() + L"artifacts\\";
    ::CreateDirectoryW(folder.c_str(), nullptr);
    for (const auto& p : pages) {
        SCOPED_TRACE(testing::Message() << "page " << p.id);
        HWND item = DrawerEntry(main, p.id);
        ASSERT_NE(nullptr, item);
        ASSERT_TRUE(PumpUntil([&] { return ::IsWindowVisible(item); }));
        ClickWindow(item);
        ASSERT_TRUE(PumpUntil([&] { return VisiblePageId(main) == p.id; }));
        HWND page = FindDescendant(PageContainer(main), p.id);
        ASSERT_NE(nullptr, page);
        if (p.listId) {
            EXPECT_EQ(p.rows, ListRows(page, p.listId));
        }
        if (p.id == PAGE_ID_REPAIR_ACTIVEX) {
            // A run, so the rows show their results; the closing message is answered.
            MessageBoxDriver boxes(IDOK, app.ProcessId());
            HWND registerButton = FindDescendant(page, 43003);
            ::SendMessageW(page, WM_COMMAND, MAKEWPARAM(43003, BN_CLICKED), (LPARAM)registerButton);
            ASSERT_TRUE(PumpUntil([&] { return !boxes.Texts().empty(); }, 60000));
            EXPECT_TRUE(PumpUntil([&] { return ::IsWindowEnabled(registerButton) != FALSE; }));
            EXPECT_EQ(5u, regsvr32.Calls().size());
            // Where the message box was, the page paints again.
            ::RedrawWindow(main, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        }
        EXPECT_TRUE(SaveWindowShot(main, folder + p.shot));
    }

    // Each page is also one button away on the repair home page.
    for (const auto& p : pages) {
        SCOPED_TRACE(testing::Message() << "home button " << p.homeButton);
        ClickWindow(header);
        ASSERT_TRUE(PumpUntil([&] { return VisiblePageId(main) == PAGE_ID_REPAIR_HOME; }));
        HWND home = FindDescendant(PageContainer(main), PAGE_ID_REPAIR_HOME);
        HWND button = FindDescendant(home, p.homeButton);
        ASSERT_NE(nullptr, button);
        ::SendMessageW(home, WM_COMMAND, MAKEWPARAM(p.homeButton, BN_CLICKED), (LPARAM)button);
        EXPECT_TRUE(PumpUntil([&] { return VisiblePageId(main) == p.id; }));
    }
    app.Exit();
}

}  // namespace
