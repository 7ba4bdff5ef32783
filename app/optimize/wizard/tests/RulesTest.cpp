// The wizard's and the DLL page's rules that need no window: addresses, file names, query encoding, the
// service's answer, progress, PE images, removal paths and registry texts.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>

#include <Common.h>

#include "engine/FileExecuters.h"
#include "engine/RegistryExecuter.h"
#include "net/PeImage.h"
#include "pages/DllSearch.h"
#include "QTestSupport.h"
#include "ServiceAddress.h"
#include "UrlRules.h"
#include "WizardTestSupport.h"

using namespace UrlRules;

TEST(UrlRules, OnlyHttpAndHttpsAddressesWithAHost)
{
    const struct {
        const wchar_t* url;
        bool ok;
    } cases[] = {
        {L"http://h/x.dll", true},
        {L"HTTPS://h.example/a/b.dll", true},
        {L"http://127.0.0.1:8080/", true},
        {L"ftp://h/x.dll", false},
        {L"file:///c:/x.dll", false},
        {L"http://", false},
        {L"http:///x", false},
        {L"h/x.dll", false},
        {L"", false},
        {L"http://h/a b.dll", false},
        {L"http://h/x\r\n.dll", false},
        {L"javascript:alert(1)", false},
    };
    for (const auto& c : cases) EXPECT_EQ(c.ok, IsHttpUrl(c.url)) << c.url;
}

TEST(UrlRules, ADllNameMustBeABareDllFileName)
{
    const struct {
        const wchar_t* name;
        bool ok;
    } cases[] = {
        {L"msvcr90.dll", true},  {L"MSVCR90.DLL", true}, {L"x.y.dll", true},    {L"..\\evil.dll", false},
        {L"../evil.dll", false}, {L"a\\b.dll", false},   {L"c:x.dll", false},   {L"x.dll?y", false},
        {L"x.dll:s", false},     {L"evil.dll.", false},  {L"evil.dll ", false}, {L".dll", false},
        {L"x.exe", false},       {L"x.dl", false},       {L"", false},          {L"..", false},
        {L"con.dll", false},     {L"NUL.dll", false},    {L"com1.dll", false},  {L"com10.dll", true},
        {L"a*.dll", false},      {L"a|b.dll", false},    {L"a\tb.dll", false},  {L"console.dll", true},
    };
    for (const auto& c : cases) EXPECT_EQ(c.ok, IsBareDllName(c.name)) << c.name;
    EXPECT_TRUE(IsBareFileName(L"tool.exe"));
    EXPECT_FALSE(IsBareFileName(L"sub\\tool.exe"));
    EXPECT_FALSE(IsBareFileName(std::wstring(300, L'a') + L".dll"));
}

TEST(UrlRules, QueryValuesArePercentEncodedAndPlainNamesStayTheSame)
{
    EXPECT_EQ("msvcr90.dll", PercentEncode(L"msvcr90.dll"));
    EXPECT_EQ("qk*Rwmt51907", PercentEncode(L"qk*Rwmt51907"));
    EXPECT_EQ("a%20b%26c%3Dd%23e%25f%2Bg", PercentEncode(L"a b&c=d#e%f+g"));
    EXPECT_EQ("%C3%A9%E2%82%AC", PercentEncode(L"\u00e9\u20ac"));
    EXPECT_EQ("..%5Cx%2Fy", PercentEncode(L"..\\x/y"));
    EXPECT_EQ("", PercentEncode(L""));
}

TEST(DllSearch, RequestNamesTheMachineTheTokenTheActionAndTheFile)
{
    EXPECT_EQ(L"win764", DllSearch::OsText(SB_OS_WIN7, true));
    EXPECT_EQ(L"vista32", DllSearch::OsText(SB_OS_VISTA, false));
    EXPECT_EQ(L"xp32", DllSearch::OsText(SB_OS_XP, false));
    EXPECT_EQ(L"xp64", DllSearch::OsText(0, true));
    EXPECT_EQ(L"http://h:81/dllapi.php?os=xp32&verify=qk*Rwmt51907&action=searchdll&file=msvcr90.dll",
              DllSearch::SearchUrl(L"http://h:81/", L"xp32", L"msvcr90.dll"));
    EXPECT_EQ(L"http://h/svc/dllapi.php?os=win764&verify=qk*Rwmt51907&action=searchdll&file=%20a%26b%20",
              DllSearch::SearchUrl(L"http://h/svc", L"win764", L" a&b "));
}

