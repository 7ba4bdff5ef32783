// Scheduled scans in the prefix's Task Scheduler (Wine's mstask): what is saved, listed, replaced and removed,
// checked against the job files in C:\windows\Tasks. A scheduler that behaves like Windows for an existing name
// (NewWorkItem refuses it) wraps the real one to cover that road too.
#include <gtest/gtest.h>

#include <set>

#include "QTestSupport.h"
#include "TaskFiles.h"
#include "options/ScheduleRules.h"
#include "options/ScheduledTask.h"

using namespace Schedule;

namespace {

const wchar_t kApp[] = L"C:\\Quorvel\\Quorvel.exe";

SYSTEMTIME Today(WORD hour, WORD minute)
{
    SYSTEMTIME t;
    ::GetLocalTime(&t);
    t.wHour = hour;
    t.wMinute = minute;
    t.wSecond = t.wMilliseconds = 0;
    return t;
}

SYSTEMTIME Tomorrow()
{
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    FILETIME ft;
    ::SystemTimeToFileTime(&now, &ft);
    ULARGE_INTEGER v{{ft.dwLowDateTime, ft.dwHighDateTime}};
    v.QuadPart += 24ull * 3600 * 10000000;
    ft = FILETIME{v.LowPart, v.HighPart};
    SYSTEMTIME t;
    ::FileTimeToSystemTime(&ft, &t);
    t.wHour = t.wMinute = t.wSecond = t.wMilliseconds = 0;
    return t;
}

HRESULT SaveTask(const wchar_t* name, int type, WORD weekdays, int interval, WORD hour = 0, WORD minute = 0,
                 const wchar_t* app = kApp, ITaskScheduler* scheduler = nullptr)
{
    CScheduledTask task;
    task.m_timeStart = Today(hour, minute);
    task.m_nScheduleType = type;
    task.m_strAppName = app;
    task.m_strParameters = L"--boot";
    task.m_strWorkDir = L"C:\\Quorvel\\";
    return task.Save(name, weekdays, interval, scheduler);
}

const ScheduledTaskRow* Find(const std::vector<ScheduledTaskRow>& rows, const std::wstring& fileName)
{
    for (const ScheduledTaskRow& row : rows)
        if (row.fileName == fileName) return &row;
    return nullptr;
}

class ScheduledTasks : public ::testing::Test {
protected:
    void SetUp() override { Clear(); }
    void TearDown() override { Clear(); }
    static void Clear()
    {
        for (const std::wstring& file : JobFiles()) DeleteScheduledTask(file);
    }
    qcore::ComInit m_com;
};

TEST_F(ScheduledTasks, DailyWeeklyAndMonthlyAreListedWithTheirNextRun)
{
    SYSTEMTIME tomorrow = Tomorrow();
    WORD tomorrowBit = WORD(1u << tomorrow.wDayOfWeek);  // TASK_SUNDAY is bit 0, as wDayOfWeek 0 is Sunday
    ASSERT_EQ(S_OK, SaveTask(L"daily", kDaily, 0, 1));
    ASSERT_EQ(S_OK, SaveTask(L"weekly", kWeekly, tomorrowBit, 1, 0, 0));
    ASSERT_EQ(S_OK, SaveTask(L"monthly", kMonthly, 0, tomorrow.wDay, 0, 0));
    ASSERT_EQ(S_OK, SaveTask(L"later", kDaily, 0, 2, 23, 59));
    EXPECT_EQ((std::set<std::wstring>{L"daily.job", L"weekly.job", L"monthly.job", L"later.job"}), JobFiles());

    std::vector<ScheduledTaskRow> rows;
    ASSERT_EQ(S_OK, ListScheduledTasks(kApp, rows));
    ASSERT_EQ(4u, rows.size());
    // All three start at 00:00 today and run tomorrow next, as the scheduler read them back.
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    for (const wchar_t* name : {L"daily.job", L"weekly.job", L"monthly.job"}) {
        const ScheduledTaskRow* row = Find(rows, name);
        ASSERT_NE(nullptr, row) << name;
        EXPECT_FALSE(row->disabled);
        SYSTEMTIME next;
        ASSERT_TRUE(NextRunTime(row->trigger, now, next)) << name;
        EXPECT_EQ(NextRunText(tomorrow), NextRunText(next)) << name;
        EXPECT_EQ(L"00:00:00", StartTimeText(row->trigger));
    }
    EXPECT_EQ(TASK_TIME_TRIGGER_DAILY, Find(rows, L"daily.job")->trigger.TriggerType);
    EXPECT_EQ(TASK_TIME_TRIGGER_WEEKLY, Find(rows, L"weekly.job")->trigger.TriggerType);
    EXPECT_EQ(tomorrowBit, Find(rows, L"weekly.job")->trigger.Type.Weekly.rgfDaysOfTheWeek);
    EXPECT_EQ(TASK_TIME_TRIGGER_MONTHLYDATE, Find(rows, L"monthly.job")->trigger.TriggerType);
    EXPECT_EQ(L"23:59:00", StartTimeText(Find(rows, L"later.job")->trigger));
    EXPECT_EQ(2, Find(rows, L"later.job")->trigger.Type.Daily.DaysInterval);

    // The work item starts the program in boot mode from its folder.
    qcore::ComPtr<ITaskScheduler> scheduler;
    ASSERT_EQ(S_OK, CreateScheduler(scheduler));
    qcore::ComPtr<ITask> task;
    ASSERT_EQ(S_OK, scheduler->Activate(L"daily", IID_ITask, reinterpret_cast<IUnknown**>(task.Put())));
    LPWSTR text = nullptr;
    ASSERT_EQ(S_OK, task->GetParameters(&text));
    EXPECT_STREQ(L"--boot", text);
    ::CoTaskMemFree(text);
    ASSERT_EQ(S_OK, task->GetWorkingDirectory(&text));
    EXPECT_STREQ(L"C:\\Quorvel\\", text);
    ::CoTaskMemFree(text);
    DWORD flags = 0;
    ASSERT_EQ(S_OK, task->GetFlags(&flags));
    EXPECT_EQ(DWORD(TASK_FLAG_RUN_ONLY_IF_LOGGED_ON | TASK_FLAG_KILL_IF_GOING_ON_BATTERIES |
                    TASK_FLAG_DONT_START_IF_ON_BATTERIES | TASK_FLAG_INTERACTIVE),
              flags);
}

TEST_F(ScheduledTasks, OtherProgramsTasksAreNeitherListedNorRemoved)
{
    ASSERT_EQ(S_OK, SaveTask(L"ours", kDaily, 0, 1));
    ASSERT_EQ(S_OK, SaveTask(L"foreign", kDaily, 0, 1, 0, 0, L"C:\\Other\\other.exe"));
    ASSERT_EQ(S_OK, SaveTask(L"near miss", kDaily, 0, 1, 0, 0, L"C:\\quorvel\\quorvel.exe"));  // case counts
    std::vector<ScheduledTaskRow> rows;
    ASSERT_EQ(S_OK, ListScheduledTasks(kApp, rows));
    ASSERT_EQ(1u, rows.size());
    EXPECT_EQ(L"ours.job", rows[0].fileName);

    for (const ScheduledTaskRow& row : rows) EXPECT_EQ(S_OK, DeleteScheduledTask(row.fileName));
    EXPECT_EQ((std::set<std::wstring>{L"foreign.job", L"near miss.job"}), JobFiles());
    ASSERT_EQ(S_OK, ListScheduledTasks(kApp, rows));
    EXPECT_TRUE(rows.empty());
}

TEST_F(ScheduledTasks, TheSameNameTwiceLeavesOneTaskWithTheSecondSchedule)
{
    ASSERT_EQ(S_OK, SaveTask(L"12-10-2026_101010", kDaily, 0, 1, 8, 0));
    ASSERT_EQ(S_OK, SaveTask(L"12-10-2026_101010", kWeekly, TASK_FRIDAY, 3, 9, 30));
    EXPECT_EQ((std::set<std::wstring>{L"12-10-2026_101010.job"}), JobFiles());
    std::vector<ScheduledTaskRow> rows;
    ASSERT_EQ(S_OK, ListScheduledTasks(kApp, rows));
    ASSERT_EQ(1u, rows.size());
    EXPECT_EQ(TASK_TIME_TRIGGER_WEEKLY, rows[0].trigger.TriggerType);
    EXPECT_EQ(L"09:30:00", StartTimeText(rows[0].trigger));
}

// The Task Scheduler of Windows refuses NewWorkItem for a name that exists (Wine's accepts it).
class WindowsLikeScheduler : public ITaskScheduler {
public:
    explicit WindowsLikeScheduler(ITaskScheduler* real) : m_real(real) {}
    int refusals = 0, deletes = 0;  // deletes: the ones that succeeded

