#include <gtest/gtest.h>

#include <algorithm>

#include "HealthScore.h"

using namespace OneClick;

namespace {

ScanCounts Counts(int reg, int ev, int junk, int sc, int fa)
{
    ScanCounts c;
    c[kRegistry] = reg;
    c[kEvidence] = ev;
    c[kJunk] = junk;
    c[kShortcut] = sc;
    c[kFileAssoc] = fa;
    return c;
}

int CeilDiv(int a, int b) { return (a + b - 1) / b; }

// Independent integer form of the formula: each started fraction of a point costs a whole point.
int Oracle(const ScanCounts& c)
{
    int s = 100 - std::min(25, CeilDiv(c[kRegistry], 8)) - std::min(25, CeilDiv(c[kEvidence], 40)) -
            std::min(25, CeilDiv(c[kJunk], 4)) - std::min(15, CeilDiv(3 * c[kShortcut], 2)) -
            std::min(10, c[kFileAssoc]);
    return std::max(0, s);
}

}  // namespace

TEST(HealthScore, KnownCounts)
{
    struct Case {
        ScanCounts counts;
        int score;
    } cases[] = {
        {Counts(0, 0, 0, 0, 0), 100},        {Counts(1, 0, 0, 0, 0), 99},          {Counts(8, 0, 0, 0, 0), 99},
        {Counts(9, 0, 0, 0, 0), 98},         {Counts(200, 0, 0, 0, 0), 75},        {Counts(10000, 0, 0, 0, 0), 75},
        {Counts(1, 1, 1, 0, 0), 97},         {Counts(0, 0, 0, 1, 0), 98},          {Counts(0, 0, 0, 10, 0), 85},
        {Counts(0, 0, 0, 11, 0), 85},        {Counts(0, 0, 0, 0, 3), 97},          {Counts(199, 999, 99, 9, 9), 2},
        {Counts(200, 1000, 100, 10, 10), 0}, {Counts(5000, 9999, 999, 99, 99), 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.score, HealthScore(c.counts))
            << c.counts[kRegistry] << "," << c.counts[kEvidence] << "," << c.counts[kJunk] << "," << c.counts[kShortcut]
            << "," << c.counts[kFileAssoc];
}

// Every count of every term, alone and on top of the others, against the integer form.
TEST(HealthScore, MatchesIntegerFormEverywhere)
{
    for (int part = 0; part < kPartCount; ++part)
        for (int n = 0; n <= 1200; ++n) {
            ScanCounts alone;
            alone.n[part] = n;
            ASSERT_EQ(Oracle(alone), HealthScore(alone)) << "part " << part << " n " << n;
            ScanCounts mixed = Counts(7, 33, 3, 1, 1);
            mixed.n[part] = n;
            ASSERT_EQ(Oracle(mixed), HealthScore(mixed)) << "mixed part " << part << " n " << n;
        }
}

TEST(HealthScore, ColourBand)
{
    EXPECT_FALSE(IsScoreGood(79));
    EXPECT_TRUE(IsScoreGood(80));
}
