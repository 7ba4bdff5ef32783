#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>

#include "QWorker.h"

using qcore::CWorker;
using qcore::Pump;
using qcore::WaitOutcome;

namespace {

const UINT kReport = WM_APP + 1;
const UINT kPosted = WM_APP + 2;

// A message-only window owned by the test thread that counts what it receives.
class Receiver {
public:
    Receiver()
    {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = &Receiver::Proc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = L"QCoreTestReceiver";
        ::RegisterClassW(&wc);
        m_wnd = ::CreateWindowW(L"QCoreTestReceiver", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, this);
        ::SetWindowLongPtrW(m_wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~Receiver() { ::DestroyWindow(m_wnd); }
    HWND Wnd() const { return m_wnd; }

    std::atomic<int> reports{0};
    std::atomic<int> posted{0};
    CWorker* waitInsideReport = nullptr;  // when set, the report handler stops and waits for this worker

private:
    static LRESULT CALLBACK Proc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp)
    {
        auto* self = reinterpret_cast<Receiver*>(::GetWindowLongPtrW(wnd, GWLP_USERDATA));
        if (self && msg == kReport) {
            ++self->reports;
            if (self->waitInsideReport) {
                CWorker* w = self->waitInsideReport;
                self->waitInsideReport = nullptr;
                EXPECT_EQ(WaitOutcome::Signalled, w->StopAndWait(10000, Pump::SentOnly));
            }
            return 0;
        }
        if (self && msg == kPosted) {
            ++self->posted;
            return 0;
        }
        return ::DefWindowProcW(wnd, msg, wp, lp);
    }
    HWND m_wnd = nullptr;
};

}  // namespace

TEST(Worker, WaitServesAWorkerThatSendsToTheWaitingThreadButLeavesPostedMessagesQueued)
{
    Receiver rx;
    ::PostMessageW(rx.Wnd(), kPosted, 0, 0);
    CWorker worker;
    HWND wnd = rx.Wnd();
    ASSERT_TRUE(worker.Start([&worker, wnd] {
        while (!worker.StopRequested()) {
            ::SendMessageW(wnd, kReport, 0, 0);
            ::Sleep(1);
        }
        ::SendMessageW(wnd, kReport, 0, 0);  // one last report after the stop, as a done message would be
    }));
    ::Sleep(20);
    EXPECT_EQ(WaitOutcome::Signalled, worker.StopAndWait(10000, Pump::SentOnly));
    EXPECT_GT(rx.reports.load(), 0);
    EXPECT_EQ(0, rx.posted.load());
    EXPECT_FALSE(worker.HasThread());
    MSG msg;
    EXPECT_TRUE(::PeekMessageW(&msg, rx.Wnd(), kPosted, kPosted, PM_REMOVE));
}

TEST(Worker, AWaitInsideTheWorkersOwnSentMessageReleasesItsSender)
{
    Receiver rx;
    CWorker worker;
    rx.waitInsideReport = &worker;
    HWND wnd = rx.Wnd();
    ASSERT_TRUE(worker.Start([&worker, wnd] {
        ::SendMessageW(wnd, kReport, 0, 0);  // the handler waits for this very thread
        while (!worker.StopRequested()) ::Sleep(1);
    }));
    // The handler's own wait returns and releases the run; this one then finds nothing to wait for.
    EXPECT_EQ(WaitOutcome::Signalled, worker.Wait(10000, Pump::SentOnly));
    EXPECT_EQ(1, rx.reports.load());
    EXPECT_FALSE(worker.HasThread());
}

TEST(Worker, BoundedWaitReportsTheTimeOutAndKeepsTheRunUntilItEnds)
{
    HANDLE gate = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    CWorker worker;
    ASSERT_TRUE(worker.Start([gate] { ::WaitForSingleObject(gate, INFINITE); }));
    EXPECT_FALSE(worker.Start([] {})) << "a second run while the first is going";
    EXPECT_EQ(WaitOutcome::TimedOut, worker.StopAndWait(50, Pump::SentOnly));
    EXPECT_TRUE(worker.HasThread());
    EXPECT_TRUE(worker.Running());
    ::SetEvent(gate);
    EXPECT_EQ(WaitOutcome::Signalled, worker.Wait(10000, Pump::None));
    EXPECT_FALSE(worker.Running());
    ::CloseHandle(gate);

    // A finished run makes room for the next, with the stop flag cleared.
    std::atomic<bool> sawStop{true};
    ASSERT_TRUE(worker.Start([&] { sawStop = worker.StopRequested(); }));
    EXPECT_EQ(WaitOutcome::Signalled, worker.Wait(10000, Pump::None));
    EXPECT_FALSE(sawStop.load());
}

TEST(Worker, APumpingWaitDispatchesPostedMessagesAndKeepsWmQuitForTheCallersLoop)
{
    Receiver rx;
    ::PostMessageW(rx.Wnd(), kPosted, 0, 0);
    ::PostQuitMessage(7);
    ::PostMessageW(rx.Wnd(), kPosted, 0, 0);
    CWorker worker;
    ASSERT_TRUE(worker.Start([] { ::Sleep(100); }));
    EXPECT_EQ(WaitOutcome::Signalled, worker.Wait(10000, Pump::All));
    EXPECT_EQ(2, rx.posted.load()) << "WM_QUIT comes after everything else posted";
    MSG msg;
    bool quit = false;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            quit = true;
            EXPECT_EQ(7u, msg.wParam);
        }
    }
    EXPECT_TRUE(quit);
}

TEST(Worker, WaitWithoutARunAndOnABadHandle)
{
    CWorker worker;
    EXPECT_EQ(WaitOutcome::Signalled, worker.StopAndWait(0, Pump::SentOnly));
    EXPECT_EQ(WaitOutcome::Failed, qcore::WaitForHandle(nullptr, 0, Pump::All));
}

TEST(Worker, TheDestructorStopsAndWaits)
{
    std::atomic<bool> ended{false};
    {
        CWorker worker;
        ASSERT_TRUE(worker.Start([&] {
            while (!worker.StopRequested()) ::Sleep(1);
            ::Sleep(20);
            ended = true;
        }));
    }
    EXPECT_TRUE(ended.load());
}