    HRESULT WINAPI QueryInterface(REFIID riid, void** out) override
    {
        if (riid == IID_IUnknown || riid == IID_ITaskScheduler) {
            *out = this;
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG WINAPI AddRef() override { return 2; }
    ULONG WINAPI Release() override { return 1; }
    HRESULT WINAPI SetTargetComputer(LPCWSTR c) override { return m_real->SetTargetComputer(c); }
    HRESULT WINAPI GetTargetComputer(LPWSTR* c) override { return m_real->GetTargetComputer(c); }
    HRESULT WINAPI Enum(IEnumWorkItems** e) override { return m_real->Enum(e); }
    HRESULT WINAPI Activate(LPCWSTR n, REFIID r, IUnknown** u) override { return m_real->Activate(n, r, u); }
    HRESULT WINAPI Delete(LPCWSTR n) override
    {
        HRESULT hr = m_real->Delete(n);  // may be tried again while the service reads the file
        if (SUCCEEDED(hr)) ++deletes;
        return hr;
    }
    HRESULT WINAPI NewWorkItem(LPCWSTR n, REFCLSID c, REFIID r, IUnknown** u) override
    {
        if (::GetFileAttributesW((TasksFolder() + n + L".job").c_str()) != INVALID_FILE_ATTRIBUTES) {
            ++refusals;
            return HRESULT_FROM_WIN32(ERROR_FILE_EXISTS);
        }
        return m_real->NewWorkItem(n, c, r, u);
    }
    HRESULT WINAPI AddWorkItem(LPCWSTR n, IScheduledWorkItem* i) override { return m_real->AddWorkItem(n, i); }
    HRESULT WINAPI IsOfType(LPCWSTR n, REFIID r) override { return m_real->IsOfType(n, r); }

private:
    ITaskScheduler* m_real;
};

TEST_F(ScheduledTasks, AnExistingNameIsReplacedWhereTheSchedulerRefusesASecond)
{
    qcore::ComPtr<ITaskScheduler> real;
    ASSERT_EQ(S_OK, CreateScheduler(real));
    WindowsLikeScheduler windows(real.Get());
    ASSERT_EQ(S_OK, SaveTask(L"collision", kDaily, 0, 1, 8, 0, kApp, &windows));
    EXPECT_EQ(0, windows.refusals);
    ASSERT_EQ(S_OK, SaveTask(L"collision", kMonthly, 0, 12, 9, 15, kApp, &windows));
    EXPECT_EQ(1, windows.refusals);
    EXPECT_EQ(1, windows.deletes);
    EXPECT_EQ((std::set<std::wstring>{L"collision.job"}), JobFiles());
    std::vector<ScheduledTaskRow> rows;
    ASSERT_EQ(S_OK, ListScheduledTasks(kApp, rows, &windows));
    ASSERT_EQ(1u, rows.size());
    EXPECT_EQ(TASK_TIME_TRIGGER_MONTHLYDATE, rows[0].trigger.TriggerType);
    EXPECT_EQ(1u << 11, rows[0].trigger.Type.MonthlyDate.rgfDays);
}

TEST_F(ScheduledTasks, IncompleteSchedulesAndMissingNamesFail)
{
    EXPECT_EQ(E_FAIL, SaveTask(L"", kDaily, 0, 1));
    EXPECT_EQ(E_FAIL, SaveTask(L"no app", kDaily, 0, 1, 0, 0, L""));
    CScheduledTask noStart;
    noStart.m_strAppName = kApp;
    EXPECT_EQ(E_FAIL, noStart.Save(L"no start", 0, 1));
    EXPECT_EQ(E_FAIL, noStart.Save(nullptr, 0, 1));
    EXPECT_TRUE(JobFiles().empty());

    EXPECT_EQ(E_FAIL, DeleteScheduledTask(L""));
    EXPECT_EQ(E_FAIL, DeleteScheduledTask(L".job"));
    EXPECT_TRUE(FAILED(DeleteScheduledTask(L"never made.job")));
}

}  // namespace
