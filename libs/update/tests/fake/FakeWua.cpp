// The scripted update agent (see FakeWua.h). Objects are free-threaded; downloads run on threads of their own.
#include "FakeWua.h"

#include <process.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <vector>

#include "QLock.h"
#include "WuaStubs.h"

namespace {

struct Spec {
    std::wstring id, title, description, kb, severity;
    bool hasKb = false, hasSeverity = false;
    FakeUpdateSpec raw = {};
};

qcore::Lock g_lock;
HRESULT g_searchResult = S_OK;
std::vector<Spec> g_specs;
int g_progressSteps = 3;
FakeWuaCounters g_counters = {};
LONG g_runningDownloads = 0;
HANDLE g_release = nullptr;  // manual-reset: lets held downloads and installs finish

Spec SpecAt(int index)
{
    qcore::ScopedLock hold(g_lock);
    return index >= 0 && index < static_cast<int>(g_specs.size()) ? g_specs[index] : Spec();
}

void Count(LONG FakeWuaCounters::*field, LONG delta = 1)
{
    qcore::ScopedLock hold(g_lock);
    g_counters.*field += delta;
}

void DownloadRuns(LONG delta)
{
    qcore::ScopedLock hold(g_lock);
    g_runningDownloads += delta;
    g_counters.running += delta;
    g_counters.maxRunningDownloads = std::max(g_counters.maxRunningDownloads, g_runningDownloads);
}

BSTR Text(const std::wstring& s) { return ::SysAllocStringLen(s.data(), static_cast<UINT>(s.size())); }

template <typename Stub, typename Interface>
class Fake : public Stub {
public:
    virtual ~Fake() = default;
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (!out) return E_POINTER;
        if (iid == IID_IUnknown || iid == IID_IDispatch || iid == __uuidof(Interface)) {
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
        LONG left = ::InterlockedDecrement(&m_refs);
        if (left == 0) delete this;
        return static_cast<ULONG>(left);
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override
    {
        return E_NOTIMPL;
    }

private:
    LONG m_refs = 1;
};

template <typename T, typename I>
HRESULT Hand(T* object, I** out)
{
    if (!out) {
        object->Release();
        return E_POINTER;
    }
    *out = object;
    return S_OK;
}

class FakeIdentity : public Fake<StubIUpdateIdentity, IUpdateIdentity> {
public:
    explicit FakeIdentity(std::wstring id) : m_id(std::move(id)) {}
    HRESULT STDMETHODCALLTYPE get_UpdateID(BSTR* out) override { return (*out = Text(m_id)), S_OK; }

private:
    std::wstring m_id;
};

class FakeStrings : public Fake<StubIStringCollection, IStringCollection> {
public:
    explicit FakeStrings(std::vector<std::wstring> items) : m_items(std::move(items)) {}
    HRESULT STDMETHODCALLTYPE get_Count(LONG* out) override { return (*out = static_cast<LONG>(m_items.size())), S_OK; }
    HRESULT STDMETHODCALLTYPE get_Item(LONG i, BSTR* out) override
    {
        if (i < 0 || i >= static_cast<LONG>(m_items.size())) return E_INVALIDARG;
        *out = Text(m_items[i]);
        return S_OK;
    }

private:
    std::vector<std::wstring> m_items;
};

class FakeUpdate : public Fake<StubIUpdate, IUpdate> {
public:
    explicit FakeUpdate(int index) : m_index(index), m_spec(SpecAt(index)) {}
    int Index() const { return m_index; }
    HRESULT STDMETHODCALLTYPE get_Title(BSTR* out) override { return (*out = Text(m_spec.title)), S_OK; }
    HRESULT STDMETHODCALLTYPE get_Description(BSTR* out) override { return (*out = Text(m_spec.description)), S_OK; }
    HRESULT STDMETHODCALLTYPE get_Identity(IUpdateIdentity** out) override
    {
        return Hand(new FakeIdentity(m_spec.id), out);
    }
    HRESULT STDMETHODCALLTYPE get_IsDownloaded(VARIANT_BOOL* out) override
    {
        *out = m_spec.raw.downloaded ? VARIANT_TRUE : VARIANT_FALSE;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_KBArticleIDs(IStringCollection** out) override
    {
        std::vector<std::wstring> items;
        if (m_spec.hasKb) items.push_back(m_spec.kb);
        return Hand(new FakeStrings(items), out);
    }
    HRESULT STDMETHODCALLTYPE get_MaxDownloadSize(DECIMAL* out) override
    {
        *out = DECIMAL();
        out->Lo64 = m_spec.raw.size;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_LastDeploymentChangeTime(DATE* out) override
    {
        return (*out = m_spec.raw.date), S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_MsrcSeverity(BSTR* out) override
    {
        *out = m_spec.hasSeverity ? Text(m_spec.severity) : nullptr;
        return S_OK;
    }

private:
    int m_index;
    Spec m_spec;
};

class FakeCollection : public Fake<StubIUpdateCollection, IUpdateCollection> {
public:
    ~FakeCollection() override
    {
        for (IUpdate* u : m_items) u->Release();
    }
    HRESULT STDMETHODCALLTYPE get_Count(LONG* out) override { return (*out = static_cast<LONG>(m_items.size())), S_OK; }
    HRESULT STDMETHODCALLTYPE get_Item(LONG i, IUpdate** out) override
    {
        if (i < 0 || i >= static_cast<LONG>(m_items.size())) return E_INVALIDARG;
        if (SpecAt(static_cast<FakeUpdate*>(m_items[i])->Index()).raw.itemFails) return E_FAIL;
        m_items[i]->AddRef();
        *out = m_items[i];
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Add(IUpdate* update, LONG* index) override
    {
        if (!update) return E_POINTER;
        update->AddRef();
        m_items.push_back(update);
        if (index) *index = static_cast<LONG>(m_items.size()) - 1;
        return S_OK;
    }
    // The scripted index of the first update (the library hands over one at a time).
    int FirstIndex() const { return m_items.empty() ? -1 : static_cast<FakeUpdate*>(m_items[0])->Index(); }

private:
    std::vector<IUpdate*> m_items;
};

class FakeSearchResult : public Fake<StubISearchResult, ISearchResult> {
public:
    explicit FakeSearchResult(FakeCollection* updates) : m_updates(updates) {}
    ~FakeSearchResult() override { m_updates->Release(); }
    HRESULT STDMETHODCALLTYPE get_ResultCode(OperationResultCode* out) override { return (*out = orcSucceeded), S_OK; }
    HRESULT STDMETHODCALLTYPE get_Updates(IUpdateCollection** out) override
    {
        m_updates->AddRef();
        *out = m_updates;
        return S_OK;
    }

private:
    FakeCollection* m_updates;
};

class FakeSearcher : public Fake<StubIUpdateSearcher, IUpdateSearcher> {
public:
    HRESULT STDMETHODCALLTYPE Search(BSTR, ISearchResult** out) override
    {
        HRESULT hr = S_OK;
        int count = 0;
        {
            qcore::ScopedLock hold(g_lock);
            hr = g_searchResult;
            count = static_cast<int>(g_specs.size());
        }
        if (FAILED(hr)) return hr;
        auto* updates = new FakeCollection;
        for (int i = 0; i < count; ++i) {
            auto* u = new FakeUpdate(i);
            updates->Add(u, nullptr);
            u->Release();
        }
        return Hand(new FakeSearchResult(updates), out);
    }
};

class FakeProgress : public Fake<StubIDownloadProgress, IDownloadProgress> {
public:
    explicit FakeProgress(LONG percent) : m_percent(percent) {}
    HRESULT STDMETHODCALLTYPE get_PercentComplete(LONG* out) override { return (*out = m_percent), S_OK; }

private:
    LONG m_percent;
};

class FakeJob : public Fake<StubIDownloadJob, IDownloadJob> {
public:
    explicit FakeJob(int index) : m_index(index), m_abort(::CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
    ~FakeJob() override { ::CloseHandle(m_abort); }
    HRESULT STDMETHODCALLTYPE GetProgress(IDownloadProgress** out) override
    {
        return Hand(new FakeProgress(m_percent), out);
    }
    HRESULT STDMETHODCALLTYPE RequestAbort() override
    {
        Count(&FakeWuaCounters::requestAbort);
        m_aborted = true;
        ::SetEvent(m_abort);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_IsCompleted(VARIANT_BOOL* out) override
    {
        *out = m_completed ? VARIANT_TRUE : VARIANT_FALSE;
        return S_OK;
    }

    int index() const { return m_index; }
    std::atomic<LONG> m_percent{0};
    std::atomic<bool> m_aborted{false};
    std::atomic<bool> m_completed{false};
    HANDLE AbortEvent() const { return m_abort; }

private:
    int m_index;
    HANDLE m_abort;
};

class FakeDownloadResult : public Fake<StubIDownloadResult, IDownloadResult> {
public:
    explicit FakeDownloadResult(OperationResultCode code) : m_code(code) {}
    HRESULT STDMETHODCALLTYPE get_ResultCode(OperationResultCode* out) override { return (*out = m_code), S_OK; }
    HRESULT STDMETHODCALLTYPE get_HResult(LONG* out) override
    {
        *out = m_code == orcFailed ? static_cast<LONG>(0x80240022) : S_OK;
        return S_OK;
    }

private:
    OperationResultCode m_code;
};

// One notification round of a download: progress steps, then completion.
struct DownloadRun {
    FakeJob* job;
    IUnknown* progress;
    IUnknown* completed;
    int mode;
};

void Notify(IUnknown* callback, REFIID iid, IDownloadJob* job)
{
    IUnknown* p = nullptr;
    if (FAILED(callback->QueryInterface(iid, reinterpret_cast<void**>(&p))) || !p) return;
    // Both callback interfaces have Invoke(job, args) right after IUnknown.
    static_cast<IDownloadCompletedCallback*>(p)->Invoke(job, nullptr);
    p->Release();
}

void RunDownload(DownloadRun run)
{
    const int steps = std::max(1, g_progressSteps);
    if (run.mode == kDownloadUntilAborted) {
        Notify(run.progress, __uuidof(IDownloadProgressChangedCallback), run.job);
        HANDLE both[] = {run.job->AbortEvent(), g_release};
        ::WaitForMultipleObjects(2, both, FALSE, INFINITE);
    } else {
        for (int i = 0; i < steps && !run.job->m_aborted; ++i) {
            run.job->m_percent = std::min(100, i * 40);
            Notify(run.progress, __uuidof(IDownloadProgressChangedCallback), run.job);
        }
    }
    run.job->m_percent = 100;
    run.job->m_completed = true;
    DownloadRuns(-1);
    Notify(run.completed, __uuidof(IDownloadCompletedCallback), run.job);
    run.progress->Release();
    run.completed->Release();
    run.job->Release();
}

unsigned __stdcall DownloadThread(void* param)
{
    DownloadRun* run = static_cast<DownloadRun*>(param);
    ::CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    RunDownload(*run);
    delete run;
    ::CoUninitialize();
    return 0;
}

class FakeDownloader : public Fake<StubIUpdateDownloader, IUpdateDownloader> {
public:
    ~FakeDownloader() override
    {
        if (m_updates) m_updates->Release();
    }
    HRESULT STDMETHODCALLTYPE put_Updates(IUpdateCollection* value) override
    {
        if (!value) return E_POINTER;
        value->AddRef();
        if (m_updates) m_updates->Release();
        m_updates = static_cast<FakeCollection*>(value);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE BeginDownload(IUnknown* progress, IUnknown* completed, VARIANT,
                                            IDownloadJob** out) override
    {
        Count(&FakeWuaCounters::beginDownload);
        if (!m_updates || !progress || !completed || !out) return E_INVALIDARG;
        const int index = m_updates->FirstIndex();
        const Spec spec = SpecAt(index);
        if (spec.raw.downloadMode == kDownloadCannotStart) return static_cast<HRESULT>(0x8024402C);
        auto* job = new FakeJob(index);
        progress->AddRef();
        completed->AddRef();
        job->AddRef();
        DownloadRuns(1);
        DownloadRun run{job, progress, completed, spec.raw.downloadMode};
        if (spec.raw.downloadMode == kDownloadInsideBegin) {
            job->AddRef();
            *out = job;
            RunDownload(run);
            return S_OK;
        }
        *out = job;  // the caller's reference
        ::CloseHandle(
            reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, DownloadThread, new DownloadRun(run), 0, nullptr)));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE EndDownload(IDownloadJob* value, IDownloadResult** out) override
    {
        Count(&FakeWuaCounters::endDownload);
        if (!value) return E_POINTER;
        auto* job = static_cast<FakeJob*>(value);
        OperationResultCode code =
            job->m_aborted ? orcAborted : static_cast<OperationResultCode>(SpecAt(job->index()).raw.downloadResult);
        return Hand(new FakeDownloadResult(code), out);
    }

private:
    FakeCollection* m_updates = nullptr;
};

class FakeUpdateInstallationResult : public Fake<StubIUpdateInstallationResult, IUpdateInstallationResult> {
public:
    FakeUpdateInstallationResult(OperationResultCode code, LONG hr) : m_code(code), m_hr(hr) {}
    HRESULT STDMETHODCALLTYPE get_ResultCode(OperationResultCode* out) override { return (*out = m_code), S_OK; }
    HRESULT STDMETHODCALLTYPE get_HResult(LONG* out) override { return (*out = m_hr), S_OK; }

private:
    OperationResultCode m_code;
    LONG m_hr;
};

class FakeInstallationResult : public Fake<StubIInstallationResult, IInstallationResult> {
public:
    FakeInstallationResult(OperationResultCode code, LONG hr) : m_code(code), m_hr(hr) {}
    HRESULT STDMETHODCALLTYPE get_ResultCode(OperationResultCode* out) override { return (*out = m_code), S_OK; }
    HRESULT STDMETHODCALLTYPE get_HResult(LONG* out) override { return (*out = m_hr), S_OK; }
    HRESULT STDMETHODCALLTYPE GetUpdateResult(LONG index, IUpdateInstallationResult** out) override
    {
        if (index != 0) return E_INVALIDARG;
        return Hand(new FakeUpdateInstallationResult(m_code, m_hr), out);
    }

private:
    OperationResultCode m_code;
    LONG m_hr;
};

class FakeInstaller : public Fake<StubIUpdateInstaller, IUpdateInstaller> {
public:
    ~FakeInstaller() override
    {
        if (m_updates) m_updates->Release();
    }
    HRESULT STDMETHODCALLTYPE put_Updates(IUpdateCollection* value) override
    {
        if (!value) return E_POINTER;
        value->AddRef();
        if (m_updates) m_updates->Release();
        m_updates = static_cast<FakeCollection*>(value);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Install(IInstallationResult** out) override
    {
        Count(&FakeWuaCounters::install);
        if (!m_updates) return E_INVALIDARG;
        const Spec spec = SpecAt(m_updates->FirstIndex());
        Count(&FakeWuaCounters::running, 1);
        if (spec.raw.installHeld) ::WaitForSingleObject(g_release, INFINITE);
        Count(&FakeWuaCounters::running, -1);
        return Hand(new FakeInstallationResult(static_cast<OperationResultCode>(spec.raw.installResult),
                                               spec.raw.installHResult),
                    out);
    }

private:
    FakeCollection* m_updates = nullptr;
};

class FakeSession : public Fake<StubIUpdateSession, IUpdateSession> {
public:
    HRESULT STDMETHODCALLTYPE CreateUpdateSearcher(IUpdateSearcher** out) override
    {
        return Hand(new FakeSearcher, out);
    }
    HRESULT STDMETHODCALLTYPE CreateUpdateDownloader(IUpdateDownloader** out) override
    {
        Count(&FakeWuaCounters::createDownloader);
        return Hand(new FakeDownloader, out);
    }
    HRESULT STDMETHODCALLTYPE CreateUpdateInstaller(IUpdateInstaller** out) override
    {
        return Hand(new FakeInstaller, out);
    }
};

class Factory : public IClassFactory {
public:
    explicit Factory(bool session) : m_session(session) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (iid == IID_IUnknown || iid == IID_IClassFactory) {
            *out = this;
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override
    {
        if (outer) return CLASS_E_NOAGGREGATION;
        IUnknown* object = m_session ? static_cast<IUnknown*>(static_cast<IUpdateSession*>(new FakeSession))
                                     : static_cast<IUnknown*>(static_cast<IUpdateCollection*>(new FakeCollection));
        HRESULT hr = object->QueryInterface(iid, out);
        object->Release();
        return hr;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }

private:
    bool m_session;
};

Factory g_sessionFactory(true), g_collectionFactory(false);

}  // namespace

extern "C" {

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
        g_release = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    }
    return TRUE;
}

__declspec(dllexport) HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID iid, void** out)
{
    if (clsid == CLSID_UpdateSession) return g_sessionFactory.QueryInterface(iid, out);
    if (clsid == CLSID_UpdateCollection) return g_collectionFactory.QueryInterface(iid, out);
    *out = nullptr;
    return CLASS_E_CLASSNOTAVAILABLE;
}

__declspec(dllexport) HRESULT STDAPICALLTYPE DllCanUnloadNow() { return S_FALSE; }

__declspec(dllexport) void FakeWua_Reset(const FakeWuaScenario* scenario)
{
    qcore::ScopedLock hold(g_lock);
    g_searchResult = scenario->searchResult;
    g_progressSteps = scenario->progressSteps;
    g_specs.clear();
    for (int i = 0; i < scenario->count && i < 8; ++i) {
        const FakeUpdateSpec& u = scenario->updates[i];
        Spec s;
        s.raw = u;
        s.id = u.id ? u.id : L"";
        s.title = u.title ? u.title : L"";
        s.description = u.description ? u.description : L"";
        s.hasKb = u.kb != nullptr;
        s.kb = u.kb ? u.kb : L"";
        s.hasSeverity = u.severity != nullptr;
        s.severity = u.severity ? u.severity : L"";
        g_specs.push_back(s);
    }
    g_counters = FakeWuaCounters();
    g_runningDownloads = 0;
    ::ResetEvent(g_release);
}

__declspec(dllexport) void FakeWua_Counters(FakeWuaCounters* counters)
{
    qcore::ScopedLock hold(g_lock);
    *counters = g_counters;
}

__declspec(dllexport) void FakeWua_ReleaseHeld() { ::SetEvent(g_release); }

}  // extern "C"
