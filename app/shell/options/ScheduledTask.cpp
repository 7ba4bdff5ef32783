#include "ScheduledTask.h"

#include <lmcons.h>

#include "ScheduleRules.h"

namespace {

const HRESULT kFileExists = HRESULT_FROM_WIN32(ERROR_FILE_EXISTS);
const HRESULT kSharingViolation = HRESULT_FROM_WIN32(ERROR_SHARING_VIOLATION);

// The scheduler's service opens a job file to read it each time the file changes: a delete or save in that moment
// meets a sharing violation. Such a call is tried again for a short while before its failure counts.
template <typename Call>
HRESULT WhileTheServiceReads(Call call)
{
    const DWORD kRetryMs = 50, kGiveUpMs = 3000;
    HRESULT hr = call();
    for (DWORD waited = 0; hr == kSharingViolation && waited < kGiveUpMs; waited += kRetryMs) {
        ::Sleep(kRetryMs);
        hr = call();
    }
    return hr;
}

HRESULT DeleteWorkItem(ITaskScheduler* scheduler, LPCWSTR name)
{
    return WhileTheServiceReads([&] { return scheduler->Delete(name); });
}

HRESULT UseOrCreate(ITaskScheduler* given, qcore::ComPtr<ITaskScheduler>& owned, ITaskScheduler*& scheduler)
{
    scheduler = given;
    if (scheduler) return S_OK;
    HRESULT hr = Schedule::CreateScheduler(owned);
    scheduler = owned.Get();
    return hr;
}

// "COMPUTER\user" of the caller.
std::wstring AccountName()
{
    wchar_t computer[300] = L"", user[300] = L"";
    DWORD computerLength = 300, userLength = 300;
    ::GetComputerNameW(computer, &computerLength);
    ::GetUserNameW(user, &userLength);
    return std::wstring(computer) + L"\\" + user;
}

// A new work item of that name; an existing one is deleted first (the system refuses to make a second).
HRESULT NewWorkItem(ITaskScheduler* scheduler, LPCWSTR name, qcore::ComPtr<ITask>& task)
{
    HRESULT hr = scheduler->NewWorkItem(name, CLSID_CTask, IID_ITask, reinterpret_cast<IUnknown**>(task.Put()));
    if (hr != kFileExists) return hr;
    hr = DeleteWorkItem(scheduler, name);
    if (FAILED(hr)) return hr;
    return scheduler->NewWorkItem(name, CLSID_CTask, IID_ITask, reinterpret_cast<IUnknown**>(task.Put()));
}

}  // namespace

HRESULT CScheduledTask::Save(LPCWSTR name, WORD weekdays, int interval, ITaskScheduler* given)
{
    if (m_timeStart.wYear == 0 || !name || !*name || m_strAppName.IsEmpty()) return E_FAIL;
    qcore::ComPtr<ITaskScheduler> owned;
    ITaskScheduler* scheduler = nullptr;
    HRESULT hr = UseOrCreate(given, owned, scheduler);
    if (FAILED(hr)) return hr;

    qcore::ComPtr<ITask> task;
    if (FAILED(hr = NewWorkItem(scheduler, name, task))) return hr;
    if (FAILED(hr = task->SetApplicationName(m_strAppName))) return hr;
    if (!m_strParameters.IsEmpty() && FAILED(hr = task->SetParameters(m_strParameters))) return hr;
    if (!m_strWorkDir.IsEmpty() && FAILED(hr = task->SetWorkingDirectory(m_strWorkDir))) return hr;
    if (!m_strComment.IsEmpty() && FAILED(hr = task->SetComment(m_strComment))) return hr;

    DWORD flags =
        TASK_FLAG_RUN_ONLY_IF_LOGGED_ON | TASK_FLAG_KILL_IF_GOING_ON_BATTERIES | TASK_FLAG_DONT_START_IF_ON_BATTERIES;
    if (!(::GetVersion() & 0x80000000u)) flags |= TASK_FLAG_INTERACTIVE;  // NT family
    if (FAILED(hr = task->SetFlags(flags))) return hr;
    if (FAILED(hr = task->SetAccountInformation(AccountName().c_str(), nullptr))) return hr;

    qcore::ComPtr<ITaskTrigger> trigger;
    WORD triggerIndex = 0;
    if (FAILED(hr = task->CreateTrigger(&triggerIndex, trigger.Put()))) return hr;
    TASK_TRIGGER definition = Schedule::BuildTrigger(m_timeStart, m_timeEnd, m_nScheduleType, weekdays, interval);
    if (FAILED(hr = trigger->SetTrigger(&definition))) return hr;

    qcore::ComPtr<IPersistFile> file;
    if (FAILED(hr = task->QueryInterface(IID_IPersistFile, file.PutVoid()))) return hr;
    auto save = [&] { return file->Save(nullptr, FALSE); };
    hr = WhileTheServiceReads(save);
    if (HRESULT_CODE(hr) == ERROR_FILE_EXISTS) {
        DeleteWorkItem(scheduler, name);
        hr = WhileTheServiceReads(save);
    }
    return hr;
}

