#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

#include "QGuards.h"
#include "QLock.h"
#include "QWorker.h"

namespace {

TEST(Lock, AnotherThreadGetsInOnlyOnceTheHolderHasLeftEveryHold)
{
    qcore::Lock lock;
    std::vector<int> order;
    qcore::UniqueHandle other;
    lock.Enter();
    {
        qcore::ScopedLock again(lock);  // the holder's own thread takes it again without waiting
        other.Reset(qcore::StartThread([&] {
            qcore::ScopedLock hold(lock);
            order.push_back(2);
        }));
        ASSERT_TRUE(other);
        order.push_back(1);
    }
    order.push_back(1);
    lock.Leave();
    ASSERT_EQ(qcore::WaitOutcome::Signalled, qcore::WaitForHandle(other.Get(), INFINITE, qcore::Pump::None));
    EXPECT_EQ((std::vector<int>{1, 1, 2}), order);
}

TEST(Lock, ChangesMadeUnderItFromSeveralThreadsAreNotLost)
{
    qcore::Lock lock;
    long long total = 0;  // a plain number: only the lock keeps the additions apart
    const int kThreads = 4, kAdditions = 20000;
    std::vector<qcore::UniqueHandle> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back(qcore::StartThread([&] {
            for (int i = 0; i < kAdditions; ++i) {
                qcore::ScopedLock hold(lock);
                total = total + 1;
            }
        }));
        ASSERT_TRUE(threads.back());
    }
    for (const qcore::UniqueHandle& thread : threads)
        ASSERT_EQ(qcore::WaitOutcome::Signalled, qcore::WaitForHandle(thread.Get(), INFINITE, qcore::Pump::None));
    EXPECT_EQ(static_cast<long long>(kThreads) * kAdditions, total);
}

}  // namespace
