#include "ScheduleRules.h"

#include <cwchar>

#include "QPathText.h"

namespace Schedule {

int TypeForPosition(int position)
{
    switch (position) {
    case 0: return kDaily;
    case 1: return kWeekly;
    case 2: return kMonthly;
    default: return kOnce;
    }
}

int IntervalLimit(int position)
{
    switch (position) {
    case 0: return 365;
    case 1: return 56;
    case 2: return 31;
    default: return 0;
    }
}

int ClampInterval(int value, int position)
{
    int limit = IntervalLimit(position);
    if (limit == 0) return value;
    if (value < 1) return 1;
    return value > limit ? limit : value;
}

WORD WeekdayBit(int boxIndex)
{
    static const WORD bits[kWeekdayBoxCount] = {TASK_MONDAY, TASK_TUESDAY,  TASK_WEDNESDAY, TASK_THURSDAY,
                                                TASK_FRIDAY, TASK_SATURDAY, TASK_SUNDAY};
    return boxIndex >= 0 && boxIndex < kWeekdayBoxCount ? bits[boxIndex] : 0;
}

TASK_TRIGGER BuildTrigger(const SYSTEMTIME& start, const SYSTEMTIME& end, int type, WORD weekdays, int interval)
{
    TASK_TRIGGER t = {};
    t.cbTriggerSize = sizeof(TASK_TRIGGER);
    t.wBeginYear = start.wYear;
    t.wBeginMonth = start.wMonth;
    t.wBeginDay = start.wDay;
    t.wStartHour = start.wHour;
    t.wStartMinute = start.wMinute;
    if (end.wYear != 0) {
        t.wEndYear = end.wYear;
        t.wEndMonth = end.wMonth;
        t.wEndDay = end.wDay;
        t.rgFlags |= TASK_TRIGGER_FLAG_HAS_END_DATE;
    }
    switch (type) {
    case kDaily:
        t.TriggerType = TASK_TIME_TRIGGER_DAILY;
        t.Type.Daily.DaysInterval = WORD(ClampInterval(interval, 0));
        break;
    case kWeekly:
        t.TriggerType = TASK_TIME_TRIGGER_WEEKLY;
        t.Type.Weekly.WeeksInterval = WORD(ClampInterval(interval, 1));
        t.Type.Weekly.rgfDaysOfTheWeek = weekdays;
        break;
    case kMonthly:
        // A day past 31 would shift the bit out of the mask (or past the type's width).
        t.TriggerType = TASK_TIME_TRIGGER_MONTHLYDATE;
        t.Type.MonthlyDate.rgfDays = 1u << (ClampInterval(interval, 2) - 1);
        t.Type.MonthlyDate.rgfMonths = 0xFFF;
        break;
    default: t.TriggerType = TASK_TIME_TRIGGER_ONCE; break;
    }
    return t;
}

std::wstring TaskNameForTime(const SYSTEMTIME& time)
{
    wchar_t name[32];
    _snwprintf(name, 32, L"%02u-%02u-%04u_%02u%02u%02u", time.wMonth, time.wDay, time.wYear, time.wHour, time.wMinute,
               time.wSecond);
    name[31] = L'\0';
    return name;
}

std::wstring TaskNameFromFileName(const std::wstring& fileName)
{
    const size_t n = fileName.size();
    if (qpath::EndsWithNoCase(fileName, L".job")) return fileName.substr(0, n - 4);
    return fileName;
}

const wchar_t* TriggerTypeKey(TASK_TRIGGER_TYPE type)
{
    switch (type) {
    case TASK_TIME_TRIGGER_DAILY: return L"IDS_SHCEDULING_DAILY";
    case TASK_TIME_TRIGGER_WEEKLY: return L"IDS_SHCEDULING_WEEKLY";
    case TASK_TIME_TRIGGER_MONTHLYDATE: return L"IDS_SHCEDULING_MONTHLY";
    default: return nullptr;
    }
}

std::wstring StartTimeText(const TASK_TRIGGER& trigger)
{
    wchar_t text[16];
    _snwprintf(text, 16, L"%02u:%02u:00", trigger.wStartHour, trigger.wStartMinute);
    text[15] = L'\0';
    return text;
}

namespace {

// Days since 1970-01-01 of a date of the proleptic Gregorian calendar, and back.
long long DaysFromCivil(int y, unsigned m, unsigned d)
{
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = unsigned(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void CivilFromDays(long long z, int& y, unsigned& m, unsigned& d)
{
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = unsigned(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = doy - (153 * mp + 2) / 5 + 1;
    m = mp < 10 ? mp + 3 : mp - 9;
    y = int(yoe + era * 400 + (m <= 2));
}

int DayOfWeek(long long days)  // 0 Sunday; 1970-01-01 was a Thursday
{
    return int(((days % 7) + 11) % 7);
}

long long FloorDiv(long long a, long long b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }

}  // namespace

bool NextRunTime(const TASK_TRIGGER& t, const SYSTEMTIME& now, SYSTEMTIME& next)
{
    if (t.wBeginMonth < 1 || t.wBeginMonth > 12 || t.wBeginDay < 1 || t.wBeginDay > 31) return false;
    const long long begin = DaysFromCivil(t.wBeginYear, t.wBeginMonth, t.wBeginDay);
    const long long today = DaysFromCivil(now.wYear, now.wMonth, now.wDay);
    const int nowMinute = now.wHour * 60 + now.wMinute, runMinute = t.wStartHour * 60 + t.wStartMinute;
    const bool hasEnd = (t.rgFlags & TASK_TRIGGER_FLAG_HAS_END_DATE) != 0;
    const long long end = hasEnd ? DaysFromCivil(t.wEndYear, t.wEndMonth, t.wEndDay) : 0;

    auto runsOn = [&](long long day) {
        int y;
        unsigned m, d;
        switch (t.TriggerType) {
        case TASK_TIME_TRIGGER_ONCE: return day == begin;
        case TASK_TIME_TRIGGER_DAILY: {
            long long every = t.Type.Daily.DaysInterval ? t.Type.Daily.DaysInterval : 1;
            return (day - begin) % every == 0;
        }
        case TASK_TIME_TRIGGER_WEEKLY: {
            long long every = t.Type.Weekly.WeeksInterval ? t.Type.Weekly.WeeksInterval : 1;
            long long week = FloorDiv(day + 4, 7) - FloorDiv(begin + 4, 7);  // Sunday-based weeks
            return (t.Type.Weekly.rgfDaysOfTheWeek & (1u << DayOfWeek(day))) != 0 && week % every == 0;
        }
        case TASK_TIME_TRIGGER_MONTHLYDATE:
            CivilFromDays(day, y, m, d);
            return (t.Type.MonthlyDate.rgfDays & (1u << (d - 1))) != 0 &&
                   (t.Type.MonthlyDate.rgfMonths & (1u << (m - 1))) != 0;
        default: return false;
        }
    };
    if (t.TriggerType == TASK_TIME_TRIGGER_WEEKLY && (t.Type.Weekly.rgfDaysOfTheWeek & 0x7F) == 0) return false;

    // The longest gap between runs is a daily interval of 365 days or a weekly one of 56 weeks.
    const long long first = begin > today ? begin : today;
    for (long long day = first; day <= first + 800; ++day) {
        if (hasEnd && day > end) return false;
        if (day == today && runMinute <= nowMinute) continue;
        if (!runsOn(day)) continue;
        int y;
        unsigned m, d;
        CivilFromDays(day, y, m, d);
        next = SYSTEMTIME{};
        next.wYear = WORD(y);
        next.wMonth = WORD(m);
        next.wDay = WORD(d);
        next.wDayOfWeek = WORD(DayOfWeek(day));
        next.wHour = t.wStartHour;
        next.wMinute = t.wStartMinute;
        return true;
    }
    return false;
}

std::wstring NextRunText(const SYSTEMTIME& time)
{
    wchar_t text[32];
    _snwprintf(text, 32, L"%04u-%02u-%02u %02u:%02u", time.wYear, time.wMonth, time.wDay, time.wHour, time.wMinute);
    text[31] = L'\0';
    return text;
}

}  // namespace Schedule
