// File existence, size, extension, command lines, path normalisation and version texts.
#include "TestSupport.h"

using namespace common_test;

namespace {

class Files : public TempFolderTest {};

TEST_F(Files, ExistenceCountsFoldersAndSearchesSystemFolders)
{
    WriteFile(L"file.txt");
    MakeFolder(L"folder");
    wchar_t system[MAX_PATH];
    GetSystemDirectoryW(system, MAX_PATH);
    struct Case {
        const char* name;
        std::wstring path;
        bool exists;
        bool existsInSystem;
    } cases[] = {
        {"file", Path(L"file.txt"), true, true},
        {"folder", Path(L"folder"), true, true},
        {"missing", Path(L"missing.txt"), false, false},
        {"empty", L"", false, false},
        {"bare system library", L"kernel32.dll", false, true},
        {"bare program in the Windows folder", L"notepad.exe", false, true},
        {"bare missing name", L"qv-no-such-library.dll", false, false},
        {"environment reference", L"%SystemRoot%\\system32\\kernel32.dll", false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.exists, SBIsFileExistW(c.path.c_str()));
        EXPECT_EQ(c.existsInSystem, SBIsFileExistInSystemW(c.path.c_str()));
    }
    EXPECT_FALSE(SBIsFileExistW(nullptr));
    EXPECT_FALSE(SBIsFileExistInSystemW(nullptr));
    // Command-line style quotes around a path are accepted by the system lookup.
    EXPECT_TRUE(SBIsFileExistInSystemW((L"\"" + std::wstring(system) + L"\\kernel32.dll\"").c_str()));
}

TEST_F(Files, SizeIsSixtyFourBitAndNegativeWhenUnreadable)
{
    WriteFile(L"empty.bin");
    WriteFile(L"some.bin", 1234);
    MakeFolder(L"folder");
    // A sparse file beyond 4 GiB checks the high part of the size.
    HANDLE h = CreateFileW(Path(L"big.bin").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, h);
    LARGE_INTEGER at;
    at.QuadPart = 5LL * 1024 * 1024 * 1024 + 7;
    bool big = SetFilePointerEx(h, at, nullptr, FILE_BEGIN) && SetEndOfFile(h);
    CloseHandle(h);

    EXPECT_EQ(0, SBGetFileSizeW(Path(L"empty.bin").c_str()));
    EXPECT_EQ(1234, SBGetFileSizeW(Path(L"some.bin").c_str()));
    if (big) {
        EXPECT_EQ(at.QuadPart, SBGetFileSizeW(Path(L"big.bin").c_str()));
    }
    EXPECT_EQ(-1, SBGetFileSizeW(Path(L"folder").c_str()));
    EXPECT_EQ(-1, SBGetFileSizeW(Path(L"missing").c_str()));
    EXPECT_EQ(-1, SBGetFileSizeW(L""));
    EXPECT_EQ(-1, SBGetFileSizeW(nullptr));
}

TEST(FileExtension, LastComponentOnlyWithItsDot)
{
    struct Case {
        const wchar_t* path;
        const wchar_t* ext;
    } cases[] = {
        {L"a.b.txt", L".txt"},
        {L"noext", L""},
        {L"dir.x\\file", L""},
        {L"dir.x/file", L""},
        {L"C:\\t\\A.TMP", L".TMP"},
        {L".tmp", L".tmp"},
        {L"C:\\t\\.tmp", L".tmp"},
        {L"c.tmp.txt", L".txt"},
        {L"C:file.log", L".log"},
        {L"", L""},
        {nullptr, L""},
    };
    for (const Case& c : cases) EXPECT_EQ(c.ext, SBGetFileExtW(c.path)) << (c.path ? c.path : L"(null)");
}

TEST_F(Files, ProgramPathOfCommandLines)
{
    MakeFolder(L"Qv Dir");
    WriteFile(L"Qv Dir\\tool.exe");
    WriteFile(L"Qv Dir\\tool.exe x.exe");  // a longer name that also exists: the shortest match wins
    SetEnvironmentVariableW(L"QV_TEST_DIR", m_dir.c_str());
    const std::wstring dir = Path(L"Qv Dir");
    struct Case {
        const char* name;
        std::wstring command;
        std::wstring program;
    } cases[] = {
        {"quoted with arguments", L"\"C:\\Program Files\\App\\app.exe\" -x \"y z\"",
         L"C:\\Program Files\\App\\app.exe"},
        {"quoted, leading blanks", L"  \"C:\\a b\\c.exe\"", L"C:\\a b\\c.exe"},
        {"quoted without closing quote", L"\"C:\\a b\\c.exe", L"C:\\a b\\c.exe"},
        {"unquoted existing path with blanks", dir + L"\\tool.exe /s", dir + L"\\tool.exe"},
        {"unquoted existing, longer name too", dir + L"\\tool.exe x.exe /s", dir + L"\\tool.exe"},
        {"unquoted missing path with blanks", dir + L"\\gone.exe /s", dir + L"\\gone.exe"},
        {"unquoted with arguments", L"C:\\Windows\\app.exe %1", L"C:\\Windows\\app.exe"},
        {"bare program with arguments", L"notepad.exe \"%1\"", L"notepad.exe"},
        {"library entry point", L"rundll32.exe shell32.dll,Control_RunDLL", L"rundll32.exe"},
        {"icon index", L"C:\\x\\icons.dll,-5", L"C:\\x\\icons.dll"},
        {"no extension", L"C:\\bin\\tool -v", L"C:\\bin\\tool"},
        {"plain path", L"C:\\a.exe", L"C:\\a.exe"},
        {"environment reference", L"%QV_TEST_DIR%\\Qv Dir\\gone.exe -q", dir + L"\\gone.exe"},
        {"blank only", L"   ", L""},
        {"empty", L"", L""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::wstring path = L"junk";
        EXPECT_EQ(!c.program.empty(), SBGetFileNameFromCommandW(c.command.c_str(), path));
        EXPECT_EQ(c.program, path);
        wchar_t buffer[261];
        buffer[0] = L'#';
        int found = SBGetFileNameFromCommandW(c.command.c_str(), buffer, 261);
        EXPECT_EQ(!c.program.empty(), found != 0);
        EXPECT_EQ(c.program, std::wstring(buffer));
    }
    wchar_t small[5];
    EXPECT_NE(0, SBGetFileNameFromCommandW(L"C:\\abcdef.exe", small, 5));
    EXPECT_EQ(std::wstring(L"C:\\a"), small);
    std::wstring path;
    EXPECT_FALSE(SBGetFileNameFromCommandW(nullptr, path));
}

TEST(PathNormalise, InPlaceWithoutGrowing)
{
    struct Case {
        const wchar_t* in;
        const wchar_t* out;
    } cases[] = {
        {L"C:/a//b\\\\c", L"C:\\a\\b\\c"},
        {L"C:\\a\\.\\b\\.", L"C:\\a\\b\\"},
        {L"C:\\a\\", L"C:\\a\\"},
        {L"\\\\server\\share//x", L"\\\\server\\share\\x"},
        {L"//server/share", L"\\\\server\\share"},
        {L"\\\\?\\C:\\x\\\\y", L"\\\\?\\C:\\x\\y"},
        {L"\\\\.\\C:", L"\\\\.\\C:"},
        {L".\\a\\..\\b", L".\\a\\..\\b"},
        {L"C:\\a.b\\.c", L"C:\\a.b\\.c"},
        {L"", L""},
    };
    for (const Case& c : cases) {
        wchar_t buffer[MAX_PATH];
        wcscpy(buffer, c.in);
        EXPECT_EQ(buffer, SBNormalizePathW(buffer));
        EXPECT_STREQ(c.out, buffer) << c.in;
        EXPECT_EQ(c.out, SBNormalizePathW(std::wstring(c.in)));
    }
    EXPECT_EQ(nullptr, SBNormalizePathW(static_cast<wchar_t*>(nullptr)));
}

TEST_F(Files, VersionTextsOrEmpty)
{
    WriteFile(L"plain.txt", 10);
    const std::wstring app = SBGetAppPathW();
    const std::wstring versioned = app + L"CommonVersioned.dll";
    const std::wstring fixedOnly = app + L"CommonFixedVersion.dll";
    struct Case {
        const char* name;
        std::wstring path;
        const wchar_t* company;
        const wchar_t* description;
        const wchar_t* version;
    } cases[] = {
        {"full resource", versioned, L"Quorvel Test Makers", L"Common test library", L"1.2.3.4 (test)"},
        {"fixed version only", fixedOnly, L"Fixed Only", L"", L"5.6.7.8"},
        {"no resource", Path(L"plain.txt"), L"", L"", L""},
        {"missing file", Path(L"missing.dll"), L"", L"", L""},
        {"empty path", L"", L"", L"", L""},
    };
    typedef bool (*BufferGetter)(const wchar_t*, wchar_t*, int);
    typedef std::wstring (*TextGetter)(const wchar_t*);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const struct {
            BufferGetter toBuffer;
            TextGetter toText;
            const wchar_t* expected;
        } getters[] = {
            {SBGetFileCompanyW, SBGetFileCompanyW, c.company},
            {SBGetFileDescriptionW, SBGetFileDescriptionW, c.description},
            {SBGetFileVersionW, SBGetFileVersionW, c.version},
        };
        for (const auto& g : getters) {
            wchar_t buffer[1024];
            buffer[0] = L'#';
            EXPECT_EQ(*g.expected != L'\0', g.toBuffer(c.path.c_str(), buffer, 1024));
            EXPECT_STREQ(g.expected, buffer);
            EXPECT_EQ(g.expected, g.toText(c.path.c_str()));
        }
    }
    wchar_t small[6];
    EXPECT_TRUE(SBGetFileCompanyW(versioned.c_str(), small, 6));
    EXPECT_STREQ(L"Quorv", small);
}

}  // namespace
