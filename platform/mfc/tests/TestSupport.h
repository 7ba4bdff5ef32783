// Helpers for the layer's window tests: a plain host window and running code on another thread. Waiting with a
// message pump comes from the shared test support.
#pragma once

#include "QMfc.h"
#include "QTestSupport.h"
#include "QWorker.h"

#include <functional>

namespace qmfc_test {

using shell_test::PumpFor;
using shell_test::PumpUntil;

// A top-level host (hidden) created through the layer.
inline bool CreateHost(CWnd& wnd, LPCWSTR title = L"host")
{
    return wnd.CreateEx(0, NULL, title, WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, NULL, NULL) != FALSE;
}

// Runs fn on a new thread and waits for it, dispatching this thread's messages meanwhile.
inline void RunOnThread(const std::function<void()>& fn)
{
    HANDLE h = qcore::StartThread(fn);
    if (!h) return;
    qcore::WaitForHandle(h, INFINITE, qcore::Pump::All);
    CloseHandle(h);
}

}  // namespace qmfc_test
