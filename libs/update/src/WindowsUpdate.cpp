// CWindowsUpdate: searches, downloads and installs through the update agent, every call inside the
// multithreaded apartment the library keeps alive.
#include <atomic>
#include <memory>

#include "Apartment.h"
#include "DownloadCallbacks.h"
#include "QApartment.h"
#include "QGuards.h"
#include "QLock.h"
#include "Skarloe.h"
#include "UpdateRecord.h"
#include "WuaInterfaces.h"

using qcore::ComPtr;
using namespace skarloe;

struct CWindowsUpdate::Node {
    IUpdate* update;  // one reference, released in the apartment
    UpdateItem* item;
};

struct CWindowsUpdate::Shared {
    CApartmentKeeper apartment;
    qcore::Lock lock;  // the records and the current download
    std::shared_ptr<DownloadContext> current;
    std::atomic<PFN_UPDATE_DOWNLOAD_PROGRESS> progress{nullptr};
    std::atomic<PFN_UPDATE_DOWNLOAD_COMPLETE> complete{nullptr};
    std::atomic<PFN_UPDATE_INSTALL_PROGRESS> installProgress{nullptr};
    std::atomic<PFN_UPDATE_INSTALL_COMPLETE> installComplete{nullptr};
};

namespace {

template <typename T>
HRESULT CreateInProcess(REFCLSID clsid, ComPtr<T>& out)
{
    return ::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, __uuidof(T), out.PutVoid());
}

// A collection holding just this update, for the downloader or the installer.
HRESULT SingleUpdate(IUpdate* update, ComPtr<IUpdateCollection>& collection)
{
    HRESULT hr = CreateInProcess(CLSID_UpdateCollection, collection);
    LONG index = 0;
    if (SUCCEEDED(hr)) hr = collection->Add(update, &index);
    return hr;
}

}  // namespace

CWindowsUpdate::CWindowsUpdate() : m_wnd(nullptr), m_shared(new Shared) {}

CWindowsUpdate::~CWindowsUpdate()
{
    StopDowndload();
    qcore::RunInMta([this] {
        ReleaseRecords();
        return S_OK;
    });
    delete m_shared;
}

void CWindowsUpdate::ReleaseRecords()
{
    qcore::ScopedLock lock(m_shared->lock);
    for (Node* node : m_updates) {
        if (node->update) node->update->Release();
        delete node->item;
        delete node;
    }
    m_updates.clear();
    m_items.clear();
}

long CWindowsUpdate::CheckUpdate()
{
    return qcore::RunInMta([this]() -> HRESULT {
        ReleaseRecords();
        ComPtr<IUpdateSession> session;
        ComPtr<IUpdateSearcher> searcher;
        ComPtr<ISearchResult> result;
        ComPtr<IUpdateCollection> updates;
        LONG count = 0;
        HRESULT hr = CreateInProcess(CLSID_UpdateSession, session);
        if (SUCCEEDED(hr)) hr = session->CreateUpdateSearcher(searcher.Put());
        if (SUCCEEDED(hr)) {
            BSTR criteria = ::SysAllocString(L"(IsInstalled = 0 and type = 'Software')");
            hr = criteria ? searcher->Search(criteria, result.Put()) : E_OUTOFMEMORY;
            ::SysFreeString(criteria);
        }
        if (SUCCEEDED(hr)) hr = result->get_Updates(updates.Put());
        if (SUCCEEDED(hr)) hr = updates->get_Count(&count);
        if (FAILED(hr)) return hr;

        qcore::ScopedLock lock(m_shared->lock);
        hr = S_OK;
        for (LONG i = 0; i < count; ++i) {
            IUpdate* update = nullptr;
            hr = updates->get_Item(i, &update);
            if (FAILED(hr) || !update) continue;
            Node* node = new Node{update, new UpdateItem};
            ReadUpdateItem(update, node->item);
            m_updates.push_back(node);
            m_items.push_back(node->item);
        }
        return hr;
    });
}

int CWindowsUpdate::GetUpdateItemCount()
{
    qcore::ScopedLock lock(m_shared->lock);
    return static_cast<int>(m_items.size());
}

UpdateItem* CWindowsUpdate::GetUpdateItemIndex(int index)
{
    qcore::ScopedLock lock(m_shared->lock);
    if (index < 0 || index >= static_cast<int>(m_items.size())) return nullptr;
    return m_items[static_cast<size_t>(index)];
}

IUpdate* CWindowsUpdate::FindUpdate(const char* updateId)
{
    if (!updateId) return nullptr;
    qcore::ScopedLock lock(m_shared->lock);
    for (Node* node : m_updates)
        if (node->item->updateId == updateId) {
            if (node->update) node->update->AddRef();
            return node->update;
        }
    return nullptr;
}

