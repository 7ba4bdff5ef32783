// The dictionary text format: one table of inputs and the texts they store.
#include <gtest/gtest.h>

#include "DictionaryParser.h"

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
        {"keys are case-sensitive", L"[IDS_A]\r\n1=up\r\n[ids_a]\r\n1=low\r\n", {{L"IDS_A", L"up"}, {L"ids_a", L"low"}}},
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

} // namespace
