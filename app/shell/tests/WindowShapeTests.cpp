// The shape of skinned windows cut from their skin's magenta edge runs.
#include <gtest/gtest.h>

#include "WindowShape.h"

TEST(WindowShape, CutsOnlyTheKeyRunsOfTheEdgeColumns)
{
    // 'k' key colour; columns 0-1 are the left edge, 4-5 the right edge, 2-3 are never cut.
    const char* rows[] = {
        "kkkkkk",
        "kx kxk",
        "kxkkxk",
        "kk kkk",
    };
    auto isKey = [&](int x, int y) { return rows[y][x] == 'k'; };
    auto cuts = ComputeShapeCuts(6, 4, 2, 2, isKey);
    std::vector<ShapeCut> expected = {
        {0, 0, 4},  // all key: cut once, whole
        {1, 0, 1}, {1, 3, 4}, {4, 0, 1}, {4, 3, 4}, {5, 0, 4},
    };
    EXPECT_EQ(expected, cuts);
    // Key pixels between two other pixels stay (column 1 row 2 would be 'k' here).
    const char* inner[] = {"x", "k", "x"};
    EXPECT_TRUE(ComputeShapeCuts(1, 3, 1, 0, [&](int x, int y) { return inner[y][x] == 'k'; }).empty());
    // Edge bands wider than the picture overlap without cutting a column twice.
    EXPECT_EQ(3u, ComputeShapeCuts(3, 2, 10, 11, [](int, int) { return true; }).size());
    EXPECT_TRUE(ComputeShapeCuts(0, 5, 10, 11, [](int, int) { return true; }).empty());
}
