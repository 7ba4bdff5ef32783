// The client against the update agent Wine ships, which searches nothing: clear failures, no records, no hang.
#include <gtest/gtest.h>

#include "Skarloe.h"

TEST(WineUpdateAgent, ASearchFailsCleanlyAndNothingCanBeDownloadedOrInstalled)
{
    CWindowsUpdate client;
    EXPECT_LT(client.CheckUpdate(), 0);
    EXPECT_EQ(client.GetUpdateItemCount(), 0);
    EXPECT_EQ(client.GetUpdateItemIndex(0), nullptr);
    EXPECT_EQ(client.DownloadUpdate("x"), E_FAIL);
    EXPECT_EQ(client.InstallUpdate("x"), E_FAIL);
    client.StopDowndload();
    EXPECT_EQ(client.GetLastDownloadResult(), S_OK);
}
