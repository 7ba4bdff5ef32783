// The real Quorvel.exe started from this test program and driven by messages, as the tray, a second start or
// a page would drive it. Screenshots of the main window go to <build>/bin/artifacts (Q:\artifacts).
#include <gtest/gtest.h>

#include <cstdio>

#include "PageFactory.h"
#include "QAppDriver.h"
#include "QTestSupport.h"

using namespace shell_test;

namespace {

const UINT kSwitchPage = 0x401, kSetBusy = 0x402, kTrayNotify = 0x40A;
const WORD kTrayShow = 32773, kTrayExit = 32772;

std::string Joined(const std::vector<std::wstring>& texts)
{
    std::string all;
    for (const std::wstring& t : texts) all += std::string(t.begin(), t.end()) + " ";
    return all;
}

void Command(HWND main, int id) { ::SendMessageW(main, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), 0), 0); }

class MainWindow : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        SetLanguageSetting(nullptr);
        SetRecentLastScan();  // no scan of the home page's own: these tests decide when the window is busy
        s_app = new QuorvelProcess;
        ASSERT_TRUE(s_app->Start());
        long ms = s_app->WaitUntilVisible();
        ASSERT_GE(ms, 0) << "the main window did not show";
        std::printf("start-up to visible main window: %ld ms\n", ms);
        PumpFor(500);  // let the splash end and the window paint
    }
    static void TearDownTestSuite()
    {
        delete s_app;
        s_app = nullptr;
    }
    HWND Main() { return s_app->MainWindow(); }
    static QuorvelProcess* s_app;
};
QuorvelProcess* MainWindow::s_app = nullptr;

TEST_F(MainWindow, IsARoundedTitledWindowWithTranslatedCaptions)
{
    RECT r;
    ::GetWindowRect(Main(), &r);
    EXPECT_EQ(930, r.right - r.left);
    EXPECT_EQ(688, r.bottom - r.top);
    EXPECT_EQ(L"Quorvel", WindowText(Main()));
    HRGN shape = ::CreateRectRgn(0, 0, 0, 0);
    HRGN round = ::CreateRoundRectRgn(0, 0, 930, 688, 10, 10);
    EXPECT_NE(ERROR, ::GetWindowRgn(Main(), shape));
    // Same area (the system may keep the region in another decomposition, so EqualRgn is too strict).
    HRGN difference = ::CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(NULLREGION, ::CombineRgn(difference, shape, round, RGN_XOR));
    EXPECT_FALSE(::PtInRegion(shape, 0, 0));
    EXPECT_TRUE(::PtInRegion(shape, 465, 0));
    ::DeleteObject(difference);
    ::DeleteObject(shape);
    ::DeleteObject(round);
    // Added just after the first paint, so it may follow the window by a moment.
    EXPECT_TRUE(PumpUntil([&] { return TrayIconPresent(Main()); }, 10000));

    EXPECT_EQ("", Joined(RawKeys(Main()))) << "untranslated captions";
    EXPECT_EQ(L"Scan & Clean", WindowText(FindDescendant(Main(), 110000)));
    EXPECT_EQ(L"Registry Cleaner", WindowText(FindDescendant(Main(), 110001)));
    EXPECT_EQ(L"Options", WindowText(FindDescendant(Main(), 100005)));
    EXPECT_EQ(L"Disk Optimizer", WindowText(FindDescendant(Main(), 50006)));
    EXPECT_EQ(100007, VisiblePageId(Main()));
    EXPECT_TRUE(SaveWindowShot(Main(), ArtifactPath(L"shell_main_en.bmp")));
}

