// The time of the last one-click scan as stored in the settings: local time, "%Y-%m-%d_%H:%M:%S".
#pragma once

#include <ctime>
#include <string>

namespace OneClick {

// Formats a local time.
std::wstring FormatScanTime(const std::tm& local);

// Reads "%d-%d-%d_%d:%d:%d" into a local time. False unless all six fields are there, within their ranges (year
// 1900 or later, month 1-12, day 1-31, hour 0-23, minute 0-59, second 0-59) and the date and time exist locally
// (no 30 February, no hour skipped by a clock change).
bool ParseScanTime(const std::wstring& text, std::tm* local, std::time_t* when);

// The seven-day rule: due when there is no readable score or time, the text is shorter than 10 characters or
// not a valid time, or whole days since then (truncated) are 7 or more. A time in the future counts as recent.
bool IsQuickScanDue(bool hasScore, bool hasTime, const std::wstring& timeText, std::time_t now);

}  // namespace OneClick
