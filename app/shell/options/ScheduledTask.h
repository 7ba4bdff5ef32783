// Scheduled starts of the program in the Task Scheduler (the 1.0 interfaces, present from Windows XP on).
// CScheduledTask creates one work item; DeleteScheduledTask and ListScheduledTasks remove and read them.
// Every call takes an optional scheduler; without one the system's is created.
#pragma once

#include <QMfc.h>
#include <QGuards.h>

#include <mstask.h>

#include <string>
#include <vector>

class CScheduledTask {
public:
    CScheduledTask() = default;
    ~CScheduledTask() = default;
    CScheduledTask(const CScheduledTask&) = delete;
    CScheduledTask& operator=(const CScheduledTask&) = delete;

    // Creates the work item `name` (an existing one of that name is replaced) that starts the application with
    // the members below. E_FAIL when the start year is 0, the name is empty or the application is not set;
    // otherwise the result of the first failing call, or S_OK.
    HRESULT Save(LPCWSTR name, WORD weekdays, int interval, ITaskScheduler* scheduler = nullptr);

    SYSTEMTIME m_timeStart = {};
    SYSTEMTIME m_timeEnd = {};  // year 0: no end date
    int m_nScheduleType = 1;    // Schedule::Type
    CString m_strAppName, m_strParameters, m_strWorkDir, m_strComment;

private:
    qcore::ComInit m_com;  // COM is usable for the object's life
};

namespace Schedule {

// The system's task scheduler, or an error.
HRESULT CreateScheduler(qcore::ComPtr<ITaskScheduler>& scheduler);

// Deletes the work item (a trailing ".job" is dropped). E_FAIL for an empty name.
HRESULT DeleteScheduledTask(const std::wstring& name, ITaskScheduler* scheduler = nullptr);

// One work item that starts the application.
struct ScheduledTaskRow {
    std::wstring fileName;  // as the scheduler lists it ("name.job")
    TASK_TRIGGER trigger;   // its first trigger
    bool disabled;          // switched off in the scheduler: it does not run
};

// The work items whose application is exactly `application` and that have a trigger, in the scheduler's order.
// Items that cannot be read are skipped. Fails only when the scheduler cannot be reached or enumerated.
HRESULT ListScheduledTasks(const std::wstring& application, std::vector<ScheduledTaskRow>& rows,
                           ITaskScheduler* scheduler = nullptr);

}  // namespace Schedule
