// The shared path rules that ask the system: the fixed-drive rule.
#include "TestSupport.h"

#include "PathRules.h"

namespace {

TEST(PathRules, OnlyAPresentFixedDriveDecidesThatAPathIsMissing)
{
    qpath::MissingPathRule rule;
    wchar_t system[MAX_PATH] = L"";
    ASSERT_GT(::GetSystemDirectoryW(system, MAX_PATH), 0u);
    const std::wstring systemDir = system;
    EXPECT_TRUE(rule.IsOnPresentFixedDrive(systemDir));
    EXPECT_TRUE(rule.IsOnPresentFixedDrive(L"\\\\?\\" + systemDir));
    EXPECT_FALSE(rule.IsOnPresentFixedDrive(L"\\\\server\\share\\a"));
    EXPECT_FALSE(rule.IsOnPresentFixedDrive(systemDir.substr(0, 2) + L"relative"));

    EXPECT_FALSE(rule.IsDefinitelyMissing(systemDir));
    EXPECT_TRUE(rule.IsDefinitelyMissing(systemDir + L"\\no-such-file-here.dll"));
    EXPECT_TRUE(rule.IsDefinitelyMissing(systemDir + L"\\no-such-folder\\x.dll"));
    EXPECT_FALSE(rule.IsDefinitelyMissing(systemDir + L"\\*.dll"));  // not a name
}

}  // namespace
