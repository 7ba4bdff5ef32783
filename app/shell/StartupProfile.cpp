#include "StartupProfile.h"

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace Shell {

namespace {

struct Step {
    const wchar_t* name;
    double ms;
};

struct Profile {
    bool on = false;
    bool written = false;
    std::wstring file;
    ULONGLONG created = 0;  // 100-ns units
    std::vector<Step> steps;

    Profile()
    {
        wchar_t path[MAX_PATH] = L"";
        DWORD n = ::GetEnvironmentVariableW(L"QUORVEL_STARTUP_PROFILE", path, MAX_PATH);
        if (n == 0 || n >= MAX_PATH) return;
        FILETIME creation, exit, kernel, user;
        if (!::GetProcessTimes(::GetCurrentProcess(), &creation, &exit, &kernel, &user)) return;
        created = (static_cast<ULONGLONG>(creation.dwHighDateTime) << 32) | creation.dwLowDateTime;
        file = path;
        on = true;
    }
};

Profile& TheProfile()
{
    static Profile profile;
    return profile;
}

}  // namespace

void StartupProfile::Mark(const wchar_t* step)
{
    Profile& p = TheProfile();
    if (!p.on || p.written) return;
    FILETIME now;
    ::GetSystemTimeAsFileTime(&now);
    ULONGLONG t = (static_cast<ULONGLONG>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    p.steps.push_back({step, (static_cast<double>(t) - static_cast<double>(p.created)) / 10000.0});
}

void StartupProfile::Write()
{
    Profile& p = TheProfile();
    if (!p.on || p.written) return;
    p.written = true;
    FILE* out = _wfopen(p.file.c_str(), L"a");
    if (!out) return;
    double before = 0;
    for (const Step& s : p.steps) {
        std::fprintf(out, "%8.1f ms  %+8.1f ms  %ls\n", s.ms, s.ms - before, s.name);
        before = s.ms;
    }
    std::fprintf(out, "\n");
    std::fclose(out);
}

}  // namespace Shell
