// The cluster bitmap's counts and searches, and the map's choice of a cell's state.
#include <gtest/gtest.h>

#include "ClusterBitmap.h"
#include "ClusterMap.h"
#include "Velmora.h"

using velmora::ClusterBitmap;
using velmora::ClusterMap;

TEST(ClusterBitmap, RangesAcrossWordsAreSetClearedAndCounted)
{
    ClusterBitmap b;
    b.Resize(300);
    EXPECT_EQ(300u, b.CountFree(0, 300));
    b.SetRange(60, 80, true);  // 60..139 spans three words
    EXPECT_EQ(220u, b.CountFree(0, 300));
    EXPECT_FALSE(b.IsUsed(59));
    EXPECT_TRUE(b.IsUsed(60));
    EXPECT_TRUE(b.IsUsed(139));
    EXPECT_FALSE(b.IsUsed(140));
    b.SetRange(100, 10, false);
    EXPECT_EQ(230u, b.CountFree(0, 300));
    EXPECT_EQ(10u, b.CountFree(95, 20));  // 95..114: 100..109 free
}

TEST(ClusterBitmap, CountIsClippedToTheVolume)
{
    ClusterBitmap b;
    b.Resize(300);
    EXPECT_EQ(10u, b.CountFree(290, 50));
    EXPECT_EQ(0u, b.CountFree(400, 5));
}

TEST(ClusterBitmap, FreeRunSearchFindsTheFirstFitAndKeepsOutOfTheReservedZone)
{
    ClusterBitmap b;
    b.Resize(1000);
    b.SetRange(0, 1000, true);
    b.SetRange(10, 5, false);     // run of 5
    b.SetRange(100, 50, false);   // run of 50
    b.SetRange(200, 300, false);  // run of 300
    const struct {
        uint64_t length, from, avoidStart, avoidEnd, expected;
    } cases[] = {
        {1, 0, 0, 0, 10},       {5, 0, 0, 0, 10},        {6, 0, 0, 0, 100},
        {51, 0, 0, 0, 200},     {300, 0, 0, 0, 200},     {301, 0, 0, 0, ClusterBitmap::kNone},
        {5, 11, 0, 0, 100},      // the search starts at `from`
        {20, 0, 90, 130, 130},   // a run starting inside the zone begins after it
        {20, 0, 130, 160, 100},  // a run cut by the zone keeps its part before it
        {40, 0, 130, 160, 200}, {100, 0, 200, 250, 250}, {0, 0, 0, 0, ClusterBitmap::kNone},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.expected, b.FindFreeRun(c.length, c.from, c.avoidStart, c.avoidEnd))
            << c.length << " from " << c.from << " avoiding " << c.avoidStart << "-" << c.avoidEnd;
}

TEST(ClusterBitmap, AssignTakesTheFileSystemsBitOrderAtAnyStart)
{
    ClusterBitmap b;
    b.Resize(200);
    uint8_t bits[16] = {};
    bits[0] = 0x81;  // clusters +0 and +7
    bits[8] = 0x02;  // cluster +65
    for (uint64_t start : {0ull, 64ull, 3ull}) {
        b.SetRange(0, 200, false);
        b.Assign(start, 128, bits);
        EXPECT_EQ(197u, b.CountFree(0, 200)) << start;
        EXPECT_TRUE(b.IsUsed(start));
        EXPECT_TRUE(b.IsUsed(start + 7));
        EXPECT_TRUE(b.IsUsed(start + 65));
        EXPECT_FALSE(b.IsUsed(start + 1));
    }
}

TEST(ClusterMap, ACellShowsTheKindWithMostClusters)
{
    const struct {
        uint64_t cell, free, fragmented, folder, file;
        int expected;
    } cases[] = {
        {10, 10, 0, 0, 0, UDEFRAG_CELL_FREE},  {10, 0, 0, 0, 0, UDEFRAG_CELL_SYSTEM},      // used by nothing we know
        {10, 4, 3, 0, 3, UDEFRAG_CELL_FREE},   {10, 2, 4, 0, 4, UDEFRAG_CELL_FRAGMENTED},  // ties favour fragmented
        {10, 1, 0, 5, 4, UDEFRAG_CELL_FOLDER}, {10, 3, 0, 0, 3, UDEFRAG_CELL_SYSTEM},      // 4 used by no known file
        {10, 0, 0, 0, 10, UDEFRAG_CELL_FILE},  {0, 0, 0, 0, 0, UDEFRAG_CELL_FREE},  // beyond the end of the volume
    };
    for (const auto& c : cases) {
        const uint64_t kinds[ClusterMap::kKinds] = {c.fragmented, c.folder, c.file};
        EXPECT_EQ(c.expected, ClusterMap::StateOf(c.cell, c.free, kinds))
            << c.free << " free, " << c.fragmented << "/" << c.folder << "/" << c.file;
    }
}

TEST(ClusterMap, CellsCoverTheVolumeAndFollowFilesAsTheyMove)
{
    ClusterBitmap b;
    b.Resize(100);
    ClusterMap map;
    map.Reset(100, 8);  // 13 clusters a cell, the last cell holds 9
    EXPECT_EQ(13u, map.ClustersPerCell());
    b.SetRange(0, 13, true);  // cell 0: used by nothing known -> system
    std::vector<velmora::Extent> fragmented = {{0, 26, 13}, {13, 52, 13}};
    b.SetRange(26, 13, true);
    b.SetRange(52, 13, true);
    map.RecountFree(b, 0, 100);
    map.AddExtents(fragmented, ClusterMap::kFragmented);
    signed char* cells = map.Cells();
    ASSERT_NE(nullptr, cells);
    const signed char before[8] = {2, 1, 4, 1, 4, 1, 1, 1};
    for (int i = 0; i < 8; ++i) EXPECT_EQ(before[i], cells[i]) << i;

    // The file moves to cells 6 and 7 in one piece.
    map.AddExtents(fragmented, ClusterMap::kFragmented, -1);
    b.SetRange(26, 13, false);
    b.SetRange(52, 13, false);
    b.SetRange(78, 22, true);
    b.SetRange(74, 4, true);
    map.AddExtents({{0, 74, 26}}, ClusterMap::kFile);
    map.RecountFree(b, 26, 13);
    map.RecountFree(b, 52, 13);
    map.RecountFree(b, 74, 26);
    cells = map.Cells();
    const signed char after[8] = {2, 1, 1, 1, 1, 1, 6, 6};  // cell 5: 9 free, 4 of the file
    for (int i = 0; i < 8; ++i) EXPECT_EQ(after[i], cells[i]) << i;

    map.Reset(100, 0);
    EXPECT_EQ(nullptr, map.Cells());
}
