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

}  // namespace skarloe
