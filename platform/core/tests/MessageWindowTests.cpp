#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

#include "QMessageWindow.h"
#include "QWorker.h"

using qcore::MessageWindow;

namespace {

// What one window's handler received, and on which thread.
struct Received {
    UINT msg;
    WPARAM wParam;
    DWORD thread;
};

MessageWindow::Handler Recorder(std::vector<Received>& into, LRESULT result)
{
    return [&into, result](UINT msg, WPARAM wParam, LPARAM) {
        into.push_back({msg, wParam, ::GetCurrentThreadId()});
        return result;
    };
}

}  // namespace

TEST(MessageWindow, TheSameNumberFromAnotherThreadReachesOnlyTheWindowItWasSentTo)
{
    std::vector<Received> first, second;
    MessageWindow a(Recorder(first, 11));
    MessageWindow b(Recorder(second, 22));
    ASSERT_TRUE(a.Get() && b.Get());
    EXPECT_NE(a.Get(), b.Get());

    const UINT shared = WM_USER + 1;
    LRESULT fromA = 0, fromB = 0;
    HWND wndA = a.Get(), wndB = b.Get();
    HANDLE worker = qcore::StartThread([&] {
        fromA = ::SendMessageW(wndA, shared, 1, 0);
        fromB = ::SendMessageW(wndB, shared, 2, 0);
        ::SendMessageW(wndA, shared, 3, 0);
    });
    ASSERT_TRUE(worker);
    EXPECT_EQ(qcore::WaitOutcome::Signalled, qcore::WaitForHandle(worker, 10000, qcore::Pump::SentOnly));
    ::CloseHandle(worker);

    EXPECT_EQ(11, fromA);
    EXPECT_EQ(22, fromB);
    ASSERT_EQ(2u, first.size());
    ASSERT_EQ(1u, second.size());
    EXPECT_EQ(1u, first[0].wParam);
    EXPECT_EQ(3u, first[1].wParam);
    EXPECT_EQ(2u, second[0].wParam);
    for (const auto* list : {&first, &second})
        for (const Received& r : *list) {
            EXPECT_EQ(shared, r.msg);
            EXPECT_EQ(::GetCurrentThreadId(), r.thread) << "handled on the window's own thread";
        }
}

TEST(MessageWindow, OnlyMessagesFromWmUserUpReachTheHandler)
{
    std::vector<Received> got;
    MessageWindow window(Recorder(got, 0));
    ASSERT_TRUE(window.Get());
    ::SendMessageW(window.Get(), WM_NULL, 0, 0);
    ::SendMessageW(window.Get(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"x"));
    ::SendMessageW(window.Get(), WM_USER - 1, 0, 0);
    ::PostMessageW(window.Get(), WM_APP + 7, 5, 0);
    MSG msg;
    while (::PeekMessageW(&msg, window.Get(), 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
    ASSERT_EQ(1u, got.size());
    EXPECT_EQ(UINT(WM_APP + 7), got[0].msg);
    EXPECT_EQ(5u, got[0].wParam);
}

TEST(MessageWindow, TheWindowGoesWithItsOwner)
{
    HWND wnd = nullptr;
    {
        std::vector<Received> got;
        MessageWindow window(Recorder(got, 0));
        wnd = window.Get();
        ASSERT_TRUE(::IsWindow(wnd));
    }
    EXPECT_FALSE(::IsWindow(wnd));
    EXPECT_FALSE(::PostMessageW(wnd, WM_USER, 0, 0)) << "a late report to it is refused, not delivered elsewhere";
}
