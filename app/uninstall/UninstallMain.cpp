// QuorvelUninstall.exe [--keep-user-data]: run by the installer just before it removes the program's files. It
// removes what the program made outside its installed files: the start-with-Windows entry and its batch file,
// and the scheduled scans that start this copy of the program. Without --keep-user-data it also removes the
// backups and data the program wrote beside itself, and its settings.
#include <windows.h>
#include <initguid.h>
#include <mstask.h>

#include <string>
#include <vector>

#include <Common.h>

#include "QGuards.h"
#include "QPathText.h"
#include "UninstallRules.h"

namespace {

const wchar_t kRunKey[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
const wchar_t kRunValue[] = L"Quorvel.exe";
const wchar_t kSettingsKey[] = L"Software\\Quorvel";

void RemoveStartWithWindows(const std::wstring& folder)
{
    std::wstring command;
    if (SBRegGetStringValueW(HKEY_LOCAL_MACHINE, kRunKey, kRunValue, command) && uninstall::IsInFolder(command, folder))
        SBRegDeleteValueW(HKEY_LOCAL_MACHINE, kRunKey, kRunValue);
    ::DeleteFileW((folder + L"laucher.bat").c_str());
}

// Scheduled tasks whose program is this copy's Quorvel.exe.
void RemoveScheduledScans(const std::wstring& folder)
{
    qcore::ComInit com;
    qcore::ComPtr<ITaskScheduler> scheduler;
    if (FAILED(::CoCreateInstance(CLSID_CTaskScheduler, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskScheduler,
                                  scheduler.PutVoid())))
        return;
    qcore::ComPtr<IEnumWorkItems> items;
    if (FAILED(scheduler->Enum(items.Put())) || !items) return;
    std::vector<std::wstring> ours;
    for (;;) {
        LPWSTR* names = nullptr;
        ULONG fetched = 0;
        if (items->Next(16, &names, &fetched) != S_OK && fetched == 0) break;
        for (ULONG i = 0; i < fetched; ++i) {
            std::wstring name = names[i];
            ::CoTaskMemFree(names[i]);
            if (name.size() > 4 && qpath::EndsWithNoCase(name, L".job")) name.resize(name.size() - 4);
            qcore::ComPtr<ITask> task;
            LPWSTR program = nullptr;
            if (SUCCEEDED(scheduler->Activate(name.c_str(), IID_ITask, reinterpret_cast<IUnknown**>(task.Put()))) &&
                SUCCEEDED(task->GetApplicationName(&program)) && program) {
                if (uninstall::IsInFolder(program, folder) &&
                    qpath::EqualsNoCase(program + folder.size(), L"Quorvel.exe"))
                    ours.push_back(name);
                ::CoTaskMemFree(program);
            }
        }
        ::CoTaskMemFree(names);
        if (fetched == 0) break;
    }
    for (const std::wstring& name : ours) scheduler->Delete(name.c_str());
}

void RemoveUserData(const std::wstring& folder)
{
    for (const wchar_t* name : uninstall::kUserDataFolders) SBDeleteDirectoryW((folder + name).c_str());
    SBRegDeleteTreeW(HKEY_LOCAL_MACHINE, kSettingsKey);
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    bool keepUserData = false;
    for (int i = 1; i < argc; ++i) keepUserData = keepUserData || _wcsicmp(argv[i], L"--keep-user-data") == 0;
    const std::wstring folder = SBGetAppPathW();
    if (folder.empty()) return 1;
    RemoveStartWithWindows(folder);
    RemoveScheduledScans(folder);
    if (!keepUserData) RemoveUserData(folder);
    return 0;
}
