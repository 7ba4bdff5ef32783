// The cluster map in a window: where its grid sits, the colours its cells and legend are painted in, and states
// outside its colour table.
#include <gtest/gtest.h>

#include <cstdlib>

#include "controls/ControlMath.h"
#include "controls/DiskManControl.h"
#include "WindowTestHost.h"

using shell_test::ScreenPixel;

namespace {

bool Near(COLORREF a, COLORREF b, int tolerance = 12)
{
    return std::abs(int(GetRValue(a)) - int(GetRValue(b))) <= tolerance &&
           std::abs(int(GetGValue(a)) - int(GetGValue(b))) <= tolerance &&
           std::abs(int(GetBValue(a)) - int(GetBValue(b))) <= tolerance;
}

class ClusterMap : public ::testing::Test {
protected:
    // A 600 x 300 control: a 450 x 300 map area and the 150-pixel legend.
    void SetUp() override { m_map.Create(L"", WS_CHILD | WS_VISIBLE, CRect(10, 10, 610, 310), &m_host, 57005); }
    COLORREF Pixel(int x, int y)
    {
        m_map.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        return ScreenPixel(m_map.GetSafeHwnd(), x, y);
    }

    shell_test::HostWindow m_host;
    CDiskManControl m_map;
};

}  // namespace

TEST(ClusterMapLayout, TheGridIsCentredInSquareCellsAndOnlyForSizesItCanDraw)
{
    const struct {
        int width, height, rows, columns;
        bool valid;
        int cell, left, top;
    } cases[] = {
        {450, 300, 32, 90, true, 5, 0, 70},
        {450, 300, 1, 1, true, 300, 75, 0},  // a 1 x 1 grid fills the square that fits, centred
        {455, 300, 4, 9, true, 50, 2, 50},
        {450, 300, -1, 90, false, 0, 0, 0},
        {450, 300, 32, -1, false, 0, 0, 0},
        {450, 300, 0, 5, false, 0, 0, 0},
        {2000, 300, 1, 1025, false, 0, 0, 0},
        {50, 300, 1, 90, false, 0, 0, 0},  // cells would be narrower than a pixel
    };
    for (const auto& c : cases) {
        const ClusterMapGrid g = ClusterMapLayout(c.width, c.height, c.rows, c.columns);
        EXPECT_EQ(c.valid, g.valid) << c.rows << " x " << c.columns;
        if (!c.valid) continue;
        EXPECT_EQ(c.cell, g.cellSize) << c.rows << " x " << c.columns;
        EXPECT_EQ(c.left, g.left) << c.rows << " x " << c.columns;
        EXPECT_EQ(c.top, g.top) << c.rows << " x " << c.columns;
    }
    EXPECT_EQ(4, ClusterMapColourIndex(4, 24));
    EXPECT_EQ(-1, ClusterMapColourIndex(-1, 24));
    EXPECT_EQ(-1, ClusterMapColourIndex(24, 24));
}

TEST_F(ClusterMap, WithoutRowsAndColumnsOnlyTheBackgroundAndTheLegendAreDrawn)
{
    m_map.SetLegend(0, 4, L"Fragmented");
    m_map.SetGridSize(-1, 90);
    EXPECT_EQ(RGB(255, 255, 255), Pixel(225, 150));
    EXPECT_EQ(RGB(255, 255, 255), Pixel(0, 0));
    EXPECT_EQ(COLORREF(0x0000FF), Pixel(450 + 15, 25)) << "the legend box";
}

TEST_F(ClusterMap, CellsGoFromWhiteToTheirStateColourInsideTheGridAndItsFrame)
{
    // 4 x 9 cells of 50 pixels at (0, 50) in the 450 x 300 map.
    m_map.SetGridSize(4, 9);
    m_map.SetCell(0, 0, 4);
    m_map.SetCell(1, 2, 6);
    m_map.SetCell(3, 8, -1);  // kept as -1, painted in the fixed colour
    m_map.SetCell(2, 3, 500);
    m_map.SetCell(4, 0, 8);  // outside the 4 x 9 grid: stored, never drawn
    EXPECT_EQ(-1, m_map.GetCell(3, 8));
    EXPECT_EQ(1, m_map.GetCell(0, 1));
    EXPECT_EQ(1, m_map.GetCell(5000, 0));

    EXPECT_EQ(COLORREF(0xA6682C), Pixel(0, 50)) << "outer frame";
    EXPECT_EQ(RGB(255, 255, 255), Pixel(50, 75)) << "grid line";
    EXPECT_EQ(RGB(255, 255, 255), Pixel(225, 10)) << "map background above the grid";
    EXPECT_TRUE(Near(RGB(255, 255, 255), Pixel(25, 51))) << "top of a cell";
    EXPECT_TRUE(Near(COLORREF(0x0000FF), Pixel(25, 99))) << "bottom of cell (0, 0)";
    EXPECT_TRUE(Near(COLORREF(0xFF0000), Pixel(125, 149))) << "bottom of cell (1, 2)";
    EXPECT_TRUE(Near(COLORREF(0xC8C8C8), Pixel(75, 99))) << "an empty cell";
    EXPECT_TRUE(Near(CDiskManControl::kUnknownStateColour, Pixel(425, 249))) << "state -1";
    EXPECT_TRUE(Near(CDiskManControl::kUnknownStateColour, Pixel(175, 199))) << "state 500";
    EXPECT_EQ(RGB(255, 255, 255), Pixel(25, 260)) << "below the grid";
}

TEST_F(ClusterMap, TheLegendShowsEntriesUntilTheFirstEmptyOneAndAtMostFive)
{
    const int states[5] = {1, 2, 4, 6, 8};
    for (int k = 0; k < 5; ++k) m_map.SetLegend(k, states[k], L"Name");
    m_map.SetLegend(5, 12, L"Sixth");  // there is no sixth entry
    EXPECT_EQ(5, m_map.LegendCount());
    for (int k = 0; k < 5; ++k) {
        EXPECT_EQ(m_map.GetColour(states[k]), Pixel(450 + 15, 25 + 20 * k)) << k;
        EXPECT_EQ(RGB(0, 0, 0), Pixel(450 + 10, 20 + 20 * k)) << "box outline " << k;
    }
    m_map.SetLegend(2, -1, L"");
    EXPECT_EQ(2, m_map.LegendCount());
    EXPECT_EQ(RGB(255, 255, 255), Pixel(450 + 15, 25 + 20 * 3)) << "entries after the end are not drawn";
    m_map.SetColour(21, RGB(10, 20, 30));
    EXPECT_EQ(RGB(10, 20, 30), Pixel(450 + 100, 290)) << "legend background";
}
