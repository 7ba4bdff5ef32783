#include "QWorker.h"

#include <process.h>

#include <memory>

namespace qcore {

namespace {

// Delivers the messages other threads have sent to this one; posted messages stay queued.
void DispatchSentMessages()
{
    MSG msg;
    ::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
}

// Dispatches everything queued; false when WM_QUIT was met (it is posted again for the caller's loop).
bool DispatchAllMessages()
{
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            return false;
        }
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return true;
}

DWORD Remaining(DWORD start, DWORD timeoutMs)
{
    if (timeoutMs == INFINITE) return INFINITE;
    const DWORD elapsed = ::GetTickCount() - start;
    return elapsed >= timeoutMs ? 0 : timeoutMs - elapsed;
}

unsigned __stdcall ThreadEntry(void* param)
{
    std::unique_ptr<std::function<void()>> fn(static_cast<std::function<void()>*>(param));
    (*fn)();
    return 0;
}

}  // namespace

WaitOutcome WaitForHandle(HANDLE handle, DWORD timeoutMs, Pump pump)
{
    if (!handle) return WaitOutcome::Failed;
    DWORD which = 0;
    return WaitForAny(&handle, 1, timeoutMs, pump, &which);
}

WaitOutcome WaitForAny(const HANDLE* handles, DWORD count, DWORD timeoutMs, Pump pump, DWORD* which)
{
    if (!handles || count == 0 || count >= MAXIMUM_WAIT_OBJECTS) return WaitOutcome::Failed;
    if (which) *which = 0;
    auto signalled = [&](DWORD r) {
        if (which) *which = r - WAIT_OBJECT_0;
        return WaitOutcome::Signalled;
    };
    if (pump == Pump::None) {
        const DWORD r = ::WaitForMultipleObjects(count, handles, FALSE, timeoutMs);
        if (r < WAIT_OBJECT_0 + count) return signalled(r);
        return r == WAIT_TIMEOUT ? WaitOutcome::TimedOut : WaitOutcome::Failed;
    }
    if (::InSendMessage()) ::ReplyMessage(0);

    const DWORD start = ::GetTickCount();
    const DWORD wakeMask = pump == Pump::All ? QS_ALLINPUT : QS_SENDMESSAGE;
    bool quitSeen = false;
    for (;;) {
        const DWORD left = Remaining(start, timeoutMs);
        // After a WM_QUIT only sent messages are served: the quit stays queued for the caller's loop.
        const DWORD r = ::MsgWaitForMultipleObjects(count, handles, FALSE, left, quitSeen ? QS_SENDMESSAGE : wakeMask);
        if (r < WAIT_OBJECT_0 + count) return signalled(r);
        if (r == WAIT_TIMEOUT) return WaitOutcome::TimedOut;
        if (r != WAIT_OBJECT_0 + count) return WaitOutcome::Failed;
        if (pump == Pump::All && !quitSeen)
            quitSeen = !DispatchAllMessages();
        else
            DispatchSentMessages();
    }
}

HANDLE StartThread(std::function<void()> fn)
{
    auto* heapFn = new std::function<void()>(std::move(fn));
    unsigned id = 0;
    const uintptr_t h = ::_beginthreadex(nullptr, 0, &ThreadEntry, heapFn, 0, &id);
    if (!h) {
        delete heapFn;
        return nullptr;
    }
    return reinterpret_cast<HANDLE>(h);
}

CWorker::~CWorker() { StopAndWait(INFINITE, Pump::SentOnly); }

bool CWorker::Start(std::function<void()> fn)
{
    if (m_thread) {
        if (::WaitForSingleObject(m_thread, 0) != WAIT_OBJECT_0) return false;
        ::CloseHandle(m_thread);
        m_thread = nullptr;
    }
    m_stop.store(false);
    m_thread = StartThread(std::move(fn));
    return m_thread != nullptr;
}

bool IsThreadRunning(HANDLE thread) { return thread && ::WaitForSingleObject(thread, 0) == WAIT_TIMEOUT; }

bool CWorker::Running() const { return IsThreadRunning(m_thread); }

WaitOutcome CWorker::Wait(DWORD timeoutMs, Pump pump)
{
    if (!m_thread) return WaitOutcome::Signalled;
    const HANDLE thread = m_thread;
    const WaitOutcome outcome = WaitForHandle(thread, timeoutMs, pump);
    // A message handled during the wait may have waited for and released this run already (a nested wait).
    if (m_thread != thread) return WaitOutcome::Signalled;
    if (outcome == WaitOutcome::TimedOut) return outcome;
    ::CloseHandle(m_thread);
    m_thread = nullptr;
    return outcome;
}

WaitOutcome CWorker::StopAndWait(DWORD timeoutMs, Pump pump)
{
    RequestStop();
    return Wait(timeoutMs, pump);
}

}  // namespace qcore
