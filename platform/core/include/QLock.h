// One lock for data shared by the threads of this process: a critical section, so it works from Windows XP on
// and the same thread may take it again while it holds it.
#pragma once

#include <windows.h>

namespace qcore {

class Lock {
public:
    Lock() { ::InitializeCriticalSection(&m_section); }
    ~Lock() { ::DeleteCriticalSection(&m_section); }
    Lock(const Lock&) = delete;
    Lock& operator=(const Lock&) = delete;

    // For a hold that spans calls; a scope takes ScopedLock instead.
    void Enter() { ::EnterCriticalSection(&m_section); }
    void Leave() { ::LeaveCriticalSection(&m_section); }

private:
    CRITICAL_SECTION m_section;
};

// Holds a lock from its construction to the end of its scope.
class ScopedLock {
public:
    explicit ScopedLock(Lock& lock) : m_lock(lock) { m_lock.Enter(); }
    ~ScopedLock() { m_lock.Leave(); }
    ScopedLock(const ScopedLock&) = delete;
    ScopedLock& operator=(const ScopedLock&) = delete;

private:
    Lock& m_lock;
};

}  // namespace qcore
