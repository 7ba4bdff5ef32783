// The update client against the scripted agent: records, downloads with their notifications, stops and installs.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "FakeAgent.h"
#include "QLock.h"
#include "QWorker.h"
#include "Skarloe.h"

using namespace skarloe_test;

namespace {

// What the callbacks saw, on whatever thread the agent delivered them.
struct Recorder {
    qcore::Lock lock;
    std::vector<std::string> events;  // "progress <id> <percent>" and "complete <id>"
    std::vector<DWORD> threads;
    HANDLE completed = ::CreateEventW(nullptr, FALSE, FALSE, nullptr);
    void Add(const std::string& e)
    {
        qcore::ScopedLock hold(lock);
        events.push_back(e);
        threads.push_back(::GetCurrentThreadId());
    }
    std::vector<std::string> Events()
    {
        qcore::ScopedLock hold(lock);
        return events;
    }
    void Clear()
    {
        {
            qcore::ScopedLock hold(lock);
            events.clear();
            threads.clear();
        }
        ::ResetEvent(completed);
    }
    bool WaitCompleted() { return ::WaitForSingleObject(completed, 10000) == WAIT_OBJECT_0; }
};
Recorder g_recorder;

void OnProgress(char* id, int percent)
{
    g_recorder.Add("progress " + std::string(id) + " " + std::to_string(percent));
}
void OnComplete(char* id)
{
    g_recorder.Add("complete " + std::string(id));
    ::SetEvent(g_recorder.completed);
}

FakeUpdateSpec Update(const wchar_t* id, int downloadMode = kDownloadOnItsOwnThread)
{
    FakeUpdateSpec u = {};
    u.id = id;
    u.title = L"Title";
    u.description = L"Description";
    u.kb = L"100";
    u.severity = L"Important";
    u.size = 1024;
    u.date = 40246.0;  // 9 March 2010
    u.downloadMode = downloadMode;
    u.downloadResult = 2;  // succeeded
    u.installResult = 2;
    return u;
}

class UpdateClient : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(RegisterFakeAgent()); }
    void SetUp() override
    {
        g_recorder.Clear();
        client.SetDownloadCallback(OnProgress);
        client.SetDownloadCompleteCallback(OnComplete);
    }
    void Run(const FakeWuaScenario& scenario)
    {
        Script(scenario);
        ASSERT_EQ(client.CheckUpdate(), S_OK);
        ASSERT_EQ(client.GetUpdateItemCount(), scenario.count);
    }
    static FakeWuaScenario Scenario(std::initializer_list<FakeUpdateSpec> updates)
    {
        FakeWuaScenario s = {};
        s.progressSteps = 3;
        for (const FakeUpdateSpec& u : updates) s.updates[s.count++] = u;
        return s;
    }

    CWindowsUpdate client;
};

TEST_F(UpdateClient, RecordsCarryTheAgentsFieldsAsThePageShowsThem)
{
    FakeWuaScenario s = Scenario({Update(L"u-plain"), Update(L"u-nokb"), Update(L"u-skipped"), Update(L"u-big"),
                                  Update(L"u-huge"), Update(L"u-3g")});
    s.updates[1].kb = nullptr;
    s.updates[1].severity = nullptr;
    s.updates[1].downloaded = true;
    s.updates[1].title = L"Caf\u00e9";
    s.updates[2].itemFails = true;
    s.updates[3].size = 5000000000ULL;
    s.updates[4].size = 5ULL << 30;
    s.updates[5].size = 3000000000ULL;
    Script(s);
    ASSERT_EQ(client.CheckUpdate(), S_OK);
    ASSERT_EQ(client.GetUpdateItemCount(), 5) << "the record whose Item failed is left out";

    const UpdateItem* plain = client.GetUpdateItemIndex(0);
    EXPECT_EQ(plain->updateId, "u-plain");
    EXPECT_EQ(plain->kbId, "KB100");
    EXPECT_EQ(plain->title, "Title");
    EXPECT_EQ(plain->description, "Description");
    EXPECT_EQ(plain->severity, "Important");
    EXPECT_EQ(plain->date, "2010-3-9");
    EXPECT_EQ(plain->maxDownloadSize, 1024);
    EXPECT_FALSE(plain->downloaded);

    const UpdateItem* bare = client.GetUpdateItemIndex(1);
    EXPECT_EQ(bare->kbId, "");
    EXPECT_EQ(bare->severity, "Unknown");
    EXPECT_TRUE(bare->downloaded);
    EXPECT_EQ(bare->title, "Caf\xe9") << "the ANSI code page's bytes";

    EXPECT_EQ(client.GetUpdateItemIndex(2)->maxDownloadSize, 705032704);
    EXPECT_EQ(client.GetUpdateItemIndex(3)->maxDownloadSize, 1073741824);
    EXPECT_EQ(client.GetUpdateItemIndex(4)->maxDownloadSize, -1294967296);
    EXPECT_EQ(client.GetUpdateItemIndex(5), nullptr);
    EXPECT_EQ(client.GetUpdateItemIndex(-1), nullptr);
}

