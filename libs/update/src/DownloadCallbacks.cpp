#include "DownloadCallbacks.h"

#include <vector>

namespace skarloe {

namespace {

// A callback object of the agent: reference counted, deleted at its last release.
template <typename Interface>
class CallbackObject : public Interface {
public:
    explicit CallbackObject(std::shared_ptr<DownloadContext> context) : m_context(std::move(context)) {}
    virtual ~CallbackObject() = default;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (!out) return E_POINTER;
        if (iid == __uuidof(IUnknown) || iid == __uuidof(Interface)) {
            *out = static_cast<Interface*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(::InterlockedIncrement(&m_refs)); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const LONG left = ::InterlockedDecrement(&m_refs);
        if (left == 0) delete this;
        return static_cast<ULONG>(left);
    }

protected:
    std::shared_ptr<DownloadContext> m_context;

private:
    LONG m_refs = 1;
};

class ProgressCallback : public CallbackObject<IDownloadProgressChangedCallback> {
public:
    using CallbackObject::CallbackObject;
    HRESULT STDMETHODCALLTYPE Invoke(IDownloadJob* job, IUnknown*) override
    {
        if (!job) return E_POINTER;
        qcore::ComPtr<IDownloadProgress> progress;
        HRESULT hr = job->GetProgress(progress.Put());
        LONG percent = 0;
        if (SUCCEEDED(hr) && progress) hr = progress->get_PercentComplete(&percent);
        if (SUCCEEDED(hr) && m_context->progress) {
            std::vector<char> id(m_context->updateId.begin(), m_context->updateId.end());
            id.push_back(0);
            m_context->progress(id.data(), static_cast<int>(percent));
        }
        return hr;
    }
};

class CompletedCallback : public CallbackObject<IDownloadCompletedCallback> {
public:
    using CallbackObject::CallbackObject;
    HRESULT STDMETHODCALLTYPE Invoke(IDownloadJob* job, IUnknown*) override
    {
        DownloadContext& c = *m_context;
        long result = E_FAIL;
        if (c.downloader && job) {
            qcore::ComPtr<IDownloadResult> outcome;
            HRESULT hr = c.downloader->EndDownload(job, outcome.Put());
            if (FAILED(hr)) {
                result = hr;
            } else if (outcome) {
                OperationResultCode code = orcFailed;
                LONG status = S_OK;
                if (FAILED(outcome->get_ResultCode(&code))) code = orcFailed;
                outcome->get_HResult(&status);
                result = OutcomeStatus(code, status);
            }
        }
        c.downloader.Reset();
        c.result = result;
        c.completed = true;
        if (c.complete) {
            std::vector<char> id(c.updateId.begin(), c.updateId.end());
            id.push_back(0);
            c.complete(id.data());
        }
        return S_OK;
    }
};

}  // namespace

HRESULT OutcomeStatus(OperationResultCode code, LONG hresult)
{
    if (code == orcSucceeded || code == orcSucceededWithErrors) return S_OK;
    if (FAILED(hresult)) return hresult;
    return code == orcAborted ? E_ABORT : E_FAIL;
}

void DownloadContext::SetJob(IDownloadJob* job)
{
    qcore::ScopedLock hold(m_lock);
    if (job) job->AddRef();
    m_job.Attach(job);
}

qcore::ComPtr<IDownloadJob> DownloadContext::Job()
{
    qcore::ScopedLock hold(m_lock);
    return m_job;
}

qcore::ComPtr<IDownloadProgressChangedCallback> NewProgressCallback(std::shared_ptr<DownloadContext> context)
{
    qcore::ComPtr<IDownloadProgressChangedCallback> p;
    p.Attach(new ProgressCallback(std::move(context)));
    return p;
}

qcore::ComPtr<IDownloadCompletedCallback> NewCompletedCallback(std::shared_ptr<DownloadContext> context)
{
    qcore::ComPtr<IDownloadCompletedCallback> p;
    p.Attach(new CompletedCallback(std::move(context)));
    return p;
}

}  // namespace skarloe
