// The "definitely missing" rule for link targets.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "LinkFixtures.h"
#include "PathRules.h"

using qpath::IsPathDefinitelyMissing;

TEST(MissingPath, OnlyADefiniteNotFoundOnAPresentFixedDriveCounts)
{
    TempTree tree(L"missing");
    const std::wstring file = tree.File(L"here.txt");
    const std::wstring absent = AbsentDriveRoot();
    ASSERT_FALSE(absent.empty());
    std::wstring slashed = tree.Path(L"gone.txt");
    for (wchar_t& c : slashed)
        if (c == L'\\') c = L'/';

    struct Case {
        std::wstring path;
        bool missing;
    } cases[] = {
        {file, false},         // exists
        {tree.Root(), false},  // an existing folder
        {tree.Root() + L"\\", false},
        {tree.Path(L"gone.txt"), true},               // file not found
        {tree.Path(L"gone\\deeper\\app.exe"), true},  // path not found
        {slashed, true},
        {L"gone.txt", false},    // relative: decided by the current folder
        {L"\\gone.txt", false},  // relative to the current drive
        {L"C:gone.txt", false},
        {L"\\\\server\\share\\app.exe", false},  // network
        {absent + L"app.exe", false},            // no such drive
        {tree.Path(L"*.txt"), false},            // wildcards are not names
        {tree.Path(L"gone?.txt"), false},
        {L"", false},
        {L"C:\\", false},
        {tree.Root() + L"\\" + std::wstring(MAX_PATH, L'a'), false},  // too long to decide
        {L"\\\\?\\" + tree.Path(L"gone.txt"), true},                  // the long-path prefix names the same file
        {L"\\\\?\\" + file, false},
        {L"\\\\?\\" + absent + L"app.exe", false},
    };
    for (const Case& c : cases) EXPECT_EQ(c.missing, IsPathDefinitelyMissing(c.path)) << c.path;
}
