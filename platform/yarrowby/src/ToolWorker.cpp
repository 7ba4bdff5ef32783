#include "ToolWorker.h"

YarrowbyToolWorker::YarrowbyToolWorker(UINT progressMessage, UINT doneMessage)
    : m_progressMessage(progressMessage), m_doneMessage(doneMessage)
{
}

YarrowbyToolWorker::~YarrowbyToolWorker() { Stop(); }

bool YarrowbyToolWorker::Start(Job job)
{
    if (m_worker.HasThread()) {
        if (!m_doneSent.load()) {
            SendDone(1, ERROR_BUSY);
            return false;
        }
        // The last job has sent its done message (perhaps to the very handler calling here) and only ends now.
        m_worker.Wait(INFINITE, qcore::Pump::SentOnly);
    }
    m_doneSent.store(false);
    const bool started = m_worker.Start([this, job] {
        JobOutcome outcome;
        job(*this, outcome);
        m_doneSent.store(true);
        SendDone(outcome.Failed(), outcome.FirstError());
    });
    if (!started) {
        const DWORD error = ::GetLastError();
        m_doneSent.store(true);
        SendDone(1, error ? error : ERROR_NOT_ENOUGH_MEMORY);
    }
    return started;
}

void YarrowbyToolWorker::Stop() { m_worker.StopAndWait(INFINITE, qcore::Pump::SentOnly); }

bool YarrowbyToolWorker::Running() const { return m_worker.Running() && !m_doneSent.load(); }

void YarrowbyToolWorker::SendProgress(WPARAM wParam, LPARAM lParam) const
{
    if (HWND wnd = m_wnd.load()) ::SendNotifyMessageW(wnd, m_progressMessage, wParam, lParam);
}

void YarrowbyToolWorker::SendDone(unsigned failed, DWORD error) const
{
    if (HWND wnd = m_wnd.load()) ::SendMessageW(wnd, m_doneMessage, WPARAM(failed), LPARAM(error));
}
