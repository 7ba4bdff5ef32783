#include "ThreadWait.h"

namespace Evidence {

void WaitForThreadServingWindow(HANDLE thread, HWND wnd)
{
    const bool ownsWindow = wnd != NULL && GetWindowThreadProcessId(wnd, NULL) == GetCurrentThreadId();
    if (!ownsWindow) {
        WaitForSingleObject(thread, INFINITE);
        return;
    }
    for (;;) {
        const DWORD r = MsgWaitForMultipleObjects(1, &thread, FALSE, INFINITE, QS_SENDMESSAGE);
        if (r == WAIT_OBJECT_0 + 1) {
            // Peeking delivers the pending sent messages; posted ones stay in the queue.
            MSG msg;
            PeekMessageW(&msg, NULL, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
            continue;
        }
        if (r != WAIT_OBJECT_0)
            WaitForSingleObject(thread, INFINITE);
        return;
    }
}

} // namespace Evidence
