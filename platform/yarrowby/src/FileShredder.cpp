#include "Yarrowby/FileShredder.h"

#include <algorithm>

#include "Progress.h"
#include "ShredFile.h"
#include "ToolWorker.h"

namespace {

// The buffer of one write: large enough that the disk, not the calls, sets the pace.
const size_t kShredBufferBytes = 4u << 20;

// Counts the bytes of the run for the progress ticks; a file's share is complete once it is dealt with.
class ShredProgress : public ShredSink {
public:
    ShredProgress(YarrowbyToolWorker& worker, unsigned long long total, unsigned ticks)
        : m_worker(worker), m_ticks(total, ticks)
    {
    }
    void BeginFile(unsigned long long share)
    {
        m_fileStart = m_done;
        m_fileShare = share;
    }
    void EndFile()
    {
        m_done = m_fileStart + m_fileShare;
        Send(m_ticks.AdvanceTo(m_done));
    }
    void Written(unsigned long long bytes) override
    {
        // A file that grew meanwhile moves the bar no further than its share.
        m_done = std::min(m_done + bytes, m_fileStart + m_fileShare);
        Send(m_ticks.AdvanceTo(m_done));
    }
    bool StopRequested() const override { return m_worker.StopRequested(); }
    void Finish() { Send(m_ticks.Rest()); }

private:
    void Send(unsigned count)
    {
        for (unsigned i = 0; i < count; ++i) m_worker.SendProgress(0, 0);
    }

    YarrowbyToolWorker& m_worker;
    ProgressTicks m_ticks;
    unsigned long long m_done = 0, m_fileStart = 0, m_fileShare = 0;
};

void ShredJob(const std::vector<std::wstring>& files, int passes, YarrowbyToolWorker& worker, JobOutcome& outcome)
{
    // Each file's share of the bar is the bytes its passes write; a run of empty files shares it by count.
    std::vector<unsigned long long> shares;
    unsigned long long total = 0;
    for (const std::wstring& file : files) {
        shares.push_back(ShredLength(file) * unsigned(passes));
        total += shares.back();
    }
    if (total == 0) {
        for (unsigned long long& share : shares) share = 1;
        total = shares.size();
    }
    ShredProgress progress(worker, total, unsigned(passes) * 100u);
    ShredPattern pattern(kShredBufferBytes);
    if (!pattern.Valid()) {
        outcome.FailMany(unsigned(files.size()), ERROR_NOT_ENOUGH_MEMORY);
        return;
    }
    for (size_t i = 0; i < files.size(); ++i) {
        if (worker.StopRequested()) {
            outcome.FailMany(unsigned(files.size() - i), ERROR_CANCELLED);
            return;
        }
        progress.BeginFile(shares[i]);
        if (const DWORD error = ShredFile(files[i], passes, pattern, progress)) outcome.Fail(error);
        progress.EndFile();
    }
    progress.Finish();
}

}  // namespace

CFileShredder::CFileShredder() : m_worker(new YarrowbyToolWorker(WM_SHRED_PROGRESS, WM_SHRED_DONE)) {}

CFileShredder::~CFileShredder() { delete m_worker; }

void CFileShredder::SetParentWnd(HWND hWnd) { m_worker->SetWindow(hWnd); }

bool CFileShredder::ShredderFiles(const std::vector<std::wstring>& files, int passes)
{
    if (passes < kMinPasses) passes = kMinPasses;
    if (passes > kMaxPasses) passes = kMaxPasses;
    return m_worker->Start(
        [files, passes](YarrowbyToolWorker& worker, JobOutcome& outcome) { ShredJob(files, passes, worker, outcome); });
}

void CFileShredder::Stop() { m_worker->Stop(); }

bool CFileShredder::IsRunning() const { return m_worker->Running(); }
