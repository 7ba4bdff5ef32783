// The result dialog's routing of items to its lists.
#include <gtest/gtest.h>

#include <string>

#include "ScoreResultModel.h"

TEST(ScoreResultModel, ItemsGoToAllAndTheirCategory)
{
    EXPECT_EQ((std::vector<int>{0, 1}), ScoreResultListsFor(1));
    EXPECT_EQ((std::vector<int>{0, 2}), ScoreResultListsFor(2));
    EXPECT_EQ((std::vector<int>{0, 3}), ScoreResultListsFor(3));
    EXPECT_EQ((std::vector<int>{0, 4}), ScoreResultListsFor(4));  // invalid shortcuts: the fifth list
    for (long long unknown : {0LL, 5LL, 7LL, -1LL, 0x100000001LL})
        EXPECT_EQ((std::vector<int>{0}), ScoreResultListsFor(unknown)) << unknown;
}
