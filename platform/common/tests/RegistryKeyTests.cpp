// Keys: existence, listing, opening, deleting trees, clearing values, and registry views.
#include "TestSupport.h"

#include <algorithm>
#include <memory>

using namespace common_test;

namespace {

class RegistryKeys : public RegistryTest {
protected:
    // Key with values "" (default), "a", "b" and subkeys "one" (with a grandchild) and "two".
    void MakeSample()
    {
        RawSetString(HKEY_CURRENT_USER, Key(), L"", REG_SZ, L"d");
        RawSetString(HKEY_CURRENT_USER, Key(), L"a", REG_SZ, L"1");
        DWORD n = 2;
        RawSet(HKEY_CURRENT_USER, Key(), L"b", REG_DWORD, &n, sizeof(n));
        RawSetString(HKEY_CURRENT_USER, Key(L"one\\grand"), L"g", REG_SZ, L"x");
        RawSetString(HKEY_CURRENT_USER, Key(L"two"), L"t", REG_SZ, L"y");
    }

    static std::vector<std::wstring> Sorted(const CSBStringArrayW& names)
    {
        std::vector<std::wstring> list;
        for (int i = 0; i < names.GetCount(); ++i) list.push_back(names.GetString(i));
        std::sort(list.begin(), list.end());
        return list;
    }
};

TEST_F(RegistryKeys, ExistenceTests)
{
    MakeSample();
    struct Case {
        const char* name;
        std::wstring key;
        const wchar_t* value;
        bool keyExists;
        bool valueExists;
    } cases[] = {
        {"value", Key(), L"a", true, true},
        {"set default value", Key(), L"", true, true},
        {"null name is the default", Key(), nullptr, true, true},
        {"unset default of subkey", Key(L"two"), L"", true, false},
        {"missing value", Key(), L"zz", true, false},
        {"nested key", Key(L"one\\grand"), L"g", true, true},
        {"missing key", Key(L"none"), L"a", false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.keyExists, SBRegKeyExistW(HKEY_CURRENT_USER, c.key.c_str()));
        EXPECT_EQ(c.valueExists, SBRegValueExistW(HKEY_CURRENT_USER, c.key.c_str(), c.value));
    }
}

TEST_F(RegistryKeys, ListsSubkeysAndValueNamesIntoAnArrayOwnedByTheCaller)
{
    MakeSample();
    // Created and deleted here, filled inside the library (one runtime and heap).
    std::unique_ptr<CSBStringArrayW> names(new CSBStringArrayW());
    names->AddString(L"stale");
    ASSERT_TRUE(SBRegGetSubKeysW(HKEY_CURRENT_USER, Key().c_str(), *names));
    EXPECT_EQ((std::vector<std::wstring>{L"one", L"two"}), Sorted(*names));
    ASSERT_TRUE(SBRegGetValuesW(HKEY_CURRENT_USER, Key().c_str(), *names));
    EXPECT_EQ((std::vector<std::wstring>{L"", L"a", L"b"}), Sorted(*names));
    ASSERT_TRUE(SBRegGetSubKeysW(HKEY_CURRENT_USER, Key(L"two").c_str(), *names));
    EXPECT_EQ(0, names->GetCount());

    // A missing key empties the array (no stale names from an earlier call).
    names->AddString(L"stale");
    EXPECT_FALSE(SBRegGetSubKeysW(HKEY_CURRENT_USER, Key(L"none").c_str(), *names));
    EXPECT_EQ(0, names->GetCount());
    names->AddString(L"stale");
    EXPECT_FALSE(SBRegGetValuesW(HKEY_CURRENT_USER, Key(L"none").c_str(), *names));
    EXPECT_EQ(0, names->GetCount());
}

TEST_F(RegistryKeys, OpenKeyGivesAUsableHandleOrNull)
{
    MakeSample();
    HKEY key = reinterpret_cast<HKEY>(1);
    ASSERT_EQ(ERROR_SUCCESS, SBRegOpenKeyW(HKEY_CURRENT_USER, Key().c_str(), KEY_READ, &key));
    ASSERT_NE(nullptr, key);
    wchar_t data[8];
    DWORD size = sizeof(data);
    EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExW(key, L"a", nullptr, nullptr, reinterpret_cast<LPBYTE>(data), &size));
    RegCloseKey(key);

    key = reinterpret_cast<HKEY>(1);
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, SBRegOpenKeyW(HKEY_CURRENT_USER, Key(L"none").c_str(), KEY_READ, &key));
    EXPECT_EQ(nullptr, key);
    EXPECT_NE(ERROR_SUCCESS, SBRegOpenKeyW(HKEY_CURRENT_USER, Key().c_str(), KEY_READ, nullptr));
}

TEST_F(RegistryKeys, DeleteTreeRemovesTheKeyAndEverythingBelowButKeepsSiblings)
{
    MakeSample();
    EXPECT_EQ(ERROR_SUCCESS, SBRegDeleteTreeW(HKEY_CURRENT_USER, Key(L"one").c_str()));
    EXPECT_FALSE(RawKeyExists(HKEY_CURRENT_USER, Key(L"one")));
    EXPECT_TRUE(RawKeyExists(HKEY_CURRENT_USER, Key(L"two")));
    EXPECT_TRUE(SBRegValueExistW(HKEY_CURRENT_USER, Key().c_str(), L"a"));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, SBRegDeleteTreeW(HKEY_CURRENT_USER, Key(L"one").c_str()));
    EXPECT_EQ(ERROR_SUCCESS, SBRegDeleteTreeW(HKEY_CURRENT_USER, (Key() + L"\\").c_str()));
    EXPECT_FALSE(RawKeyExists(HKEY_CURRENT_USER, Key()));
}

