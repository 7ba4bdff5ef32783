// The wizard's actions against the test prefix: registry, folders and files, services, programs, DLL registration
// and downloads from a local server.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <memory>

#include <tinyxml.h>

#include <Common.h>

#include "engine/DownloadExecuter.h"
#include "engine/ExecuterFactory.h"
#include "QHttpTestServer.h"
#include "QTestSupport.h"
#include "WizardTestSupport.h"

using namespace wizard_test;

namespace {

const wchar_t kKey[] = L"Software\\QvWizardTest";

// Runs the action one <Execute> element describes.
bool RunAction(const std::string& element)
{
    TiXmlDocument xml;
    xml.Parse(element.c_str());
    if (!xml.RootElement()) return false;
    return CreateExecuter(*xml.RootElement())->Run();
}

std::string RegAction(const char* op, const char* path, const char* name, const char* value = nullptr)
{
    std::string e = std::string("<Execute RegRoot=\"HKEY_CURRENT_USER\" RegOpType=\"") + op + "\" RegPath=\"" + path +
                    "\" ValName=\"" + name + "\"";
    if (value) e += std::string(" NewVal=\"") + value + "\"";
    return e + "/>";
}

std::string Narrow(const std::wstring& text)
{
    char* buffer = SBWCharToChar(text.c_str());
    std::string narrow(buffer);
    SBFreeCharBuffer(buffer);
    return narrow;
}

void MakeFile(const std::wstring& path, const char* text, DWORD attributes = FILE_ATTRIBUTE_NORMAL)
{
    HANDLE f = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, attributes, nullptr);
    DWORD written = 0;
    ::WriteFile(f, text, DWORD(strlen(text)), &written, nullptr);
    ::CloseHandle(f);
}

std::vector<std::wstring> FilesIn(const std::wstring& folder)
{
    std::vector<std::wstring> names;
    SBGetVectorFilesW(folder.c_str(), names);
    return names;
}

class RegistryActions : public ::testing::Test {
protected:
    void SetUp() override { SBRegDeleteTreeW(HKEY_CURRENT_USER, kKey); }
    void TearDown() override { SBRegDeleteTreeW(HKEY_CURRENT_USER, kKey); }
};

}  // namespace

TEST_F(RegistryActions, DwordValuesAreReadLikeAtoi)
{
    const struct {
        const char* text;
        DWORD value;
    } cases[] = {{"00", 0}, {" 12x", 12}, {"-1", 0xFFFFFFFFu}, {"", 0}};
    for (const auto& c : cases) {
        ASSERT_TRUE(RunAction(RegAction("SET_DWORD_VAL", "Software\\QvWizardTest\\a\\b", "Media Band", c.text)));
        DWORD data = 7;
        EXPECT_TRUE(ReadDword(HKEY_CURRENT_USER, L"Software\\QvWizardTest\\a\\b", L"Media Band", data));
        EXPECT_EQ(c.value, data) << c.text;
    }
}

TEST_F(RegistryActions, StringsAreStoredAsWrittenWithTheirType)
{
    std::wstring text;
    DWORD type = 0;
    ASSERT_TRUE(RunAction(RegAction("SET_STRING_VAL", "Software\\QvWizardTest", "IsShortcut", "")));
    EXPECT_TRUE(ReadString(HKEY_CURRENT_USER, kKey, L"IsShortcut", text, &type));
    EXPECT_EQ(L"", text);
    EXPECT_EQ(DWORD(REG_SZ), type);

    ASSERT_TRUE(RunAction(RegAction("SET_EXP_STRING_VAL", "Software\\QvWizardTest", "", "%windir%\\system32\\x.tlb")));
    EXPECT_TRUE(ReadString(HKEY_CURRENT_USER, kKey, nullptr, text, &type));  // the key's default value
    EXPECT_EQ(L"%windir%\\system32\\x.tlb", text);
    EXPECT_EQ(DWORD(REG_EXPAND_SZ), type);

    ASSERT_TRUE(RunAction(RegAction("SET_STRING_VAL", "Software\\QvWizardTest", "cmd", "&quot;%1&quot; %*")));
    EXPECT_TRUE(ReadString(HKEY_CURRENT_USER, kKey, L"cmd", text, &type));
    EXPECT_EQ(L"\"%1\" %*", text);
}

