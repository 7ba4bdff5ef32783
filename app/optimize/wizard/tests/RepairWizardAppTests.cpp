// The real Quorvel.exe: the drawer leads to the repair home page, its first button to the repair wizards, where
// "Script Error" is chosen; the drawer's DLL item leads to the DLL page, which searches the service that the
// setting names (a local server of this test). Screenshots of the three go to Q:\artifacts.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include "QAppDriver.h"
#include "QHttpTestServer.h"
#include "QTestSupport.h"
#include "WizardTestSupport.h"

using namespace shell_test;
using wizard_test::SetServiceUrl;
using wizard_test::Utf8;

TEST(RepairWizardApp, TheDrawerLeadsToTheRepairHomeTheWizardAndTheDllPage)
{
    LocalHttpServer server;
    ASSERT_TRUE(server.Start());
    HttpReply answer;
    answer.contentType = "text/plain";
    answer.body = Utf8(server.BaseUrl()) + "x86/msvcr90.dll\r\n" + Utf8(server.BaseUrl()) + "x64/msvcr90.dll\r\n";
    server.Set("/dllapi.php", answer);
    SetServiceUrl(server.BaseUrl());
    SetRecentLastScan();

    QuorvelProcess app;
    ASSERT_TRUE(app.Start());
    ASSERT_GE(app.WaitUntilVisible(), 0);
    HWND main = app.MainWindow();
    const std::wstring artifacts = ProgramFolder() + L"artifacts\\";
    ::CreateDirectoryW(artifacts.c_str(), nullptr);

    // The repair group's header shows the repair home page.
    PumpFor(300);
    HWND header = DrawerEntry(main, 140000);
    ASSERT_NE(nullptr, header);
    ClickWindow(header);
    ASSERT_TRUE(PumpUntil([&] { return VisiblePageId(main) == 140000; }));
    HWND home = FindDescendant(PageContainer(main), 140000);
    ASSERT_NE(nullptr, FindDescendant(home, 41007));
    EXPECT_TRUE(SaveWindowShot(main, artifacts + L"repair-home.bmp"));

    // Its first button opens the wizards; the top fault is "Script Error".
    PressButton(FindDescendant(home, 41000));
    ASSERT_TRUE(PumpUntil([&] { return VisiblePageId(main) == 140001; }));
    HWND wizard = FindDescendant(PageContainer(main), 140001);
    HWND list = FindDescendant(wizard, 42005);
    ASSERT_NE(nullptr, list);
    EXPECT_EQ(28, (int)::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    ::SendMessageW(list, WM_KEYDOWN, VK_HOME, 0);
    ASSERT_TRUE(PumpUntil([&] { return ::SendMessageW(list, LVM_GETNEXTITEM, (WPARAM)-1, LVNI_SELECTED) == 0; }));
    PressButton(::GetDlgItem(::GetParent(list), 42002));
    HWND stepText = FindDescendant(wizard, 42006);
    ASSERT_NE(nullptr, stepText);
    ASSERT_TRUE(
        PumpUntil([&] { return WindowText(stepText) == L"Script Error, Please Click Next to start Repairing"; }));
    EXPECT_TRUE(SaveWindowShot(main, artifacts + L"repair-wizard-step.bmp"));

    // The drawer's DLL item: search, and the service's two copies are listed.
    HWND dllItem = DrawerEntry(main, 140008);
    ASSERT_NE(nullptr, dllItem);
    ClickWindow(dllItem);
    ASSERT_TRUE(PumpUntil([&] { return VisiblePageId(main) == 140008; }));
    HWND dllPage = FindDescendant(PageContainer(main), 140008);
    HWND results = FindDescendant(dllPage, 48004);
    ASSERT_NE(nullptr, results);
    ::SendMessageW(FindDescendant(dllPage, 48002), WM_SETTEXT, 0, (LPARAM)L"msvcr90.dll");
    PressButton(FindDescendant(dllPage, 48003));
    ASSERT_TRUE(PumpUntil([&] { return ::SendMessageW(results, LVM_GETITEMCOUNT, 0, 0) == 2; }, 20000));
    ASSERT_EQ(1u, server.Targets("/dllapi.php").size());
    EXPECT_NE(std::string::npos, server.Targets("/dllapi.php")[0].find("&file=msvcr90.dll"));
    EXPECT_TRUE(SaveWindowShot(main, artifacts + L"dll-download.bmp"));
    app.Exit();
    EXPECT_TRUE(app.WaitForExit());
}