TEST(DllSearch, AnswerLinesBecomeRowsInAnswerOrder)
{
    const std::vector<DllSearch::Row> rows =
        DllSearch::ParseAnswer(L"http://h/a/u1.dll\r\n  http://h/u2.dll \r\nhttp://h/dir/\r\n\r\nhttp://h\n");
    ASSERT_EQ(2u, rows.size());
    EXPECT_EQ(L"u1.dll", rows[0].name);
    EXPECT_EQ(L"http://h/a/u1.dll", rows[0].url);
    EXPECT_EQ(L"u2.dll", rows[1].name);
    EXPECT_EQ(L"http://h/u2.dll", rows[1].url);

    // An HTML page yields nothing (not "title>" rows); names with folder parts are listed, to be refused later.
    EXPECT_TRUE(DllSearch::ParseAnswer(L"<html>\n<head><title>404</title></head>\n</html>\n").empty());
    EXPECT_TRUE(DllSearch::ParseAnswer(L"").empty());
    const auto hostile = DllSearch::ParseAnswer(L"http://h/..\\..\\evil.dll\n");
    ASSERT_EQ(1u, hostile.size());
    EXPECT_EQ(L"..\\..\\evil.dll", hostile[0].name);
}

// Only the file the user asked for is offered, in any letter case; other names of the answer are not.
TEST(DllSearch, OnlyTheNameAskedForIsOffered)
{
    const std::vector<DllSearch::Row> rows = DllSearch::ParseAnswer(
        L"http://h/a/msvcr90.dll\nhttp://h/b/MSVCR90.DLL\nhttp://h/c/evil.dll\nhttp://h/d/msvcr90.dll.exe\n");
    const std::vector<DllSearch::Row> offered = DllSearch::RowsFor(rows, L" Msvcr90.dll ");
    ASSERT_EQ(2u, offered.size());
    EXPECT_EQ(L"http://h/a/msvcr90.dll", offered[0].url);
    EXPECT_EQ(L"http://h/b/MSVCR90.DLL", offered[1].url);
    EXPECT_TRUE(DllSearch::RowsFor(rows, L"").empty());
    EXPECT_TRUE(DllSearch::RowsFor(rows, L"other.dll").empty());
}

TEST(DllSearch, ProgressIs64BitAndStaysWithinTheFilesShare)
{
    EXPECT_EQ(50, DllSearch::ProgressPosition(0, 50, 100));
    EXPECT_EQ(150, DllSearch::ProgressPosition(100, 1, 2));
    EXPECT_EQ(100, DllSearch::ProgressPosition(100, 12345, 0));  // no length announced: no move until done
    EXPECT_EQ(200, DllSearch::ProgressPosition(100, 300, 200));  // more than announced
    // 30 MB overflows "done x 100" in 32 bits; 5 GB does in any 32-bit length.
    EXPECT_EQ(50, DllSearch::ProgressPosition(0, 15000000ull, 30000000ull));
    EXPECT_EQ(250, DllSearch::ProgressPosition(200, 2500000000ull, 5000000000ull));
}

TEST(ServiceAddress, TheSettingWinsWhenItIsAWebAddress)
{
    EXPECT_EQ(L"http://127.0.0.1:8080/", ServiceAddress::BaseUrlFrom(L" http://127.0.0.1:8080 "));
    EXPECT_EQ(L"https://h/svc/", ServiceAddress::BaseUrlFrom(L"https://h/svc/"));
    EXPECT_EQ(std::wstring(ServiceAddress::kDefault), ServiceAddress::BaseUrlFrom(L""));
    EXPECT_EQ(std::wstring(ServiceAddress::kDefault), ServiceAddress::BaseUrlFrom(L"ftp://h/"));
}

namespace {

std::string Marker() { return wizard_test::ReadFileBytes(shell_test::ProgramFolder() + L"WizardMarker.dll"); }

PeCheck Check(const std::string& bytes)
{
    return CheckPeDll(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), ThisProcessMachine());
}

size_t FileHeaderOffset(const std::string& image)
{
    LONG lfanew = 0;
    std::memcpy(&lfanew, image.data() + 0x3C, sizeof(lfanew));
    return size_t(lfanew) + sizeof(DWORD);
}

}  // namespace

