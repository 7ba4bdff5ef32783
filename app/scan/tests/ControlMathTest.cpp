// Rules of the skinned controls: check-box clicks, animation frames and the progress bar's width.
#include <gtest/gtest.h>

#include "ControlMath.h"

TEST(ControlMath, CheckBoxClickTogglesOnlyCheckedAndUnchecked)
{
    const int expected[7] = {1, 0, 2, 3, 4, 5, 6};
    for (int state = 0; state < 7; ++state) EXPECT_EQ(expected[state], CheckBoxStateAfterClick(state)) << state;
}

TEST(ControlMath, FramesWrap)
{
    EXPECT_EQ(1, NextFrameIndex(0, 8));
    EXPECT_EQ(0, NextFrameIndex(7, 8));
    EXPECT_EQ(0, NextFrameIndex(0, 1));
    EXPECT_EQ(0, NextFrameIndex(0, 0));
    EXPECT_EQ(0, NextFrameIndex(-1, 3));
}

TEST(ControlMath, ProgressBarWidthForAnyRange)
{
    struct Case {
        int pos, min, max, width, expected;
    } cases[] = {
        {0, 0, 100, 202, 0},                               // at the minimum nothing is drawn
        {50, 0, 100, 202, 100},                            // (200 * 0.5 + 1) - 1
        {100, 0, 100, 202, 200}, {150, 0, 100, 202, 200},  // clamped when painting too
        {-5, 0, 100, 202, 0},    {500, 0, 1000, 102, 50},  // a range other than 0-100
        {3, 2, 4, 102, 50},      {0, 0, 0, 202, 0},        // empty range: no division by zero
        {5, 10, 0, 202, 0},                                // inverted range
        {50, 0, 100, 2, 0},                                // no room
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, ProgressBarWidth(c.pos, c.min, c.max, c.width)) << c.pos << " " << c.min << "-" << c.max;
    EXPECT_EQ(100, ClampProgressPos(150, 0, 100));
    EXPECT_EQ(0, ClampProgressPos(7, 0, 0));
}
