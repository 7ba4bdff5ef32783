// The one-click run without any page, over the real libraries in a prefix seeded with problems of all five kinds:
// what it reports while it scans, aborts and repairs, the order of the repair, and what it stores. The run's
// messages are handled only while the test pumps.
#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

#include <Common.h>

#include "HealthScore.h"
#include "QTestSupport.h"
#include "QuickScan.h"
#include "ScoreStore.h"
#include "SeededPrefix.h"
#include "Settings.h"

using namespace OneClick;
using namespace oneclick_test;

namespace {

const DWORD kRunTimeoutMs = 240000;

// Records every report of the run.
struct RecordingView : IQuickScanView {
    struct Row {
        Part part;
        std::wstring text;
    };
    std::vector<Row> rows;
    int counts[kPartCount] = {};
    std::vector<int> progress;
    int cleared = 0;
    int ended = 0;

    void OnRowText(Part part, const std::wstring& text) override { rows.push_back({part, text}); }
    void OnCount(Part part, int count) override { counts[part] = count; }
    void OnProgress(int value) override { progress.push_back(value); }
    void OnResultsCleared() override { ++cleared; }
    void OnRunEnded() override { ++ended; }
};

// Result items of the run per category (index 1 to 4).
std::vector<int> ItemsPerCategory(const CQuickScan& scan)
{
    std::vector<int> n(5, 0);
    for (const auto& item : scan.ResultItems())
        if (item.second >= 1 && item.second <= 4) ++n[item.second];
    return n;
}

class QuickScanTest : public ::testing::Test {
protected:
    void SetUp() override { SBRegDeleteTreeW(HKEY_LOCAL_MACHINE, Settings::kLastScanKey); }
    void TearDown() override { SBRegDeleteTreeW(HKEY_LOCAL_MACHINE, Settings::kLastScanKey); }
    bool WaitEnded()
    {
        return shell_test::PumpUntil([&] { return m_scan.Run().State() == RunState::Ended; }, kRunTimeoutMs);
    }
    void ExpectViewAgrees()
    {
        for (int part = 0; part < kPartCount; ++part) EXPECT_EQ(m_scan.Counts().n[part], m_view.counts[part]) << part;
        ASSERT_FALSE(m_view.progress.empty());
        for (size_t i = 1; i < m_view.progress.size(); ++i)
            EXPECT_LE(m_view.progress[i - 1], m_view.progress[i]) << "progress never goes back within a run";
        EXPECT_EQ(100, m_view.progress.back());
    }

    RecordingView m_view;
    CQuickScan m_scan{&m_view};
};

}  // namespace

TEST_F(QuickScanTest, ScanFindsTheSeededProblemsReportsThemAndStoresTheFinalScore)
{
    SeedProblems();
    const int broken = BrokenAssociations();
    ASSERT_TRUE(m_scan.Start());
    EXPECT_EQ(RunState::Scanning, m_scan.Run().State());
    EXPECT_EQ(100, m_scan.Score());
    EXPECT_FALSE(m_scan.Start()) << "one run at a time";

    ASSERT_TRUE(WaitEnded());
    EXPECT_EQ(RunEnd::ScanFinished, m_scan.Run().LastEnd());
    EXPECT_EQ(1, m_view.ended);
    const ScanCounts& counts = m_scan.Counts();
    EXPECT_GE(counts[kRegistry], 1);
    EXPECT_GE(counts[kEvidence], 1);
    EXPECT_GE(counts[kJunk], 2);
    EXPECT_EQ(1, counts[kShortcut]);
    EXPECT_EQ(broken, counts[kFileAssoc]);
    ExpectViewAgrees();

    // Every item found is there for the result dialog; broken associations are not listed.
    const std::vector<int> items = ItemsPerCategory(m_scan);
    EXPECT_EQ(counts[kRegistry], items[1]);
    EXPECT_EQ(counts[kEvidence], items[2]);
    EXPECT_EQ(counts[kJunk], items[3]);
    EXPECT_EQ(counts[kShortcut], items[4]);

    EXPECT_EQ(HealthScore(counts), m_scan.Score());
    EXPECT_EQ(0, m_scan.LastStoreStatus());
    const StoredScore stored = ReadStoredScore();
    ASSERT_TRUE(stored.hasScore);
    EXPECT_EQ(counts, stored.counts);
    EXPECT_EQ(m_scan.Score(), stored.score);
}

