// What the disk optimiser page shows for a drive, a progress record and the end of a job.
#include <gtest/gtest.h>

#include <limits>

#include "DiskManText.h"
#include "Velmora.h"

using namespace diskman;

TEST(DiskManText, DriveSizesInGibibytesAndTheFreeShare)
{
    const uint64_t gib = 1ull << 30;
    const struct {
        uint64_t total, free;
        const wchar_t *totalText, *freeText, *share;
    } cases[] = {
        {500 * gib, 125 * gib, L"500.00", L"125.00", L"25.00%"},
        {3 * gib / 2, 0, L"1.50", L"0.00", L"0.00%"},
        {4096 * gib, 4096 * gib, L"4096.00", L"4096.00", L"100.00%"},  // beyond 32 bits of anything
        {0, 0, L"0.00", L"0.00", L"0.00%"},
    };
    for (const auto& c : cases) {
        const DriveSizeTexts t = DriveSizes(c.total, c.free);
        EXPECT_EQ(c.totalText, t.total);
        EXPECT_EQ(c.freeText, t.free);
        EXPECT_EQ(c.share, t.freeShare);
    }
}

TEST(DiskManText, CountersOfARecord)
{
    udefrag_job_progress record = {};
    record.files = 12;
    record.directories = 3;
    record.compressed = 1;
    record.fragments = (1ll << 32) + 5;  // only the low 32 bits are shown
    record.mft_size = 3 * 1024 * 1024;
    record.fragmented_files = 99;  // not shown
    const CounterTexts t = Counters(record);
    EXPECT_EQ(L"12", t.files);
    EXPECT_EQ(L"3", t.directories);
    EXPECT_EQ(L"1", t.compressed);
    EXPECT_EQ(L"5", t.fragments);
    EXPECT_EQ(L"3.00 MB", t.mft);
    record.mft_size = 1572864;
    EXPECT_EQ(L"1.50 MB", Counters(record).mft);
}

TEST(DiskManText, BarPositionIsTenthsOfAPercentWithinTheRange)
{
    const struct {
        double percentage;
        int position;
    } cases[] = {{37.46, 374},
                 {0, 0},
                 {100, 1000},
                 {-3, 0},
                 {250, 1000},
                 {std::numeric_limits<double>::quiet_NaN(), 0},
                 {std::numeric_limits<double>::infinity(), 1000}};
    for (const auto& c : cases) EXPECT_EQ(c.position, BarPosition(c.percentage)) << c.percentage;
}

TEST(DiskManText, AJobEndsFinishedStoppedOrFailed)
{
    EXPECT_EQ(JobEnd::Finished, EndOfJob(false, 0));
    EXPECT_EQ(JobEnd::Failed, EndOfJob(false, UDEFRAG_E_IO));
    EXPECT_EQ(JobEnd::Stopped, EndOfJob(true, 0));
    EXPECT_EQ(JobEnd::Stopped, EndOfJob(true, UDEFRAG_E_IO));
    EXPECT_STREQ(L"IDS_SYS_TOOL_DISKMAN_FINISH", StatusKey(JobEnd::Finished));
    EXPECT_STREQ(L"IDS_SYS_TOOL_DISKMAN_STOP", StatusKey(JobEnd::Stopped));
    EXPECT_STREQ(L"IDS_SYS_TOOL_DISKMAN_FAILED", StatusKey(JobEnd::Failed));
}
