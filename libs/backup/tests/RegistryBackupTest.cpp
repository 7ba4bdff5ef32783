// Registry export and import through Wine's own registry editor.
#include "MessageSink.h"
#include "RegistryBackup.h"
#include "TestSupport.h"

#include <Common.h>
#include <gtest/gtest.h>

using namespace ColdrithTest;

namespace {
const wchar_t kTestKey[] = L"Software\\QuorvelTest";

// The editor's argument the backup page builds: every backslash doubled, in double quotes.
std::wstring PageArgument(const std::wstring& file)
{
    std::wstring text = L"\"";
    for (wchar_t c : file) text += c == L'\\' ? std::wstring(L"\\\\") : std::wstring(1, c);
    return text + L"\"";
}

struct RegistryRun {
    CMessageSink sink;
    Coldrith::CRegistryBackup backup;
    RegistryRun() { backup.SetMessageWnd(sink.Window()); }
};

std::wstring ReadTestValue()
{
    std::wstring text;
    if (!SBRegGetStringValueW(HKEY_CURRENT_USER, kTestKey, L"Value", text)) return L"<missing>";
    return text;
}
}  // namespace

TEST(RegistryBackup, EditorArgumentsAndItsPath)
{
    EXPECT_EQ(Coldrith::RegFileFromArgument(L"\"C:\\\\a b\\\\Backup_x.reg\""), L"C:\\a b\\Backup_x.reg");
    EXPECT_EQ(Coldrith::RegFileFromArgument(L"C:\\plain.reg"), L"C:\\plain.reg");
    EXPECT_EQ(Coldrith::RegFileFromArgument(L"\"\\\\\\\\srv\\\\share\\\\x.reg\""), L"\\\\srv\\share\\x.reg");
    wchar_t windows[MAX_PATH];
    GetWindowsDirectoryW(windows, MAX_PATH);
    EXPECT_EQ(Coldrith::RegistryEditorPath(), std::wstring(windows) + L"\\regedit.exe");
}

TEST(RegistryBackup, ExportThenImportBringsASeededKeyBack)
{
    CScratchDir dir(L"regexport");
    MakeDirs(dir / L"with blank");
    std::wstring file = dir / L"with blank\\Backup_Dec.07_2026 11-53-00 PM.reg";
    ASSERT_EQ(SBRegSetStringValueW(HKEY_CURRENT_USER, kTestKey, L"Value", L"seeded"), ERROR_SUCCESS);

    RegistryRun run;
    std::wstring argument = PageArgument(file);
    ASSERT_TRUE(run.backup.BackupRegistry(argument));
    ASSERT_TRUE(run.sink.WaitForDone());
    EXPECT_EQ(run.sink.outcome, 1);
    EXPECT_EQ(run.sink.registryPath, argument) << "the message carries the text that was passed";
    std::string bytes = ReadBytes(file);
    std::wstring header = L"\xFEFFWindows Registry Editor Version 5.00";
    ASSERT_GE(bytes.size(), header.size() * 2);
    EXPECT_EQ(std::wstring(reinterpret_cast<const wchar_t*>(bytes.data()), header.size()), header);

    // Only the seeded key goes back (a whole-registry import is no test to run): its lines come from the export.
    std::wstring text(reinterpret_cast<const wchar_t*>(bytes.data()) + 1, bytes.size() / 2 - 1);
    // The whole-registry export holds the user's hive under HKEY_USERS\<user>.
    size_t key = text.find(L"\\Software\\QuorvelTest]\r\n");
    ASSERT_NE(key, std::wstring::npos);
    size_t section = text.rfind(L"\r\n[", key) + 2;
    ASSERT_EQ(text.compare(section, 12, L"[HKEY_USERS\\"), 0);
    std::wstring part = text.substr(section, text.find(L"\r\n\r\n", section) - section);
    std::wstring small = L"\xFEFFWindows Registry Editor Version 5.00\r\n\r\n" + part + L"\r\n";
    WriteBytes(dir / L"part.reg", std::string(reinterpret_cast<const char*>(small.data()), small.size() * 2));
    ASSERT_EQ(SBRegDeleteTreeW(HKEY_CURRENT_USER, kTestKey), ERROR_SUCCESS);
    ASSERT_EQ(ReadTestValue(), L"<missing>");

    ASSERT_TRUE(run.backup.RestoreRegistry(PageArgument(dir / L"part.reg")));
    ASSERT_TRUE(run.sink.WaitForDone());
    EXPECT_EQ(run.sink.outcome, 2);
    EXPECT_EQ(ReadTestValue(), L"seeded");
    SBRegDeleteTreeW(HKEY_CURRENT_USER, kTestKey);
}

