#include "WriteBehind.h"

#include <QWorker.h>

WriteBehind::~WriteBehind()
{
    Abandon();
    if (m_thread) {
        {
            qcore::ScopedLock hold(m_lock);
            m_quit = true;
        }
        ::SetEvent(m_wake);
        qcore::WaitForHandle(m_thread, INFINITE, qcore::Pump::None);
        ::CloseHandle(m_thread);
    }
    if (m_wake) ::CloseHandle(m_wake);
    if (m_idle) ::CloseHandle(m_idle);
}

void WriteBehind::Flush(HANDLE file)
{
    if (!m_thread && !m_wake) {
        m_wake = ::CreateEventW(nullptr, FALSE, FALSE, nullptr);
        m_idle = ::CreateEventW(nullptr, TRUE, TRUE, nullptr);
        if (m_wake && m_idle) m_thread = qcore::StartThread([this] { Run(); });
    }
    HANDLE own = nullptr;
    if (!m_thread ||
        !::DuplicateHandle(::GetCurrentProcess(), file, ::GetCurrentProcess(), &own, 0, FALSE, DUPLICATE_SAME_ACCESS)) {
        Record(::FlushFileBuffers(file) ? 0 : ::GetLastError());
        return;
    }
    {
        qcore::ScopedLock hold(m_lock);
        m_queue.push_back(own);
        ::ResetEvent(m_idle);
    }
    ::SetEvent(m_wake);
}

DWORD WriteBehind::Finish()
{
    WaitUntilIdle();
    qcore::ScopedLock hold(m_lock);
    return m_error;
}

void WriteBehind::Abandon()
{
    {
        qcore::ScopedLock hold(m_lock);
        for (HANDLE own : m_queue) ::CloseHandle(own);
        m_queue.clear();
    }
    WaitUntilIdle();
}

void WriteBehind::WaitUntilIdle()
{
    if (m_thread) qcore::WaitForHandle(m_idle, INFINITE, qcore::Pump::None);
}

void WriteBehind::Record(DWORD error)
{
    qcore::ScopedLock hold(m_lock);
    if (!m_error) m_error = error;
}

void WriteBehind::Run()
{
    for (;;) {
        ::WaitForSingleObject(m_wake, INFINITE);
        for (;;) {
            HANDLE next = nullptr;
            {
                qcore::ScopedLock hold(m_lock);
                if (m_quit) return;
                if (m_queue.empty()) {
                    // Set under the lock: a flush queued meanwhile resets it after this.
                    ::SetEvent(m_idle);
                    break;
                }
                next = m_queue.front();
                m_queue.pop_front();
            }
            Record(::FlushFileBuffers(next) ? 0 : ::GetLastError());
            ::CloseHandle(next);
        }
    }
}
