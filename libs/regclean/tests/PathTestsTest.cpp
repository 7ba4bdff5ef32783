// The path and command-line tests on a folder of fixture files.
#include <gtest/gtest.h>

#include <regex>

#include "PathTests.h"
#include "TestUtil.h"

using namespace bexlar;

namespace {

class PathTestsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        dir_ = new std::wstring(bxtest::NewTempDir(L"paths"));
        const std::wstring& d = *dir_;
        bxtest::MakeFile(d + L"\\x.dll");
        bxtest::MakeDir(d + L"\\folder");
        bxtest::MakeDir(d + L"\\app dir");
        bxtest::MakeFile(d + L"\\app dir\\app.exe");
        bxtest::MakeDir(d + L"\\Tools");
        bxtest::MakeFile(d + L"\\Tools\\run.exe");
        bxtest::MakeFile(d + L"\\rel.dll");
        bxtest::MakeDir(d + L"\\rundll tools");
        bxtest::MakeFile(d + L"\\rundll tools\\uninst.exe");
        SetEnvironmentVariableW(L"BXFIXTURE", d.c_str());
    }
    static std::wstring* dir_;
};
std::wstring* PathTestsTest::dir_ = nullptr;

std::wstring Forward(std::wstring s)
{
    for (auto& c : s)
        if (c == L'\\') c = L'/';
    return s;
}

TEST_F(PathTestsTest, ExistenceTestTable)
{
    const std::wstring d = *dir_;
    struct Case {
        std::wstring text;
        int kind;
        long expected;
    } cases[] = {
        {d + L"\\x.dll", kFileOrFolder, kPathExists},
        {L"\"" + d + L"\\x.dll\"", kFileOrFolder, kPathExists},  // quotes are removed
        {L"  " + d + L"\\x.dll\t", kFileOrFolder, kPathExists},  // blanks trimmed
        {d + L"\\gone.dll", kFileOrFolder, kPathMissing},
        {d + L"\\gone\\deeper\\a.dll", kFileOrFolder, kPathMissing},
        {d + L"\\folder", kFileOrFolder, kPathExists},
        {d + L"\\folder", kFileOnly, kPathMissing},
        {d + L"\\folder\\", kFolderOnly, kPathExists},
        {d + L"\\x.dll", kFolderOnly, kPathMissing},
        {L"%BXFIXTURE%\\x.dll", kFileOrFolder, kPathExists},
        {L"%BXFIXTURE%\\gone.dll", kFileOrFolder, kPathMissing},
        {L"notepad.exe", kFileOnly, kPathExists},  // found in the system folder
        {L"file:///" + Forward(d) + L"/x.dll", kFileOrFolder, kPathExists},
        {L"FILE:///" + Forward(d) + L"/gone.dll", kFileOrFolder, kPathMissing},
        {L"http://example.invalid/x.dll", kFileOrFolder, E_FAIL},
        {d + L"\\*.dll", kFileOrFolder, E_FAIL},               // a wildcard names no file
        {L"\\\\server\\share\\x.dll", kFileOrFolder, E_FAIL},  // network: unknown
        {L"J:\\x.dll", kFileOrFolder, E_FAIL},                 // no such drive
        {L"nosuchprogram-bx.exe", kFileOrFolder, E_FAIL},      // relative: unknown
        {L"rel.dll", kFileOrFolder, E_FAIL},
        {L"", kFileOrFolder, E_FAIL},
        {L"\"\"", kFileOrFolder, E_FAIL},
    };
    // The same answers for a 32-bit scan on 64-bit Windows (wow64), which looks through the real System32.
    for (const bool wow64 : {false, true}) {
        for (const Case& c : cases) {
            PathProbe probe(wow64);
            EXPECT_EQ(TestPath(c.text, c.kind, probe, nullptr), c.expected)
                << "text: " << testing::PrintToString(c.text) << " wow64 " << wow64;
        }
    }
}

TEST_F(PathTestsTest, TestedTextIsTheNormalisedPath)
{
    PathProbe probe(false);
    std::wstring tested;
    EXPECT_EQ(TestPath(L"file:///C:/gone-bx/a.dll", kFileOrFolder, probe, &tested), kPathMissing);
    EXPECT_EQ(tested, L"C:/gone-bx/a.dll");
    EXPECT_EQ(TestPath(L"\"%BXFIXTURE%\\x.dll\"", kFileOrFolder, probe, &tested), kPathExists);
    EXPECT_EQ(tested, *dir_ + L"\\x.dll");
    EXPECT_EQ(TestPath(L"notepad.exe", kFileOnly, probe, &tested), kPathExists);
    EXPECT_EQ(tested, probe.SystemDir() + L"\\notepad.exe");
}

// A relative name must not be decided by the folder the program happens to run in.
TEST_F(PathTestsTest, RelativeNamesDoNotDependOnTheCurrentFolder)
{
    wchar_t before[MAX_PATH + 1];
    GetCurrentDirectoryW(MAX_PATH, before);
    long answers[2];
    const wchar_t* folders[2] = {dir_->c_str(), L"C:\\"};
    for (int i = 0; i < 2; ++i) {
        SetCurrentDirectoryW(folders[i]);
        PathProbe probe(false);
        answers[i] = TestCommandLine(L"rel.dll /x", probe);
    }
    SetCurrentDirectoryW(before);
    EXPECT_EQ(answers[0], answers[1]);
    EXPECT_EQ(answers[0], E_FAIL);
}

