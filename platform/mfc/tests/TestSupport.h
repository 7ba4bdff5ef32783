// Helpers for the layer's window tests: pumping the queue with a watchdog, and a plain host window.
#pragma once

#include "QMfc.h"

#include <functional>

namespace qmfc_test {

// Pumps this thread's queue until pred() holds or the time runs out; returns pred().
inline bool PumpUntil(const std::function<bool()>& pred, DWORD timeoutMs = 3000) {
    DWORD start = GetTickCount();
    while (!pred()) {
        if (GetTickCount() - start > timeoutMs) return pred();
        MSG msg;
        while (PeekMessageW(&msg, NULL, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        MsgWaitForMultipleObjects(0, NULL, FALSE, 10, QS_ALLINPUT);
    }
    return true;
}

inline void PumpFor(DWORD ms) {
    PumpUntil([] { return false; }, ms);
}

// A top-level host (hidden) created through the layer.
inline bool CreateHost(CWnd& wnd, LPCWSTR title = L"host") {
    return wnd.CreateEx(0, NULL, title, WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, NULL, NULL) != FALSE;
}

// Runs fn on a new thread and waits for it (pumping this thread's sent messages meanwhile).
inline DWORD WINAPI RunFunctionThread(LPVOID p) {
    (*static_cast<const std::function<void()>*>(p))();
    return 0;
}

inline void RunOnThread(const std::function<void()>& fn) {
    HANDLE h = CreateThread(NULL, 0, RunFunctionThread, (LPVOID)&fn, 0, NULL);
    while (MsgWaitForMultipleObjects(1, &h, FALSE, INFINITE, QS_ALLINPUT) == WAIT_OBJECT_0 + 1) {
        MSG msg;
        while (PeekMessageW(&msg, NULL, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    CloseHandle(h);
}

}  // namespace qmfc_test
