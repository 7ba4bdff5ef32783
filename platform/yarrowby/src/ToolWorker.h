// The running part the shredder, the splitter and the joiner share: one job at a time on a thread of its own,
// progress and done messages sent to a window, and exactly one done message per call.
#pragma once

#include <windows.h>

#include <QWorker.h>

#include <atomic>
#include <functional>

// What a job found: how many of its items failed, and the first failure's code.
class JobOutcome {
public:
    void Fail(DWORD error)
    {
        if (m_failed++ == 0) m_firstError = error ? error : ERROR_GEN_FAILURE;
    }
    void FailMany(unsigned count, DWORD error)
    {
        for (unsigned i = 0; i < count; ++i) Fail(error);
    }
    unsigned Failed() const { return m_failed; }
    DWORD FirstError() const { return m_firstError; }

private:
    unsigned m_failed = 0;
    DWORD m_firstError = 0;
};

class YarrowbyToolWorker {
public:
    using Job = std::function<void(YarrowbyToolWorker& worker, JobOutcome& outcome)>;

    YarrowbyToolWorker(UINT progressMessage, UINT doneMessage);
    // Stops a running job and waits for it.
    ~YarrowbyToolWorker();
    YarrowbyToolWorker(const YarrowbyToolWorker&) = delete;
    YarrowbyToolWorker& operator=(const YarrowbyToolWorker&) = delete;

    void SetWindow(HWND wnd) { m_wnd.store(wnd); }
    // Runs the job on a new thread and sends the done message with its outcome when it returns. While an earlier
    // job runs the call is refused with a done message carrying ERROR_BUSY; a thread that cannot start gives a
    // done message with its error. Both refusals send from the calling thread and return false.
    bool Start(Job job);
    // Asks the job to stop and waits for its thread, handling the messages sent to this thread meanwhile.
    void Stop();
    bool Running() const;

    // For the job, on its own thread.
    bool StopRequested() const { return m_worker.StopRequested(); }
    // Does not wait for the window's thread to handle the message: the job goes on copying meanwhile, and the
    // window still handles every progress message, in order, before the done message.
    void SendProgress(WPARAM wParam, LPARAM lParam) const;

private:
    void SendDone(unsigned failed, DWORD error) const;

    const UINT m_progressMessage;
    const UINT m_doneMessage;
    std::atomic<HWND> m_wnd{nullptr};
    // Set just before the job's done message goes: the thread has nothing left to send.
    std::atomic<bool> m_doneSent{true};
    qcore::CWorker m_worker;
};
