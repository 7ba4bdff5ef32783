// The life of one one-click run without any window: which parts have ended, the weighted progress, and the
// abort and repair states.
// Everything here is called on the page's interface thread only.
#pragma once

#include "ScanCounts.h"

namespace OneClick {

// Share of the progress bar each part adds when it ends: registry, traces, junk 25 each, shortcuts 15,
// file associations 10 (sum 100).
int PartWeight(Part part);

enum class RunState {
    Idle,       // no run yet
    Scanning,   // the five parts run
    Aborting,   // stop requested; workers are still ending
    Ended,      // scan finished or aborted, or repair over: results can be repaired
    Repairing,  // the repair worker runs
};

// How the page ends a run: which text the progress label shows.
enum class RunEnd { ScanFinished, ScanAborted, RepairFinished, RepairIncomplete };

class QuickScanRun {
public:
    // A new scan: every part pending, progress 0. Refused (false) while workers of an earlier run may live.
    bool Start();
    // A part reports its end. Counted once per part and only while scanning; true when it was the last one, the
    // scan then counts as ended.
    bool PartDone(Part part);
    // Abort requested: true only for the first request of a scanning run.
    bool BeginAbort();
    // Every worker of the aborted scan has ended: true when that ends the run.
    bool AbortFinished();
    // Repair of the found results: only from an ended run.
    bool BeginRepair();
    // A repair stage done (moves the bar; the order does not matter).
    void RepairPartDone(Part part);
    // The repair worker has ended: true when that ends the run. `remaining` is what is still there.
    bool RepairFinished(const ScanCounts& remaining);

    RunState State() const { return m_state; }
    // True once workers should stop reporting: anything but a scan in progress.
    bool Stopping() const { return m_state != RunState::Scanning; }
    // True while what the scan libraries report still counts: during the scan and while its stop is on the way.
    bool TakesScanReports() const { return m_state == RunState::Scanning || m_state == RunState::Aborting; }
    bool IsBusy() const
    {
        return m_state == RunState::Scanning || m_state == RunState::Aborting || m_state == RunState::Repairing;
    }
    // 0 to 100: the weights of the parts done in the current scan or repair.
    int Progress() const;
    bool IsPartDone(Part part) const { return (m_doneMask >> part) & 1u; }
    // How the last run ended (meaningful once the state is Ended).
    RunEnd LastEnd() const { return m_lastEnd; }

private:
    RunState m_state = RunState::Idle;
    unsigned m_doneMask = 0;
    RunEnd m_lastEnd = RunEnd::ScanFinished;
};

// Dictionary key of the progress text that ends a run.
const wchar_t* RunEndTextKey(RunEnd end);

}  // namespace OneClick
