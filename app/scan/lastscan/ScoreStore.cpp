#include "ScoreStore.h"

#include <Common.h>

#include <atomic>

namespace OneClick {

const wchar_t kRegScoreKey[] = L"Software\\Quorvel\\Param\\RegScore";

namespace {
const wchar_t kScoreValue[] = L"LastScanScore";
const wchar_t kTimeValue[] = L"LastScanTime";
std::atomic<LONG> s_lastStatus{0};
}  // namespace

const wchar_t* CountValueName(Part part) {
    static const wchar_t* const kNames[kPartCount] = {
        L"RegCleanErrorCount", L"ScanEvidenceErrorCount", L"ScanJunkFileErrorCount",
        L"ScanShortcutErrorCount", L"ScanFileAssociateErrorCount"};
    return part >= 0 && part < kPartCount ? kNames[part] : L"";
}

StoredScore ReadStoredScore() {
    StoredScore stored;
    DWORD value = 0;
    if (SBRegGetDWORDValueW(HKEY_LOCAL_MACHINE, kRegScoreKey, kScoreValue, value)) {
        stored.hasScore = true;
        stored.score = int(value);
    }
    stored.hasTime = SBRegGetStringValueW(HKEY_LOCAL_MACHINE, kRegScoreKey, kTimeValue, stored.timeText);
    for (int i = 0; i < kPartCount; ++i) {
        value = 0;
        stored.counts.n[i] = SBRegGetDWORDValueW(HKEY_LOCAL_MACHINE, kRegScoreKey, CountValueName(Part(i)), value)
                                 ? int(value) : 0;
    }
    return stored;
}

LONG WriteStoredScore(const ScanCounts& counts, const std::wstring& timeText, int score) {
    LONG first = 0;
    auto keep = [&first](LONG status) {
        if (first == 0) first = status;
    };
    for (int i = 0; i < kPartCount; ++i)
        keep(SBRegSetDWORDValueW(HKEY_LOCAL_MACHINE, kRegScoreKey, CountValueName(Part(i)),
                                 DWORD(counts.n[i] < 0 ? 0 : counts.n[i])));
    keep(SBRegSetStringValueW(HKEY_LOCAL_MACHINE, kRegScoreKey, kTimeValue, timeText.c_str()));
    keep(SBRegSetDWORDValueW(HKEY_LOCAL_MACHINE, kRegScoreKey, kScoreValue, DWORD(score)));
    s_lastStatus = first;
    return first;
}

LONG LastStoreStatus() { return s_lastStatus; }

}  // namespace OneClick
