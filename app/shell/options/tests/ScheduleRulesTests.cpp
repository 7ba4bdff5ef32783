// The rules of the scheduled scans without the scheduler: triggers built from a schedule, interval limits,
// task names and the list's texts.
#include <gtest/gtest.h>

#include "options/ScheduleRules.h"

using namespace Schedule;

namespace {

SYSTEMTIME Time(WORD year, WORD month, WORD day, WORD hour = 0, WORD minute = 0, WORD second = 0)
{
    SYSTEMTIME t = {};
    t.wYear = year;
    t.wMonth = month;
    t.wDay = day;
    t.wHour = hour;
    t.wMinute = minute;
    t.wSecond = second;
    return t;
}

TEST(ScheduleRules, TriggersFollowTheTypeIntervalAndWeekdays)
{
    const SYSTEMTIME start = Time(2026, 3, 14, 21, 45, 33), noEnd = {};
    TASK_TRIGGER daily = BuildTrigger(start, noEnd, kDaily, 0x7F, 3);
    EXPECT_EQ(sizeof(TASK_TRIGGER), daily.cbTriggerSize);
    EXPECT_EQ(48u, sizeof(TASK_TRIGGER));
    EXPECT_EQ(TASK_TIME_TRIGGER_DAILY, daily.TriggerType);
    EXPECT_EQ(3, daily.Type.Daily.DaysInterval);
    EXPECT_EQ(2026, daily.wBeginYear);
    EXPECT_EQ(3, daily.wBeginMonth);
    EXPECT_EQ(14, daily.wBeginDay);
    EXPECT_EQ(21, daily.wStartHour);
    EXPECT_EQ(45, daily.wStartMinute);
    EXPECT_EQ(0u, daily.rgFlags & TASK_TRIGGER_FLAG_HAS_END_DATE);

    TASK_TRIGGER weekly = BuildTrigger(start, noEnd, kWeekly, 0, 2);
    EXPECT_EQ(TASK_TIME_TRIGGER_WEEKLY, weekly.TriggerType);
    EXPECT_EQ(2, weekly.Type.Weekly.WeeksInterval);
    EXPECT_EQ(0, weekly.Type.Weekly.rgfDaysOfTheWeek);  // no weekday ticked: saved as it is
    EXPECT_EQ(TASK_MONDAY | TASK_SUNDAY,
              BuildTrigger(start, noEnd, kWeekly, TASK_MONDAY | TASK_SUNDAY, 1).Type.Weekly.rgfDaysOfTheWeek);

    TASK_TRIGGER monthly = BuildTrigger(start, noEnd, kMonthly, 0, 31);
    EXPECT_EQ(TASK_TIME_TRIGGER_MONTHLYDATE, monthly.TriggerType);
    EXPECT_EQ(1u << 30, monthly.Type.MonthlyDate.rgfDays);
    EXPECT_EQ(0xFFF, monthly.Type.MonthlyDate.rgfMonths);
    EXPECT_EQ(1u, BuildTrigger(start, noEnd, kMonthly, 0, 1).Type.MonthlyDate.rgfDays);

    // Intervals out of the type's range are clamped, never shifted past the mask.
    EXPECT_EQ(1u << 30, BuildTrigger(start, noEnd, kMonthly, 0, 365).Type.MonthlyDate.rgfDays);
    EXPECT_EQ(1u, BuildTrigger(start, noEnd, kMonthly, 0, 0).Type.MonthlyDate.rgfDays);
    EXPECT_EQ(56, BuildTrigger(start, noEnd, kWeekly, 0, 365).Type.Weekly.WeeksInterval);
    EXPECT_EQ(365, BuildTrigger(start, noEnd, kDaily, 0, 9999).Type.Daily.DaysInterval);

    EXPECT_EQ(TASK_TIME_TRIGGER_ONCE, BuildTrigger(start, noEnd, 9, 0, 1).TriggerType);
    EXPECT_EQ(TASK_TIME_TRIGGER_ONCE, BuildTrigger(start, noEnd, kOnce, 0, 1).TriggerType);

    TASK_TRIGGER ending = BuildTrigger(start, Time(2027, 1, 2), kDaily, 0, 1);
    EXPECT_NE(0u, ending.rgFlags & TASK_TRIGGER_FLAG_HAS_END_DATE);
    EXPECT_EQ(2027, ending.wEndYear);
    EXPECT_EQ(1, ending.wEndMonth);
    EXPECT_EQ(2, ending.wEndDay);
}

TEST(ScheduleRules, IntervalsAreClampedToTheSelectedType)
{
    struct Case {
        int value, position, expected;
    } cases[] = {
        {400, 0, 365}, {0, 0, 1},   {-5, 0, 1},   {365, 0, 365},  {57, 1, 56}, {56, 1, 56},
        {32, 2, 31},   {31, 2, 31}, {365, 2, 31}, {400, -1, 400}, {0, -1, 0},  // no type selected: left alone
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, ClampInterval(c.value, c.position)) << c.value << " " << c.position;
    EXPECT_EQ(kDaily, TypeForPosition(0));
    EXPECT_EQ(kWeekly, TypeForPosition(1));
    EXPECT_EQ(kMonthly, TypeForPosition(2));
    EXPECT_EQ(kOnce, TypeForPosition(-1));
    WORD all = 0;
    for (int i = 0; i < kWeekdayBoxCount; ++i) all |= WeekdayBit(i);
    EXPECT_EQ(0x7F, all);
    EXPECT_EQ(TASK_MONDAY, WeekdayBit(0));
    EXPECT_EQ(TASK_SATURDAY, WeekdayBit(5));
    EXPECT_EQ(TASK_SUNDAY, WeekdayBit(6));
}

TEST(ScheduleRules, NamesAndListTexts)
{
    EXPECT_EQ(L"03-04-2026_090705", TaskNameForTime(Time(2026, 3, 4, 9, 7, 5)));
    EXPECT_EQ(L"03-04-2026_090705", TaskNameFromFileName(L"03-04-2026_090705.job"));
    EXPECT_EQ(L"Name", TaskNameFromFileName(L"Name.JOB"));
    EXPECT_EQ(L"no extension", TaskNameFromFileName(L"no extension"));
    EXPECT_EQ(L"", TaskNameFromFileName(L".job"));
    EXPECT_EQ(L"job", TaskNameFromFileName(L"job"));

    TASK_TRIGGER t = BuildTrigger(Time(2026, 1, 1, 7, 5, 59), SYSTEMTIME{}, kDaily, 0, 1);
    EXPECT_EQ(L"07:05:00", StartTimeText(t));
    EXPECT_EQ(L"2026-12-31 23:59", NextRunText(Time(2026, 12, 31, 23, 59, 10)));
    EXPECT_STREQ(L"IDS_SHCEDULING_DAILY", TriggerTypeKey(TASK_TIME_TRIGGER_DAILY));
    EXPECT_STREQ(L"IDS_SHCEDULING_WEEKLY", TriggerTypeKey(TASK_TIME_TRIGGER_WEEKLY));
    EXPECT_STREQ(L"IDS_SHCEDULING_MONTHLY", TriggerTypeKey(TASK_TIME_TRIGGER_MONTHLYDATE));
    EXPECT_EQ(nullptr, TriggerTypeKey(TASK_TIME_TRIGGER_ONCE));
    EXPECT_EQ(nullptr, TriggerTypeKey(TASK_TIME_TRIGGER_MONTHLYDOW));
}

TEST(ScheduleRules, TheNextRunFollowsTheTrigger)
{
    const SYSTEMTIME now = Time(2026, 3, 14, 10, 0);  // a Saturday
    const SYSTEMTIME noEnd = {};
    struct Case {
        const char* what;
        SYSTEMTIME begin, end;
        int type;
        WORD weekdays;
        int interval;
        const wchar_t* next;  // null: no next run
    } cases[] = {
        {"daily, today's time passed", Time(2026, 3, 14, 9, 0), noEnd, kDaily, 0, 1, L"2026-03-15 09:00"},
        {"daily, later today", Time(2026, 3, 14, 11, 0), noEnd, kDaily, 0, 1, L"2026-03-14 11:00"},
        {"daily, this very minute has passed", Time(2026, 3, 14, 10, 0), noEnd, kDaily, 0, 1, L"2026-03-15 10:00"},
        {"every third day from the 10th", Time(2026, 3, 10, 9, 0), noEnd, kDaily, 0, 3, L"2026-03-16 09:00"},
        {"begins next month", Time(2026, 4, 1, 8, 0), noEnd, kDaily, 0, 7, L"2026-04-01 08:00"},
        {"weekly on Monday", Time(2026, 3, 14, 8, 0), noEnd, kWeekly, TASK_MONDAY, 1, L"2026-03-16 08:00"},
        {"every 2nd week from the week of Mar 1", Time(2026, 3, 2, 8, 0), noEnd, kWeekly, TASK_MONDAY, 2,
         L"2026-03-16 08:00"},
        {"every 2nd week from the week of Mar 8", Time(2026, 3, 9, 8, 0), noEnd, kWeekly, TASK_MONDAY, 2,
         L"2026-03-23 08:00"},
        {"weekly, Saturday later today", Time(2026, 3, 1, 12, 0), noEnd, kWeekly, TASK_SATURDAY | TASK_SUNDAY, 1,
         L"2026-03-14 12:00"},
        {"weekly on no weekday", Time(2026, 3, 14, 8, 0), noEnd, kWeekly, 0, 1, nullptr},
        {"monthly on the 31st", Time(2026, 3, 14, 8, 0), noEnd, kMonthly, 0, 31, L"2026-03-31 08:00"},
        {"monthly on today, passed", Time(2026, 3, 14, 9, 0), noEnd, kMonthly, 0, 14, L"2026-04-14 09:00"},
        {"monthly on today, later", Time(2026, 3, 14, 11, 0), noEnd, kMonthly, 0, 14, L"2026-03-14 11:00"},
        {"ends tomorrow", Time(2026, 3, 1, 9, 0), Time(2026, 3, 15), kDaily, 0, 1, L"2026-03-15 09:00"},
        {"ended today", Time(2026, 3, 1, 9, 0), Time(2026, 3, 14), kDaily, 0, 1, nullptr},
        {"once, later today", Time(2026, 3, 14, 11, 0), noEnd, kOnce, 0, 1, L"2026-03-14 11:00"},
        {"once, passed", Time(2026, 3, 14, 9, 0), noEnd, kOnce, 0, 1, nullptr},
    };
    for (const Case& c : cases) {
        SYSTEMTIME next;
        bool runs = NextRunTime(BuildTrigger(c.begin, c.end, c.type, c.weekdays, c.interval), now, next);
        EXPECT_EQ(c.next != nullptr, runs) << c.what;
        if (runs && c.next) {
            EXPECT_EQ(c.next, NextRunText(next)) << c.what;
        }
    }
    // Day 31 skips the months without one.
    SYSTEMTIME next;
    ASSERT_TRUE(
        NextRunTime(BuildTrigger(Time(2026, 1, 1, 8, 0), noEnd, kMonthly, 0, 31), Time(2026, 4, 2, 0, 0), next));
    EXPECT_EQ(L"2026-05-31 08:00", NextRunText(next));
    ASSERT_TRUE(
        NextRunTime(BuildTrigger(Time(2026, 1, 1, 8, 0), noEnd, kMonthly, 0, 29), Time(2026, 2, 2, 0, 0), next));
    EXPECT_EQ(L"2026-03-29 08:00", NextRunText(next));
}

}  // namespace