long CWindowsUpdate::DownloadUpdate(const char* updateId)
{
    ComPtr<IUpdate> update;
    update.Attach(FindUpdate(updateId));
    if (!update) return E_FAIL;
    auto context = std::make_shared<DownloadContext>();
    context->updateId = updateId;
    context->progress = m_shared->progress;
    context->complete = m_shared->complete;

    return qcore::RunInMta([&]() -> HRESULT {
        ComPtr<IUpdateSession> session;
        ComPtr<IUpdateCollection> collection;
        // Our own reference for the whole call: a completion inside BeginDownload releases the context's.
        ComPtr<IUpdateDownloader> downloader;
        HRESULT hr = CreateInProcess(CLSID_UpdateSession, session);
        if (SUCCEEDED(hr)) hr = session->CreateUpdateDownloader(downloader.Put());
        if (SUCCEEDED(hr)) hr = SingleUpdate(update.Get(), collection);
        if (SUCCEEDED(hr)) hr = downloader->put_Updates(collection.Get());
        if (FAILED(hr)) return hr;
        context->downloader = downloader;

        // Everything the notifications need is in place before the agent may send them (even from inside the
        // call that starts the download).
        {
            qcore::ScopedLock lock(m_shared->lock);
            m_shared->current = context;
        }
        ComPtr<IDownloadProgressChangedCallback> progress = NewProgressCallback(context);
        ComPtr<IDownloadCompletedCallback> completed = NewCompletedCallback(context);
        VARIANT state;
        ::VariantInit(&state);
        state.vt = VT_INT;
        state.intVal = 1;
        ComPtr<IDownloadJob> job;
        hr = downloader->BeginDownload(progress.Get(), completed.Get(), state, job.Put());
        if (SUCCEEDED(hr)) {
            context->SetJob(job.Get());
        } else {
            context->downloader.Reset();  // no notification follows a start that failed
            context->result = hr;
            context->completed = true;
        }
        return hr;
    });
}

void CWindowsUpdate::StopDowndload()
{
    std::shared_ptr<DownloadContext> context;
    {
        qcore::ScopedLock lock(m_shared->lock);
        context = m_shared->current;
    }
    if (!context || context->completed) return;
    ComPtr<IDownloadJob> job = context->Job();
    if (!job) return;
    qcore::RunInMta([&job] { return job->RequestAbort(); });
}

long CWindowsUpdate::InstallUpdate(const char* updateId)
{
    ComPtr<IUpdate> update;
    update.Attach(FindUpdate(updateId));
    if (!update) return E_FAIL;
    return qcore::RunInMta([&update]() -> HRESULT {
        ComPtr<IUpdateSession> session;
        ComPtr<IUpdateInstaller> installer;
        ComPtr<IUpdateCollection> collection;
        ComPtr<IInstallationResult> result;
        HRESULT hr = CreateInProcess(CLSID_UpdateSession, session);
        if (SUCCEEDED(hr)) hr = session->CreateUpdateInstaller(installer.Put());
        if (SUCCEEDED(hr)) hr = SingleUpdate(update.Get(), collection);
        if (SUCCEEDED(hr)) hr = installer->put_Updates(collection.Get());
        if (SUCCEEDED(hr)) hr = installer->Install(result.Put());
        if (FAILED(hr)) return hr;
        if (!result) return E_FAIL;
        OperationResultCode code = orcFailed;
        if (FAILED(result->get_ResultCode(&code))) return E_FAIL;
        LONG status = S_OK;
        ComPtr<IUpdateInstallationResult> first;
        if (SUCCEEDED(result->GetUpdateResult(0, first.Put())) && first) first->get_HResult(&status);
        if (status == S_OK) result->get_HResult(&status);
        return OutcomeStatus(code, status);
    });
}

long CWindowsUpdate::GetLastDownloadResult()
{
    qcore::ScopedLock lock(m_shared->lock);
    return m_shared->current ? m_shared->current->result.load() : S_OK;
}

void CWindowsUpdate::SetDownloadCallback(PFN_UPDATE_DOWNLOAD_PROGRESS callback) { m_shared->progress = callback; }
void CWindowsUpdate::SetDownloadCompleteCallback(PFN_UPDATE_DOWNLOAD_COMPLETE callback)
{
    m_shared->complete = callback;
}
void CWindowsUpdate::SetInstallCallback(PFN_UPDATE_INSTALL_PROGRESS callback) { m_shared->installProgress = callback; }
void CWindowsUpdate::SetInstallCompleteCallback(PFN_UPDATE_INSTALL_COMPLETE callback)
{
    m_shared->installComplete = callback;
}
