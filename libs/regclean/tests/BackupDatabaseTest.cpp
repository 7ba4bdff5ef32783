// The backup database: schema, rows of values and keys, names that SQL must not interpret, this run's removal.
#include <sqlite3.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "RegBackupDatabase.h"
#include "RegNames.h"
#include "TestUtil.h"

using namespace bexlar;

namespace {

const std::wstring kBase = L"Software\\BexlarUnit\\";

struct Row {
    std::string resid;
    long long type;
    std::string root, subroot;
    bool hasValueKey;
    std::string valuekey;
    long long valuetype, datasize;
    bool blobNull;
    std::string blob;
};

std::vector<Row> ReadRows(const std::wstring& dbPath, const std::string& where = "1")
{
    std::vector<Row> rows;
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(Utf8(dbPath).c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) return rows;
    sqlite3_stmt* s = nullptr;
    std::string sql = "select resid, type, root, subroot, valuekey, valuetype, datasize, datareg from datainfo where " +
                      where + " order by rowid";
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &s, nullptr) == SQLITE_OK) {
        while (sqlite3_step(s) == SQLITE_ROW) {
            Row r;
            auto text = [&](int i) {
                const unsigned char* t = sqlite3_column_text(s, i);
                return t ? std::string(reinterpret_cast<const char*>(t), sqlite3_column_bytes(s, i)) : std::string();
            };
            r.resid = text(0);
            r.type = sqlite3_column_int64(s, 1);
            r.root = text(2);
            r.subroot = text(3);
            r.hasValueKey = sqlite3_column_type(s, 4) != SQLITE_NULL;
            r.valuekey = text(4);
            r.valuetype = sqlite3_column_int64(s, 5);
            r.datasize = sqlite3_column_int64(s, 6);
            r.blobNull = sqlite3_column_type(s, 7) == SQLITE_NULL;
            const void* b = sqlite3_column_blob(s, 7);
            r.blob.assign(static_cast<const char*>(b ? b : ""), sqlite3_column_bytes(s, 7));
            rows.push_back(r);
        }
    }
    sqlite3_finalize(s);
    sqlite3_close(db);
    return rows;
}

std::vector<std::string> Query(const std::wstring& dbPath, const std::string& sql)
{
    std::vector<std::string> out;
    sqlite3* db = nullptr;
    sqlite3_open_v2(Utf8(dbPath).c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
    sqlite3_stmt* s = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &s, nullptr) == SQLITE_OK) {
        while (sqlite3_step(s) == SQLITE_ROW) {
            std::string line;
            for (int i = 0; i < sqlite3_column_count(s); ++i) {
                const unsigned char* t = sqlite3_column_text(s, i);
                line += (i ? "|" : "") + std::string(t ? reinterpret_cast<const char*>(t) : "NULL");
            }
            out.push_back(line);
        }
    }
    sqlite3_finalize(s);
    sqlite3_close(db);
    return out;
}

class BackupDatabaseTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder_ = bxtest::NewTempDir(L"dbtest") + L"\\";
        key_ = kBase + bxtest::UniqueTag();
    }
    void TearDown() override { bxtest::DeleteTree(HKEY_CURRENT_USER, key_); }
    std::wstring folder_, key_;
};

