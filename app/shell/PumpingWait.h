// Waiting on a handle while the calling UI thread keeps answering sent messages and its own queue, so a
// window of another thread that sends to this one can never deadlock the wait.
#pragma once

#include <windows.h>

namespace Shell {

// True when the handle was signalled within the time-out (INFINITE waits for ever).
bool WaitPumping(HANDLE handle, DWORD timeoutMs);

} // namespace Shell
