// The shared path rules: absolute paths, letter case by the system's folding, the fixed-drive rule.
#include "TestSupport.h"

#include "PathRules.h"

namespace {

TEST(PathRules, AbsolutePathsAreADriveWithASeparatorOrAServerShare)
{
    const struct {
        const wchar_t* path;
        bool absolute;
    } cases[] = {{L"C:\\windows\\temp\\a.tmp", true}, {L"c:/a.tmp", true},     {L"\\\\server\\share\\a", true},
                 {L"\\\\?\\C:\\a.tmp", true},         {L"a.tmp", false},       {L"\\a.tmp", false},
                 {L"C:a.tmp", false},                 {L"", false},            {L"\\\\", false},
                 {L"\\\\\\x", false},                 {L"1:\\a.tmp", false},   {L"\u00C4:\\a.tmp", false},
                 {L"::{645FF040}\\x", false}};
    for (const auto& c : cases) EXPECT_EQ(c.absolute, qpath::IsAbsolutePath(c.path)) << c.path;
}

TEST(PathRules, LetterCaseFollowsTheSystemFoldingBeyondAToZ)
{
    const struct {
        const wchar_t* a;
        const wchar_t* b;
        bool equal;
    } cases[] = {
        {L".TMP", L".tmp", true},
        {L"\u00C4RGER.LNK", L"\u00E4rger.lnk", true},                      // Latin-1 umlaut
        {L"\u0414\u0410\u041D\u041D\u042B\u0415", L"\u0434\u0430\u043D\u043D\u044B\u0435", true},  // Cyrillic
        {L"\u03A3\u03A0", L"\u03C3\u03C0", true},                          // Greek
        {L".tmp", L".tmp ", false},
        {L"a.bak", L"a.bac", false},
        {L"", L"", true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.equal, qpath::EqualsNoCase(c.a, c.b)) << c.a << L" / " << c.b;
        EXPECT_EQ(c.equal, qpath::FoldCase(c.a) == qpath::FoldCase(c.b)) << c.a << L" / " << c.b;
    }
    EXPECT_EQ(L"c:\\\u00E4rger\\x.lnk", qpath::FoldCase(L"C:\\\u00C4RGER\\X.LNK"));
    EXPECT_TRUE(qpath::StartsWithNoCase(L"FILE:///C:/a", L"file:///"));
    EXPECT_FALSE(qpath::StartsWithNoCase(L"FILE:/", L"file:///"));
}

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
