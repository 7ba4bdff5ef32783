// The exported functions: argument checks, the library's reference count and the one-job-at-a-time rule.
#include <atomic>

#include "Backend.h"
#include "DefragJob.h"
#include "QPathText.h"
#include "Velmora.h"

namespace {

std::atomic<int> g_users{0};
std::atomic<bool> g_initialised{false};
std::atomic<bool> g_jobRunning{false};

constexpr int kMaxMapCells = 1024 * 1024;

// 'A' to 'Z' for a drive letter in either case, 0 for anything else.
char DriveLetter(char letter) { return static_cast<char>(qpath::DriveLetterOf(static_cast<unsigned char>(letter))); }

// Clears the running flag however the job ends.
struct JobSlot {
    bool taken;
    JobSlot() : taken(!g_jobRunning.exchange(true)) {}
    ~JobSlot()
    {
        if (taken) g_jobRunning.store(false);
    }
};

}  // namespace

extern "C" {

VELMORA_API int udefrag_init_library(int)
{
    ++g_users;
    g_initialised.store(true);
    return 0;
}

VELMORA_API int udefrag_init_failed(void) { return g_initialised.load() ? 0 : 1; }

VELMORA_API int udefrag_validate_volume(char volume_letter, int)
{
    if (g_users.load() <= 0) return UDEFRAG_E_NOT_INITIALISED;
    const char letter = DriveLetter(volume_letter);
    if (!letter) return UDEFRAG_E_INVALID_ARGUMENT;
    return velmora::CheckVolume(letter);
}

VELMORA_API int udefrag_start_job(char volume_letter, int job_type, int, int cluster_map_size,
                                  udefrag_progress_callback progress, udefrag_terminator terminator, void* context)
{
    if (g_users.load() <= 0) return UDEFRAG_E_NOT_INITIALISED;
    const char letter = DriveLetter(volume_letter);
    if (!letter || (job_type != UDEFRAG_ANALYSIS_JOB && job_type != UDEFRAG_OPTIMIZE_JOB) || cluster_map_size < 0 ||
        cluster_map_size > kMaxMapCells)
        return UDEFRAG_E_INVALID_ARGUMENT;
    JobSlot slot;
    if (!slot.taken) return UDEFRAG_E_BUSY;
    const int check = velmora::CheckVolume(letter);
    if (check < 0) return check;
    std::unique_ptr<velmora::Volume> volume;
    const int open = velmora::OpenVolume(letter, volume);
    if (open < 0) return open;
    velmora::JobCallbacks callbacks;
    callbacks.progress = progress;
    callbacks.terminator = terminator;
    callbacks.context = context;
    return velmora::RunJob(*volume, job_type, cluster_map_size, callbacks);
}

VELMORA_API void udefrag_unload_library(void)
{
    int users = g_users.load();
    while (users > 0 && !g_users.compare_exchange_weak(users, users - 1)) {}
}

}  // extern "C"
