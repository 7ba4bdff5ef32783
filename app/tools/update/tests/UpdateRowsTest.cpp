#include <gtest/gtest.h>

#include "UpdateRows.h"

using namespace update_page;

TEST(UpdateRows, SizeIsShownInMegabytesWithTwoDecimals)
{
    EXPECT_EQ(SizeText(1572864), L"1.50M");
    EXPECT_EQ(SizeText(0), L"0.00M");
    EXPECT_EQ(SizeText(-1294967296), L"-1234.98M");  // the client keeps only the low 32 bits of large sizes
}

TEST(UpdateRows, ARunTakesTheTickedRowsThatAreNotInstalledInListOrder)
{
    const std::vector<RowView> rows = {{true, RowState::None},
                                       {false, RowState::None},
                                       {true, RowState::Installed},
                                       {true, RowState::InstallFailed},
                                       {true, RowState::DownloadFailed}};
    EXPECT_EQ(RowsToUpdate(rows), (std::vector<int>{0, 3, 4}));
    EXPECT_EQ(InstalledCount(rows), 1);
    EXPECT_TRUE(RowsToUpdate({{false, RowState::None}, {true, RowState::Installed}}).empty());
}
