// One download as the update agent reports it: a context shared by the progress and completion objects handed to
// the agent. Each download gets fresh objects, and they keep their context alive for as long as the agent holds
// them, so a notification that arrives late never touches a freed object.
#pragma once

#include <windows.h>

#include <atomic>
#include <memory>
#include <string>

#include "QGuards.h"
#include "QLock.h"
#include "Skarloe.h"
#include "WuaInterfaces.h"

namespace skarloe {

struct DownloadContext {
    std::string updateId;  // the library's own copy, handed to the callbacks
    PFN_UPDATE_DOWNLOAD_PROGRESS progress = nullptr;
    PFN_UPDATE_DOWNLOAD_COMPLETE complete = nullptr;
    qcore::ComPtr<IUpdateDownloader> downloader;  // given before the download starts: it may complete at once
    std::atomic<bool> completed{false};
    std::atomic<long> result{S_OK};

    // The job, for a stop; set once the agent has returned it.
    void SetJob(IDownloadJob* job);
    qcore::ComPtr<IDownloadJob> Job();

private:
    qcore::Lock m_lock;
    qcore::ComPtr<IDownloadJob> m_job;
};

// New callback objects (one reference each, owned by the caller) for a download.
qcore::ComPtr<IDownloadProgressChangedCallback> NewProgressCallback(std::shared_ptr<DownloadContext> context);
qcore::ComPtr<IDownloadCompletedCallback> NewCompletedCallback(std::shared_ptr<DownloadContext> context);

}  // namespace skarloe
