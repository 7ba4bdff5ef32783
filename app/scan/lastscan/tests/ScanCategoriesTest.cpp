#include <gtest/gtest.h>

#include "ScanCategories.h"

using namespace OneClick;

TEST(ScanCategories, BothStepsReadAScoreAlike)
{
    const struct {
        int score;
        const wchar_t* key;        // the scan step, and the home page for a stored score
        const wchar_t* storedKey;  // the home page
        bool unknown;
    } cases[] = {
        {0, L"IDS_START_LOWSSTATUS", L"IDS_START_UNKONWSTATUS", true},
        {1, L"IDS_START_LOWSSTATUS", L"IDS_START_LOWSSTATUS", false},
        {59, L"IDS_START_LOWSSTATUS", L"IDS_START_LOWSSTATUS", false},
        {60, L"IDS_START_HIGHSTATUS", L"IDS_START_HIGHSTATUS", false},
        {61, L"IDS_START_HIGHSTATUS", L"IDS_START_HIGHSTATUS", false},
        {100, L"IDS_START_HIGHSTATUS", L"IDS_START_HIGHSTATUS", false},
    };
    for (const auto& c : cases) {
        EXPECT_STREQ(c.key, ScoreStatusKey(c.score)) << c.score;
        EXPECT_STREQ(c.storedKey, StoredScoreStatusKey(c.score)) << c.score;
        EXPECT_EQ(c.unknown, StoredScoreUnknown(c.score)) << c.score;
    }
}

TEST(ScanCategories, RowLevelAtEveryThreshold)
{
    const int* reg = ScanRow(0).thresholds;  // 10, 20, 50, 100
    const struct {
        int count, level;
    } cases[] = {{-1, 0}, {0, 0}, {9, 0}, {10, 1}, {19, 1}, {20, 2}, {49, 2}, {50, 3}, {99, 3}, {100, 4}, {5000, 4}};
    for (const auto& c : cases) EXPECT_EQ(c.level, ScanRowLevel(c.count, reg)) << c.count;
    // No broken association still shows the second image: the first threshold of that row is 0.
    EXPECT_EQ(1, ScanRowLevel(0, ScanRow(4).thresholds));
    EXPECT_EQ(2, ScanRowLevel(3, ScanRow(4).thresholds));
}
