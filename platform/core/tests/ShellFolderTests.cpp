#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include "QPathText.h"
#include "QShellFolder.h"

namespace {

TEST(SpecialFolder, TheShellsAnswerOrNothing)
{
    wchar_t windows[MAX_PATH] = L"";
    ASSERT_GT(::GetWindowsDirectoryW(windows, MAX_PATH), 0u);
    EXPECT_TRUE(qpath::EqualsNoCase(windows, qcore::SpecialFolderPath(CSIDL_WINDOWS)));
    EXPECT_TRUE(qpath::IsAbsolutePath(qcore::SpecialFolderPath(CSIDL_FAVORITES, SHGFP_TYPE_DEFAULT)));
    EXPECT_EQ(L"", qcore::SpecialFolderPath(0x7f));  // no folder has this number
}

}  // namespace
