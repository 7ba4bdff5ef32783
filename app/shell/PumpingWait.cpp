#include "PumpingWait.h"

namespace Shell {

bool WaitPumping(HANDLE handle, DWORD timeoutMs)
{
    const DWORD start = ::GetTickCount();
    for (;;) {
        DWORD elapsed = ::GetTickCount() - start;
        DWORD left = timeoutMs == INFINITE ? INFINITE : (elapsed >= timeoutMs ? 0 : timeoutMs - elapsed);
        DWORD r = ::MsgWaitForMultipleObjects(1, &handle, FALSE, left, QS_ALLINPUT);
        if (r == WAIT_OBJECT_0) return true;
        if (r != WAIT_OBJECT_0 + 1) return false; // time-out or failure
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                ::PostQuitMessage(static_cast<int>(msg.wParam));
                return ::WaitForSingleObject(handle, 0) == WAIT_OBJECT_0;
            }
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
}

} // namespace Shell
