#include "Apartment.h"

#include "QWorker.h"

namespace skarloe {

CApartmentKeeper::CApartmentKeeper() : m_stop(::CreateEventW(nullptr, TRUE, FALSE, nullptr))
{
    qcore::UniqueHandle ready(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    const HANDLE stop = m_stop.Get(), readyEvent = ready.Get();
    m_thread.Reset(qcore::StartThread([stop, readyEvent] {
        qcore::ComInit mta(COINIT_MULTITHREADED);
        ::SetEvent(readyEvent);
        ::WaitForSingleObject(stop, INFINITE);
    }));
    if (m_thread) qcore::WaitForHandle(readyEvent, INFINITE, qcore::Pump::None);  // the keeper sends nothing
}

CApartmentKeeper::~CApartmentKeeper()
{
    ::SetEvent(m_stop.Get());
    if (m_thread) qcore::WaitForHandle(m_thread.Get(), INFINITE, qcore::Pump::None);
}

HRESULT RunInMta(const std::function<HRESULT()>& fn)
{
    {
        qcore::ComInit mta(COINIT_MULTITHREADED);
        if (SUCCEEDED(mta.Result())) return fn();
        if (mta.Result() != RPC_E_CHANGED_MODE) return mta.Result();
    }
    HRESULT hr = E_FAIL;
    qcore::UniqueHandle thread(qcore::StartThread([&] {
        qcore::ComInit mta(COINIT_MULTITHREADED);
        hr = SUCCEEDED(mta.Result()) ? fn() : mta.Result();
    }));
    if (!thread) return E_OUTOFMEMORY;
    qcore::WaitForHandle(thread.Get(), INFINITE, qcore::Pump::SentOnly);
    return hr;
}

}  // namespace skarloe
