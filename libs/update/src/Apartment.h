// The update agent's objects live in the process's multithreaded apartment: the library keeps that apartment
// alive for its whole life and runs every call to the agent inside it, whatever apartment the caller is in.
#pragma once

#include <windows.h>

#include <functional>

#include "QGuards.h"

namespace skarloe {

// Keeps the multithreaded apartment alive while it exists (a thread of its own stays a member of it), so
// pointers obtained in it stay valid between calls from threads that join and leave it.
class CApartmentKeeper {
public:
    CApartmentKeeper();
    ~CApartmentKeeper();
    CApartmentKeeper(const CApartmentKeeper&) = delete;
    CApartmentKeeper& operator=(const CApartmentKeeper&) = delete;

private:
    qcore::UniqueHandle m_stop;
    qcore::UniqueHandle m_thread;
};

// Runs fn in the multithreaded apartment: on the calling thread when it can join it, else (a single-threaded
// apartment, such as a window's thread) on a short-lived thread, waiting for it while serving sent messages.
HRESULT RunInMta(const std::function<HRESULT()>& fn);

}  // namespace skarloe
