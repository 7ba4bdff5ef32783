// Flushes files to the disk on a thread of its own while the caller goes on writing them. The disk then writes
// during the copy instead of after it, and the flush that must end before success is reported finds little left.
#pragma once

#include <windows.h>

#include <QLock.h>

#include <deque>

class WriteBehind {
public:
    WriteBehind() = default;
    // Abandon().
    ~WriteBehind();
    WriteBehind(const WriteBehind&) = delete;
    WriteBehind& operator=(const WriteBehind&) = delete;

    // Queues a flush of everything written to the file so far. The queue keeps a handle of its own, so the caller
    // may close the file at once (and a later file may get the same handle value: handles are never compared).
    // Without a thread the flush is done here.
    void Flush(HANDLE file);
    // Waits until every queued flush is done: 0, or the first error of any of them.
    DWORD Finish();
    // Drops the flushes not begun, waits for the one under way and closes every handle the queue kept, so the
    // caller can remove its files.
    void Abandon();

private:
    void Run();
    void Record(DWORD error);
    // Waits until nothing is queued or being flushed.
    void WaitUntilIdle();

    qcore::Lock m_lock;
    std::deque<HANDLE> m_queue;  // handles of the queue's own
    DWORD m_error = 0;
    bool m_quit = false;
    HANDLE m_thread = nullptr;
    HANDLE m_wake = nullptr;  // auto-reset: work was queued, or quit
    HANDLE m_idle = nullptr;  // manual-reset: set while nothing is queued or being flushed
};
