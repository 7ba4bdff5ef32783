#include "QuickScanRun.h"

namespace OneClick {

namespace {
const unsigned kAllParts = (1u << kPartCount) - 1;
}

int PartWeight(Part part)
{
    static const int kWeights[kPartCount] = {25, 25, 25, 15, 10};
    return part >= 0 && part < kPartCount ? kWeights[part] : 0;
}

bool QuickScanRun::Start()
{
    if (IsBusy()) return false;
    m_state = RunState::Scanning;
    m_doneMask = 0;
    return true;
}

bool QuickScanRun::PartDone(Part part)
{
    if (m_state != RunState::Scanning || part < 0 || part >= kPartCount) return false;
    m_doneMask |= 1u << part;
    if (m_doneMask != kAllParts) return false;
    m_state = RunState::Ended;
    m_lastEnd = RunEnd::ScanFinished;
    return true;
}

bool QuickScanRun::BeginAbort()
{
    if (m_state != RunState::Scanning) return false;
    m_state = RunState::Aborting;
    return true;
}

bool QuickScanRun::AbortFinished()
{
    if (m_state != RunState::Aborting) return false;
    m_state = RunState::Ended;
    m_lastEnd = RunEnd::ScanAborted;
    return true;
}

bool QuickScanRun::BeginRepair()
{
    if (m_state != RunState::Ended) return false;
    m_state = RunState::Repairing;
    m_doneMask = 0;
    return true;
}

void QuickScanRun::RepairPartDone(Part part)
{
    if (m_state == RunState::Repairing && part >= 0 && part < kPartCount) m_doneMask |= 1u << part;
}

bool QuickScanRun::RepairFinished(const ScanCounts& remaining)
{
    if (m_state != RunState::Repairing) return false;
    m_state = RunState::Ended;
    m_doneMask = kAllParts;
    m_lastEnd = remaining.Total() == 0 ? RunEnd::RepairFinished : RunEnd::RepairIncomplete;
    return true;
}

int QuickScanRun::Progress() const
{
    int sum = 0;
    for (int i = 0; i < kPartCount; ++i)
        if ((m_doneMask >> i) & 1u) sum += PartWeight(Part(i));
    return sum;
}

const wchar_t* RunEndTextKey(RunEnd end)
{
    switch (end) {
    case RunEnd::ScanAborted: return L"IDS_START_TXT_SCAN_FINISH_STATUS_ABORT";
    case RunEnd::RepairFinished: return L"IDS_SCORE_TXT_QUICK_REPAIR_FINISHED";
    case RunEnd::RepairIncomplete: return L"IDS_SCORE_TXT_QUICK_REPAIR_INCOMPLETE";
    case RunEnd::ScanFinished: break;
    }
    return L"IDS_SCORE_TXT_QUICK_SCAN_FINISHED";
}

}  // namespace OneClick
