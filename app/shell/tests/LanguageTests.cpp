// Language choice from the settings value, dates in the language's conventions and boot-mode detection from the
// command line.
#include <gtest/gtest.h>

#include <ctime>
#include <string>
#include <vector>

#include "Language.h"
#include "LocalDateTime.h"
#include "TextTranslator.h"
#include "WebLinks.h"

namespace {

TEST(LanguageChoice, MapsSettingTextToFolderAndIndex)
{
    struct Case {
        const wchar_t* lang;
        const wchar_t* folder;
        int index;
    } cases[] = {
        {L"", L"en\\", 0},   {L"1", L"en\\", 0},   {L"2", L"de\\", 1},  {L"6", L"jp\\", 5}, {L"8", L"hk\\", 7},
        {L"10", L"nl\\", 9}, {L"11", L"pt\\", 10}, {L"12", L"en\\", 0}, {L"0", L"en\\", 0}, {L"abc", L"en\\", 0},
        {L" 5", L"en\\", 0}, {L"05", L"en\\", 0},  {L"-1", L"en\\", 0},
    };
    for (const Case& c : cases) {
        Shell::LanguageChoice choice = Shell::ChooseLanguage(c.lang);
        EXPECT_STREQ(c.folder, choice.folder) << "Lang=\"" << std::wstring(c.lang).size() << "\"";
        EXPECT_EQ(c.index, choice.index);
    }
}

TEST(BootMode, IsAnArgumentOfItsOwn)
{
    struct Case {
        const wchar_t* commandLine;
        bool boot;
    } cases[] = {
        {L"Q:\\Quorvel.exe --boot", true},
        {L"\"Q:\\Quorvel.exe\" --boot", true},
        {L"Q:\\Quorvel.exe --boot --other", true},
        {L"Q:\\Quorvel.exe --other --boot", true},
        {L"Q:\\Quorvel.exe \"--boot\"", true},
        {L"\"Q:\\Quorvel.exe\" x--booty", false},
        {L"Q:\\Quorvel.exe --booting", false},
        {L"Q:\\Quorvel.exe x--boot", false},
        {L"\"C:\\a --boot\\Quorvel.exe\"", false},
        {L"\"C:\\a\\Quorvel.exe\" \"a --boot\"", false},
        {L"Q:\\Quorvel.exe --BOOT", false},
        {L"Q:\\Quorvel.exe -boot", false},
        {L"Q:\\Quorvel.exe", false},
        {L"", false},
        {nullptr, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.boot, Shell::IsBootCommandLine(c.commandLine)) << (c.commandLine ? c.commandLine : L"(null)");
}

TEST(WebLinks, UseTheLanguageRowAndFallBackToTheFirst)
{
    std::wstring help = Shell::GetWebLink(0, Shell::WebLink::Help);
    std::wstring german = Shell::GetWebLink(1, Shell::WebLink::Support);
    EXPECT_EQ(L"help/", help.substr(help.size() - 5));
    EXPECT_EQ(L"support.php", german.substr(german.size() - 11));
    EXPECT_NE(help.substr(0, help.size() - 5), german.substr(0, german.size() - 11));
    EXPECT_EQ(Shell::GetWebLink(0, Shell::WebLink::Help), Shell::GetWebLink(11, Shell::WebLink::Help));
    EXPECT_EQ(Shell::GetWebLink(0, Shell::WebLink::Help), Shell::GetWebLink(-1, Shell::WebLink::Help));
}

}  // namespace

TEST(LocalDateTime, WritesTheDateAndTimeInTheLanguagesOwnConventions)
{
    std::tm local = {};
    local.tm_year = 2026 - 1900;
    local.tm_mon = 11;  // December
    local.tm_mday = 10;
    local.tm_wday = 4;  // a Thursday
    local.tm_hour = 21;
    local.tm_min = 7;
    local.tm_sec = 5;
    const struct {
        int index;
        std::vector<std::wstring> parts;
    } cases[] = {
        {0, {L"12/10/2026", L"9:07:05 PM"}}, {1, {L"10.12.2026", L"21:07:05"}}, {3, {L"10/12/2026", L"21:07:05"}},
        {5, {L"2026/12/10", L"21:07:05"}},   {99, {L"12/10/2026", L"PM"}},  // not a language: English
    };
    for (const auto& c : cases) {
        std::wstring text = Shell::FormatDateTime(local, c.index);
        for (const std::wstring& part : c.parts)
            EXPECT_NE(std::wstring::npos, text.find(part))
                << "language " << c.index << ": " << std::string(text.begin(), text.end());
    }
    EXPECT_EQ(std::wstring::npos, Shell::FormatDateTime(local, 1).find(L"PM"));
}

// A caption the system draws with mnemonics shows every "&" of a text as it stands.
TEST(LiteralAmpersands, DoublesEachAmpersandOnly)
{
    EXPECT_EQ(L"Plug && Play", LiteralAmpersands(L"Plug & Play"));
    EXPECT_EQ(L"&&&&x", LiteralAmpersands(L"&&x"));
    EXPECT_EQ(L"Plug and Play", LiteralAmpersands(L"Plug and Play"));
    EXPECT_EQ(L"", LiteralAmpersands(L""));
}
