// One way to call into objects that live in the process's multithreaded apartment (the update agent, WMI),
// whatever apartment the calling thread is in.
#pragma once

#include <windows.h>

#include <functional>

namespace qcore {

// Runs fn in the multithreaded apartment: on the calling thread when it can join it, else (a single-threaded
// apartment, such as a window's thread) on a short-lived thread, waited for while the caller serves only the
// messages other threads send it, so no page code runs inside the wait. Returns what fn returned, or why COM
// could not be set up for it. The calling thread's own apartment is as before afterwards.
HRESULT RunInMta(const std::function<HRESULT()>& fn);

}  // namespace qcore