TEST_F(PathTestsTest, CommandLineTable)
{
    const std::wstring d = *dir_;
    struct Case {
        std::wstring command;
        long expected;
    } cases[] = {
        {L"\"" + d + L"\\app dir\\app.exe\" /s", kPathExists},
        {d + L"\\app dir\\app.exe /s", kPathExists},  // cut at the blank
        {d + L"\\app dir\\app.exe " + d + L"\\data\\x.txt", kPathExists},
        {d + L"\\Tools\\run -x", kPathExists},  // run.exe
        {d + L"\\Tools\\run", kPathExists},
        {d + L"\\gone\\app.exe /s", kPathMissing},
        {L"\"" + d + L"\\gone.exe\" \"%1\"", kPathMissing},
        {L"rundll32.exe shell32.dll,Control_RunDLL " + d + L"\\Missing\\x.cpl", kPathMissing},
        {L"rundll32.exe shell32.dll,Control_RunDLL " + d + L"\\x.dll", kPathExists},
        {L"rundll32.exe shell32.dll,Control_RunDLL", kPathExists},  // the program itself
        // Only the module a rundll command loads decides; arguments that are folders or placeholders never do.
        {L"\"" + d + L"\\app dir\\app.exe\" /rundll " + d + L"\\missing.ini", kPathExists},
        {L"\"" + d + L"\\rundll tools\\uninst.exe\" /log " + d + L"\\gone.log", kPathExists},
        {L"rundll32.exe shell32.dll,ShellExec_RunDLL " + d + L"\\folder", kPathExists},
        {L"rundll32.exe url.dll,FileProtocolHandler " + d + L"\\folder\\%1", kPathExists},
        {L"RunDll32 \"" + d + L"\\x.dll\",Entry " + d + L"\\gone.txt", kPathExists},
        {L"rundll32.exe " + d + L"\\gone.dll,Entry", kPathMissing},
        {L"\"%SystemRoot%\\system32\\rundll32.exe\" \"" + d + L"\\gone dir\\m.dll\",Entry", kPathMissing},
        {L"rundll32.exe nosuchmodule-bx.dll,Entry", E_FAIL},  // relative and not in the system folders
        {L"rundll32.exe shell32.dll,Control_RunDLL \"" + d + L"\\Missing\\y.cpl\",@0", kPathMissing},
        {L"%BXFIXTURE%\\Tools\\run.exe %1", kPathExists},
        {L"notepad.exe %1", kPathExists},
        {L"nosuchprogram-bx.exe %1", E_FAIL},
        {L"\"%1\" %*", E_FAIL},
        {L"J:\\gone\\x.exe", E_FAIL},
        {L"   ", E_FAIL},
    };
    for (const bool wow64 : {false, true}) {
        for (const Case& c : cases) {
            PathProbe probe(wow64);
            EXPECT_EQ(TestCommandLine(c.command, probe), c.expected)
                << "command: " << testing::PrintToString(c.command) << " wow64 " << wow64;
        }
    }
}

TEST_F(PathTestsTest, DrivePathSearchFindsTheProgramAndHonoursTheLimit)
{
    PathProbe probe(false);
    std::wstring found;
    EXPECT_EQ(DrivePathSearch(L"x " + *dir_ + L"\\Tools\\run -x", kCommandCapacity, probe, &found), kSearchFound);
    EXPECT_EQ(found, *dir_ + L"\\Tools\\run.exe");
    EXPECT_EQ(DrivePathSearch(L"no drive path here", kCommandCapacity, probe, &found), kSearchUnknown);
    std::wstring longPath = *dir_ + L"\\" + std::wstring(300, L'a') + L".exe";
    EXPECT_EQ(DrivePathSearch(longPath, kCommandCapacity, probe, &found), kSearchUnknown);
}

// The matcher finds exactly what the drive-path expression finds.
TEST(DrivePath, MatchesTheExpression)
{
    const std::wregex expression(L"([a-zA-Z]:(\\\\[^\\\\/:*?\"<>|]+)+)");
    const wchar_t* texts[] = {
        L"C:\\a\\b.exe /s",
        L"rundll32.exe shell32.dll,Control_RunDLL C:\\Missing\\x.cpl",
        L"\"C:\\Program Files\\App\\app.exe\" \"%1\"",
        L"x C:\\ y D:\\z",
        L"C:\\\\double\\x",
        L"C:\\dir\\",
        L"1:\\no c:\\yes\\",
        L"\\\\?\\C:\\long\\path.dll,3",
        L"C:/forward/x.dll E:\\a|b\\c",
        L"C:\\a<b>\\c*d?e\"f",
        L"\u00e9:\\x Z:\\\u4e2d\u6587\\\u6587\u4ef6.exe -x",
        L"no path at all",
        L"C:",
        L"C:\\",
        L"C:\\a\nB:\\b",
    };
    for (const wchar_t* text : texts) {
        std::wstring t = text;
        std::wsmatch m;
        bool expected = std::regex_search(t, m, expression);
        size_t pos = 0, length = 0;
        ASSERT_EQ(FindDrivePath(t, &pos, &length), expected) << testing::PrintToString(t);
        if (!expected) continue;
        EXPECT_EQ(pos, static_cast<size_t>(m.position(0))) << testing::PrintToString(t);
        EXPECT_EQ(length, static_cast<size_t>(m.length(0))) << testing::PrintToString(t);
    }
}

}  // namespace