// Only the home page is built before the window shows; every other page follows without being asked for. Runs
// before any test switches pages (a switch builds them all at once).
TEST_F(MainWindow, EveryPageIsBuiltAfterTheWindowShowsWithoutBeingAskedFor)
{
    int groupCount = 0;
    const Shell::PageGroup* groups = Shell::PageGroups(&groupCount);
    std::vector<int> ids;
    for (int g = 0; g < groupCount; ++g) ids.insert(ids.end(), groups[g].ids, groups[g].ids + groups[g].count);
    ASSERT_GT(ids.size(), 30u);
    HWND container = PageContainer(Main());
    auto missing = [&] {
        int n = 0;
        for (int id : ids) n += FindDescendant(container, id) ? 0 : 1;
        return n;
    };
    EXPECT_TRUE(PumpUntil([&] { return missing() == 0; }, 60000)) << missing() << " pages never built";
    EXPECT_EQ(100007, VisiblePageId(Main())) << "building them shows none of them";
}

TEST_F(MainWindow, SwitchPageShowsExactlyTheRequestedPageUnlessBusy)
{
    ::SendMessageW(Main(), kSwitchPage, 110001, 0);
    EXPECT_EQ(110001, VisiblePageId(Main()));
    EXPECT_TRUE(::IsWindowVisible(FindDescendant(Main(), 110004))) << "the scan group is open";
    EXPECT_TRUE(SaveWindowShot(Main(), ArtifactPath(L"shell_main_en_drawer_open.bmp")));

    ::SendMessageW(Main(), kSetBusy, 1, 0);
    ::SendMessageW(Main(), kSwitchPage, 120003, 0);
    ::PostMessageW(Main(), kSwitchPage, 160000, 0);
    // A click in the drawer while busy asks for nothing either.
    ::SendMessageW(FindDescendant(Main(), 110002), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    PumpFor(200);
    EXPECT_EQ(110001, VisiblePageId(Main()));
    EXPECT_FALSE(::IsWindowVisible(FindDescendant(Main(), 120003)));

    ::SendMessageW(Main(), kSetBusy, 2, 0);  // anything but 1 means idle
    ::PostMessageW(Main(), kSwitchPage, 120003, 0);
    EXPECT_TRUE(PumpUntil([&] { return VisiblePageId(Main()) == 120003; }));
    EXPECT_TRUE(::IsWindowVisible(FindDescendant(Main(), 120003)));
    EXPECT_FALSE(::IsWindowVisible(FindDescendant(Main(), 110004))) << "the scan group is closed";

    ::SendMessageW(FindDescendant(Main(), 120005), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));  // a drawer click
    EXPECT_EQ(120005, VisiblePageId(Main()));
}

TEST_F(MainWindow, FiveDigitToolIdsReachTheirPagesAndUnknownIdsEmptyTheArea)
{
    for (int id : {50006, 50007, 50008}) {
        ::SendMessageW(Main(), kSwitchPage, id, 0);
        EXPECT_EQ(id, VisiblePageId(Main()));
        EXPECT_TRUE(::IsWindowVisible(FindDescendant(Main(), 150001))) << "the tools group is open";
    }
    ::SendMessageW(Main(), kSwitchPage, 150006, 0);
    EXPECT_EQ(0, VisiblePageId(Main()));
    EXPECT_FALSE(::IsWindowVisible(PageContainer(Main())));
    Command(Main(), 100007);  // the START button
    EXPECT_EQ(100007, VisiblePageId(Main()));
    EXPECT_FALSE(::IsWindowVisible(FindDescendant(Main(), 150001)));
}

TEST_F(MainWindow, CloseHidesToTheTrayAndADoubleClickOnTheIconBringsItBack)
{
    Command(Main(), 100001);
    EXPECT_FALSE(::IsWindowVisible(Main()));
    EXPECT_TRUE(s_app->IsRunning());
    EXPECT_TRUE(TrayIconPresent(Main()));
    ::SendMessageW(Main(), kTrayNotify, 999, WM_LBUTTONDBLCLK);  // another icon's message
    EXPECT_FALSE(::IsWindowVisible(Main()));
    ::SendMessageW(Main(), kTrayNotify, 1000, WM_LBUTTONDBLCLK);
    EXPECT_TRUE(::IsWindowVisible(Main()));
}

