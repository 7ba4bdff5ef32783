// Run-time class tests (exactly vs. derives from) and the handle map (permanent vs. temporary, threads).
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <vector>

#include "TestSupport.h"

using namespace qmfc_test;

namespace {

class CMyStatic : public CStatic {
    DECLARE_DYNAMIC(CMyStatic)
};
IMPLEMENT_DYNAMIC(CMyStatic, CStatic)

// Declares no run-time class of its own: it reports CStatic's.
class CUndeclaredStatic : public CStatic {};

class CSelfDeleting : public CWnd {
public:
    static int deleted;
    ~CSelfDeleting() override { ++deleted; }
    void PostNcDestroy() override { delete this; }
};
int CSelfDeleting::deleted = 0;

}  // namespace

TEST(RuntimeClass, ExactlyAndDerivesFromAreDifferentTests)
{
    CMyStatic mine;
    CStatic plain;
    CUndeclaredStatic undeclared;
    EXPECT_TRUE(mine.IsKindOf(RUNTIME_CLASS(CStatic)));
    EXPECT_TRUE(mine.IsKindOf(RUNTIME_CLASS(CWnd)));
    EXPECT_TRUE(mine.IsKindOf(RUNTIME_CLASS(CObject)));
    EXPECT_FALSE(mine.IsExactly(RUNTIME_CLASS(CStatic)));
    EXPECT_TRUE(plain.IsExactly(RUNTIME_CLASS(CStatic)));
    EXPECT_FALSE(plain.IsKindOf(RUNTIME_CLASS(CMyStatic)));
    EXPECT_TRUE(undeclared.GetRuntimeClass() == RUNTIME_CLASS(CStatic));
    EXPECT_FALSE(CWnd().IsKindOf(RUNTIME_CLASS(CDialog)));
    EXPECT_STREQ("CMyStatic", RUNTIME_CLASS(CMyStatic)->m_lpszClassName);
}

TEST(HandleMap, UntrackedWindowsGetTemporaryPlainWrappers)
{
    CWnd host;
    ASSERT_TRUE(CreateHost(host));
    HWND raw = CreateWindowExW(0, L"STATIC", L"raw", WS_CHILD, 0, 0, 10, 10, host, (HMENU)7, NULL, NULL);
    ASSERT_TRUE(raw);

    CWnd* temp = CWnd::FromHandle(raw);
    ASSERT_NE(nullptr, temp);
    EXPECT_EQ(raw, temp->m_hWnd);
    EXPECT_EQ(temp, CWnd::FromHandle(raw));  // the same wrapper until the thread's idle clean-up
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(raw));
    EXPECT_FALSE(temp->IsExactly(RUNTIME_CLASS(CStatic)));  // a plain CWnd, whatever the window class
    EXPECT_EQ(temp, host.GetDlgItem(7));

    CWnd* otherThreads = nullptr;
    RunOnThread([&] { otherThreads = CWnd::FromHandle(raw); });
    EXPECT_NE(temp, otherThreads);  // temporary wrappers belong to their thread

    CWnd::DeleteTempMap();
    EXPECT_TRUE(IsWindow(raw));
    EXPECT_EQ(temp, CWnd::FromHandle(raw));  // kept while the window lives (callers keep GetDlgItem results)
    EXPECT_EQ(raw, temp->m_hWnd);

    CStatic tracked;
    ASSERT_TRUE(tracked.SubclassWindow(raw));
    EXPECT_EQ(&tracked, CWnd::FromHandle(raw));
    EXPECT_TRUE(CWnd::FromHandle(raw)->IsExactly(RUNTIME_CLASS(CStatic)));
    CWnd* seenFromThread = nullptr;
    RunOnThread([&] { seenFromThread = CWnd::FromHandle(raw); });
    EXPECT_EQ(&tracked, seenFromThread);  // permanent objects are visible from every thread
    EXPECT_EQ(raw, tracked.UnsubclassWindow());
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(raw));
}

TEST(HandleMap, DestroyDetachesAndPostNcDestroyMayDeleteTheObject)
{
    CSelfDeleting::deleted = 0;
    CSelfDeleting* wnd = new CSelfDeleting;
    ASSERT_TRUE(CreateHost(*wnd));
    HWND h = wnd->m_hWnd;
    EXPECT_EQ(wnd, CWnd::FromHandlePermanent(h));
    DestroyWindow(h);
    EXPECT_EQ(1, CSelfDeleting::deleted);
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(h));

    CWnd stack;
    ASSERT_TRUE(CreateHost(stack));
    h = stack.m_hWnd;
    EXPECT_TRUE(stack.DestroyWindow());
    EXPECT_EQ(nullptr, stack.m_hWnd);
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(h));
}

TEST(HandleMap, ConcurrentCreationAndLookupKeepEveryMapping)
{
    // Worker threads create and destroy their own windows while others look them up.
    std::atomic<int> mismatches{0}, created{0};
    const int kThreads = 6, kRounds = 30, kChurn = 20000;
    std::vector<HANDLE> threads;
    std::function<void()> body = [&] {
        for (int i = 0; i < kRounds; ++i) {
            CWnd w;
            if (!CreateHost(w)) continue;
            ++created;
            if (CWnd::FromHandlePermanent(w.m_hWnd) != &w || CWnd::FromHandle(w.m_hWnd) != &w) ++mismatches;
            HWND h = w.m_hWnd;
            w.DestroyWindow();
            if (CWnd::FromHandlePermanent(h) != nullptr) ++mismatches;
        }
        // Fast map churn on handle values no window has, to make unguarded access show.
        ULONG_PTR base = 0x40000000u + (ULONG_PTR)GetCurrentThreadId() * 0x10000u;
        CWnd fake;
        for (int i = 0; i < kChurn; ++i) {
            HWND h = (HWND)(base + (ULONG_PTR)(i % 5000) * 4);
            if (!fake.Attach(h) || CWnd::FromHandlePermanent(h) != &fake) ++mismatches;
            if (fake.Detach() != h || CWnd::FromHandlePermanent(h) != nullptr) ++mismatches;
        }
    };
    for (int t = 0; t < kThreads; ++t) threads.push_back(qcore::StartThread(body));
    CWnd mine;
    ASSERT_TRUE(CreateHost(mine));
    // Look up our own window for as long as the workers churn the map.
    DWORD start = GetTickCount();
    while (WaitForMultipleObjects((DWORD)threads.size(), threads.data(), TRUE, 0) == WAIT_TIMEOUT &&
           GetTickCount() - start < 30000) {
        if (CWnd::FromHandlePermanent(mine.m_hWnd) != &mine) ++mismatches;
    }
    for (HANDLE h : threads) CloseHandle(h);
    EXPECT_EQ(kThreads * kRounds, created.load());
    EXPECT_EQ(0, mismatches.load());
}
