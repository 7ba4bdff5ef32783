// The failed-entry list, its XML document, the scrambling codec and the replacing file write.
#include <tinyxml.h>

#include <gtest/gtest.h>

#include "DatCodec.h"
#include "FailedEntryList.h"
#include "RegNames.h"
#include "TestUtil.h"

using namespace bexlar;

namespace {

TEST(FailedEntryList, ComparesInLowerCaseAndKeepsInsertionOrder)
{
    CFailedEntryList list;
    list.Add(L"HKLM\\Software\\B\\Value");
    list.Add(L"hkcr\\A\\");
    list.Add(L"hklm\\software\\b\\VALUE");  // the same entry
    list.Add(L"");
    EXPECT_TRUE(list.Contains(L"hklm\\SOFTWARE\\b\\value"));
    EXPECT_TRUE(list.Contains(L"HKCR\\a\\"));
    EXPECT_FALSE(list.Contains(L"HKCR\\a"));
    EXPECT_FALSE(list.Contains(L""));
    EXPECT_EQ(list.Entries(), (std::vector<std::wstring>{L"hklm\\software\\b\\value", L"hkcr\\a\\"}));
}

TEST(FailedEntryList, DocumentHoldsItemsInOrderAndTheDate)
{
    SYSTEMTIME day = {};
    day.wYear = 2024;
    day.wMonth = 3;
    day.wDay = 5;
    std::string xml = BuildFailedEntryDocument({L"hkcu\\b\\", L"hklm\\a<&>\u00e9\\v"}, day);
    TiXmlDocument doc;
    doc.Parse(xml.c_str());
    ASSERT_FALSE(doc.Error()) << xml;
    TiXmlDeclaration* decl = doc.FirstChild()->ToDeclaration();
    ASSERT_TRUE(decl);
    EXPECT_STREQ(decl->Version(), "1.0");
    EXPECT_STREQ(decl->Encoding(), "utf-8");
    EXPECT_STREQ(decl->Standalone(), "yes");
    TiXmlElement* items = doc.FirstChildElement("items");
    ASSERT_TRUE(items);
    TiXmlElement* first = items->FirstChildElement("item");
    ASSERT_TRUE(first && first->NextSiblingElement("item"));
    EXPECT_STREQ(first->GetText(), "hkcu\\b\\");
    EXPECT_EQ(FromUtf8(first->NextSiblingElement("item")->GetText()), L"hklm\\a<&>\u00e9\\v");
    ASSERT_TRUE(doc.FirstChildElement("time"));
    EXPECT_STREQ(doc.FirstChildElement("time")->GetText(), "2024.3.5");
}

TEST(FailedEntryList, CodecRoundTripsAndRejectsForeignBytes)
{
    const std::wstring text = L"<items>\u4E2D\U0001F600 x</items>";
    std::string bytes = BkDatLibEncodeParam2(text);
    EXPECT_EQ(bytes.find("items"), std::string::npos);  // scrambled
    std::wstring back;
    ASSERT_TRUE(BkDatLibDecodeParam2(bytes, &back));
    EXPECT_EQ(back, text);
    EXPECT_FALSE(BkDatLibDecodeParam2("<?xml version", &back));
    EXPECT_FALSE(BkDatLibDecodeParam2(bytes.substr(0, bytes.size() - 1), &back));
}

TEST(FailedEntryList, WriteReplacesTheFileOrLeavesThePreviousOne)
{
    std::wstring folder = bxtest::NewTempDir(L"trash") + L"\\";
    CFailedEntryList list;
    list.Add(L"HKCU\\Software\\Gone\\");
    // No data folder: nothing is written and no temporary file stays.
    EXPECT_FALSE(list.WriteFile(folder));
    EXPECT_FALSE(bxtest::FileExists(folder + L"data\\sregtrash.dat"));

    bxtest::MakeDir(folder + L"data");
    ASSERT_TRUE(list.WriteFile(folder));
    EXPECT_FALSE(bxtest::FileExists(folder + L"data\\~sregtrash.dat"));
    std::wstring text;
    ASSERT_TRUE(BkDatLibDecodeParam2(bxtest::ReadAll(folder + L"data\\sregtrash.dat"), &text));
    EXPECT_NE(text.find(L"<item>hkcu\\software\\gone\\</item>"), std::wstring::npos) << Utf8(text);

    // The temporary file cannot be created: the previous file stays as it was.
    std::string previous = bxtest::ReadAll(folder + L"data\\sregtrash.dat");
    bxtest::MakeDir(folder + L"data\\~sregtrash.dat");
    list.Add(L"HKCU\\Other\\");
    EXPECT_FALSE(list.WriteFile(folder));
    EXPECT_EQ(bxtest::ReadAll(folder + L"data\\sregtrash.dat"), previous);
}

}  // namespace
