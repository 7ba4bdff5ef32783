// The splash window on its own thread and the wait that start-up relies on.
#include <gtest/gtest.h>

#include "QWorker.h"
#include "StartupWnd.h"
#include "QTestSupport.h"
#include "WindowTestHost.h"

namespace {

bool WaitSignalled(HANDLE handle, DWORD timeoutMs)
{
    return qcore::WaitForHandle(handle, timeoutMs, qcore::Pump::SentOnly) == qcore::WaitOutcome::Signalled;
}

TEST(StartupWait, AnswersMessagesSentFromTheThreadItWaitsFor)
{
    shell_test::HostWindow host;  // a window of this thread that the other thread sends to
    HWND target = host.GetSafeHwnd();
    HANDLE thread = qcore::StartThread([target] { ::SendMessageW(target, WM_SWITCH_PAGE, 77, 0); });
    ASSERT_NE(nullptr, thread);
    EXPECT_TRUE(WaitSignalled(thread, 5000));
    ::CloseHandle(thread);
    ASSERT_EQ(1u, host.switches.size());
    EXPECT_EQ(77u, host.switches[0]);

    HANDLE never = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    DWORD start = ::GetTickCount();
    EXPECT_FALSE(WaitSignalled(never, 200));
    EXPECT_GE(::GetTickCount() - start, 150u);
    ::CloseHandle(never);
}

TEST(StartupWindow, RunsOnItsOwnThreadWithoutOwnerShowsTextsAndEndsOnClose)
{
    CStartupWnd splash;
    HANDLE thread = qcore::StartThread([&splash] { CStartupWnd::ThreadProc(&splash); });
    ASSERT_NE(nullptr, thread);
    ASSERT_TRUE(WaitSignalled(splash.ReadyEvent(), 10000));
    HWND wnd = splash.GetSplashWindow();
    ASSERT_NE(nullptr, wnd);
    EXPECT_EQ(nullptr, ::GetWindow(wnd, GW_OWNER));
    SIZE size = shell_test::WindowSize(wnd);
    EXPECT_EQ(480, size.cx);  // the splash bitmap's size
    EXPECT_EQ(260, size.cy);
    HRGN region = ::CreateRectRgn(0, 0, 0, 0);
    EXPECT_NE(ERROR, ::GetWindowRgn(wnd, region));
    EXPECT_FALSE(::PtInRegion(region, 0, 0));  // round corners
    ::DeleteObject(region);

    splash.ShowLoadingText(L"Loading Home Module...");
    EXPECT_EQ(L"Loading Home Module...", shell_test::WindowText(::GetDlgItem(wnd, CStartupWnd::kTextId)));

    ::PostMessageW(wnd, WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitSignalled(thread, 10000));
    EXPECT_FALSE(::IsWindow(wnd));
    EXPECT_EQ(nullptr, splash.GetSplashWindow());
    ::CloseHandle(thread);
}

// Start-up does not wait for the splash to be ready: a text given before its window exists is the one it shows.
TEST(StartupWindow, StartsWithTheLastTextGivenBeforeItsWindowExisted)
{
    CStartupWnd splash;
    splash.ShowLoadingText(L"Loading Left Button...");
    splash.ShowLoadingText(L"Loading Top Button...");
    HANDLE thread = qcore::StartThread([&splash] { CStartupWnd::ThreadProc(&splash); });
    ASSERT_NE(nullptr, thread);
    ASSERT_TRUE(WaitSignalled(splash.ReadyEvent(), 10000));
    HWND wnd = splash.GetSplashWindow();
    ASSERT_NE(nullptr, wnd);
    EXPECT_EQ(L"Loading Top Button...", shell_test::WindowText(::GetDlgItem(wnd, CStartupWnd::kTextId)));
    ::PostMessageW(wnd, WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitSignalled(thread, 10000));
    ::CloseHandle(thread);
}

}  // namespace