TEST_F(QuickScanTest, RepairRemovesInOrderAndCountsWhatRemains)
{
    const SeededProblems seeded = SeedProblems();
    ASSERT_TRUE(m_scan.Start());
    ASSERT_TRUE(WaitEnded());
    ASSERT_GE(m_scan.Counts()[kJunk], 2);

    // A junk file in use cannot be deleted: it must stay counted and listed.
    HANDLE locked = CreateFileW(seeded.lockedJunkFile.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, locked);
    m_view = RecordingView();
    ASSERT_TRUE(m_scan.Repair());
    EXPECT_EQ(RunState::Repairing, m_scan.Run().State());
    EXPECT_FALSE(m_scan.Repair());
    EXPECT_FALSE(m_scan.Start());
    EXPECT_FALSE(m_scan.Abort()) << "a repair is not aborted";
    const bool ended = WaitEnded();
    CloseHandle(locked);
    ASSERT_TRUE(ended);

    EXPECT_EQ(RunEnd::RepairIncomplete, m_scan.Run().LastEnd());
    EXPECT_EQ(1, m_view.ended);
    EXPECT_FALSE(FileExists(seeded.junkFile));
    EXPECT_TRUE(FileExists(seeded.lockedJunkFile));
    EXPECT_FALSE(FileExists(seeded.brokenLink));
    EXPECT_FALSE(FileExists(seeded.cacheFile));
    EXPECT_FALSE(ValueExists(HKEY_CURRENT_USER, kMuiCacheKey, seeded.muiValue.c_str()));

    const ScanCounts& counts = m_scan.Counts();
    EXPECT_EQ(0, counts[kRegistry]);
    EXPECT_EQ(0, counts[kEvidence]);
    EXPECT_EQ(1, counts[kJunk]);
    EXPECT_EQ(0, counts[kShortcut]);
    EXPECT_EQ(BrokenAssociations(), counts[kFileAssoc]);
    ExpectViewAgrees();
    EXPECT_EQ(1, m_view.cleared) << "the result items are rebuilt once, from what is left";
    ASSERT_EQ(1u, m_scan.ResultItems().size());
    EXPECT_EQ(seeded.lockedJunkFile, m_scan.ResultItems()[0].first);
    EXPECT_EQ(3, m_scan.ResultItems()[0].second);
    EXPECT_EQ(counts, ReadStoredScore().counts);
    EXPECT_EQ(HealthScore(counts), ReadStoredScore().score);

    // Registry entries first (the engine backs them up), then junk files, traces and shortcuts.
    std::vector<Part> order;
    for (const auto& row : m_view.rows)
        if (order.empty() || order.back() != row.part) order.push_back(row.part);
    const std::vector<Part> expected = {kRegistry, kJunk, kEvidence, kShortcut};
    EXPECT_EQ(expected, order);
}

TEST_F(QuickScanTest, AbortEndsOnlyOnceEveryWorkerHasEndedAndANewScanThenRuns)
{
    SeedManyRegistryProblems(2000);  // a registry part slow enough to be stopped
    ASSERT_TRUE(m_scan.Start());
    ASSERT_TRUE(m_scan.Abort());
    EXPECT_EQ(RunState::Aborting, m_scan.Run().State());
    EXPECT_FALSE(m_scan.Abort()) << "a repeated abort is harmless";
    EXPECT_FALSE(m_scan.Start());
    EXPECT_FALSE(m_scan.Repair());
    EXPECT_EQ(0, m_view.ended);

    ASSERT_TRUE(WaitEnded());
    EXPECT_EQ(RunEnd::ScanAborted, m_scan.Run().LastEnd());
    EXPECT_EQ(1, m_view.ended);
    EXPECT_EQ(HealthScore(m_scan.Counts()), m_scan.Score());
    const StoredScore stored = ReadStoredScore();
    ASSERT_TRUE(stored.hasScore);
    EXPECT_EQ(m_scan.Counts(), stored.counts);

    m_view = RecordingView();
    ASSERT_TRUE(m_scan.Start());
    EXPECT_EQ(ScanCounts(), m_scan.Counts()) << "a new scan starts from nothing";
    ASSERT_TRUE(WaitEnded());
    EXPECT_EQ(RunEnd::ScanFinished, m_scan.Run().LastEnd());
    EXPECT_GE(m_scan.Counts()[kRegistry], 2000);
    ExpectViewAgrees();
}
