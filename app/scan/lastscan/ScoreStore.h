// The result of the last one-click scan, kept in the settings (Settings::LastScan...): written by the scan step at
// the end of every scan, abort and repair, read by the home page.
#pragma once

#include <windows.h>

#include <string>

#include "ScanCounts.h"

namespace OneClick {

struct StoredScore {
    bool hasScore = false;  // LastScanScore read
    int score = 0;
    bool hasTime = false;  // LastScanTime read
    std::wstring timeText;
    ScanCounts counts;  // a count that cannot be read is 0
};

// Reads the values; what is missing is marked or left 0.
StoredScore ReadStoredScore();

// Writes the five counts, LastScanTime and LastScanScore in that order. Every value is attempted; returns 0 when
// all were written, else the first failure status.
LONG WriteStoredScore(const ScanCounts& counts, const std::wstring& timeText, int score);

// What the last WriteStoredScore of this process returned (0 before the first write).
LONG LastStoreStatus();

}  // namespace OneClick
