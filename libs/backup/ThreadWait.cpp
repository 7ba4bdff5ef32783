#include "ThreadWait.h"

namespace Coldrith
{
void WaitPumping(HANDLE handle)
{
    for (;;)
    {
        DWORD r = MsgWaitForMultipleObjects(1, &handle, FALSE, INFINITE, QS_ALLINPUT);
        if (r != WAIT_OBJECT_0 + 1)
            return; // signalled, or the handle is unusable
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
}
}
