// Start with Windows: the launcher's text for hostile program folders, the Run value and laucher.bat in the
// prefix's registry and file system, and the launcher run by Wine's cmd with a stand-in program.
#include <gtest/gtest.h>

#include <algorithm>

#include <Common.h>

#include "QTestSupport.h"
#include "options/StartWithWindows.h"

using namespace shell_test;

namespace {

const wchar_t kRunKey[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

std::wstring RunValue()
{
    std::wstring value;
    SBRegGetStringValueNoExpandW(HKEY_LOCAL_MACHINE, kRunKey, L"Quorvel.exe", value);
    return value;
}

std::string FileBytes(const std::wstring& path)
{
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return "<missing>";
    std::string bytes(::GetFileSize(file, nullptr), '\0');
    DWORD read = 0;
    if (!bytes.empty()) ::ReadFile(file, &bytes[0], DWORD(bytes.size()), &read, nullptr);
    ::CloseHandle(file);
    return bytes;
}

bool Exists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

TEST(LauncherText, QuotesEveryCharacterCmdWouldActOn)
{
    struct Case {
        const wchar_t* path;
        const wchar_t* line;
    } cases[] = {
        {L"C:\\Quorvel\\Quorvel.exe", L"@start C:\\Quorvel\\Quorvel.exe"},
        {L"C:\\Program Files\\Quorvel.exe", L"@start C:\\Program\" \"Files\\Quorvel.exe"},
        {L"C:\\a  b\\Quorvel.exe", L"@start C:\\a\"  \"b\\Quorvel.exe"},
        {L"C:\\Q (a)\\Quorvel.exe", L"@start C:\\Q\" (\"a\")\"\\Quorvel.exe"},
        {L"C:\\A&B\\Quorvel.exe", L"@start C:\\A\"&\"B\\Quorvel.exe"},
        {L"C:\\50%\\Quorvel.exe", L"@start C:\\50\"%%\"\\Quorvel.exe"},
        {L"C:\\x^(y)\\Quorvel.exe", L"@start C:\\x\"^(\"y\")\"\\Quorvel.exe"},
        {L"C:\\a,b;c=d\\Quorvel.exe", L"@start C:\\a\",\"b\";\"c\"=\"d\\Quorvel.exe"},
        {L"C:\\ 100% \\Quorvel.exe", L"@start C:\\\" \"100\"%% \"\\Quorvel.exe"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(std::wstring(c.line) + L"\r\nexit", Shell::LauncherBatchText(c.path)) << c.path;

    std::string ansi;
    EXPECT_TRUE(Shell::ToAnsiExactly(L"C:\\Caf\u00e9\\Quorvel.exe", ansi));  // in code page 1252
    EXPECT_EQ("C:\\Caf\xe9\\Quorvel.exe", ansi);
    EXPECT_FALSE(Shell::ToAnsiExactly(L"C:\\\u65e5\u672c\\Quorvel.exe", ansi));
    EXPECT_FALSE(Shell::ToAnsiExactly(L"C:\\\u0141\\Quorvel.exe", ansi));  // no best-fit "L"
}

class StartWithWindows : public ::testing::Test {
protected:
    void SetUp() override { SBRegDeleteValueW(HKEY_LOCAL_MACHINE, kRunKey, L"Quorvel.exe"); }
    void TearDown() override
    {
        SBRegDeleteValueW(HKEY_LOCAL_MACHINE, kRunKey, L"Quorvel.exe");
        for (const std::wstring& f : m_folders) RemoveTree(f);
    }
    std::wstring Folder(const std::wstring& path)
    {
        RemoveTree(path);
        ::CreateDirectoryW(path.c_str(), nullptr);
        m_folders.push_back(path);
        return path;
    }
    std::vector<std::wstring> m_folders;
};

TEST_F(StartWithWindows, OnWritesTheLauncherAndTheQuotedRunValueOffRemovesTheValueOnly)
{
    std::wstring folder = Folder(L"C:\\Quorvel Start\\");
    EXPECT_FALSE(Shell::IsStartWithWindowsOn());
    ASSERT_EQ(ERROR_SUCCESS, Shell::SetStartWithWindows(true, folder));
    EXPECT_TRUE(Shell::IsStartWithWindowsOn());
    EXPECT_EQ(L"\"" + folder + L"laucher.bat\"", RunValue());
    EXPECT_EQ("@start C:\\Quorvel\" \"Start\\Quorvel.exe\r\nexit", FileBytes(folder + L"laucher.bat"));

    {
        // The launcher is not touched by off: one that cannot be deleted (held open here) changes nothing.
        HANDLE held = ::CreateFileW((folder + L"laucher.bat").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, held);
        EXPECT_EQ(ERROR_SUCCESS, Shell::SetStartWithWindows(false, folder));
        ::CloseHandle(held);
    }
    EXPECT_FALSE(Shell::IsStartWithWindowsOn());
    EXPECT_FALSE(SBRegValueExistW(HKEY_LOCAL_MACHINE, kRunKey, L"Quorvel.exe"));
    EXPECT_EQ("@start C:\\Quorvel\" \"Start\\Quorvel.exe\r\nexit", FileBytes(folder + L"laucher.bat"));
    // Off twice is no error.
    EXPECT_EQ(ERROR_SUCCESS, Shell::SetStartWithWindows(false, folder));
}

TEST_F(StartWithWindows, AFolderTheAnsiCodePageCannotNameIsStartedByTheRunValueItself)
{
    std::wstring folder = Folder(L"C:\\Quorvel \u65e5\u672c\\");
    // A launcher left from earlier is not left behind to be run by someone else.
    HANDLE stale =
        ::CreateFileW((folder + L"laucher.bat").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ::CloseHandle(stale);
    ASSERT_EQ(ERROR_SUCCESS, Shell::SetStartWithWindows(true, folder));
    EXPECT_EQ(L"\"" + folder + L"Quorvel.exe\"", RunValue());
    EXPECT_FALSE(Exists(folder + L"laucher.bat"));
    EXPECT_TRUE(Shell::IsStartWithWindowsOn());
}

TEST_F(StartWithWindows, ALauncherThatCannotBeWrittenLeavesStartWithWindowsOff)
{
    std::wstring folder = Folder(L"C:\\Quorvel Blocked\\");
    ASSERT_TRUE(::CreateDirectoryW((folder + L"laucher.bat").c_str(), nullptr));  // a folder in its place
    EXPECT_NE(ERROR_SUCCESS, Shell::SetStartWithWindows(true, folder));
    EXPECT_FALSE(Shell::IsStartWithWindowsOn());
    EXPECT_FALSE(SBRegValueExistW(HKEY_LOCAL_MACHINE, kRunKey, L"Quorvel.exe"));
}

DWORD RunAndWait(const std::wstring& application, std::wstring commandLine, const std::wstring& cwd)
{
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    if (!::CreateProcessW(application.empty() ? nullptr : application.c_str(), &commandLine[0], nullptr, nullptr, FALSE,
                          CREATE_NO_WINDOW, nullptr, cwd.c_str(), &si, &pi))
        return ::GetLastError();
    DWORD waited = ::WaitForSingleObject(pi.hProcess, 30000);
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
    return waited;
}

// Wine's cmd with the arguments, from the folder.
DWORD RunCmd(const std::wstring& arguments, const std::wstring& cwd)
{
    wchar_t system[MAX_PATH];
    ::GetSystemDirectoryW(system, MAX_PATH);
    return RunAndWait(std::wstring(system) + L"\\cmd.exe", L"cmd.exe " + arguments, cwd);
}

// The runs recorded by the stand-in program in the folder, once at least `count` are there.
std::string WaitForRuns(const std::wstring& folder, size_t count)
{
    std::string runs;
    PumpUntil(
        [&] {
            runs = FileBytes(folder + L"runs.txt");
            return size_t(std::count(runs.begin(), runs.end(), '\n')) >= count;
        },
        20000);
    return runs;
}

// A folder whose name would run a second command or expand a variable if the launcher did not quote it: the
// launcher run by Wine's cmd starts only the program, and so does the Run value.
TEST_F(StartWithWindows, AHostileFolderNameStartsOnlyTheProgram)
{
    const std::wstring name = L"C:\\Quorvel & mkdir injected 100%PATH% (a=b;c,d) x^y\\";
    std::wstring folder = Folder(name);
    std::wstring cwd = Folder(L"C:\\launcher cwd\\");
    ASSERT_TRUE(::CopyFileW((ProgramFolder() + L"QRunRecorder.exe").c_str(), (folder + L"Quorvel.exe").c_str(), FALSE));
    ASSERT_EQ(ERROR_SUCCESS, Shell::SetStartWithWindows(true, folder));
    // cmd would take the quotes off a batch file's path with these characters: the Run value names the program.
    EXPECT_EQ(L"\"" + folder + L"Quorvel.exe\"", RunValue());

    ASSERT_EQ(WAIT_OBJECT_0, RunCmd(L"/c laucher.bat", folder));
    std::string runs = WaitForRuns(folder, 1);  // "start" does not wait for the program
    std::string program = "C:\\Quorvel & mkdir injected 100%PATH% (a=b;c,d) x^y\\Quorvel.exe\t";
    EXPECT_EQ(0u, runs.find(program)) << runs;

    ASSERT_EQ(WAIT_OBJECT_0, RunAndWait(L"", RunValue(), cwd));
    runs = WaitForRuns(folder, 2);
    EXPECT_EQ(2, std::count(runs.begin(), runs.end(), '\n')) << runs;
    EXPECT_NE(std::string::npos, runs.find(program, 1)) << runs;
    for (const std::wstring& place : {cwd, folder, std::wstring(L"C:\\"), ProgramFolder()})
        EXPECT_FALSE(Exists(place + L"injected")) << "a second command ran";
}

// An ordinary folder with blanks: the Run value starts laucher.bat, which cmd runs to start the program.
TEST_F(StartWithWindows, TheRunValueStartsTheLauncherWhichStartsTheProgram)
{
    std::wstring folder = Folder(L"C:\\Program Files\\Quorvel Test\\");
    ASSERT_TRUE(::CopyFileW((ProgramFolder() + L"QRunRecorder.exe").c_str(), (folder + L"Quorvel.exe").c_str(), FALSE));
    ASSERT_EQ(ERROR_SUCCESS, Shell::SetStartWithWindows(true, folder));
    ASSERT_EQ(L"\"" + folder + L"laucher.bat\"", RunValue());
    ASSERT_EQ(WAIT_OBJECT_0, RunCmd(L"/c " + RunValue(), L"C:\\"));
    std::string runs = WaitForRuns(folder, 1);
    EXPECT_EQ(0u, runs.find("C:\\Program Files\\Quorvel Test\\Quorvel.exe\t")) << runs;
}

}  // namespace
