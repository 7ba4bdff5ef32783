#include "QApartment.h"

#include "QGuards.h"
#include "QWorker.h"

namespace qcore {

HRESULT RunInMta(const std::function<HRESULT()>& fn)
{
    {
        ComInit mta(COINIT_MULTITHREADED);
        if (SUCCEEDED(mta.Result())) return fn();
        if (mta.Result() != RPC_E_CHANGED_MODE) return mta.Result();
    }
    HRESULT hr = E_FAIL;
    UniqueHandle thread(StartThread([&] {
        ComInit mta(COINIT_MULTITHREADED);
        hr = SUCCEEDED(mta.Result()) ? fn() : mta.Result();
    }));
    if (!thread) return E_OUTOFMEMORY;
    WaitForHandle(thread.Get(), INFINITE, Pump::SentOnly);
    return hr;
}

}  // namespace qcore
