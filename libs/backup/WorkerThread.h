// The one worker thread of a backup or restore object, with its stop flag.
#pragma once

#include <windows.h>

namespace Coldrith
{
class CWorkerThread
{
public:
    CWorkerThread() {}
    ~CWorkerThread() { StopAndWait(); }
    CWorkerThread(const CWorkerThread&) = delete;
    CWorkerThread& operator=(const CWorkerThread&) = delete;

    // Stops and waits for a run still going, clears the stop flag and starts proc(param).
    bool Start(LPTHREAD_START_ROUTINE proc, void* param);
    void RequestStop();
    bool StopRequested() const { return m_lStop != 0; }
    bool WasStarted() const { return m_hThread != nullptr; }
    // Waits while dispatching this thread's messages: the worker may be blocked in SendMessageW to one of
    // our windows.
    void StopAndWait();

private:
    HANDLE m_hThread = nullptr;
    volatile LONG m_lStop = 0;
};
}
