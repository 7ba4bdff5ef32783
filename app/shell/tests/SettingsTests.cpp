// The settings against the registry of the test prefix: where each value is stored, with which type, and what a
// missing value or one of another type reads as. The names are spelled here on purpose: they are what stored
// settings of earlier runs and other copies rely on.
#include <gtest/gtest.h>

#include <windows.h>

#include <Common.h>

#include "Settings.h"

namespace {

const wchar_t kParam[] = L"Software\\Quorvel\\Param";
const wchar_t kScore[] = L"Software\\Quorvel\\Param\\RegScore";

const struct StoredValue {
    const wchar_t* key;
    const wchar_t* name;
    DWORD type;
} kStored[] = {
    {kParam, L"Lang", REG_SZ},
    {kParam, L"ServiceUrl", REG_SZ},
    {kScore, L"LastScanScore", REG_DWORD},
    {kScore, L"LastScanTime", REG_SZ},
    {kScore, L"RegCleanErrorCount", REG_DWORD},
    {kScore, L"ScanEvidenceErrorCount", REG_DWORD},
    {kScore, L"ScanJunkFileErrorCount", REG_DWORD},
    {kScore, L"ScanShortcutErrorCount", REG_DWORD},
    {kScore, L"ScanFileAssociateErrorCount", REG_DWORD},
};

DWORD StoredType(const StoredValue& v)
{
    HKEY key = nullptr;
    if (SBRegOpenKeyW(HKEY_LOCAL_MACHINE, v.key, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return REG_NONE;
    DWORD type = REG_NONE;
    if (RegQueryValueExW(key, v.name, nullptr, &type, nullptr, nullptr) != ERROR_SUCCESS) type = REG_NONE;
    RegCloseKey(key);
    return type;
}

void ExpectDefaults(const char* state)
{
    SCOPED_TRACE(state);
    EXPECT_EQ(1, Settings::Language());
    EXPECT_EQ(L"", Settings::ServiceUrl());
    DWORD score = 5;
    EXPECT_FALSE(Settings::LastScanScore(score));
    EXPECT_EQ(0u, score);
    std::wstring time = L"x";
    EXPECT_FALSE(Settings::LastScanTime(time));
    EXPECT_EQ(L"", time);
    for (int i = 0; i < Settings::kLastScanCounts; ++i) EXPECT_EQ(0u, Settings::LastScanCount(i)) << i;
}

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override { SBRegDeleteTreeW(HKEY_LOCAL_MACHINE, kParam); }
    void TearDown() override { SBRegDeleteTreeW(HKEY_LOCAL_MACHINE, kParam); }
};

TEST_F(SettingsTest, ValuesReadBackAndAreStoredUnderTheirNamesAndTypes)
{
    EXPECT_STREQ(kScore, Settings::kLastScanKey);
    const DWORD counts[Settings::kLastScanCounts] = {12, 345, 6, 1, 2};
    ASSERT_EQ(0, Settings::SetLanguage(6));
    ASSERT_EQ(0, Settings::SetServiceUrl(L"http://127.0.0.1:8080/"));
    ASSERT_EQ(0, Settings::SetLastScanScore(77));
    ASSERT_EQ(0, Settings::SetLastScanTime(L"2026-12-09_21:27:26"));
    for (int i = 0; i < Settings::kLastScanCounts; ++i) ASSERT_EQ(0, Settings::SetLastScanCount(i, counts[i]));

    EXPECT_EQ(6, Settings::Language());
    EXPECT_EQ(L"http://127.0.0.1:8080/", Settings::ServiceUrl());
    DWORD score = 0;
    EXPECT_TRUE(Settings::LastScanScore(score));
    EXPECT_EQ(77u, score);
    std::wstring time;
    EXPECT_TRUE(Settings::LastScanTime(time));
    EXPECT_EQ(L"2026-12-09_21:27:26", time);
    for (int i = 0; i < Settings::kLastScanCounts; ++i) EXPECT_EQ(counts[i], Settings::LastScanCount(i)) << i;

    for (const StoredValue& v : kStored) EXPECT_EQ(v.type, StoredType(v)) << v.name;
    std::wstring lang;
    EXPECT_TRUE(SBRegGetStringValueW(HKEY_LOCAL_MACHINE, kParam, L"Lang", lang));
    EXPECT_EQ(L"6", lang);

    // A count outside the five is neither stored nor read.
    EXPECT_NE(0, Settings::SetLastScanCount(Settings::kLastScanCounts, 9));
    EXPECT_EQ(0u, Settings::LastScanCount(-1));
}

TEST_F(SettingsTest, MissingValuesAndValuesOfAnotherTypeReadAsTheDefaults)
{
    ExpectDefaults("nothing stored");

    // Each value stored as the other type, with data that would read as something if the type were not checked.
    for (const StoredValue& v : kStored) {
        if (v.type == REG_DWORD)
            ASSERT_EQ(0, SBRegSetStringValueNoExpandW(HKEY_LOCAL_MACHINE, v.key, v.name, L"7")) << v.name;
        else
            ASSERT_EQ(0, SBRegSetDWORDValueW(HKEY_LOCAL_MACHINE, v.key, v.name, 7)) << v.name;
    }
    ExpectDefaults("every value of another type");
}

}  // namespace
