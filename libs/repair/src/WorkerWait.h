// Waiting for a library worker that reports to a window with SendMessageW.
#pragma once

#include <windows.h>

namespace Moravin {

// Waits until the worker thread ends. When the calling thread owns notifyWnd the worker may be blocked sending
// to it, so the messages sent to this thread are handled while waiting; a call made from inside such a message
// first releases its sender.
void WaitForWorker(HANDLE thread, HWND notifyWnd);

}  // namespace Moravin
