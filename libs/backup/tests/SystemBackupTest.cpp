// Restore points against Wine's own WMI and srclient, and against a scripted srclient for what Wine cannot do.
#include "SystemBackup.h"

#include <gtest/gtest.h>

#include <objbase.h>

namespace {
std::wstring FakeSrClientPath()
{
    wchar_t exe[MAX_PATH];
    DWORD n = GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::wstring path(exe, n);
    return path.substr(0, path.find_last_of(L'\\') + 1) + L"fakes\\srclient.dll";
}

// The scripted srclient, loaded by full path so the library's load by name finds it; unloaded again after.
struct FakeSrClient {
    HMODULE module = nullptr;
    void(WINAPI* script)(DWORD) = nullptr;
    int(WINAPI* setCalls)(int, DWORD*, INT64*, wchar_t*, int) = nullptr;
    int(WINAPI* removed)(int) = nullptr;

    FakeSrClient()
    {
        module = LoadLibraryW(FakeSrClientPath().c_str());
        if (!module) return;
        script = reinterpret_cast<decltype(script)>(reinterpret_cast<void*>(GetProcAddress(module, "FakeSrScript")));
        setCalls =
            reinterpret_cast<decltype(setCalls)>(reinterpret_cast<void*>(GetProcAddress(module, "FakeSrSetCalls")));
        removed = reinterpret_cast<decltype(removed)>(reinterpret_cast<void*>(GetProcAddress(module, "FakeSrRemoved")));
    }
    ~FakeSrClient()
    {
        if (module) FreeLibrary(module);
    }
};
}  // namespace

TEST(SystemBackup, WmiTimesAndRequests)
{
    const std::pair<const wchar_t*, const wchar_t*> times[] = {
        {L"20100309143015.123456-480", L"2010-03-09 14:30:15"},
        {L"20261207235300.000000+000", L"2026-12-07 23:53:00"},
        {L"", L""},
        {L"2010", L""},
        {L"2010030914301x.000000", L""},
    };
    for (const auto& t : times) EXPECT_EQ(Coldrith::FormatWmiTime(t.first), t.second) << t.first;

    RESTOREPOINTINFOW request;
    Coldrith::MakeRestorePointRequest(std::wstring(300, L'd'), request);
    EXPECT_EQ(request.dwEventType, static_cast<DWORD>(BEGIN_SYSTEM_CHANGE));
    EXPECT_EQ(request.dwRestorePtType, static_cast<DWORD>(APPLICATION_INSTALL));
    EXPECT_EQ(request.llSequenceNumber, 0);
    EXPECT_EQ(std::wstring(request.szDescription), std::wstring(255, L'd'));
}

TEST(SystemBackup, WinesAnswersAreReportedAsTheyAre)
{
    ASSERT_EQ(GetModuleHandleW(L"srclient.dll"), nullptr) << "the scripted srclient is still loaded";
    // The caller's thread keeps its own apartment (a page's interface thread is single-threaded).
    ASSERT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_OK);
    {
        Coldrith::CSystemBackup backup;
        backup.Init();
        // Wine's SystemRestore class answers with one row whose texts are empty.
        std::vector<Coldrith::CSystemBackup::RestorePointItem> items;
        EXPECT_TRUE(backup.EnumRestorPoint(items));
        for (const auto& item : items) EXPECT_EQ(item.time, L"") << "a row without a creation time";
        EXPECT_TRUE(backup.EnableSystemRestore());
        // Wine describes Restore without input parameters: the roll-back cannot be asked for, and is not
        // reported as scheduled.
        EXPECT_FALSE(backup.RestorePoint(0));
        EXPECT_FALSE(backup.IsRestoreScheduled());
        // Wine's SRSetRestorePointW fails without a status: reported as a failure, not as created.
        EXPECT_TRUE(backup.AddRestorePoint(L"from the test"));
        EXPECT_NE(backup.GetLastStatus(), static_cast<DWORD>(ERROR_SUCCESS));
        backup.UnInit();
    }
    // Still single-threaded and initialised exactly once: the object changed nothing on this thread.
    EXPECT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_FALSE);
    CoUninitialize();
    CoUninitialize();
    EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK) << "the test thread left without an apartment";
    CoUninitialize();
}

TEST(SystemBackup, CreateAndRemoveThroughTheSystemCalls)
{
    FakeSrClient fake;
    ASSERT_NE(fake.module, nullptr);
    ASSERT_TRUE(fake.script && fake.setCalls && fake.removed);
    Coldrith::CSystemBackup backup;

    fake.script(0);
    EXPECT_TRUE(backup.AddRestorePoint(L"before the update"));
    EXPECT_EQ(backup.GetLastStatus(), static_cast<DWORD>(ERROR_SUCCESS));
    DWORD event = 0;
    INT64 sequence = -1;
    wchar_t text[300] = L"";
    ASSERT_EQ(fake.setCalls(0, &event, &sequence, text, 300), 2) << "begin, then end";
    EXPECT_EQ(event, static_cast<DWORD>(BEGIN_SYSTEM_CHANGE));
    EXPECT_EQ(sequence, 0);
    EXPECT_STREQ(text, L"before the update");
    fake.setCalls(1, &event, &sequence, text, 300);
    EXPECT_EQ(event, static_cast<DWORD>(END_SYSTEM_CHANGE));
    EXPECT_EQ(sequence, 42) << "the end names the point the begin created";

    const DWORD statuses[] = {ERROR_SERVICE_DISABLED, ERROR_ACCESS_DENIED};
    for (DWORD status : statuses) {
        fake.script(status);
        EXPECT_TRUE(backup.AddRestorePoint(L"refused"));
        EXPECT_EQ(backup.GetLastStatus(), status);
        EXPECT_EQ(fake.setCalls(0, &event, &sequence, text, 300), 1) << "no end after a failed begin";
    }

    fake.script(0);
    EXPECT_TRUE(backup.RemoveRestorePoint(7));
    EXPECT_EQ(fake.removed(0), 7);
    fake.script(ERROR_INVALID_DATA);
    EXPECT_FALSE(backup.RemoveRestorePoint(8));
    EXPECT_EQ(backup.GetLastStatus(), static_cast<DWORD>(ERROR_INVALID_DATA));
}