namespace Schedule {

HRESULT CreateScheduler(qcore::ComPtr<ITaskScheduler>& scheduler)
{
    return ::CoCreateInstance(CLSID_CTaskScheduler, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskScheduler,
                              scheduler.PutVoid());
}

HRESULT DeleteScheduledTask(const std::wstring& name, ITaskScheduler* given)
{
    std::wstring task = TaskNameFromFileName(name);
    if (task.empty()) return E_FAIL;
    qcore::ComInit com;
    qcore::ComPtr<ITaskScheduler> owned;
    ITaskScheduler* scheduler = nullptr;
    HRESULT hr = UseOrCreate(given, owned, scheduler);
    if (FAILED(hr)) return hr;
    return DeleteWorkItem(scheduler, task.c_str());
}

namespace {

// Reads one work item; false when it is not ours or cannot be read.
bool ReadRow(ITaskScheduler* scheduler, const wchar_t* fileName, const std::wstring& application, ScheduledTaskRow& row)
{
    // The scheduler lists file names; Activate wants the task's own name (Wine refuses the ".job").
    std::wstring name = TaskNameFromFileName(fileName);
    qcore::ComPtr<ITask> task;
    if (FAILED(scheduler->Activate(name.c_str(), IID_ITask, reinterpret_cast<IUnknown**>(task.Put())))) return false;
    LPWSTR app = nullptr;
    if (FAILED(task->GetApplicationName(&app))) return false;
    bool ours = app && application == app;
    ::CoTaskMemFree(app);
    WORD triggers = 0;
    if (!ours || FAILED(task->GetTriggerCount(&triggers)) || triggers == 0) return false;
    qcore::ComPtr<ITaskTrigger> trigger;
    if (FAILED(task->GetTrigger(0, trigger.Put()))) return false;
    row = ScheduledTaskRow{fileName, {}, false};
    row.trigger.cbTriggerSize = sizeof(TASK_TRIGGER);
    if (FAILED(trigger->GetTrigger(&row.trigger))) return false;
    DWORD flags = 0;
    row.disabled = SUCCEEDED(task->GetFlags(&flags)) && (flags & TASK_FLAG_DISABLED);
    return true;
}

}  // namespace

HRESULT ListScheduledTasks(const std::wstring& application, std::vector<ScheduledTaskRow>& rows, ITaskScheduler* given)
{
    rows.clear();
    qcore::ComInit com;
    qcore::ComPtr<ITaskScheduler> owned;
    ITaskScheduler* scheduler = nullptr;
    HRESULT hr = UseOrCreate(given, owned, scheduler);
    if (FAILED(hr)) return hr;
    qcore::ComPtr<IEnumWorkItems> items;
    if (FAILED(hr = scheduler->Enum(items.Put()))) return hr;
    for (;;) {
        LPWSTR* names = nullptr;
        ULONG fetched = 0;
        hr = items->Next(5, &names, &fetched);
        if (FAILED(hr)) return hr;
        for (ULONG i = fetched; i-- > 0;) {  // each batch from its last name to its first
            ScheduledTaskRow row;
            if (ReadRow(scheduler, names[i], application, row)) rows.push_back(row);
            ::CoTaskMemFree(names[i]);
        }
        ::CoTaskMemFree(names);
        if (hr != S_OK || fetched == 0) break;  // S_FALSE: the last batch
    }
    return S_OK;
}

}  // namespace Schedule