TEST_F(MainWindow, EnterEscapeAndCloseDoNotEndTheProgram)
{
    Command(Main(), IDOK);
    EXPECT_TRUE(::IsWindowVisible(Main()));
    Command(Main(), IDCANCEL);  // Escape: the window stays
    PumpFor(100);
    EXPECT_TRUE(::IsWindowVisible(Main()));
    ::SendMessageW(Main(), WM_CLOSE, 0, 0);  // Alt+F4: hidden to the tray
    PumpFor(200);
    EXPECT_TRUE(s_app->IsRunning());
    EXPECT_FALSE(::IsWindowVisible(Main()));
    Command(Main(), kTrayShow);
    EXPECT_TRUE(::IsWindowVisible(Main()));
}

TEST_F(MainWindow, ASecondStartShowsTheFirstWindowAndEnds)
{
    Command(Main(), 100001);  // hidden in the tray
    ASSERT_FALSE(::IsWindowVisible(Main()));
    QuorvelProcess second;
    ASSERT_TRUE(second.Start());
    EXPECT_TRUE(second.WaitForExit(20000));
    EXPECT_EQ(0u, second.ExitCode());
    EXPECT_TRUE(::IsWindowVisible(Main()));
    EXPECT_TRUE(s_app->IsRunning());
}

TEST_F(MainWindow, TrayExitEndsTheProgramAndRemovesTheIcon)
{
    HWND main = Main();
    ::PostMessageW(main, WM_COMMAND, MAKEWPARAM(kTrayExit, 0), 0);
    EXPECT_TRUE(s_app->WaitForExit());
    EXPECT_FALSE(TrayIconPresent(main));
}