TEST(RegistryBackup, FailuresEndTheRunAsFailures)
{
    CScratchDir dir(L"regfail");
    RegistryRun run;
    struct Case {
        const char* what;
        bool import;
        std::wstring argument;
    };
    const Case cases[] = {
        {"export into a missing folder", false, PageArgument(dir / L"no\\such\\folder\\x.reg")},
        {"an unquoted path with a blank", false, dir / L"two words.reg"},
        {"import of a missing file", true, PageArgument(dir / L"missing.reg")},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(c.import ? run.backup.RestoreRegistry(c.argument) : run.backup.BackupRegistry(c.argument));
        ASSERT_TRUE(run.sink.WaitForDone()) << c.what;
        EXPECT_EQ(run.sink.outcome, 0) << c.what;
    }
    EXPECT_FALSE(Exists(dir / L"two words.reg"));
    EXPECT_FALSE(Exists(dir / L"two"));

    // An editor that cannot be started still ends the run (this prefix is the test's own).
    std::wstring editor = Coldrith::RegistryEditorPath(), aside = editor + L".aside";
    ASSERT_TRUE(MoveFileW(editor.c_str(), aside.c_str()));
    ASSERT_TRUE(run.backup.BackupRegistry(PageArgument(dir / L"x.reg")));
    bool done = run.sink.WaitForDone();
    MoveFileW(aside.c_str(), editor.c_str());
    ASSERT_TRUE(done);
    EXPECT_EQ(run.sink.outcome, 0);
}

namespace {
std::string Utf16(const std::wstring& text)
{
    std::wstring withBom = L"\xFEFF" + text;
    return std::string(reinterpret_cast<const char*>(withBom.data()), withBom.size() * 2);
}
}  // namespace

// The editor takes anything and says it worked: a file that is no whole registry export is refused before it
// reaches the editor, and the registry stays as it was.
TEST(RegistryBackup, ImportsOnlyWholeRegistryExports)
{
    CScratchDir dir(L"regcheck");
    const std::string key = "[HKEY_CURRENT_USER\\Software\\QuorvelTest]\r\n";
    const std::wstring wideKey = L"[HKEY_CURRENT_USER\\Software\\QuorvelTest]\r\n";
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::string program = ReadBytes(self);
    struct Case {
        const char* what;
        std::string bytes;
        LPARAM outcome;
    };
    const Case cases[] = {
        {"random bytes", RandomBytes(5000, 7), 0},
        {"a program", program, 0},
        {"an empty file", "", 0},
        {"a header alone, cut before its line ends", "REGEDIT4", 0},
        {"cut inside a value", "REGEDIT4\r\n\r\n" + key + "\"Value\"=\"cut\"\r\n\"Other\"=\"ha", 0},
        {"cut inside a continued value", "REGEDIT4\r\n\r\n" + key + "\"Value\"=\"cut\"\r\n\"B\"=hex:01,02,\\\r\n", 0},
        {"UTF-16 cut inside a character",
         Utf16(L"Windows Registry Editor Version 5.00\r\n\r\n" + wideKey + L"\"Value\"=\"cut\"\r\n").substr(0, 151), 0},
        {"another header", "REGEDIT5\r\n\r\n" + key + "\"Value\"=\"cut\"\r\n", 0},
        {"text before the header", "\r\nREGEDIT4\r\n\r\n" + key + "\"Value\"=\"cut\"\r\n", 0},
        {"a whole file", "REGEDIT4\r\n\r\n" + key + "\"Value\"=\"whole\"\r\n", 2},
        {"a whole UTF-16 file",
         Utf16(L"Windows Registry Editor Version 5.00\r\n\r\n" + wideKey + L"\"Value\"=\"wide\"\r\n\r\n"), 2},
    };
    RegistryRun run;
    for (const auto& c : cases) {
        ASSERT_EQ(SBRegSetStringValueW(HKEY_CURRENT_USER, kTestKey, L"Value", L"before"), ERROR_SUCCESS);
        std::wstring file = dir / L"in.reg";
        WriteBytes(file, c.bytes);
        ASSERT_TRUE(run.backup.RestoreRegistry(PageArgument(file)));
        ASSERT_TRUE(run.sink.WaitForDone()) << c.what;
        EXPECT_EQ(run.sink.outcome, c.outcome) << c.what;
        if (c.outcome == 0)
            EXPECT_EQ(ReadTestValue(), L"before") << c.what;
        else
            EXPECT_NE(ReadTestValue(), L"before") << c.what;
    }
    SBRegDeleteTreeW(HKEY_CURRENT_USER, kTestKey);
}

TEST(RegistryBackup, ASecondRequestWaitsForTheFirst)
{
    CScratchDir dir(L"regtwice");
    // Two imports of a tiny file back to back: the second starts only after the first has reported.
    std::string reg = "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\QuorvelTest]\r\n\"Value\"=\"twice\"\r\n";
    WriteBytes(dir / L"t.reg", reg);
    RegistryRun run;
    ASSERT_TRUE(run.backup.RestoreRegistry(PageArgument(dir / L"t.reg")));
    ASSERT_TRUE(run.backup.RestoreRegistry(PageArgument(dir / L"t.reg")));
    while (run.sink.registryDoneCount < 2) ASSERT_TRUE(run.sink.WaitForDone());
    EXPECT_EQ(run.sink.outcome, 2);
    EXPECT_EQ(ReadTestValue(), L"twice");
    SBRegDeleteTreeW(HKEY_CURRENT_USER, kTestKey);
}
