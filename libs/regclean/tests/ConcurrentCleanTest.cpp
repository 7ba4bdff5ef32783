// Two engine objects cleaning on two threads while a third scans: the shared failed-entry list and the backup
// database hold up, and every outcome is as if the cleans ran alone.
#include <process.h>

#include <gtest/gtest.h>

#include <atomic>

#include "CategoryFixtures.h"
#include "TestUtil.h"

using namespace bxtest;

namespace {

const int kRounds = 4;

bool OnlyMru(REG_SCAN_TYPE type, void*) { return type == RST_OPENSAVEMRU; }

struct Worker {
    std::wstring prefix;
    int cleaned = 0, failed = 0, errors = 0;
};

std::wstring Key(const std::wstring& prefix, int round, const wchar_t* kind)
{
    return std::wstring(kOpenSaveMru) + prefix + std::to_wstring(round) + kind + L"\\";
}

unsigned __stdcall CleanRounds(void* arg)
{
    Worker& w = *static_cast<Worker*>(arg);
    for (int round = 0; round < kRounds; ++round) {
        const std::wstring ok = Key(w.prefix, round, L"ok"), ro = Key(w.prefix, round, L"ro");
        CRegistryData engine;
        engine.Scan(&OnlyMru, nullptr, nullptr, nullptr);
        int selected = 0;
        for (const auto& r : engine.GetResults()) {
            engine.Select(r, r.data.subKey == ok || r.data.subKey == ro);
            selected += engine.IsSelected(r);
        }
        if (selected != 2) ++w.errors;
        engine.Clean(nullptr, nullptr);
        w.cleaned += !ValueExists(HKEY_CURRENT_USER, ok, L"a");
        w.failed += ValueExists(HKEY_CURRENT_USER, ro, L"a");
    }
    return 0;
}

struct Watcher {
    std::atomic<bool> stop{false};
    int scans = 0;
};

unsigned __stdcall ScanUntilStopped(void* arg)
{
    Watcher& w = *static_cast<Watcher*>(arg);
    while (!w.stop) {
        CRegistryData engine;
        engine.Scan(&OnlyMru, nullptr, nullptr, nullptr);
        ++w.scans;
        Sleep(5);
    }
    return 0;
}

TEST(ConcurrentClean, TwoCleansAndAScanAtOnce)
{
    const std::wstring tag = UniqueTag() + L"cc";
    Worker workers[2];
    for (int i = 0; i < 2; ++i) {
        workers[i].prefix = tag + L"t" + std::to_wstring(i) + L"r";
        for (int round = 0; round < kRounds; ++round) {
            for (const wchar_t* kind : {L"ok", L"ro"})
                SetString(HKEY_CURRENT_USER, Key(workers[i].prefix, round, kind), L"a",
                          L"C:\\gone-" + tag + L"\\a.txt");
            ASSERT_TRUE(SetKeyAccess(HKEY_CURRENT_USER, Key(workers[i].prefix, round, L"ro"),
                                     KEY_READ | READ_CONTROL | WRITE_DAC));
        }
    }
    Watcher watcher;
    HANDLE threads[3];
    threads[0] = reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, &ScanUntilStopped, &watcher, 0, nullptr));
    threads[1] = reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, &CleanRounds, &workers[0], 0, nullptr));
    threads[2] = reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, &CleanRounds, &workers[1], 0, nullptr));
    ASSERT_EQ(WaitForMultipleObjects(2, threads + 1, TRUE, 120000), WAIT_OBJECT_0);
    watcher.stop = true;
    WaitForSingleObject(threads[0], 60000);
    for (HANDLE h : threads) CloseHandle(h);

    for (const Worker& w : workers) {
        EXPECT_EQ(w.errors, 0);
        EXPECT_EQ(w.cleaned, kRounds);
        EXPECT_EQ(w.failed, kRounds);
    }
    EXPECT_GT(watcher.scans, 0);
    // Every failed item is known to the process: a new scan shows none of the fixtures.
    CRegistryData engine;
    engine.Scan(&OnlyMru, nullptr, nullptr, nullptr);
    for (const auto& r : engine.GetResults()) EXPECT_EQ(r.data.subKey.find(tag), std::wstring::npos);
}

}  // namespace
