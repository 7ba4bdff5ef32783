#include "ScanTime.h"

#include <cwchar>

namespace OneClick {

std::wstring FormatScanTime(const std::tm& local)
{
    wchar_t text[64] = {};
    std::swprintf(text, sizeof(text) / sizeof(text[0]), L"%04d-%02d-%02d_%02d:%02d:%02d", local.tm_year + 1900,
                  local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
    return text;
}

bool ParseScanTime(const std::wstring& text, std::tm* local, std::time_t* when)
{
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    if (std::swscanf(text.c_str(), L"%d-%d-%d_%d:%d:%d", &year, &month, &day, &hour, &minute, &second) != 6)
        return false;
    if (year < 1900 || month < 1 || month > 12 || day < 1 || day > 31 || hour < 0 || hour > 23 || minute < 0 ||
        minute > 59 || second < 0 || second > 59)
        return false;
    std::tm t = {};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_sec = second;
    t.tm_isdst = -1;
    const std::time_t stamp = std::mktime(&t);
    if (stamp == std::time_t(-1)) return false;
    // mktime normalises what does not exist (30 February, a skipped hour): such a time reads back differently.
    if (t.tm_year != year - 1900 || t.tm_mon != month - 1 || t.tm_mday != day || t.tm_hour != hour ||
        t.tm_min != minute || t.tm_sec != second)
        return false;
    if (local) *local = t;
    if (when) *when = stamp;
    return true;
}

bool IsQuickScanDue(bool hasScore, bool hasTime, const std::wstring& timeText, std::time_t now)
{
    if (!hasScore || !hasTime || timeText.size() < 10) return true;
    std::time_t stored = 0;
    if (!ParseScanTime(timeText, nullptr, &stored)) return true;
    const long long days = (static_cast<long long>(now) - static_cast<long long>(stored)) / 86400;
    return days >= 7;
}

}  // namespace OneClick
