#include "WorkerWait.h"

namespace Moravin {

namespace {

void HandleSentMessages()
{
    MSG msg;
    PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
}

}  // namespace

void WaitForWorker(HANDLE thread, HWND notifyWnd)
{
    if (!thread) return;
    bool ownsWindow = notifyWnd && GetWindowThreadProcessId(notifyWnd, nullptr) == GetCurrentThreadId();
    if (!ownsWindow) {
        WaitForSingleObject(thread, INFINITE);
        return;
    }
    // The worker may be the sender of the message being handled now: it cannot go on until that one returns.
    if (InSendMessage()) ReplyMessage(0);
    HandleSentMessages();
    for (;;) {
        DWORD r = MsgWaitForMultipleObjects(1, &thread, FALSE, INFINITE, QS_SENDMESSAGE);
        if (r != WAIT_OBJECT_0 + 1) break;  // the worker ended (or the wait failed)
        HandleSentMessages();
    }
}

}  // namespace Moravin
