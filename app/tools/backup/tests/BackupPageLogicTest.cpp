// Rules of the backup pages without windows.
#include <gtest/gtest.h>

#include <clocale>

#include "BackupPageLogic.h"

using namespace BackupPages;

TEST(BackupPageLogic, RegistryBackupNamesAndRows)
{
    std::setlocale(LC_TIME, "C");
    std::tm t = {};
    t.tm_year = 126;
    t.tm_mon = 11;
    t.tm_mday = 7;
    t.tm_hour = 23;
    t.tm_min = 53;
    EXPECT_EQ(RegistryBackupFileName(t), L"Backup_Dec.07_2026 11-53-00 PM.reg");

    std::wstring row;
    ASSERT_TRUE(RegistryRowTextFromFileName(L"Backup_Dec.07_2026 11-53-00 PM.reg", row));
    EXPECT_EQ(row, L"Dec.07,2026 11:53:00 PM");
    EXPECT_EQ(RegistryFileNameFromRowText(row), L"Backup_Dec.07_2026 11-53-00 PM.reg");
    EXPECT_TRUE(RegistryRowTextFromFileName(L"Backup_Jan.01_2027 01-00-00 AM.REG", row)) << "any case";
    for (const wchar_t* other : {L"notes.txt", L"Backup_x.reg.bak", L".reg", L"Backup_.reg", L""})
        EXPECT_FALSE(RegistryRowTextFromFileName(other, row)) << other;

    EXPECT_EQ(QuoteForRegistryEditor(L"C:\\a b\\x.reg"), L"\"C:\\\\a b\\\\x.reg\"");
}

TEST(BackupPageLogic, FavoritesAndTreePaths)
{
    EXPECT_EQ(FavoriteDisplayName(L"Site.url"), L"Site");
    EXPECT_EQ(FavoriteDisplayName(L"a.b"), L"");
    EXPECT_EQ(FavoriteDisplayName(L"abcd"), L"");
    EXPECT_EQ(TreeItemPath({L"C:\\", L"Data", L"sub"}), L"C:\\Data\\sub");
    EXPECT_EQ(TreeItemPath({L"C:\\"}), L"C:\\");
    EXPECT_TRUE(ContainsPathIgnoringCase({L"C:\\Data"}, L"c:\\DATA"));
    EXPECT_FALSE(ContainsPathIgnoringCase({L"C:\\Data"}, L"C:\\Data2"));
}

TEST(BackupPageLogic, ArchiveNames)
{
    struct Case {
        const wchar_t* name;
        ArchiveNameCheck check;
    };
    const Case cases[] = {
        {L"", ArchiveNameCheck::Empty},         {L"Photos 2026", ArchiveNameCheck::Ok},
        {L"a:b", ArchiveNameCheck::Invalid},    {L"a/b", ArchiveNameCheck::Invalid},
        {L"a\\b", ArchiveNameCheck::Invalid},   {L"a|b", ArchiveNameCheck::Invalid},
        {L"a<b", ArchiveNameCheck::Invalid},    {L"a>b", ArchiveNameCheck::Invalid},
        {L"a*b", ArchiveNameCheck::Invalid},    {L"a?b", ArchiveNameCheck::Invalid},
        {L"a\"b", ArchiveNameCheck::Invalid},   {L"CON", ArchiveNameCheck::Invalid},
        {L"nul", ArchiveNameCheck::Invalid},    {L"COM\x00B9", ArchiveNameCheck::Invalid},
        {L"lpt1.x", ArchiveNameCheck::Invalid}, {L"dot.", ArchiveNameCheck::Invalid},
        {L"space ", ArchiveNameCheck::Invalid}, {L"console", ArchiveNameCheck::Ok},
    };
    for (const auto& c : cases) EXPECT_EQ(CheckArchiveName(c.name), c.check) << c.name;
}

TEST(BackupPageLogic, SummariesAndRestorePoints)
{
    EXPECT_EQ(SummarizeLines({L"one", L"two", L"three"}, 2), L"\r\none\r\ntwo\r\n(+1)");
    EXPECT_EQ(SummarizeLines({}, 2), L"");

    std::vector<RestorePointRow> points = {{L"same", 4}, {L"other", 5}, {L"same", 6}};
    EXPECT_EQ(FindRestorePointSequence(points, L"same"), 4) << "the first one of two";
    EXPECT_EQ(FindRestorePointSequence(points, L"SAME"), -1) << "descriptions compare exactly";
    EXPECT_EQ(FindRestorePointSequence(points, L"missing"), -1);
}