TEST_F(BackupDatabaseTest, SchemaAndRunRowMatchTheFileFormat)
{
    CRegBackupDatabase db(folder_);
    ASSERT_TRUE(db.Open());
    EXPECT_EQ(db.RunId().size(), 14u);
    ASSERT_TRUE(db.WriteRunAndClose());
    std::wstring path = folder_ + L"regbackup\\regbackup.db";
    EXPECT_EQ(Query(path, "select sql from sqlite_master where name = 'datainfo'"),
              std::vector<std::string>{"CREATE TABLE datainfo (resid TEXT, type integer, root TEXT, subroot TEXT, "
                                       "\t\tvaluekey TEXT, valuetype integer, datasize integer, datareg blob)"});
    EXPECT_EQ(Query(path, "select sql from sqlite_master where name = 'headinfo'"),
              std::vector<std::string>{"CREATE TABLE headinfo (resid TEXT, number integer, time TEXT)"});
    std::vector<std::string> head = Query(path, "select resid, number, time from headinfo");
    ASSERT_EQ(head.size(), 1u);
    EXPECT_EQ(head[0].substr(0, 17), db.RunId() + "|0|");
    // "2026年12月09日 22:30:00": the year mark follows the four digits of the year.
    EXPECT_EQ(head[0].substr(21, 3), "\xE5\xB9\xB4");
    // A second open of the same file keeps the tables.
    CRegBackupDatabase again(folder_);
    EXPECT_TRUE(again.Open());
}

TEST_F(BackupDatabaseTest, KeyBackupWritesEveryValueAndEmptyKeys)
{
    bxtest::SetString(HKEY_CURRENT_USER, key_, L"a", L"one");
    bxtest::SetDword(HKEY_CURRENT_USER, key_, L"b", 7);
    bxtest::SetRaw(HKEY_CURRENT_USER, key_, L"empty", REG_BINARY, "", 0);
    bxtest::CreateKey(HKEY_CURRENT_USER, key_ + L"\\sub");
    bxtest::SetString(HKEY_CURRENT_USER, key_ + L"\\deep\\er", L"", L"default");

    CRegBackupDatabase db(folder_);
    ASSERT_TRUE(db.Open());
    EXPECT_EQ(db.BackUp(HKEY_CURRENT_USER, key_ + L"\\", L""), CRegBackupDatabase::kBackedUp);
    EXPECT_EQ(db.BackUp(HKEY_CURRENT_USER, key_ + L"\\", L"missing"), CRegBackupDatabase::kNothingToBackUp);
    ASSERT_TRUE(db.Commit());
    EXPECT_EQ(db.ItemCount(), 2);
    std::string resid = db.RunId();
    ASSERT_TRUE(db.WriteRunAndClose());

    std::vector<Row> rows = ReadRows(folder_ + L"regbackup\\regbackup.db");
    std::string k = Utf8(key_);
    ASSERT_EQ(rows.size(), 5u);
    int values = 0, keys = 0;
    for (const Row& r : rows) {
        EXPECT_EQ(r.resid, resid);
        EXPECT_EQ(r.root, "HKEY_CURRENT_USER");
        if (r.type == 1) {
            ++keys;
            EXPECT_EQ(r.subroot, k + "\\sub");
            EXPECT_FALSE(r.hasValueKey);
            continue;
        }
        ++values;
        if (r.valuekey == "a") {
            EXPECT_EQ(r.subroot, k + "\\");
            EXPECT_EQ(r.valuetype, REG_SZ);
            EXPECT_EQ(r.blob, std::string("o\0n\0e\0\0\0", 8));
        } else if (r.valuekey == "empty") {
            EXPECT_EQ(r.datasize, 0);
            EXPECT_FALSE(r.blobNull);  // an empty value keeps its row
        } else if (r.valuekey.empty()) {
            EXPECT_EQ(r.subroot, k + "\\deep\\er");
        }
        EXPECT_EQ(static_cast<long long>(r.blob.size()), r.datasize);
    }
    EXPECT_EQ(values, 4);
    EXPECT_EQ(keys, 1);
}

