// One update run of the page without its window: downloads the chosen updates one after another and installs
// each on an install thread as soon as its download completed, while the next download already runs. Every
// change of a row and the end of the run go to the sink, from whichever thread they happen on; the page turns
// them into messages to itself. Each run has its own state, so a thread of a stopped run never takes the queue
// of the next one.
#pragma once

#include <windows.h>

#include <functional>
#include <list>
#include <memory>
#include <string>
#include <vector>

#include "QWorker.h"
#include "Skarloe.h"
#include "UpdateRows.h"

namespace update_page {

class CUpdateRun {
public:
    struct Item {
        int row = -1;
        std::string updateId;
    };
    // A row changed (percent for Downloading), or, with row -1, the run with that number ended.
    using Sink = std::function<void(int runId, int row, RowState state, int percent)>;

    CUpdateRun(CWindowsUpdate& client, Sink sink);
    ~CUpdateRun();
    CUpdateRun(const CUpdateRun&) = delete;
    CUpdateRun& operator=(const CUpdateRun&) = delete;

    // Starts a run over the items (not empty); false when one is still going. Returns its number through *runId.
    bool Start(const std::vector<Item>& items, int* runId);
    // Stops the running run: the download is aborted, nothing more is installed; waits up to waitMs for an
    // install that is going (it finishes on its own later). Returns at once when no run is going.
    void Stop(DWORD waitMs);
    bool Running() const;

private:
    struct State;
    static void OnProgress(char* updateId, int percent);
    static void OnComplete(char* updateId);
    // The page's runner (null when there is none) and its current run, taken together under the active lock.
    static CUpdateRun* Active(std::shared_ptr<State>& state);
    void StartNextDownload(const std::shared_ptr<State>& state);
    void InstallLoop(std::shared_ptr<State> state);

    CWindowsUpdate& m_client;
    Sink m_sink;
    std::shared_ptr<State> m_current;
    std::list<std::unique_ptr<qcore::CWorker>> m_installers;  // one per run; stopped runs may still be ending
    int m_nextRunId = 1;
};

}  // namespace update_page
