// The real Quorvel.exe with the test build of Velmora beside it (a copy of the program in a folder of its own
// whose other libraries come from the bin folder): the drawer leads to the tools home page, its disk button to
// the disk optimiser, which runs a job on a simulated disk (the drawer is ignored meanwhile), and the drawer's
// extension item to the lookup, which asks a local server. Screenshots of the three go to Q:\artifacts.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <string>

#include "QAppDriver.h"
#include "QHttpTestServer.h"
#include "QTestSupport.h"
#include "WizardTestSupport.h"

using namespace shell_test;

namespace {

bool CopyFolder(const std::wstring& from, const std::wstring& to)
{
    ::CreateDirectoryW(to.c_str(), nullptr);
    WIN32_FIND_DATAW found;
    HANDLE find = ::FindFirstFileW((from + L"*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return false;
    bool ok = true;
    do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..") continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            ok = CopyFolder(from + name + L"\\", to + name + L"\\") && ok;
        else
            ok = ::CopyFileW((from + name).c_str(), (to + name).c_str(), FALSE) && ok;
    } while (::FindNextFileW(find, &found));
    ::FindClose(find);
    return ok;
}

// A copy of the program that loads the simulated Velmora.dll: the program, that library and the dictionaries in
// a folder of their own; every other library is found through PATH in the bin folder.
std::wstring SimulatedProgram()
{
    const std::wstring bin = ProgramFolder();
    const std::wstring folder = MakeScratchFolder(L"quorvel-sim");
    if (!::CopyFileW((bin + L"Quorvel.exe").c_str(), (folder + L"Quorvel.exe").c_str(), FALSE) ||
        !::CopyFileW((bin + L"velmora-sim\\Velmora.dll").c_str(), (folder + L"Velmora.dll").c_str(), FALSE) ||
        !CopyFolder(bin + L"dic\\", folder + L"dic\\"))
        return std::wstring();
    wchar_t path[4096] = L"";
    ::GetEnvironmentVariableW(L"PATH", path, 4096);
    ::SetEnvironmentVariableW(L"PATH", (bin + L";" + path).c_str());
    return folder + L"Quorvel.exe";
}

}  // namespace

TEST(ToolsApp, TheDrawerLeadsToTheToolsHomeTheDiskOptimiserAndTheExtensionLookup)
{
    LocalHttpServer server;
    ASSERT_TRUE(server.Start());
    HttpReply answer;
    answer.contentType = "text/html";
    answer.body = "<html><body>MP3 audio file</body></html>";
    server.Set("/fileexapi.php", answer);
    wizard_test::SetServiceUrl(server.BaseUrl());
    SetRecentLastScan();
    // A disk whose optimisation takes a few seconds.
    ::SetEnvironmentVariableW(L"VELMORA_SIMULATION", L"clusters=32768;files=400;seed=3;move_ms=25");
    const std::wstring program = SimulatedProgram();
    ASSERT_FALSE(program.empty());

    QuorvelProcess app;
    ASSERT_TRUE(app.StartProgram(program));
    ASSERT_GE(app.WaitUntilVisible(60000), 0);  // a start under Wine can take long on a busy machine
    HWND main = app.MainWindow();
    const std::wstring artifacts = ProgramFolder() + L"artifacts\\";
    ::CreateDirectoryW(artifacts.c_str(), nullptr);

    // The tools header shows the tools home page with its eight buttons.
    PumpFor(300);
    HWND header = DrawerEntry(main, 150000);
    ASSERT_NE(nullptr, header);
    ClickWindow(header);
    ASSERT_TRUE(PumpUntil([&] { return VisiblePageId(main) == 150000; }));
    HWND home = FindDescendant(PageContainer(main), 150000);
    for (int id = 51000; id <= 51007; ++id) EXPECT_NE(nullptr, FindDescendant(home, id)) << id;
    EXPECT_TRUE(SaveWindowShot(main, artifacts + L"tools-home.bmp"));

    // Its disk button: the optimiser lists C:, which is optimised.
    PressButton(FindDescendant(home, 51005));
    ASSERT_TRUE(PumpUntil([&] { return VisiblePageId(main) == 50006; }));
    HWND disk = FindDescendant(PageContainer(main), 50006);
    HWND drives = FindDescendant(disk, 57001);
    ASSERT_NE(nullptr, drives);
    ASSERT_GE(::SendMessageW(drives, LVM_GETITEMCOUNT, 0, 0), 1);
    ::SendMessageW(drives, WM_KEYDOWN, VK_HOME, 0);
    ASSERT_TRUE(PumpUntil([&] { return ::SendMessageW(drives, LVM_GETNEXTITEM, (WPARAM)-1, LVNI_SELECTED) == 0; }));
    PressButton(FindDescendant(disk, 57008));
    HWND files = FindDescendant(disk, 57014);
    HWND bar = FindDescendant(disk, 57021);
    ASSERT_TRUE(
        PumpUntil([&] { return WindowText(files) != L"0" && ::SendMessageW(bar, PBM_GETPOS, 0, 0) > 50; }, 20000));
    EXPECT_TRUE(SaveWindowShot(main, artifacts + L"disk-optimiser-mid-job.bmp"));
    EXPECT_EQ(L"400", WindowText(files));

    // The main window is busy while the job runs: the drawer changes nothing.
    HWND extItem = DrawerEntry(main, 50008);
    ASSERT_NE(nullptr, extItem);
    ClickWindow(extItem);
    PumpFor(500);
    EXPECT_EQ(50006, VisiblePageId(main));

    // Stop; then the drawer works again.
    PressButton(FindDescendant(disk, 57009));
    ASSERT_TRUE(PumpUntil(
        [&] {
            ClickWindow(extItem);
            return VisiblePageId(main) == 50008;
        },
        5000));
    HWND lookup = FindDescendant(PageContainer(main), 50008);
    ASSERT_NE(nullptr, lookup);
    ::SendMessageW(FindDescendant(lookup, 58002), WM_SETTEXT, 0, (LPARAM)L" mp3 ");
    PressButton(FindDescendant(lookup, 58003));
    ASSERT_TRUE(PumpUntil([&] { return server.Targets("/fileexapi.php").size() == 1; }, 20000));
    EXPECT_NE(std::string::npos, server.Targets("/fileexapi.php")[0].find("&action=fileext&file=mp3"));
    EXPECT_TRUE(SaveWindowShot(main, artifacts + L"file-extension-lookup.bmp"));
    app.Exit();
    EXPECT_TRUE(app.WaitForExit());
    wizard_test::SetServiceUrl(L"");
}