TEST_F(RegistryKeys, DeleteTreeAndClearValuesRefuseAPathThatNamesTheRootItself)
{
    MakeSample();
    // The opened sample key stands in for a root: a refusal leaves its subkeys in place.
    HKEY root = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_CURRENT_USER, Key().c_str(), 0, KEY_ALL_ACCESS, &root));
    for (const wchar_t* path : {L"", L"\\", L"\\\\", static_cast<const wchar_t*>(nullptr)}) {
        EXPECT_EQ(ERROR_INVALID_PARAMETER, SBRegDeleteTreeW(root, path)) << (path ? "text" : "null");
        EXPECT_EQ(ERROR_INVALID_PARAMETER, SBRegClearValuesW(root, path)) << (path ? "text" : "null");
        EXPECT_TRUE(SBRegValueExistW(HKEY_CURRENT_USER, Key().c_str(), L"a"));
        EXPECT_TRUE(RawKeyExists(HKEY_CURRENT_USER, Key(L"one\\grand")));
        EXPECT_TRUE(RawKeyExists(HKEY_CURRENT_USER, Key(L"two")));
    }
    RegCloseKey(root);
}

TEST_F(RegistryKeys, ClearValuesKeepsKeyAndSubkeys)
{
    MakeSample();
    EXPECT_EQ(ERROR_SUCCESS, SBRegClearValuesW(HKEY_CURRENT_USER, Key().c_str()));
    CSBStringArrayW names;
    ASSERT_TRUE(SBRegGetValuesW(HKEY_CURRENT_USER, Key().c_str(), names));
    EXPECT_EQ(0, names.GetCount());
    EXPECT_TRUE(RawKeyExists(HKEY_CURRENT_USER, Key(L"one\\grand")));
    EXPECT_TRUE(SBRegValueExistW(HKEY_CURRENT_USER, Key(L"two").c_str(), L"t"));
    EXPECT_EQ(ERROR_SUCCESS, SBRegClearValuesW(HKEY_CURRENT_USER, Key().c_str()));  // already empty
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, SBRegClearValuesW(HKEY_CURRENT_USER, Key(L"none").c_str()));
    EXPECT_FALSE(RawKeyExists(HKEY_CURRENT_USER, Key(L"none")));
}

TEST_F(RegistryKeys, DeleteValueReportsMissingAndCreatesNothing)
{
    MakeSample();
    EXPECT_EQ(ERROR_SUCCESS, SBRegDeleteValueW(HKEY_CURRENT_USER, Key().c_str(), L"a"));
    EXPECT_FALSE(SBRegValueExistW(HKEY_CURRENT_USER, Key().c_str(), L"a"));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, SBRegDeleteValueW(HKEY_CURRENT_USER, Key().c_str(), L"a"));
    EXPECT_EQ(ERROR_SUCCESS, SBRegDeleteValueW(HKEY_CURRENT_USER, Key().c_str(), nullptr));  // default value
    EXPECT_FALSE(SBRegValueExistW(HKEY_CURRENT_USER, Key().c_str(), L""));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, SBRegDeleteValueW(HKEY_CURRENT_USER, Key(L"none").c_str(), L"a"));
    EXPECT_FALSE(RawKeyExists(HKEY_CURRENT_USER, Key(L"none")));
}

TEST(RegistryViews, ThirtyTwoBitViewIsSeparateFromTheNativeOne)
{
    // HKLM\Software is split into two views on 64-bit Windows; the view flag reaches every call.
    const std::wstring key = std::wstring(TestKeyBase()) + L"\\View";
    const REGSAM view32 = KEY_WOW64_32KEY, view64 = KEY_WOW64_64KEY;
    SBRegDeleteTreeW(HKEY_LOCAL_MACHINE, key.c_str(), view32);
    SBRegDeleteTreeW(HKEY_LOCAL_MACHINE, key.c_str(), view64);
    ASSERT_EQ(ERROR_SUCCESS, SBRegSetDWORDValueW(HKEY_LOCAL_MACHINE, (key + L"\\sub").c_str(), L"n", 32, view32));
    DWORD out = 0;
    EXPECT_TRUE(SBRegGetDWORDValueW(HKEY_LOCAL_MACHINE, (key + L"\\sub").c_str(), L"n", out, view32));
    EXPECT_EQ(32u, out);
    EXPECT_FALSE(SBRegKeyExistW(HKEY_LOCAL_MACHINE, key.c_str(), view64));
#ifdef _WIN64
    EXPECT_FALSE(SBRegKeyExistW(HKEY_LOCAL_MACHINE, key.c_str()));  // a 64-bit build sees the native view
#endif
    EXPECT_EQ(ERROR_SUCCESS, SBRegDeleteTreeW(HKEY_LOCAL_MACHINE, key.c_str(), view32));
    EXPECT_FALSE(SBRegKeyExistW(HKEY_LOCAL_MACHINE, key.c_str(), view32));
}

}  // namespace
