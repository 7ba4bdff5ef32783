#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "QuickScanRun.h"

using namespace OneClick;

TEST(QuickScanRun, EndsExactlyOnceWhateverTheOrderAndRepeats)
{
    std::vector<int> order = {0, 1, 2, 3, 4};
    int permutations = 0;
    do {
        QuickScanRun run;
        ASSERT_TRUE(run.Start());
        int ends = 0, lastProgress = 0;
        for (int i = 0; i < kPartCount; ++i) {
            // Every part reports twice; the second report must not move anything.
            ends += run.PartDone(Part(order[i]));
            const int after = run.Progress();
            ends += run.PartDone(Part(order[i]));
            EXPECT_EQ(after, run.Progress());
            EXPECT_GT(after, lastProgress);
            lastProgress = after;
        }
        EXPECT_EQ(1, ends);
        EXPECT_EQ(100, run.Progress());
        EXPECT_EQ(RunState::Ended, run.State());
        EXPECT_EQ(RunEnd::ScanFinished, run.LastEnd());
        ++permutations;
    } while (std::next_permutation(order.begin(), order.end()));
    EXPECT_EQ(120, permutations);
}

TEST(QuickScanRun, WeightedProgress)
{
    QuickScanRun run;
    run.Start();
    run.PartDone(kFileAssoc);
    EXPECT_EQ(10, run.Progress());
    run.PartDone(kShortcut);
    EXPECT_EQ(25, run.Progress());
    run.PartDone(kJunk);
    run.PartDone(kEvidence);
    EXPECT_EQ(75, run.Progress());
    EXPECT_FALSE(run.PartDone(Part(7)));
    EXPECT_EQ(75, run.Progress());
}

TEST(QuickScanRun, AbortEndsOnlyWhenWorkersHaveEnded)
{
    QuickScanRun run;
    run.Start();
    run.PartDone(kRegistry);
    ASSERT_TRUE(run.BeginAbort());
    EXPECT_TRUE(run.Stopping());
    EXPECT_TRUE(run.IsBusy());
    // Repeated aborts, late part reports, a repair or a new scan change nothing while workers may live.
    EXPECT_FALSE(run.BeginAbort());
    EXPECT_FALSE(run.PartDone(kJunk));
    EXPECT_FALSE(run.BeginRepair());
    EXPECT_FALSE(run.Start());
    EXPECT_EQ(25, run.Progress());
    EXPECT_EQ(RunState::Aborting, run.State());

    EXPECT_TRUE(run.AbortFinished());
    EXPECT_FALSE(run.AbortFinished());
    EXPECT_EQ(RunState::Ended, run.State());
    EXPECT_EQ(RunEnd::ScanAborted, run.LastEnd());
    // A new scan starts from nothing.
    EXPECT_TRUE(run.Start());
    EXPECT_EQ(0, run.Progress());
    EXPECT_FALSE(run.IsPartDone(kRegistry));
}

TEST(QuickScanRun, RepairOnlyAfterAnEndedScanAndReportsWhatRemains)
{
    QuickScanRun run;
    EXPECT_FALSE(run.BeginRepair());
    run.Start();
    EXPECT_FALSE(run.BeginRepair());
    for (int i = 0; i < kPartCount; ++i) run.PartDone(Part(i));
    ASSERT_TRUE(run.BeginRepair());
    EXPECT_EQ(0, run.Progress());
    EXPECT_FALSE(run.BeginRepair());
    EXPECT_FALSE(run.Start());
    EXPECT_FALSE(run.BeginAbort());
    EXPECT_FALSE(run.PartDone(kRegistry));  // a late scan report does not move a repair
    EXPECT_EQ(0, run.Progress());
    run.RepairPartDone(kRegistry);
    run.RepairPartDone(kJunk);
    EXPECT_EQ(50, run.Progress());

    ScanCounts remaining;
    remaining[kJunk] = 1;
    EXPECT_TRUE(run.RepairFinished(remaining));
    EXPECT_EQ(RunEnd::RepairIncomplete, run.LastEnd());
    EXPECT_STREQ(L"IDS_SCORE_TXT_QUICK_REPAIR_INCOMPLETE", RunEndTextKey(run.LastEnd()));
    // A second repair of what is left is allowed, and may succeed.
    ASSERT_TRUE(run.BeginRepair());
    EXPECT_TRUE(run.RepairFinished(ScanCounts()));
    EXPECT_EQ(RunEnd::RepairFinished, run.LastEnd());
    EXPECT_STREQ(L"IDS_SCORE_TXT_QUICK_REPAIR_FINISHED", RunEndTextKey(run.LastEnd()));
}

TEST(QuickScanRun, EndTexts)
{
    EXPECT_STREQ(L"IDS_SCORE_TXT_QUICK_SCAN_FINISHED", RunEndTextKey(RunEnd::ScanFinished));
    EXPECT_STREQ(L"IDS_START_TXT_SCAN_FINISH_STATUS_ABORT", RunEndTextKey(RunEnd::ScanAborted));
}

// What the scan libraries report counts from the start of a scan until it has ended, also while its stop is on
// the way; never before a scan, after it, or during a repair.
TEST(QuickScanRun, ScanReportsCountFromTheStartUntilTheScanHasEnded)
{
    QuickScanRun run;
    EXPECT_FALSE(run.TakesScanReports()) << "no scan yet";
    ASSERT_TRUE(run.Start());
    EXPECT_TRUE(run.TakesScanReports());
    ASSERT_TRUE(run.BeginAbort());
    EXPECT_TRUE(run.TakesScanReports()) << "the libraries' last findings arrive while the stop is on the way";
    ASSERT_TRUE(run.AbortFinished());
    EXPECT_FALSE(run.TakesScanReports());
    ASSERT_TRUE(run.BeginRepair());
    EXPECT_FALSE(run.TakesScanReports()) << "a repair takes no scan reports";
    ASSERT_TRUE(run.RepairFinished(ScanCounts()));

    ASSERT_TRUE(run.Start());
    for (int i = 0; i < kPartCount; ++i) run.PartDone(Part(i));
    EXPECT_FALSE(run.TakesScanReports()) << "a finished scan";
}