TEST_F(RegistryActions, DeletesSucceedWhenTheTargetIsGoneAndNeverTakeTheRoot)
{
    ASSERT_TRUE(RunAction(RegAction("SET_STRING_VAL", "Software\\QvWizardTest\\one\\two\\three", "v", "x")));
    ASSERT_TRUE(RunAction(RegAction("SET_STRING_VAL", "Software\\QvWizardTest\\one\\side", "v", "x")));
    ASSERT_TRUE(RunAction(RegAction("SET_DWORD_VAL", "Software\\QvWizardTest", "keep", "1")));

    EXPECT_TRUE(RunAction(RegAction("DELETE_VAL", "Software\\QvWizardTest", "keep")));
    EXPECT_FALSE(ValueExists(HKEY_CURRENT_USER, kKey, L"keep"));
    EXPECT_TRUE(RunAction(RegAction("DELETE_VAL", "Software\\QvWizardTest", "never there")));
    EXPECT_TRUE(RunAction(RegAction("DELETE_VAL", "Software\\QvWizardTest\\no such key", "v")));

    EXPECT_TRUE(RunAction(RegAction("DELETE_TREE", "Software\\QvWizardTest\\one", "")));
    EXPECT_FALSE(SBRegKeyExistW(HKEY_CURRENT_USER, L"Software\\QvWizardTest\\one"));
    EXPECT_TRUE(SBRegKeyExistW(HKEY_CURRENT_USER, kKey));
    EXPECT_TRUE(RunAction(RegAction("DELETE_TREE", "Software\\QvWizardTest\\one", "")));  // already gone

    // An empty key path would name the whole root.
    EXPECT_FALSE(RunAction(RegAction("DELETE_TREE", "", "")));
    EXPECT_FALSE(RunAction(RegAction("DELETE_TREE", "\\\\", "")));
    EXPECT_TRUE(SBRegKeyExistW(HKEY_CURRENT_USER, kKey));
    EXPECT_TRUE(SBRegKeyExistW(HKEY_CURRENT_USER, L"Software"));
}

TEST(FileActions, AFolderTreeIsRemovedAndRootsAreRefused)
{
    const std::wstring tree = L"C:\\QvWizardTree";
    ::CreateDirectoryW(tree.c_str(), nullptr);
    ::CreateDirectoryW((tree + L"\\a").c_str(), nullptr);
    ::CreateDirectoryW((tree + L"\\a\\b").c_str(), nullptr);
    MakeFile(tree + L"\\a\\b\\readonly.txt", "x", FILE_ATTRIBUTE_READONLY);
    MakeFile(tree + L"\\top.txt", "x");
    const std::wstring guard = L"C:\\QvWizardGuard";
    ::CreateDirectoryW(guard.c_str(), nullptr);
    MakeFile(guard + L"\\keep.txt", "x");

    // Refused, each without touching anything: the guard tree (and the drive) survive.
    const wchar_t* refused[] = {L"",
                                L"\\",
                                L"/",
                                L"C:\\",
                                L"C:",
                                L"C:/",
                                L"QvWizardGuard",
                                L"\\QvWizardGuard",
                                L"C:\\QvWizardGuard\\..",
                                L"C:QvWizardGuard"};
    for (const wchar_t* path : refused)
        EXPECT_FALSE(RunAction("<Execute RemoveDirectory=\"" + Narrow(path) + "\"/>")) << path;
    EXPECT_FALSE(RunAction("<Execute RemoveDirectory=\"C:\\QvWizardGuard\\" + std::string(300, 'a') + "\"/>"));
    EXPECT_TRUE(FileExists(guard + L"\\keep.txt"));
    EXPECT_TRUE(FileExists(L"C:\\windows\\system32"));

    EXPECT_TRUE(RunAction("<Execute RemoveDirectory=\"C:/QvWizardTree/\"/>"));
    EXPECT_FALSE(FileExists(tree));
    EXPECT_TRUE(RunAction("<Execute RemoveDirectory=\"C:\\QvWizardTree\"/>"));  // already gone

    EXPECT_TRUE(RunAction("<Execute RemoveFileName=\"C:\\QvWizardGuard\\keep.txt\"/>"));
    EXPECT_FALSE(FileExists(guard + L"\\keep.txt"));
    EXPECT_TRUE(RunAction("<Execute RemoveFileName=\"C:\\QvWizardGuard\\keep.txt\"/>"));
    EXPECT_FALSE(RunAction("<Execute RemoveFileName=\"C:\\QvWizardGuard\"/>"));  // a folder, not a file
    EXPECT_TRUE(FileExists(guard));
    EXPECT_FALSE(RunAction("<Execute RemoveFileName=\"\"/>"));
    SBDeleteDirectoryW(guard.c_str());
}

TEST(ServiceAction, SetsTheServiceToStartAutomaticallyAndStartsIt)
{
    // The stock prefix has "Automatic Updates" (wuauserv) on demand start.
    EXPECT_TRUE(RunAction("<Execute StartService=\"&quot;Automatic Updates&quot;\"/>"));
    DWORD start = 0;
    EXPECT_TRUE(ReadDword(HKEY_LOCAL_MACHINE, L"SYSTEM\\CurrentControlSet\\Services\\wuauserv", L"Start", start));
    EXPECT_EQ(DWORD(SERVICE_AUTO_START), start);
    EXPECT_TRUE(SBIsSvcRunW(L"wuauserv"));
    EXPECT_TRUE(RunAction("<Execute StartService=\"Automatic Updates\"/>"));  // already running
    EXPECT_FALSE(RunAction("<Execute StartService=\"No Such Service Here\"/>"));
    EXPECT_FALSE(RunAction("<Execute StartService=\"\"/>"));
}

