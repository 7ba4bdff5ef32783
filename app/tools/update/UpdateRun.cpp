#include "UpdateRun.h"

#include <deque>

#include "QGuards.h"
#include "QLock.h"

namespace update_page {

struct CUpdateRun::State {
    int id = 0;
    qcore::Lock lock;
    std::vector<Item> downloads;  // in list order; index is the next one to complete
    size_t index = 0;
    int currentRow = -1;        // the row being downloaded
    std::deque<Item> installs;  // downloaded, waiting for the install thread
    bool finished = false;      // no download left to start
    std::atomic<bool> stop{false};
    std::atomic<bool> ended{false};
    qcore::UniqueHandle wake{::CreateEventW(nullptr, FALSE, FALSE, nullptr)};  // auto-reset: no wake is lost
};

namespace {

// The client's callbacks are plain functions: they reach the run through the one update page's runner.
qcore::Lock& ActiveLock()
{
    static qcore::Lock* lock = new qcore::Lock;  // never destroyed: a late callback may still take it
    return *lock;
}
CUpdateRun* g_active = nullptr;

}  // namespace

CUpdateRun::CUpdateRun(CWindowsUpdate& client, Sink sink) : m_client(client), m_sink(std::move(sink))
{
    m_client.SetDownloadCallback(&CUpdateRun::OnProgress);
    m_client.SetDownloadCompleteCallback(&CUpdateRun::OnComplete);
    qcore::ScopedLock lock(ActiveLock());
    g_active = this;
}

CUpdateRun::~CUpdateRun()
{
    Stop(0);
    {
        qcore::ScopedLock lock(ActiveLock());
        if (g_active == this) g_active = nullptr;
    }
    for (auto& installer : m_installers) installer->Wait(INFINITE, qcore::Pump::SentOnly);
}

bool CUpdateRun::Running() const
{
    qcore::ScopedLock lock(ActiveLock());
    return m_current && !m_current->ended;
}

bool CUpdateRun::Start(const std::vector<Item>& items, int* runId)
{
    if (items.empty() || Running()) return false;
    m_installers.remove_if([](const std::unique_ptr<qcore::CWorker>& w) { return !w->Running(); });

    auto state = std::make_shared<State>();
    state->id = m_nextRunId++;
    state->downloads = items;
    if (runId) *runId = state->id;
    {
        qcore::ScopedLock lock(ActiveLock());
        m_current = state;
    }
    auto installer = std::make_unique<qcore::CWorker>();
    if (!installer->Start([this, state] { InstallLoop(state); })) {
        state->ended = true;
        return false;
    }
    m_installers.push_back(std::move(installer));
    StartNextDownload(state);
    return true;
}

void CUpdateRun::StartNextDownload(const std::shared_ptr<State>& state)
{
    for (;;) {
        Item item;
        {
            qcore::ScopedLock lock(state->lock);
            if (state->stop || state->index >= state->downloads.size()) {
                state->finished = true;
                state->currentRow = -1;
                ::SetEvent(state->wake.Get());
                return;
            }
            item = state->downloads[state->index];
            state->currentRow = item.row;
            m_sink(state->id, item.row, RowState::Downloading, 0);  // before any stop can report this row
        }
        // A download may complete inside this call; its completion then starts the next one. A stop that came
        // while it was starting found no job to abort: abort it now, so no download runs on unobserved.
        if (SUCCEEDED(m_client.DownloadUpdate(item.updateId.c_str()))) {
            if (state->stop) m_client.StopDowndload();
            return;
        }
        m_sink(state->id, item.row, RowState::DownloadFailed, 0);
        qcore::ScopedLock lock(state->lock);
        ++state->index;
    }
}

CUpdateRun* CUpdateRun::Active(std::shared_ptr<State>& state)
{
    qcore::ScopedLock lock(ActiveLock());
    if (g_active) state = g_active->m_current;
    return g_active;
}

void CUpdateRun::OnProgress(char*, int percent)
{
    std::shared_ptr<State> state;
    CUpdateRun* run = Active(state);
    if (!state || state->stop) return;
    // Reported under the lock: a stop that clears the row meanwhile is reported after this, never before.
    qcore::ScopedLock lock(state->lock);
    const int row = state->currentRow;
    if (row >= 0 && !state->stop) run->m_sink(state->id, row, RowState::Downloading, percent);
}

void CUpdateRun::OnComplete(char*)
{
    std::shared_ptr<State> state;
    CUpdateRun* run = Active(state);
    if (!state || state->stop) return;
    Item item{-1, std::string()};
    {
        qcore::ScopedLock lock(state->lock);
        if (state->index < state->downloads.size()) item = state->downloads[state->index++];
        state->currentRow = -1;
    }
    if (item.row >= 0) {
        if (FAILED(run->m_client.GetLastDownloadResult())) {
            run->m_sink(state->id, item.row, RowState::DownloadFailed, 0);
        } else {
            qcore::ScopedLock lock(state->lock);
            state->installs.push_back(item);
            ::SetEvent(state->wake.Get());
        }
    }
    run->StartNextDownload(state);
}

void CUpdateRun::InstallLoop(std::shared_ptr<State> state)
{
    while (!state->stop) {
        Item item;
        {
            qcore::ScopedLock lock(state->lock);
            if (state->installs.empty()) {
                if (state->finished) break;
            } else {
                item = state->installs.front();
                state->installs.pop_front();
            }
        }
        if (item.updateId.empty()) {
            ::WaitForSingleObject(state->wake.Get(), INFINITE);
            continue;
        }
        m_sink(state->id, item.row, RowState::Installing, 0);
        const long hr = m_client.InstallUpdate(item.updateId.c_str());
        m_sink(state->id, item.row, FAILED(hr) ? RowState::InstallFailed : RowState::Installed, 0);
    }
    state->ended = true;
    m_sink(state->id, -1, RowState::None, 0);
}

void CUpdateRun::Stop(DWORD waitMs)
{
    std::shared_ptr<State> state;
    {
        qcore::ScopedLock lock(ActiveLock());
        state = m_current;
    }
    if (!state || state->ended || state->stop.exchange(true)) return;
    m_client.StopDowndload();
    {
        qcore::ScopedLock lock(state->lock);
        const int row = state->currentRow;
        state->currentRow = -1;
        state->installs.clear();
        state->finished = true;
        // The row is cleared before the install thread wakes: its report of the run's end comes after this.
        if (row >= 0) m_sink(state->id, row, RowState::None, 0);
        ::SetEvent(state->wake.Get());
    }
    if (!m_installers.empty()) m_installers.back()->Wait(waitMs, qcore::Pump::SentOnly);
    state->ended = true;
    m_sink(state->id, -1, RowState::None, 0);
}

}  // namespace update_page
