// The library's rules without windows or files: progress arithmetic, piece names and checks, the catalogue
// reader, and the uninstall manager's rules.
#include <gtest/gtest.h>

#include <map>

#include "ActiveXCatalogue.h"
#include "PieceNames.h"
#include "Progress.h"
#include "UninstallRules.h"
#include "Yarrowby/YarrowbyMessages.h"

namespace {

TEST(ProgressTicks, GivesOutExactlyItsTicksSpreadOverTheWork)
{
    for (unsigned long long total : {1ull, 7ull, 1000ull, 3ull << 30, 5ull << 40}) {
        ProgressTicks ticks(total, 300);
        unsigned given = 0, steps = 0;
        for (unsigned long long done = 0; done <= total; done += total / 97 + 1, ++steps) {
            const unsigned now = ticks.AdvanceTo(done);
            given += now;
            // Never ahead of the share of the work done.
            EXPECT_LE(given, unsigned(double(done) / double(total) * 300) + 1) << total;
        }
        given += ticks.AdvanceTo(total);
        EXPECT_EQ(300u, given) << total;
        EXPECT_EQ(0u, ticks.Rest());
    }
    ProgressTicks stopped(1000, 100);
    EXPECT_EQ(50u, stopped.AdvanceTo(500));
    EXPECT_EQ(0u, stopped.AdvanceTo(400));  // work done never shrinks
    EXPECT_EQ(50u, stopped.Rest());
    ProgressTicks nothing(0, 100);
    EXPECT_EQ(0u, nothing.AdvanceTo(0));
    EXPECT_EQ(100u, nothing.Rest());
}

TEST(ScaledProgress, ReportsEveryHundredthOrMebibyteOnTheTenThousandScale)
{
    const unsigned long long mib = 1ull << 20;
    ScaledProgress large(1000 * mib);  // a hundredth is 10 MiB
    WPARAM scaled = 0;
    EXPECT_FALSE(large.Due(9 * mib, scaled));
    EXPECT_TRUE(large.Due(10 * mib, scaled));
    EXPECT_EQ(WPARAM(100), scaled);
    EXPECT_FALSE(large.Due(15 * mib, scaled));
    EXPECT_TRUE(large.Due(35 * mib, scaled));  // one message for a jump over several steps
    EXPECT_EQ(WPARAM(350), scaled);
    EXPECT_FALSE(large.Due(39 * mib, scaled));

    ScaledProgress small(10 * mib);  // a mebibyte is more than a hundredth
    EXPECT_FALSE(small.Due(mib - 1, scaled));
    EXPECT_TRUE(small.Due(mib, scaled));
    EXPECT_EQ(WPARAM(1000), scaled);

    // Sizes beyond what a 32-bit WPARAM could carry in bytes stay on the scale.
    EXPECT_EQ(WPARAM(5000), ScaledProgress::Scale(3ull << 31, 3ull << 32));
    EXPECT_EQ(WPARAM(YARROWBY_PROGRESS_SCALE), ScaledProgress::Scale(0, 0));
}

TEST(PieceNames, NamesPiecesAfterTheWholeFileAndReadsThemBack)
{
    EXPECT_EQ(L"a,1.splt", PieceName(L"C:\\x\\a", 1));
    EXPECT_EQ(L"movie.v1,2.avi,12.splt", PieceName(L"C:\\in,out\\movie.v1,2.avi", 12));
    EXPECT_EQ(L"movie.v1,2.avi", JoinedNameOf(L"C:\\in,out\\movie.v1,2.avi,12.splt"));
    EXPECT_EQ(L"", JoinedNameOf(L"C:\\v1,2\\file.bin"));  // a comma of the folder names nothing

    const struct {
        const wchar_t* path;
        const wchar_t* joinedName;
        unsigned long long number;
    } cases[] = {
        {L"C:\\p\\a,1.splt", L"a", 1},
        {L"C:\\p\\a,10.SPLT", L"a", 10},
        {L"a,3", L"a", 3},
        {L"C:\\p\\a,b,7.splt", L"a,b", 7},
        {L"C:\\p\\a,.splt", L"", 0},
        {L"C:\\p\\,1.splt", L"", 0},
        {L"C:\\p\\a,1.spl", L"", 0},
        {L"C:\\p\\a,x1.splt", L"", 0},
        {L"C:\\p\\a.splt", L"", 0},
        {L"C:\\v1,2\\file.bin", L"", 0},
        {L"C:\\p\\a,1234567890123456789.splt", L"", 0},
    };
    for (const auto& c : cases) {
        const PieceLabel label = ReadPieceLabel(c.path);
        EXPECT_EQ(c.number, label.number) << c.path;
        if (c.number) {
            EXPECT_EQ(c.joinedName, label.joinedName) << c.path;
        }
    }
}

TEST(PieceNames, AJoinNeedsPiecesOneToNInOrderOfOneFile)
{
    auto pieces = [](std::initializer_list<int> numbers) {
        std::vector<std::wstring> paths;
        for (int n : numbers) paths.push_back(L"C:\\p\\a," + std::to_wstring(n) + L".splt");
        return paths;
    };
    EXPECT_EQ(DWORD(YARROWBY_ERROR_PIECE_NAME), CheckPieceSequence(pieces({1, 2}), L"b"));
    EXPECT_EQ(0u, CheckPieceSequence(pieces({1, 2, 3}), L"A"));
    EXPECT_EQ(DWORD(YARROWBY_ERROR_PIECE_MISSING), CheckPieceSequence(pieces({1, 2, 4}), L"a"));
    EXPECT_EQ(DWORD(YARROWBY_ERROR_PIECE_MISSING), CheckPieceSequence(pieces({2, 3}), L"a"));
    EXPECT_EQ(DWORD(YARROWBY_ERROR_PIECE_MISSING), CheckPieceSequence(pieces({1, 2, 2}), L"a"));
    // The order an open-file dialog lists them in.
    EXPECT_EQ(DWORD(YARROWBY_ERROR_PIECE_ORDER),
              CheckPieceSequence(pieces({1, 10, 11, 12, 2, 3, 4, 5, 6, 7, 8, 9}), L"a"));
    EXPECT_EQ(0u, CheckPieceSequence(pieces({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}), L"a"));
    EXPECT_EQ(DWORD(YARROWBY_ERROR_PIECE_NAME), CheckPieceSequence({L"C:\\p\\a,1.splt", L"C:\\p\\b,2.splt"}, L"a"));

    EXPECT_EQ(0u, CheckPieceSizes({5, 5, 5, 2}));
    EXPECT_EQ(0u, CheckPieceSizes({5, 5}));
    EXPECT_EQ(0u, CheckPieceSizes({7}));
    EXPECT_EQ(DWORD(YARROWBY_ERROR_PIECE_SIZE), CheckPieceSizes({5, 4, 5}));
    EXPECT_EQ(DWORD(YARROWBY_ERROR_PIECE_SIZE), CheckPieceSizes({5, 5, 6}));
}

TEST(ActiveXCatalogue, TakesEachLineAsNameAndIdentifierAsTheyStand)
{
    const char text[] =
        "Shockwave Flash Object{D27CDB6E-AE6D-11CF-96B8-444553540000}\r\n"
        "mixed case{d27cdb6e-ae6d-11cf-96B8-444553540000}\r\n"
        "\r\n"
        "Wildcard{*}\r\n"
        "Short Id{1234-5678}\n"
        "Open Brace{6BF52A52-394A-11D3-B153-00C04F79FAA6\r\n"
        "Trailing{22D6F312-B0F6-11D0-94AB-0080C74C7E95} \r\n"
        "Programmatic Name ShockwaveFlash.ShockwaveFlash\r\n"
        "\xE9t\xE9{AB}\r\n"
        "Last{166B1BCA-3F9C-11CF-8075-444553540000}";
    const std::vector<CatalogueLine> lines = ParseActiveXCatalogue(text, sizeof(text) - 1);
    const CatalogueLine expected[] = {
        {L"Shockwave Flash Object", L"{D27CDB6E-AE6D-11CF-96B8-444553540000}"},
        {L"mixed case", L"{d27cdb6e-ae6d-11cf-96B8-444553540000}"},
        {L"Wildcard", L"{*}"},
        {L"Short Id", L"{1234-5678}"},
        {L"Open Brace", L"{6BF52A52-394A-11D3-B153-00C04F79FAA6"},
        {L"Trailing", L"{22D6F312-B0F6-11D0-94AB-0080C74C7E95} "},
        {L"Programmatic Name ShockwaveFlash.ShockwaveFlash", L""},
        {L"\u00e9t\u00e9", L"{AB}"},
        {L"Last", L"{166B1BCA-3F9C-11CF-8075-444553540000}"},
    };
    ASSERT_EQ(sizeof(expected) / sizeof(expected[0]), lines.size());
    for (size_t i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(expected[i].name, lines[i].name) << i;
        EXPECT_EQ(expected[i].clsid, lines[i].clsid) << i;
    }
    EXPECT_TRUE(ParseActiveXCatalogue("\r\n\r\n", 4).empty());

    EXPECT_TRUE(IsUsableClsid(L"{*}"));
    EXPECT_FALSE(IsUsableClsid(L""));
    EXPECT_FALSE(IsUsableClsid(L"{A}\\..\\{B}"));
}

TEST(UninstallRules, HidesComponentsPartsAndUpdates)
{
    auto hidden = [](const wchar_t* key, bool component, bool parent, const wchar_t* type) {
        UninstallFlags flags;
        flags.subkeyName = key;
        flags.systemComponent = component;
        flags.hasParent = parent;
        flags.releaseType = type;
        return IsHiddenEntry(flags);
    };
    EXPECT_FALSE(hidden(L"Editor", false, false, L""));
    EXPECT_TRUE(hidden(L"Editor", true, false, L""));
    EXPECT_TRUE(hidden(L"Editor", false, true, L""));
    EXPECT_TRUE(hidden(L"Editor", false, false, L"Security Update"));
    EXPECT_TRUE(hidden(L"Editor", false, false, L"hotfix"));
    EXPECT_FALSE(hidden(L"Editor", false, false, L"Service Pack"));
    EXPECT_TRUE(hidden(L"KB2468871", false, false, L""));
    EXPECT_TRUE(hidden(L"kb958488-v6001", false, false, L""));
    EXPECT_FALSE(hidden(L"KBase", false, false, L""));
}

TEST(UninstallRules, SizesIconsAndRemovableKeys)
{
    EXPECT_EQ(L"", EstimatedSizeText(0));
    EXPECT_EQ(L"512 KB", EstimatedSizeText(512));
    EXPECT_EQ(L"1.5 MB", EstimatedSizeText(1536));
    EXPECT_EQ(L"2.25 GB", EstimatedSizeText(2359296));

    const struct {
        const wchar_t* value;
        const wchar_t* path;
        int index;
    } icons[] = {
        {L"C:\\App\\app.exe", L"C:\\App\\app.exe", 0},
        {L"C:\\App\\app.exe,2", L"C:\\App\\app.exe", 2},
        {L"\"C:\\My App\\app.exe\",-101", L"C:\\My App\\app.exe", -101},
        {L"\"C:\\My App\\app.ico\"", L"C:\\My App\\app.ico", 0},
        {L"C:\\a,b\\app.exe", L"C:\\a,b\\app.exe", 0},
    };
    for (const auto& icon : icons) {
        const IconLocation location = ParseIconLocation(icon.value);
        EXPECT_EQ(icon.path, location.path) << icon.value;
        EXPECT_EQ(icon.index, location.index) << icon.value;
    }

    HKEY root = nullptr;
    std::wstring subkey;
    EXPECT_TRUE(
        IsRemovableEntryPath(L"HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Editor", root, subkey));
    EXPECT_EQ(HKEY_LOCAL_MACHINE, root);
    EXPECT_EQ(L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Editor", subkey);
    EXPECT_TRUE(IsRemovableEntryPath(
        L"HKLM\\SOFTWARE\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\{1-2}", root, subkey));
    EXPECT_TRUE(
        IsRemovableEntryPath(L"HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\x", root, subkey));
    EXPECT_EQ(HKEY_CURRENT_USER, root);
    for (const wchar_t* refused : {
             L"",
             L"HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall",
             L"HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\",
             L"HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\a\\b",
             L"HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\..",
             L"HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run\\x",
             L"HKCR\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\x",
             L"HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\UninstallX\\x",
         })
        EXPECT_FALSE(IsRemovableEntryPath(refused, root, subkey)) << refused;

    const SplitCommand quoted = SplitQuotedCommand(L"\"C:\\My App\\un.exe\" /S /D=\"x\"");
    EXPECT_EQ(L"C:\\My App\\un.exe", quoted.program);
    EXPECT_EQ(L" /S /D=\"x\"", quoted.arguments);
    EXPECT_EQ(L"", SplitQuotedCommand(L"C:\\un.exe /S").program);
}

TEST(UninstallRules, AnUnquotedCommandRunsTheLongestPrefixThatNamesAProgram)
{
    // The program files of the fixture: what the system would find for a prefix.
    const std::map<std::wstring, std::wstring> programs = {
        {L"C:\\Program", L"C:\\Program"},
        {L"C:\\Program Files\\My App\\un.exe", L"C:\\Program Files\\My App\\un.exe"},
        {L"C:\\Tools\\remove", L"C:\\Tools\\remove.exe"},
        {L"msiexec", L"C:\\windows\\system32\\msiexec.exe"},
    };
    const auto programOf = [&](const std::wstring& prefix) {
        const auto found = programs.find(prefix);
        return found == programs.end() ? std::wstring() : found->second;
    };
    const struct {
        const wchar_t* command;
        const wchar_t* program;
        const wchar_t* arguments;
    } cases[] = {
        {L"C:\\Program Files\\My App\\un.exe /x", L"C:\\Program Files\\My App\\un.exe", L" /x"},
        {L"C:\\Program Files\\My App\\un.exe", L"C:\\Program Files\\My App\\un.exe", L""},
        {L"C:\\Program Files\\Other\\un.exe /x", L"C:\\Program", L" Files\\Other\\un.exe /x"},
        {L"C:\\Tools\\remove  /quiet", L"C:\\Tools\\remove.exe", L"  /quiet"},
        {L"msiexec /x{1234}", L"C:\\windows\\system32\\msiexec.exe", L" /x{1234}"},
        {L"C:\\Missing\\un.exe /x", L"", L""},
    };
    for (const auto& c : cases) {
        const SplitCommand split = SplitUnquotedCommand(c.command, programOf);
        EXPECT_EQ(c.program, split.program) << c.command;
        EXPECT_EQ(c.arguments, split.arguments) << c.command;
    }
}

}  // namespace
