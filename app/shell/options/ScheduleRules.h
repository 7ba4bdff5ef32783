// Rules of the scheduled scans without windows or COM calls: the schedule types of the dialog, the interval
// limits, the Task Scheduler trigger built from a schedule, and the texts of the schedule list.
#pragma once

#include <windows.h>
#include <mstask.h>

#include <string>

namespace Schedule {

// Schedule types as stored by CScheduledTask.
enum Type { kOnce = 1, kDaily = 2, kWeekly = 3, kMonthly = 4 };

// The type list of the dialog holds daily, weekly, monthly at positions 0, 1, 2 (-1: no selection).
int TypeForPosition(int position);
// The largest interval of the type at that position (days 365, weeks 56, day of month 31); 0 without a type.
int IntervalLimit(int position);
// The interval kept within [1, limit] of the type at that position; unchanged without a type.
int ClampInterval(int value, int position);

// The weekday check boxes of the dialog (ids 23473..23479, Monday first) and their trigger bits.
constexpr int kWeekdayBoxCount = 7;
WORD WeekdayBit(int boxIndex);

// The trigger of a schedule starting at `start` (date, hour and minute), ending at `end` (year 0: no end date).
// Daily runs every `interval` days, weekly every `interval` weeks on `weekdays`, monthly on day `interval` of
// every month (clamped to 1..31); any other type runs once.
TASK_TRIGGER BuildTrigger(const SYSTEMTIME& start, const SYSTEMTIME& end, int type, WORD weekdays, int interval);

// A new task's name from the time of its creation: "%m-%d-%Y_%H%M%S".
std::wstring TaskNameForTime(const SYSTEMTIME& time);
// The name under which the scheduler knows a work item file: without a trailing ".job" (any case).
std::wstring TaskNameFromFileName(const std::wstring& fileName);

// The dictionary key of the list's type column for a trigger type, or null for types the list does not name.
const wchar_t* TriggerTypeKey(TASK_TRIGGER_TYPE type);
// "%H:%M:%S" of the trigger's start (the seconds are always 0).
std::wstring StartTimeText(const TASK_TRIGGER& trigger);
// The first run of the trigger after `now` (local times); false when it runs no more (once and passed, past its
// end date, or weekly on no weekday). Weeks of a weekly trigger start on Sunday, counted from its begin date.
bool NextRunTime(const TASK_TRIGGER& trigger, const SYSTEMTIME& now, SYSTEMTIME& next);
// "YYYY-MM-DD HH:MM" of a next run.
std::wstring NextRunText(const SYSTEMTIME& time);

}  // namespace Schedule
