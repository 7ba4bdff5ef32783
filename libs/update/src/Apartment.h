// The update agent's objects live in the process's multithreaded apartment: the library keeps that apartment
// alive for its whole life; every call to the agent goes through qcore::RunInMta.
#pragma once

#include <windows.h>

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

}  // namespace skarloe
