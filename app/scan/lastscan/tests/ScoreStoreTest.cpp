// Against the registry of the test prefix.
#include <gtest/gtest.h>

#include <windows.h>

#include <Common.h>

#include "ScoreStore.h"
#include "Settings.h"

using namespace OneClick;

namespace {

class ScoreStoreTest : public ::testing::Test {
protected:
    void SetUp() override { SBRegDeleteTreeW(HKEY_LOCAL_MACHINE, Settings::kLastScanKey); }
    void TearDown() override { SBRegDeleteTreeW(HKEY_LOCAL_MACHINE, Settings::kLastScanKey); }
};

}  // namespace

TEST_F(ScoreStoreTest, NothingStoredReadsAsMissing)
{
    StoredScore s = ReadStoredScore();
    EXPECT_FALSE(s.hasScore);
    EXPECT_FALSE(s.hasTime);
    EXPECT_EQ(ScanCounts(), s.counts);
}

TEST_F(ScoreStoreTest, WrittenValuesReadBackWithTheirTypes)
{
    ScanCounts c;
    c[kRegistry] = 12;
    c[kEvidence] = 345;
    c[kJunk] = 6;
    c[kShortcut] = 1;
    c[kFileAssoc] = 2;
    ASSERT_EQ(0, WriteStoredScore(c, L"2026-12-09_21:27:26", 77));

    StoredScore s = ReadStoredScore();
    EXPECT_TRUE(s.hasScore);
    EXPECT_EQ(77, s.score);
    EXPECT_TRUE(s.hasTime);
    EXPECT_EQ(L"2026-12-09_21:27:26", s.timeText);
    EXPECT_EQ(c, s.counts);

    const struct {
        const wchar_t* name;
        DWORD type;
    } values[] = {{L"RegCleanErrorCount", REG_DWORD},
                  {L"ScanEvidenceErrorCount", REG_DWORD},
                  {L"ScanJunkFileErrorCount", REG_DWORD},
                  {L"ScanShortcutErrorCount", REG_DWORD},
                  {L"ScanFileAssociateErrorCount", REG_DWORD},
                  {L"LastScanTime", REG_SZ},
                  {L"LastScanScore", REG_DWORD}};
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_LOCAL_MACHINE, Settings::kLastScanKey, 0, KEY_READ, &key));
    for (const auto& v : values) {
        DWORD type = 0;
        EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExW(key, v.name, nullptr, &type, nullptr, nullptr)) << v.name;
        EXPECT_EQ(v.type, type) << v.name;
    }
    RegCloseKey(key);
}

TEST_F(ScoreStoreTest, UnreadableCountIsZeroAndOtherValuesStillRead)
{
    ScanCounts c;
    c[kRegistry] = 4;
    c[kJunk] = 9;
    ASSERT_EQ(0, WriteStoredScore(c, L"2026-12-09_21:27:26", 90));
    // A count of the wrong type cannot be read.
    ASSERT_EQ(
        0, SBRegSetStringValueNoExpandW(HKEY_LOCAL_MACHINE, Settings::kLastScanKey, L"ScanJunkFileErrorCount", L"x"));
    StoredScore s = ReadStoredScore();
    EXPECT_EQ(4, s.counts[kRegistry]);
    EXPECT_EQ(0, s.counts[kJunk]);
    EXPECT_EQ(90, s.score);
}