TEST_F(BackupDatabaseTest, HostileAndLongNamesAreStoredAsTheyAre)
{
    const std::wstring hostile = key_ + L"\\a'); drop table datainfo; --";
    const std::wstring quote = L"it's; \"x\" --";
    const std::wstring longName(2000, L'n');
    bxtest::SetString(HKEY_CURRENT_USER, hostile, quote, L"v");
    bxtest::SetString(HKEY_CURRENT_USER, hostile, longName, L"w");

    CRegBackupDatabase db(folder_);
    ASSERT_TRUE(db.Open());
    EXPECT_EQ(db.BackUp(HKEY_CURRENT_USER, hostile + L"\\", quote), CRegBackupDatabase::kBackedUp);
    EXPECT_EQ(db.BackUp(HKEY_CURRENT_USER, hostile + L"\\", L""), CRegBackupDatabase::kBackedUp);
    ASSERT_TRUE(db.WriteRunAndClose());

    std::vector<Row> rows = ReadRows(folder_ + L"regbackup\\regbackup.db");
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].subroot, Utf8(hostile + L"\\"));
    EXPECT_EQ(rows[0].valuekey, Utf8(quote));
    bool sawLong = false;
    for (const Row& r : rows) sawLong = sawLong || r.valuekey == Utf8(longName);
    EXPECT_TRUE(sawLong);
}

TEST_F(BackupDatabaseTest, ANameThatCannotBeStoredFailsTheItemAndKeepsTheOthers)
{
    const wchar_t surrogate[] = {L'x', 0xD800, L'y', 0};
    bxtest::SetString(HKEY_CURRENT_USER, key_ + L"\\odd", surrogate, L"v");
    bxtest::SetString(HKEY_CURRENT_USER, key_ + L"\\odd", L"plain", L"v");
    bxtest::SetString(HKEY_CURRENT_USER, key_ + L"\\fine", L"plain", L"v");

    CRegBackupDatabase db(folder_);
    ASSERT_TRUE(db.Open());
    EXPECT_EQ(db.BackUp(HKEY_CURRENT_USER, key_ + L"\\fine\\", L""), CRegBackupDatabase::kBackedUp);
    EXPECT_EQ(db.BackUp(HKEY_CURRENT_USER, key_ + L"\\odd\\", L""), CRegBackupDatabase::kBackupFailed);
    ASSERT_TRUE(db.Commit());
    EXPECT_EQ(db.ItemCount(), 1);
    ASSERT_TRUE(db.WriteRunAndClose());
    std::vector<Row> rows = ReadRows(folder_ + L"regbackup\\regbackup.db");
    ASSERT_EQ(rows.size(), 1u);  // no partial rows of the failed key
    EXPECT_EQ(rows[0].subroot, Utf8(key_ + L"\\fine\\"));
}

TEST_F(BackupDatabaseTest, RowRemovalIsLimitedToThisRun)
{
    bxtest::SetString(HKEY_CURRENT_USER, key_, L"v", L"data");
    CRegBackupDatabase db(folder_);
    ASSERT_TRUE(db.Open());
    std::wstring path = db.Path();
    // A backup of the same value by an earlier run.
    std::string earlier = "insert into datainfo values('20000101000000', 0, 'HKEY_CURRENT_USER', '" + Utf8(key_) +
                          "\\', 'v', 1, 2, x'4100')";
    Query(path, earlier);
    ASSERT_EQ(db.BackUp(HKEY_CURRENT_USER, key_ + L"\\", L"v"), CRegBackupDatabase::kBackedUp);
    ASSERT_TRUE(db.Commit());
    EXPECT_TRUE(db.RemoveValueRows(HKEY_CURRENT_USER, key_ + L"\\", L"v"));
    EXPECT_EQ(db.ItemCount(), 0);
    ASSERT_TRUE(db.WriteRunAndClose());
    std::vector<Row> rows = ReadRows(path);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].resid, "20000101000000");
}

TEST_F(BackupDatabaseTest, AnUnusableFolderCannotOpen)
{
    bxtest::MakeFile(folder_ + L"regbackup");  // a file where the folder should be
    CRegBackupDatabase db(folder_);
    EXPECT_FALSE(db.Open());
    EXPECT_EQ(db.BackUp(HKEY_CURRENT_USER, key_ + L"\\", L""), CRegBackupDatabase::kBackupFailed);
}

}  // namespace
