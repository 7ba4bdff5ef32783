// Numbers, binary data and multi-string lists: round trips, sizes and failure cases.
#include "TestSupport.h"

#include <cstring>

using namespace common_test;

namespace {

class RegistryValues : public RegistryTest {};

TEST_F(RegistryValues, DwordRoundTripAndWrongTypes)
{
    const std::wstring key = Key(L"a\\b");
    for (DWORD n : {0u, 1u, 1024u, 0xFFFFFFFFu}) {
        ASSERT_EQ(ERROR_SUCCESS, SBRegSetDWORDValueW(HKEY_CURRENT_USER, key.c_str(), L"n", n));
        DWORD out = 12345;
        EXPECT_TRUE(SBRegGetDWORDValueW(HKEY_CURRENT_USER, key.c_str(), L"n", out));
        EXPECT_EQ(n, out);
        DWORD type = 0;
        std::wstring raw;
        RawQuery(HKEY_CURRENT_USER, key, L"n", type, raw);
        EXPECT_EQ(static_cast<DWORD>(REG_DWORD), type);
    }
    RawSetString(HKEY_CURRENT_USER, key, L"s", REG_SZ, L"12");
    const unsigned char eight[8] = {1, 0, 0, 0, 0, 0, 0, 0};
    RawSet(HKEY_CURRENT_USER, key, L"q", REG_QWORD, eight, sizeof(eight));
    for (const wchar_t* name : {L"s", L"q", L"absent"}) {
        DWORD out = 77;
        EXPECT_FALSE(SBRegGetDWORDValueW(HKEY_CURRENT_USER, key.c_str(), name, out)) << name;
        EXPECT_EQ(0u, out) << name;
    }
    DWORD out = 77;
    EXPECT_FALSE(SBRegGetDWORDValueW(HKEY_CURRENT_USER, Key(L"absent").c_str(), L"n", out));
    EXPECT_EQ(0u, out);
}

TEST_F(RegistryValues, BinarySizeInAndOut)
{
    const unsigned char data[] = {0x00, 0xFF, 0x10, 0x20, 0x00, 0x7F};
    ASSERT_EQ(ERROR_SUCCESS, SBRegSetBinValueW(HKEY_CURRENT_USER, Key(L"bin").c_str(), L"b", data, sizeof(data)));
    DWORD type = 0;
    std::wstring raw;
    RawQuery(HKEY_CURRENT_USER, Key(L"bin"), L"b", type, raw);
    EXPECT_EQ(static_cast<DWORD>(REG_BINARY), type);

    struct Case {
        const char* name;
        DWORD capacity;
        bool ok;
        DWORD sizeAfter;
    } cases[] = {
        {"larger buffer", 1024, true, sizeof(data)},
        {"exact buffer", sizeof(data), true, sizeof(data)},
        {"small buffer reports the size needed", 3, false, sizeof(data)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        unsigned char buffer[1024];
        memset(buffer, 0xAA, sizeof(buffer));
        DWORD size = c.capacity;
        EXPECT_EQ(c.ok, SBRegGetBinValueW(HKEY_CURRENT_USER, Key(L"bin").c_str(), L"b", buffer, size));
        EXPECT_EQ(c.sizeAfter, size);
        if (c.ok)
            EXPECT_EQ(0, memcmp(buffer, data, sizeof(data)));
        else
            EXPECT_EQ(0xAA, buffer[0]);  // untouched
        EXPECT_EQ(0xAA, buffer[c.ok ? sizeof(data) : 0]);
    }

    // Empty value, null data with a size, and a missing value.
    ASSERT_EQ(ERROR_SUCCESS, SBRegSetBinValueW(HKEY_CURRENT_USER, Key(L"bin").c_str(), L"empty", nullptr, 0));
    unsigned char buffer[16];
    DWORD size = sizeof(buffer);
    EXPECT_TRUE(SBRegGetBinValueW(HKEY_CURRENT_USER, Key(L"bin").c_str(), L"empty", buffer, size));
    EXPECT_EQ(0u, size);
    EXPECT_NE(ERROR_SUCCESS, SBRegSetBinValueW(HKEY_CURRENT_USER, Key(L"bin").c_str(), L"bad", nullptr, 4));
    EXPECT_FALSE(SBRegValueExistW(HKEY_CURRENT_USER, Key(L"bin").c_str(), L"bad"));
    size = sizeof(buffer);
    EXPECT_FALSE(SBRegGetBinValueW(HKEY_CURRENT_USER, Key(L"bin").c_str(), L"absent", buffer, size));
    EXPECT_EQ(0u, size);
}

TEST_F(RegistryValues, MultiStringRoundTrip)
{
    typedef std::vector<std::wstring> List;
    struct Case {
        const char* name;
        List written;
        List read;
    } cases[] = {
        {"three entries", {L"C:\\pagefile.sys 2048 4096", L"b b", L"c"}, {L"C:\\pagefile.sys 2048 4096", L"b b", L"c"}},
        {"one entry", {L"only"}, {L"only"}},
        {"empty entries left out", {L"", L"x", L"", L"y", L""}, {L"x", L"y"}},
        {"empty list", {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(ERROR_SUCCESS,
                  RBRegSetMultiSZStringValueW(HKEY_CURRENT_USER, Key(L"m").c_str(), L"PagingFiles", c.written));
        DWORD type = 0;
        std::wstring raw;
        ASSERT_TRUE(RawQuery(HKEY_CURRENT_USER, Key(L"m"), L"PagingFiles", type, raw));
        EXPECT_EQ(static_cast<DWORD>(REG_MULTI_SZ), type);
        ASSERT_GE(raw.size(), 2u);
        EXPECT_EQ(L'\0', raw[raw.size() - 1]);  // ends with two nulls
        EXPECT_EQ(L'\0', raw[raw.size() - 2]);
        List out = {L"junk"};
        EXPECT_TRUE(RBRegGetMultiSZStringValueW(HKEY_CURRENT_USER, Key(L"m").c_str(), L"PagingFiles", out));
        EXPECT_EQ(c.read, out);
    }
    // A list stored without its final null still reads whole; a plain string is not a list.
    const wchar_t cut[] = {L'a', L'\0', L'b'};
    RawSet(HKEY_CURRENT_USER, Key(L"m"), L"cut", REG_MULTI_SZ, cut, sizeof(cut));
    List out;
    EXPECT_TRUE(RBRegGetMultiSZStringValueW(HKEY_CURRENT_USER, Key(L"m").c_str(), L"cut", out));
    EXPECT_EQ((List{L"a", L"b"}), out);
    RawSetString(HKEY_CURRENT_USER, Key(L"m"), L"sz", REG_SZ, L"a");
    out = {L"junk"};
    EXPECT_FALSE(RBRegGetMultiSZStringValueW(HKEY_CURRENT_USER, Key(L"m").c_str(), L"sz", out));
    EXPECT_TRUE(out.empty());
}

}  // namespace