TEST(ProgramActions, RegisterDllRegistersThroughRegsvr32AndWaits)
{
    UseSystemRegsvr32();
    ResetMarkerRegistrations();
    const std::wstring dll = shell_test::ProgramFolder() + L"WizardMarker.dll";
    EXPECT_TRUE(RunAction("<Execute RegisterDll=\"" + Narrow(dll) + "\"/>"));
    EXPECT_EQ(1u, MarkerRegistrations());  // done when Run returns
    // regsvr32 reports that the DLL does not load: the action fails.
    EXPECT_FALSE(RunAction("<Execute RegisterDll=\"C:\\QvNowhere\\missing.dll\"/>"));
}

TEST(ProgramActions, Regsvr32IsStartedByItsFullPathInTheSystemFolder)
{
    ASSERT_TRUE(UseRecorderAsRegsvr32());
    EXPECT_TRUE(RunAction("<Execute RegisterDll=\"C:\\Some Folder\\x.dll\"/>"));
    UseSystemRegsvr32();
    const auto runs = RecordedRuns(SystemFolder());
    ASSERT_EQ(1u, runs.size());
    EXPECT_EQ(0, _wcsicmp((SystemFolder() + L"\\regsvr32.exe").c_str(), runs[0].first.c_str()));
    EXPECT_NE(std::wstring::npos, runs[0].second.find(L"regsvr32.exe\" /s \"C:\\Some Folder\\x.dll\""))
        << Narrow(runs[0].second);
}

TEST(ProgramActions, ExeOpensTheProgramWithItsParameters)
{
    const std::wstring folder = shell_test::ProgramFolder();
    ::DeleteFileW((folder + L"runs.txt").c_str());
    const std::wstring program = folder + L"QRunRecorder.exe";
    EXPECT_TRUE(RunAction("<Execute ExecutePath=\"" + Narrow(program) + "\" ExecuteParam=\"/x C:\\none.txt\"/>"));
    ASSERT_TRUE(shell_test::PumpUntil([&] { return !RecordedRuns(folder).empty(); }, 10000));
    EXPECT_NE(std::wstring::npos, RecordedRuns(folder)[0].second.find(L"/x C:\\none.txt"));
    EXPECT_FALSE(RunAction("<Execute ExecutePath=\"C:\\QvNowhere\\none.exe\" ExecuteParam=\"\"/>"));
}

TEST(DownloadAction, OnlyACompleteAnswerWithStatus200LandsInTheDownloadFolder)
{
    shell_test::LocalHttpServer server;
    ASSERT_TRUE(server.Start());
    shell_test::HttpReply tool;
    tool.body = std::string(300000, 'T') + "end";  // more than one chunk
    server.Set("/tool.exe", tool);
    shell_test::HttpReply unsized;
    unsized.body = "no length";
    unsized.sendLength = false;
    server.Set("/unsized.bin", unsized);
    const std::string base = Narrow(server.BaseUrl());
    const std::wstring folder = CDownloadExecuter::DownloadFolder();
    SBDeleteDirectoryW(folder.c_str());

    EXPECT_TRUE(RunAction("<Execute DownloadUrl=\"" + base + "tool.exe\" FileName=\"tool.exe\"/>"));
    EXPECT_EQ(tool.body, ReadFileBytes(folder + L"\\tool.exe"));
    EXPECT_TRUE(RunAction("<Execute DownloadUrl=\"" + base + "unsized.bin\" FileName=\"unsized.bin\"/>"));
    EXPECT_EQ("no length", ReadFileBytes(folder + L"\\unsized.bin"));

    // A 404 page, an unreachable server, a name with a folder part, another scheme: nothing lands.
    EXPECT_FALSE(RunAction("<Execute DownloadUrl=\"" + base + "missing.exe\" FileName=\"missing.exe\"/>"));
    EXPECT_FALSE(RunAction("<Execute DownloadUrl=\"http://127.0.0.1:1/x.exe\" FileName=\"x.exe\"/>"));
    EXPECT_FALSE(RunAction("<Execute DownloadUrl=\"" + base + "tool.exe\" FileName=\"..\\escaped.exe\"/>"));
    EXPECT_FALSE(RunAction("<Execute DownloadUrl=\"ftp://127.0.0.1/x\" FileName=\"x.exe\"/>"));
    std::vector<std::wstring> files = FilesIn(folder);
    std::sort(files.begin(), files.end());
    EXPECT_EQ((std::vector<std::wstring>{L"tool.exe", L"unsized.bin"}), files);
    EXPECT_FALSE(FileExists(SBGetAppPathW() + L"escaped.exe"));
    SBDeleteDirectoryW(folder.c_str());
}
