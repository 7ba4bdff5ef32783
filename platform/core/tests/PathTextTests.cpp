// The path text rules: absolute paths, the parts of a path, letter case by the system's folding.
#include <gtest/gtest.h>

#include "QPathText.h"

namespace {

TEST(PathText, AbsolutePathsAreADriveWithASeparatorOrAServerShare)
{
    const struct {
        const wchar_t* path;
        bool absolute;
    } cases[] = {{L"C:\\windows\\temp\\a.tmp", true},
                 {L"c:/a.tmp", true},
                 {L"\\\\server\\share\\a", true},
                 {L"\\\\?\\C:\\a.tmp", true},
                 {L"a.tmp", false},
                 {L"\\a.tmp", false},
                 {L"C:a.tmp", false},
                 {L"", false},
                 {L"\\\\", false},
                 {L"\\\\\\x", false},
                 {L"1:\\a.tmp", false},
                 {L"\u00C4:\\a.tmp", false},
                 {L"::{645FF040}\\x", false}};
    for (const auto& c : cases) EXPECT_EQ(c.absolute, qpath::IsAbsolutePath(c.path)) << c.path;
}

TEST(PathText, LetterCaseFollowsTheSystemFoldingBeyondAToZ)
{
    const struct {
        const wchar_t* a;
        const wchar_t* b;
        bool equal;
    } cases[] = {
        {L".TMP", L".tmp", true},
        {L"\u00C4RGER.LNK", L"\u00E4rger.lnk", true},                                              // Latin-1 umlaut
        {L"\u0414\u0410\u041D\u041D\u042B\u0415", L"\u0434\u0430\u043D\u043D\u044B\u0435", true},  // Cyrillic
        {L"\u03A3\u03A0", L"\u03C3\u03C0", true},                                                  // Greek
        {L".tmp", L".tmp ", false},
        {L"a.bak", L"a.bac", false},
        {L"", L"", true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.equal, qpath::EqualsNoCase(c.a, c.b)) << c.a << L" / " << c.b;
        EXPECT_EQ(c.equal, qpath::FoldCase(c.a) == qpath::FoldCase(c.b)) << c.a << L" / " << c.b;
    }
    EXPECT_EQ(L"c:\\\u00E4rger\\x.lnk", qpath::FoldCase(L"C:\\\u00C4RGER\\X.LNK"));
    wchar_t buffer[] = L"A.\u00C4X";
    qpath::FoldCaseInPlace(buffer, 3);  // only the length given
    EXPECT_STREQ(L"a.\u00E4X", buffer);
    EXPECT_TRUE(qpath::StartsWithNoCase(L"FILE:///C:/a", L"file:///"));
    EXPECT_FALSE(qpath::StartsWithNoCase(L"FILE:/", L"file:///"));
    EXPECT_TRUE(qpath::EndsWithNoCase(L"Backup_1.REG", L".reg"));
    EXPECT_TRUE(qpath::EndsWithNoCase(L"\u00C4RGER.LNK", L"\u00E4rger.lnk"));
    EXPECT_FALSE(qpath::EndsWithNoCase(L"reg", L".reg"));
}

TEST(PathText, APathSplitsAtItsLastSeparatorOfEitherKind)
{
    const struct {
        const wchar_t* path;
        const wchar_t* parent;
        const wchar_t* name;
        const wchar_t* trimmed;
    } cases[] = {
        {L"C:\\dir\\a.txt", L"C:\\dir", L"a.txt", L"C:\\dir\\a.txt"},
        {L"C:/dir/a.txt", L"C:/dir", L"a.txt", L"C:/dir/a.txt"},
        {L"C:\\dir/sub\\", L"C:\\dir/sub", L"", L"C:\\dir/sub"},
        {L"C:\\a.txt", L"C:", L"a.txt", L"C:\\a.txt"},
        {L"C:\\", L"C:", L"", L"C:"},
        {L"\\\\server\\share\\x", L"\\\\server\\share", L"x", L"\\\\server\\share\\x"},
        {L"a.txt", L"", L"a.txt", L"a.txt"},
        {L"dir\\\\/", L"dir\\\\", L"", L"dir"},
        {L"\\", L"", L"", L""},
        {L"", L"", L"", L""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.parent, qpath::ParentFolderOf(c.path)) << c.path;
        EXPECT_EQ(c.name, qpath::FileNameOf(c.path)) << c.path;
        EXPECT_EQ(c.trimmed, qpath::WithoutTrailingSeparators(c.path)) << c.path;
    }
}

}  // namespace
