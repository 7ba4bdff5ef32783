// The work-item files of the prefix's Task Scheduler, which the tests compare with what the scheduler reports.
#pragma once

#include <windows.h>

#include <QGuards.h>

#include <set>
#include <string>

// C:\windows\Tasks\ of the prefix.
inline std::wstring TasksFolder()
{
    wchar_t windows[MAX_PATH];
    ::GetWindowsDirectoryW(windows, MAX_PATH);
    return std::wstring(windows) + L"\\Tasks\\";
}

// The names of the .job files there.
inline std::set<std::wstring> JobFiles()
{
    std::set<std::wstring> names;
    WIN32_FIND_DATAW fd;
    qcore::UniqueFind find(::FindFirstFileW((TasksFolder() + L"*.job").c_str(), &fd));
    if (!find) return names;
    do names.insert(fd.cFileName);
    while (::FindNextFileW(find.Get(), &fd));
    return names;
}
