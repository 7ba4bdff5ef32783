// One way to run a worker thread and to wait for it.
//
// A library or page worker usually reports to a window with SendMessageW. A thread that owns that window and
// waits for the worker with a plain WaitForSingleObject deadlocks as soon as the worker sends; so every wait here
// dispatches the messages sent to the calling thread. From a destructor or OnDestroy only sent messages may be
// handled (Pump::SentOnly): posted messages and input stay queued, so no page code runs on a half-destroyed
// object. Pump::All also dispatches posted messages and input, for a user-started wait that keeps the window
// painting; a WM_QUIT met on the way is put back, so the caller's loop still ends.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>

namespace qcore {

enum class Pump {
    None,      // a plain wait: only for threads that own no window a worker may send to
    SentOnly,  // handles messages sent by other threads; nothing posted is dispatched
    All,       // handles sent and posted messages and input; WM_QUIT is kept for the caller's loop
};

enum class WaitOutcome {
    Signalled,  // the handle was signalled (the thread ended)
    TimedOut,   // the time-out passed first
    Failed,     // the handle is unusable (no thread, closed handle)
};

// Waits until the handle is signalled or the time-out (milliseconds, INFINITE for ever) passes. When called
// from inside a message sent by another thread, that sender is released first (ReplyMessage): the worker being
// waited for may be the one blocked in the send.
WaitOutcome WaitForHandle(HANDLE handle, DWORD timeoutMs, Pump pump);
// The same for several handles (at most MAXIMUM_WAIT_OBJECTS - 1): Signalled when any one is, its index in *which.
WaitOutcome WaitForAny(const HANDLE* handles, DWORD count, DWORD timeoutMs, Pump pump, DWORD* which);

// Starts fn on a new thread through the C runtime (so the runtime's per-thread data is set up and freed).
// Returns the thread handle, or null when no thread could be made. The caller closes the handle.
HANDLE StartThread(std::function<void()> fn);

// True while the thread of the handle runs (false for a null handle and for a thread that has ended).
bool IsThreadRunning(HANDLE thread);

// A worker thread with its stop flag. Not copyable; the destructor stops the worker and waits for it with
// Pump::SentOnly (so a worker blocked in SendMessageW to the owner's windows can finish).
class CWorker {
public:
    CWorker() = default;
    ~CWorker();
    CWorker(const CWorker&) = delete;
    CWorker& operator=(const CWorker&) = delete;

    // Starts fn on a new thread. Refused (false) while an earlier run has not ended: one run at a time. The stop
    // flag is cleared before the thread starts. False also when the thread could not be created.
    bool Start(std::function<void()> fn);

    // Asks the running worker to stop; its loops poll StopRequested() or the flag itself.
    void RequestStop() { m_stop.store(true); }
    bool StopRequested() const { return m_stop.load(); }
    const std::atomic<bool>& StopFlag() const { return m_stop; }

    // True from a successful Start until the thread has ended (the handle is signalled).
    bool Running() const;
    // True when a thread was started and its handle not yet released by a finished wait.
    bool HasThread() const { return m_thread != nullptr; }

    // Waits for the current run. Signalled (and the handle released) when it ended, or when there is no run;
    // TimedOut when it is still running: the object must then stay alive until it ends.
    WaitOutcome Wait(DWORD timeoutMs, Pump pump);
    // RequestStop, then Wait.
    WaitOutcome StopAndWait(DWORD timeoutMs, Pump pump);

    // The thread handle while a run is held (for a caller that waits on several handles at once).
    HANDLE Handle() const { return m_thread; }

private:
    HANDLE m_thread = nullptr;
    std::atomic<bool> m_stop{false};
};

}  // namespace qcore
