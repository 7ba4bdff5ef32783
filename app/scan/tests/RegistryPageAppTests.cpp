// The real Quorvel.exe: the drawer leads to the registry page, which scans a seeded entry, lists it and repairs it.
// A screenshot of the main window showing the result list goes to Q:\artifacts.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include "QAppDriver.h"
#include "QTestSupport.h"

using namespace shell_test;

namespace {

const wchar_t kMuiCache[] = L"Software\\Microsoft\\Windows\\ShellNoRoam\\MUICache";
const wchar_t kSeed[] = L"C:\\QuorvelGone\\drawer.exe";

bool ValueExists(const wchar_t* name)
{
    HKEY k = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kMuiCache, 0, KEY_QUERY_VALUE, &k) != ERROR_SUCCESS) return false;
    bool found = RegQueryValueExW(k, name, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
    RegCloseKey(k);
    return found;
}

TEST(RegistryPageApp, TheDrawerLeadsToAWorkingRegistryPage)
{
    HKEY k = nullptr;
    ASSERT_EQ(ERROR_SUCCESS,
              RegCreateKeyExW(HKEY_CURRENT_USER, kMuiCache, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k, nullptr));
    RegSetValueExW(k, kSeed, 0, REG_SZ, reinterpret_cast<const BYTE*>(L"d"), 2 * sizeof(wchar_t));
    RegCloseKey(k);
    // Otherwise the home page starts a first one-click scan, and the drawer ignores clicks while it runs.
    SetRecentLastScan();

    QuorvelProcess app;
    ASSERT_TRUE(app.Start());
    ASSERT_GE(app.WaitUntilVisible(), 0);
    HWND main = app.MainWindow();

    // The scan group's header, then its registry item.
    HWND page = OpenPageFromDrawer(main, 110000, 110001);
    ASSERT_NE(nullptr, page);
    HWND start = FindDescendant(page, 11003), muiBox = FindDescendant(page, 11009), list = FindDescendant(page, 11103);
    ASSERT_TRUE(start && muiBox && list);
    ASSERT_TRUE(::IsWindowVisible(start));
    ClickWindow(muiBox, 2, 2);
    std::wstring folder = ProgramFolder() + L"artifacts\\";
    ::CreateDirectoryW(folder.c_str(), nullptr);
    EXPECT_TRUE(SaveWindowShot(main, folder + L"registry-page-categories.bmp"));
    PressButton(start);
    ASSERT_TRUE(PumpUntil([&] { return ::IsWindowVisible(list); }, 60000)) << "the scan did not end";
    ASSERT_TRUE(PumpUntil([&] { return ::IsWindowEnabled(FindDescendant(page, 11105)); }));

    int rows = (int)::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0);
    ASSERT_GE(rows, 1);
    EXPECT_TRUE(SaveWindowShot(main, folder + L"registry-page.bmp"));

    // Every row starts ticked: repair them all. Rows leave the list as the engine takes them; the step is
    // usable again once the clean has ended.
    HWND repair = FindDescendant(page, 11105);
    shell_test::MessageBoxDriver boxes(IDOK, app.ProcessId());
    PressButton(repair);
    ASSERT_TRUE(PumpUntil([&] { return ::IsWindowEnabled(::GetParent(repair)) != FALSE; }, 60000));
    // The page says what it repaired.
    ASSERT_TRUE(PumpUntil([&] { return !boxes.Texts().empty(); }, 20000));
    EXPECT_EQ(0u, boxes.Texts()[0].find(L"Repaired ")) << std::string(boxes.Texts()[0].begin(), boxes.Texts()[0].end());
    EXPECT_EQ(0, (int)::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    EXPECT_FALSE(ValueExists(kSeed));
    EXPECT_EQ(L"0", WindowText(FindDescendant(page, 11107)));
    app.Exit();
}

}  // namespace
