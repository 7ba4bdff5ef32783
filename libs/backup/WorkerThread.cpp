#include "WorkerThread.h"

namespace Coldrith
{
bool CWorkerThread::Start(LPTHREAD_START_ROUTINE proc, void* param)
{
    StopAndWait();
    InterlockedExchange(&m_lStop, 0);
    m_hThread = CreateThread(nullptr, 0, proc, param, 0, nullptr);
    return m_hThread != nullptr;
}

void CWorkerThread::RequestStop()
{
    if (m_hThread)
        InterlockedExchange(&m_lStop, 1);
}

void CWorkerThread::StopAndWait()
{
    if (!m_hThread)
        return;
    InterlockedExchange(&m_lStop, 1);
    for (;;)
    {
        DWORD r = MsgWaitForMultipleObjects(1, &m_hThread, FALSE, INFINITE, QS_ALLINPUT);
        if (r != WAIT_OBJECT_0 + 1)
            break; // finished, or the handle is unusable
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    CloseHandle(m_hThread);
    m_hThread = nullptr;
}
}