TEST_F(UpdateClient, AnEmptyOrFailedSearchLeavesNoRecords)
{
    Run(Scenario({Update(L"a")}));
    FakeWuaScenario empty = Scenario({});
    Script(empty);
    EXPECT_EQ(client.CheckUpdate(), S_OK);
    EXPECT_EQ(client.GetUpdateItemCount(), 0);

    Run(Scenario({Update(L"a")}));
    FakeWuaScenario failing = Scenario({Update(L"a")});
    failing.searchResult = static_cast<HRESULT>(0x8024402C);
    Script(failing);
    EXPECT_EQ(client.CheckUpdate(), static_cast<long>(0x8024402C));
    EXPECT_EQ(client.GetUpdateItemCount(), 0);
}

TEST_F(UpdateClient, AnUnknownIdentifierStartsNothing)
{
    Run(Scenario({Update(L"a")}));
    EXPECT_EQ(client.DownloadUpdate("b"), E_FAIL);
    EXPECT_EQ(client.DownloadUpdate(nullptr), E_FAIL);
    EXPECT_EQ(client.InstallUpdate("b"), E_FAIL);
    EXPECT_EQ(Counters().createDownloader, 0);
    EXPECT_EQ(Counters().install, 0);
}

TEST_F(UpdateClient, ADownloadReportsItsProgressThenItsCompletionOnTheAgentsThread)
{
    Run(Scenario({Update(L"a")}));
    std::string id = "a";
    ASSERT_EQ(client.DownloadUpdate(&id[0]), S_OK);
    id = "overwritten";  // the library keeps its own copy
    ASSERT_TRUE(g_recorder.WaitCompleted());
    EXPECT_EQ(g_recorder.Events(),
              (std::vector<std::string>{"progress a 0", "progress a 40", "progress a 80", "complete a"}));
    EXPECT_NE(g_recorder.threads.back(), ::GetCurrentThreadId());
    EXPECT_EQ(client.GetLastDownloadResult(), S_OK);
    client.StopDowndload();  // after completion: nothing to abort
    EXPECT_EQ(Counters().requestAbort, 0);
}

TEST_F(UpdateClient, ACompletionInsideTheStartAndAFailedDownloadAreReported)
{
    FakeWuaScenario s = Scenario({Update(L"sync", kDownloadInsideBegin), Update(L"bad")});
    s.updates[1].downloadResult = 4;  // failed
    Run(s);
    ASSERT_EQ(client.DownloadUpdate("sync"), S_OK);
    EXPECT_EQ(g_recorder.Events().back(), "complete sync");
    EXPECT_EQ(client.GetLastDownloadResult(), S_OK);

    g_recorder.Clear();
    ASSERT_EQ(client.DownloadUpdate("bad"), S_OK);
    ASSERT_TRUE(g_recorder.WaitCompleted());
    EXPECT_LT(client.GetLastDownloadResult(), 0);
}

TEST_F(UpdateClient, ADownloadThatCannotStartFailsAtOnce)
{
    Run(Scenario({Update(L"x", kDownloadCannotStart)}));
    EXPECT_LT(client.DownloadUpdate("x"), 0);
    EXPECT_LT(client.GetLastDownloadResult(), 0);
    EXPECT_TRUE(g_recorder.Events().empty());
    client.StopDowndload();
    EXPECT_EQ(Counters().requestAbort, 0);
}

TEST_F(UpdateClient, StopAbortsTheRunningDownloadAlsoWhileAnInstallRuns)
{
    FakeWuaScenario s = Scenario({Update(L"held", kDownloadUntilAborted), Update(L"slow")});
    s.updates[1].installHeld = true;
    Run(s);
    client.StopDowndload();  // before any download
    EXPECT_EQ(Counters().requestAbort, 0);

    long installed = 1;
    qcore::CWorker installer;
    ASSERT_TRUE(installer.Start([&] { installed = client.InstallUpdate("slow"); }));
    ASSERT_EQ(client.DownloadUpdate("held"), S_OK);
    client.StopDowndload();
    EXPECT_EQ(Counters().requestAbort, 1);
    ASSERT_TRUE(g_recorder.WaitCompleted());
    EXPECT_EQ(client.GetLastDownloadResult(), E_ABORT);

    ReleaseHeld();
    EXPECT_EQ(installer.Wait(10000, qcore::Pump::None), qcore::WaitOutcome::Signalled);
    EXPECT_EQ(installed, S_OK);
}

TEST_F(UpdateClient, AnInstallReportsTheAgentsRealOutcome)
{
    FakeWuaScenario s = Scenario({Update(L"ok"), Update(L"fails"), Update(L"partly")});
    s.updates[1].installResult = 4;
    s.updates[1].installHResult = static_cast<LONG>(0x80240022);
    s.updates[2].installResult = 3;  // succeeded with errors
    Run(s);
    EXPECT_EQ(client.InstallUpdate("ok"), S_OK);
    EXPECT_EQ(client.InstallUpdate("fails"), static_cast<long>(0x80240022));
    EXPECT_EQ(client.InstallUpdate("partly"), S_OK);
}

TEST_F(UpdateClient, AWindowsThreadCanCallIn)
{
    // The caller's single-threaded apartment stays as it is; the work is done in the library's apartment.
    ASSERT_EQ(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_OK);
    Run(Scenario({Update(L"a")}));
    ASSERT_EQ(client.DownloadUpdate("a"), S_OK);
    ASSERT_TRUE(g_recorder.WaitCompleted());
    EXPECT_EQ(client.InstallUpdate("a"), S_OK);
    ::CoUninitialize();
}

}  // namespace