TEST(PeImage, OnlyADllForThisProcessorPasses)
{
    const std::string dll = Marker();
    ASSERT_GT(dll.size(), 1024u);
    EXPECT_EQ(PeCheck::DllForThisMachine, Check(dll));

    std::string program = dll;
    IMAGE_FILE_HEADER header;
    std::memcpy(&header, program.data() + FileHeaderOffset(program), sizeof(header));
    header.Characteristics &= ~IMAGE_FILE_DLL;
    std::memcpy(&program[FileHeaderOffset(program)], &header, sizeof(header));
    EXPECT_EQ(PeCheck::NotDll, Check(program));

    std::string other = dll;
    std::memcpy(&header, other.data() + FileHeaderOffset(other), sizeof(header));
    header.Machine =
        ThisProcessMachine() == IMAGE_FILE_MACHINE_AMD64 ? IMAGE_FILE_MACHINE_I386 : IMAGE_FILE_MACHINE_AMD64;
    std::memcpy(&other[FileHeaderOffset(other)], &header, sizeof(header));
    EXPECT_EQ(PeCheck::OtherMachine, Check(other));

    EXPECT_EQ(PeCheck::NotPe, Check("<html><body>Not Found</body></html>"));
    EXPECT_EQ(PeCheck::NotPe, Check(dll.substr(0, 0x40)));
    EXPECT_EQ(PeCheck::NotPe, Check(dll.substr(0, FileHeaderOffset(dll) + 4)));
    EXPECT_EQ(PeCheck::NotPe, Check(""));
    std::string pointsAway = dll.substr(0, 512);
    const LONG beyond = 0x7FFFFFF0, negative = -8;
    std::memcpy(&pointsAway[0x3C], &beyond, sizeof(beyond));
    EXPECT_EQ(PeCheck::NotPe, Check(pointsAway));
    std::memcpy(&pointsAway[0x3C], &negative, sizeof(negative));
    EXPECT_EQ(PeCheck::NotPe, Check(pointsAway));
}

TEST(RemovalPath, OnlyFullPathsBelowARootMayBeRemoved)
{
    const struct {
        const wchar_t* given;
        const wchar_t* normalised;
        bool removable;
    } cases[] = {
        {L"C:\\QvFixture\\tree", L"C:\\QvFixture\\tree", true},
        {L"C:/QvFixture//tree/", L"C:\\QvFixture\\tree", true},
        {L"\\\\server\\share\\dir", L"\\\\server\\share\\dir", true},
        {L"", L"", false},
        {L"\\", L"", false},
        {L"/", L"", false},
        {L"\\\\", L"", false},
        {L"C:\\", L"C:", false},
        {L"C:", L"C:", false},
        {L"C:/", L"C:", false},
        {L"C:tree", L"C:tree", false},
        {L"tree", L"tree", false},
        {L"\\tree", L"\\tree", false},
        {L"C:\\QvFixture\\..", L"C:\\QvFixture\\..", false},
        {L"C:\\QvFixture\\.\\tree", L"C:\\QvFixture\\tree", true},
        {L"C:\\Qv*", L"C:\\Qv*", false},
        {L"\\\\server\\share", L"\\\\server\\share", false},
        {L"\\\\?\\C:\\QvFixture", L"\\\\?\\C:\\QvFixture", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(std::wstring(c.normalised), NormaliseRemovalPath(c.given)) << c.given;
        EXPECT_EQ(c.removable, IsRemovablePath(NormaliseRemovalPath(c.given))) << c.given;
    }
    // Too long to be handled whole: refused, never cut to a shorter path.
    EXPECT_FALSE(IsRemovablePath(L"C:\\" + std::wstring(300, L'a')));
    EXPECT_TRUE(IsRemovablePath(L"C:\\" + std::wstring(250, L'a')));
}

TEST(RegistryTexts, RootsOperationsAndNumbers)
{
    EXPECT_EQ(HKEY_LOCAL_MACHINE, RegistryRootFromName("HKEY_LOCAL_MACHINE"));
    EXPECT_EQ(HKEY_CURRENT_CONFIG, RegistryRootFromName("HKEY_CURRENT_CONFIG"));
    EXPECT_EQ(nullptr, RegistryRootFromName("HKLM"));
    EXPECT_EQ(nullptr, RegistryRootFromName("hkey_current_user"));
    EXPECT_EQ(kRegSetExpandString, RegistryOperationFromName("SET_EXP_STRING_VAL"));
    EXPECT_EQ(kRegDeleteTree, RegistryOperationFromName("DELETE_TREE"));
    EXPECT_EQ(kRegUnknownOperation, RegistryOperationFromName("set_dword_val"));

    const struct {
        const char* text;
        DWORD value;
    } numbers[] = {{"00", 0},  {" 12x", 12}, {"-1", 0xFFFFFFFFu},         {"", 0},
                   {"abc", 0}, {"+7", 7},    {"4294967295", 0xFFFFFFFFu}, {"2048", 2048}};
    for (const auto& n : numbers) EXPECT_EQ(n.value, DwordFromText(n.text)) << n.text;
}
