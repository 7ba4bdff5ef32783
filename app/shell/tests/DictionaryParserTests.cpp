// The dictionary text format: one table of inputs and the texts they store, and the file's id read as the
// system's profile functions read it.
#include <gtest/gtest.h>

#include <windows.h>

#include "DictionaryParser.h"
#include "QTestSupport.h"

using nsVendrel::DictionaryMainId;
using nsVendrel::DictionaryTexts;
using nsVendrel::ParseDictionaryText;
using nsVendrel::PrepareDictionaryText;

namespace {

DictionaryTexts ParseFile(const std::wstring& content)
{
    return ParseDictionaryText(PrepareDictionaryText(content.data(), content.size()));
}

const wchar_t kHead[] = L"\xFEFF[DICTIONARY_MAINID]\r\nMAINID=1\r\n\r\n";

TEST(DictionaryParser, StoresTheTextOfEachKeyAsTheFormatSays)
{
    struct Case {
        const char* what;
        std::wstring body;
        DictionaryTexts expected;
    } cases[] = {
        {"plain", L"[IDS_A]\r\n1=Alpha\r\n\r\n", {{L"IDS_A", L"Alpha"}}},
        {"blanks trimmed", L"[ IDS_A ]\r\n 1 =   Alpha beta \t\r\n\r\n", {{L"IDS_A", L"Alpha beta"}}},
        {"lines joined", L"[IDS_A]\r\n1=first\r\nsecond\r\n\r\n", {{L"IDS_A", L"firstsecond"}}},
        {"] and = inside", L"[IDS_A]\r\n1=a=b]c\r\n\r\n", {{L"IDS_A", L"a=b]c"}}},
        {"[ ends a text", L"[IDS_A]\r\n1=one [IDS_B]\r\n1=two\r\n", {{L"IDS_A", L"one"}, {L"IDS_B", L"two"}}},
        {"; line is text", L"[IDS_A]\r\n1=text\r\n;note\r\n\r\n", {{L"IDS_A", L"text;note"}}},
        {"other entries ignored", L"[IDS_A]\r\n2=no\r\n[IDS_B]\r\nname=no\r\n", {}},
        {"entry name ignores case", L"[IDS_A]\r\n1=yes\r\n", {{L"IDS_A", L"yes"}}},
        {"main id section stores nothing", L"[DICTIONARY_MAINID]\r\n1=x\r\n[dictionary_mainid]\r\n1=y\r\n", {}},
        {"later duplicate wins", L"[IDS_A]\r\n1=old\r\n[IDS_A]\r\n1=new\r\n", {{L"IDS_A", L"new"}}},
        {"empty section name", L"[]\r\n1=x\r\n", {}},
        {"keys are case-sensitive",
         L"[IDS_A]\r\n1=up\r\n[ids_a]\r\n1=low\r\n",
         {{L"IDS_A", L"up"}, {L"ids_a", L"low"}}},
        {"empty text", L"[IDS_A]\r\n1=\r\n", {{L"IDS_A", L""}}},
        {"no closing bracket", L"[IDS_A]\r\n1=a\r\n[IDS_B\r\n1=b", {{L"IDS_A", L"a"}}},
        {"no equals sign", L"[IDS_A]\r\n1=a\r\n[IDS_B]\r\nb", {{L"IDS_A", L"a"}}},
    };
    for (const Case& c : cases) EXPECT_EQ(c.expected, ParseFile(kHead + c.body)) << c.what;
}

TEST(DictionaryParser, KeepsTheLastTextWholeWhateverTheFileEnding)
{
    // Each ending keeps "Last text" whole: only trailing line ends and blanks are dropped.
    for (const wchar_t* ending : {L"", L"\r\n", L"\r\n\r\n", L"  \r\n"}) {
        std::wstring file = std::wstring(kHead) + L"[IDS_LAST]\r\n1=Last text" + ending;
        DictionaryTexts texts = ParseFile(file);
        ASSERT_EQ(1u, texts.count(L"IDS_LAST"));
        EXPECT_EQ(L"Last text", texts[L"IDS_LAST"]);
    }
}

TEST(DictionaryParser, StopsAtTheFirstNulCharacter)
{
    std::wstring file = std::wstring(kHead) + L"[IDS_A]\r\n1=kept\r\n";
    file.push_back(L'\0');
    file += L"[IDS_B]\r\n1=lost\r\n";
    DictionaryTexts texts = ParseFile(file);
    EXPECT_EQ((DictionaryTexts{{L"IDS_A", L"kept"}}), texts);
}

TEST(DictionaryParser, ALoneLineEndInsideATextIsKept)
{
    // Only CR LF pairs glue lines together; a lone LF stays in the text.
    DictionaryTexts texts = ParseFile(std::wstring(kHead) + L"[IDS_A]\r\n1=a\nb\r\n");
    EXPECT_EQ(L"a\nb", texts[L"IDS_A"]);
}

TEST(DictionaryParser, ReadsTheMainIdAsTheProfileFunctionsDo)
{
    const unsigned long kMissing = 0xFFFFFFFFul;
    struct Case {
        const char* what;
        std::wstring content;  // written as UTF-16 with a BOM
        unsigned long expected;
    } cases[] = {
        {"plain", L"[DICTIONARY_MAINID]\r\nMAINID=61\r\n\r\n[IDS_A]\r\n1=a\r\n", 61},
        {"names in any case, blanks", L"  [ dictionary_mainid ]  \r\n  mainid  =  7  \r\n", 7},
        {"quoted", L"[DICTIONARY_MAINID]\r\nMAINID=\"12\"\r\n", 12},
        {"lone LF lines", L"[DICTIONARY_MAINID]\nOTHER=1\nMAINID=5\n", 5},
        {"not first in the file", L"[IDS_A]\r\n1=a\r\n[DICTIONARY_MAINID]\r\nMAINID=9\r\n", 9},
        {"first entry wins", L"[DICTIONARY_MAINID]\r\nMAINID=3\r\nMAINID=4\r\n", 3},
        {"digits then other text", L"[DICTIONARY_MAINID]\r\nMAINID=42abc\r\n", 42},
        {"not a number", L"[DICTIONARY_MAINID]\r\nMAINID=abc\r\n", 0},
        {"negative", L"[DICTIONARY_MAINID]\r\nMAINID=-2\r\n", 0xFFFFFFFEul},
        {"empty value", L"[DICTIONARY_MAINID]\r\nMAINID=\r\n", kMissing},
        {"no such section", L"[IDS_A]\r\nMAINID=5\r\n", kMissing},
        {"entry only in a later section of the name",
         L"[DICTIONARY_MAINID]\r\nX=1\r\n[DICTIONARY_MAINID]\r\nMAINID=8\r\n", kMissing},
        {"commented out", L"[DICTIONARY_MAINID]\r\n;MAINID=5\r\n", kMissing},
        {"empty file", L"", kMissing},
    };
    const std::wstring folder = shell_test::MakeScratchFolder(L"mainid");
    const std::wstring file = folder + L"case.ini";
    for (const Case& c : cases) {
        const std::wstring units = L"\xFEFF" + c.content;
        EXPECT_EQ(c.expected, DictionaryMainId(units.data(), units.size(), kMissing)) << c.what;
        // The same answer as the system's own reading of the same file.
        shell_test::WriteUtf16(file, c.content);
        EXPECT_EQ(c.expected, ::GetPrivateProfileIntW(L"DICTIONARY_MAINID", L"MAINID", -1, file.c_str()))
            << c.what << " (profile functions)";
    }
    // Without a BOM the profile functions take the file for another encoding and find no id.
    const std::wstring noBom = L"[DICTIONARY_MAINID]\r\nMAINID=61\r\n";
    EXPECT_EQ(kMissing, DictionaryMainId(noBom.data(), noBom.size(), kMissing));
    shell_test::RemoveTree(folder);
}

}  // namespace
