#pragma once

#include <windows.h>

namespace Evidence {

// Waits until the thread ends. When the calling thread owns wnd (the window the thread sends its messages
// to), messages sent to it are processed during the wait, so the thread cannot block on them forever.
void WaitForThreadServingWindow(HANDLE thread, HWND wnd);

} // namespace Evidence
