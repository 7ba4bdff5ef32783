#include "ScoreStore.h"

#include <atomic>

#include "Settings.h"

namespace OneClick {

static_assert(kPartCount == Settings::kLastScanCounts, "a stored count for every category");

namespace {
std::atomic<LONG> s_lastStatus{0};
}  // namespace

StoredScore ReadStoredScore()
{
    StoredScore stored;
    DWORD score = 0;
    if (Settings::LastScanScore(score)) {
        stored.hasScore = true;
        stored.score = int(score);
    }
    stored.hasTime = Settings::LastScanTime(stored.timeText);
    for (int i = 0; i < kPartCount; ++i) stored.counts.n[i] = int(Settings::LastScanCount(i));
    return stored;
}

LONG WriteStoredScore(const ScanCounts& counts, const std::wstring& timeText, int score)
{
    LONG first = 0;
    auto keep = [&first](LONG status) {
        if (first == 0) first = status;
    };
    for (int i = 0; i < kPartCount; ++i) keep(Settings::SetLastScanCount(i, DWORD(counts.n[i] < 0 ? 0 : counts.n[i])));
    keep(Settings::SetLastScanTime(timeText));
    keep(Settings::SetLastScanScore(DWORD(score)));
    s_lastStatus = first;
    return first;
}

LONG LastStoreStatus() { return s_lastStatus; }

}  // namespace OneClick