// A boot start stays hidden with its tray icon; its own scan ends with the pop-up. However the window is opened
// (the tray, a second start while it scans or after, a click on the pop-up) it shows titled and stays shown, and
// a second start always finds it.
TEST(BootStart, StaysHiddenUntilOpenedAndThenShowsTitledForGood)
{
    enum class Open { TrayDoubleClick, SecondStart, PopupClick, SecondStartAfterTheScan };
    SetLanguageSetting(nullptr);
    for (Open open : {Open::TrayDoubleClick, Open::SecondStart, Open::PopupClick, Open::SecondStartAfterTheScan}) {
        SCOPED_TRACE("way of opening " + std::to_string(int(open)));
        QuorvelProcess app;
        ASSERT_TRUE(app.Start(L"--boot"));
        HWND main = app.WaitForMainWindow();
        ASSERT_NE(nullptr, main);
        EXPECT_TRUE(PumpUntil([&] { return TrayIconPresent(main); }, 20000));
        PumpFor(1000);
        EXPECT_FALSE(::IsWindowVisible(main));
        EXPECT_EQ(main, ::FindWindowW(nullptr, L"Quorvel"));

        HWND popup = nullptr;
        if (open == Open::PopupClick || open == Open::SecondStartAfterTheScan) {
            auto findPopup = [&] {
                return FindProcessWindow(app.ProcessId(), [](HWND h) {
                    return ::IsWindowVisible(h) && ::GetDlgItem(h, 1001) && ::GetDlgItem(h, 1007);
                });
            };
            ASSERT_TRUE(PumpUntil([&] { return (popup = findPopup()) != nullptr; }, 120000)) << "no pop-up";
            EXPECT_FALSE(::IsWindowVisible(main));
            EXPECT_EQ(main, ::FindWindowW(nullptr, L"Quorvel"));
        }
        if (open == Open::TrayDoubleClick) {
            ::SendMessageW(main, kTrayNotify, 1000, WM_LBUTTONDBLCLK);
        } else if (open == Open::PopupClick) {
            ::PostMessageW(popup, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
        } else {
            QuorvelProcess second;
            ASSERT_TRUE(second.Start());
            EXPECT_TRUE(second.WaitForExit(20000));
        }
        EXPECT_TRUE(PumpUntil([&] { return ::IsWindowVisible(main) != FALSE; }, 10000));
        EXPECT_EQ(L"Quorvel", WindowText(main));
        PumpFor(300);
        EXPECT_TRUE(::IsWindowVisible(main)) << "boot mode ended: later paints do not hide it";
        app.Exit();
    }
}

// The engine libraries are loaded when a page first calls them. One that is missing leaves its pages unbuilt with
// a note, and the program works on; one that is there but does not load ends the program with a message box at
// the first call, never with a crash.
TEST(EngineLibraries, AMissingOneLeavesItsPagesUnbuiltAndADamagedOneEndsTheProgramWithAMessage)
{
    const std::wstring library = ProgramFolder() + L"Grennow.dll", aside = library + L".aside";
    enum class Library { Missing, Damaged };
    SetLanguageSetting(nullptr);
    SetRecentLastScan();
    for (Library state : {Library::Missing, Library::Damaged}) {
        SCOPED_TRACE(state == Library::Missing ? "missing" : "damaged");
        ASSERT_TRUE(::MoveFileW(library.c_str(), aside.c_str()));
        if (state == Library::Damaged) {
            HANDLE empty = ::CreateFileW(library.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
            ASSERT_NE(INVALID_HANDLE_VALUE, empty);
            ::CloseHandle(empty);
        }
        QuorvelProcess app;
        EXPECT_TRUE(app.Start());
        EXPECT_GE(app.WaitUntilVisible(), 0);
        HWND main = app.MainWindow();
        ::PostMessageW(main, kSwitchPage, 150005, 0);  // the browser page
        if (state == Library::Missing) {
            EXPECT_TRUE(PumpUntil([&] { return VisiblePageId(main) == 150005; }, 20000));
            HWND page = FindDescendant(PageContainer(main), 150005);
            ASSERT_NE(nullptr, page);
            EXPECT_EQ(nullptr, ::GetWindow(page, GW_CHILD)) << "a page without its library has no controls";
            ::SendMessageW(main, kSwitchPage, 110001, 0);
            EXPECT_EQ(110001, VisiblePageId(main)) << "the other pages work on";
            app.Exit();
        } else {
            HWND box = nullptr;
            EXPECT_TRUE(PumpUntil(
                [&] {
                    box = FindProcessWindow(app.ProcessId(), [](HWND h) {
                        return ::IsWindowVisible(h) && WindowText(h) == L"Quorvel" && ::GetDlgItem(h, IDOK);
                    });
                    return box != nullptr;
                },
                30000))
                << "no message box";
            std::wstring text;
            for (HWND child = ::GetWindow(box, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
                if (WindowText(child).find(L"Grennow.dll") != std::wstring::npos) text = WindowText(child);
            EXPECT_NE(std::wstring::npos, text.find(L"Install Quorvel again")) << std::string(text.begin(), text.end());
            ::PostMessageW(box, WM_COMMAND, IDOK, 0);
            EXPECT_TRUE(app.WaitForExit(20000));
            EXPECT_EQ(1u, app.ExitCode());
        }
        ::DeleteFileW(library.c_str());
        ASSERT_TRUE(::MoveFileW(aside.c_str(), library.c_str()));
    }
}

TEST(GermanStart, ShowsGermanCaptions)
{
    SetLanguageSetting(L"2");
    SetRecentLastScan();
    QuorvelProcess app;
    ASSERT_TRUE(app.Start());
    ASSERT_GE(app.WaitUntilVisible(), 0);
    HWND main = app.MainWindow();
    EXPECT_TRUE(PumpUntil([&] { return WindowText(FindDescendant(main, 110000)) == L"Scannen & Bereinigen"; }));
    EXPECT_EQ(L"Optionen", WindowText(FindDescendant(main, 100005)));
    EXPECT_EQ("", Joined(RawKeys(main))) << "untranslated captions";
    EXPECT_TRUE(SaveWindowShot(main, ArtifactPath(L"shell_main_de.bmp")));
    app.Exit();
    SetLanguageSetting(nullptr);
}

}  // namespace
