#include <gtest/gtest.h>

#include "ScanTime.h"

using namespace OneClick;

namespace {

std::time_t LocalTime(int y, int mo, int d, int h, int mi, int s)
{
    std::tm t = {};
    t.tm_year = y - 1900;
    t.tm_mon = mo - 1;
    t.tm_mday = d;
    t.tm_hour = h;
    t.tm_min = mi;
    t.tm_sec = s;
    t.tm_isdst = -1;
    return std::mktime(&t);
}

std::wstring Text(std::time_t when)
{
    std::tm local = *std::localtime(&when);
    return FormatScanTime(local);
}

}  // namespace

TEST(ScanTime, FormatsAndReadsBack)
{
    std::tm t = {};
    t.tm_year = 2026 - 1900;
    t.tm_mon = 0;
    t.tm_mday = 5;
    t.tm_hour = 7;
    t.tm_min = 3;
    t.tm_sec = 9;
    EXPECT_EQ(L"2026-01-05_07:03:09", FormatScanTime(t));

    std::tm back = {};
    std::time_t when = 0;
    ASSERT_TRUE(ParseScanTime(L"2026-01-05_07:03:09", &back, &when));
    EXPECT_EQ(2026 - 1900, back.tm_year);
    EXPECT_EQ(0, back.tm_mon);
    EXPECT_EQ(5, back.tm_mday);
    EXPECT_EQ(LocalTime(2026, 1, 5, 7, 3, 9), when);
    EXPECT_TRUE(ParseScanTime(L"2026-1-5_7:3:9", nullptr, nullptr));  // fields need no leading zeros
}

TEST(ScanTime, RejectsImpossibleTimes)
{
    const wchar_t* bad[] = {
        L"2026-13-01_10:00:00",  // month 13
        L"2026-00-01_10:00:00",
        L"2026-12-01_24:00:00",  // hour 24
        L"2026-12-01_10:60:00",  // minute 60
        L"2026-12-01_10:00:60",
        L"2026-02-30_10:00:00",  // no such day
        L"2026-12-32_10:00:00",
        L"1899-12-31_10:00:00",
        L"2026-12-01",  // three fields only
        L"garbage",
        L"",
    };
    for (const wchar_t* text : bad) EXPECT_FALSE(ParseScanTime(text, nullptr, nullptr)) << text;
}

TEST(ScanTime, SevenDayRule)
{
    const std::time_t now = LocalTime(2026, 12, 9, 12, 0, 0);
    struct Case {
        bool hasScore, hasTime;
        std::wstring text;
        bool due;
        const char* what;
    } cases[] = {
        {true, true, Text(now - 6 * 86400 - 23 * 3600), false, "6 days 23 hours ago"},
        {true, true, Text(now - 7 * 86400), true, "exactly 7 days ago"},
        {true, true, Text(now - 30 * 86400), true, "a month ago"},
        {true, true, Text(now), false, "just now"},
        {true, true, Text(now + 400 * 86400), false, "in the future"},
        {false, true, Text(now), true, "no score"},
        {true, false, L"", true, "no time"},
        {true, true, L"2026-12-9", true, "shorter than 10 characters"},
        {true, true, L"2026-13-01_10:00:00", true, "month 13"},
        {true, true, L"2026-12-08  10", true, "three fields"},
    };
    for (const Case& c : cases) EXPECT_EQ(c.due, IsQuickScanDue(c.hasScore, c.hasTime, c.text, now)) << c.what;
}
