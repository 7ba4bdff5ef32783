// String values: the type each setter writes and what each reader returns.
#include "TestSupport.h"

using namespace common_test;

namespace {

enum class Setter { Plain, NoExpand, Expandable };

struct StringCase {
    const char* name;
    DWORD existingType;  // REG_NONE: no value before the write
    Setter setter;
    const wchar_t* valueName;
    const wchar_t* text;
    DWORD expectedType;
    const wchar_t* expectedStored;
};

const std::wstring kLongText(5000, L'L');

const StringCase kStringCases[] = {
    {"new value is plain", REG_NONE, Setter::Plain, L"v", L"hello", REG_SZ, L"hello"},
    {"existing expandable kept", REG_EXPAND_SZ, Setter::Plain, L"v", L"%QV_TEST_DIR%\\x", REG_EXPAND_SZ,
     L"%QV_TEST_DIR%\\x"},
    {"existing plain kept", REG_SZ, Setter::Plain, L"v", L"%QV_TEST_DIR%", REG_SZ, L"%QV_TEST_DIR%"},
    {"existing number becomes plain", REG_DWORD, Setter::Plain, L"v", L"7", REG_SZ, L"7"},
    {"no-expand over expandable", REG_EXPAND_SZ, Setter::NoExpand, L"v", L"%QV_TEST_DIR%", REG_SZ, L"%QV_TEST_DIR%"},
    {"no-expand new value", REG_NONE, Setter::NoExpand, L"v", L"plain", REG_SZ, L"plain"},
    {"empty name is the default value", REG_NONE, Setter::Plain, L"", L"dflt", REG_SZ, L"dflt"},
    {"null name is the default value", REG_NONE, Setter::NoExpand, nullptr, L"dflt2", REG_SZ, L"dflt2"},
    {"null text writes empty", REG_NONE, Setter::Plain, L"v", nullptr, REG_SZ, L""},
    {"long text", REG_NONE, Setter::Plain, L"v", kLongText.c_str(), REG_SZ, kLongText.c_str()},
    {"reference in a new value", REG_NONE, Setter::Expandable, L"v", L"%QV_TEST_DIR%\\x", REG_EXPAND_SZ,
     L"%QV_TEST_DIR%\\x"},
    {"reference over a plain value", REG_SZ, Setter::Expandable, L"v", L"%QV_TEST_DIR%\\x", REG_EXPAND_SZ,
     L"%QV_TEST_DIR%\\x"},
    {"argument marks are no reference", REG_NONE, Setter::Expandable, L"v", L"a.exe %1 %*", REG_SZ, L"a.exe %1 %*"},
    {"a lone mark is no reference", REG_NONE, Setter::Expandable, L"v", L"100% % x", REG_SZ, L"100% % x"},
    {"text without reference keeps expandable", REG_EXPAND_SZ, Setter::Expandable, L"v", L"plain", REG_EXPAND_SZ,
     L"plain"},
};

class RegistryStrings : public RegistryTest {};

TEST_F(RegistryStrings, SettersPinTheTypeAndReadersExpandOnlyExpandable)
{
    SetEnvironmentVariableW(L"QV_TEST_DIR", L"C:\\QvDir");
    for (const StringCase& c : kStringCases) {
        SCOPED_TRACE(c.name);
        RawDeleteTree(HKEY_CURRENT_USER, Key());
        const std::wstring key = Key(L"created\\on demand");  // also proves the setter creates missing keys
        const wchar_t* text = c.text;
        const std::wstring stored = c.expectedStored;
        if (c.existingType == REG_DWORD) {
            DWORD n = 5;
            RawSet(HKEY_CURRENT_USER, key, c.valueName, REG_DWORD, &n, sizeof(n));
        } else if (c.existingType != REG_NONE) {
            RawSetString(HKEY_CURRENT_USER, key, c.valueName, c.existingType, L"old");
        }

        LONG status = c.setter == Setter::Plain
                          ? SBRegSetStringValueW(HKEY_CURRENT_USER, key.c_str(), c.valueName, text)
                      : c.setter == Setter::NoExpand
                          ? SBRegSetStringValueNoExpandW(HKEY_CURRENT_USER, key.c_str(), c.valueName, text)
                          : SBRegSetStringValueExpandableW(HKEY_CURRENT_USER, key.c_str(), c.valueName, text);
        ASSERT_EQ(ERROR_SUCCESS, status);

        DWORD type = 0;
        std::wstring raw;
        ASSERT_TRUE(RawQuery(HKEY_CURRENT_USER, key, c.valueName, type, raw));
        EXPECT_EQ(c.expectedType, type);
        EXPECT_EQ(stored, std::wstring(raw.c_str()));

        std::wstring asStored = L"junk", expanded = L"junk";
        EXPECT_TRUE(SBRegGetStringValueNoExpandW(HKEY_CURRENT_USER, key.c_str(), c.valueName, asStored));
        EXPECT_EQ(stored, asStored);
        EXPECT_TRUE(SBRegGetStringValueW(HKEY_CURRENT_USER, key.c_str(), c.valueName, expanded));
        if (type == REG_EXPAND_SZ && stored.find(L'%') != std::wstring::npos)
            EXPECT_EQ(L"C:\\QvDir\\x", expanded);
        else
            EXPECT_EQ(stored, expanded);
    }
}

TEST_F(RegistryStrings, ReadersFailWithEmptyOutForMissingOrNonStringValues)
{
    DWORD n = 3;
    RawSet(HKEY_CURRENT_USER, Key(), L"number", REG_DWORD, &n, sizeof(n));
    RawSetString(HKEY_CURRENT_USER, Key(), L"text", REG_SZ, L"t");
    struct Case {
        const char* name;
        std::wstring key;
        const wchar_t* value;
    } cases[] = {
        {"missing key", Key(L"absent"), L"text"},
        {"missing value", Key(), L"absent"},
        {"unset default value", Key(), L""},
        {"number value", Key(), L"number"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::wstring a = L"junk", b = L"junk";
        EXPECT_FALSE(SBRegGetStringValueW(HKEY_CURRENT_USER, c.key.c_str(), c.value, a));
        EXPECT_FALSE(SBRegGetStringValueNoExpandW(HKEY_CURRENT_USER, c.key.c_str(), c.value, b));
        EXPECT_EQ(L"", a);
        EXPECT_EQ(L"", b);
    }
}

TEST_F(RegistryStrings, StoredTextWithoutTerminatorOrWithEmbeddedNullReadsToFirstNull)
{
    const wchar_t unterminated[] = {L'a', L'b', L'c'};
    RawSet(HKEY_CURRENT_USER, Key(), L"u", REG_SZ, unterminated, sizeof(unterminated));
    const wchar_t embedded[] = L"one\0two";
    RawSet(HKEY_CURRENT_USER, Key(), L"e", REG_SZ, embedded, sizeof(embedded));
    std::wstring out;
    EXPECT_TRUE(SBRegGetStringValueW(HKEY_CURRENT_USER, Key().c_str(), L"u", out));
    EXPECT_EQ(L"abc", out);
    EXPECT_TRUE(SBRegGetStringValueW(HKEY_CURRENT_USER, Key().c_str(), L"e", out));
    EXPECT_EQ(L"one", out);
}

TEST_F(RegistryStrings, LocalMachineRoundTripAndTrailingBackslashInKeyPath)
{
    const std::wstring key = std::wstring(TestKeyBase()) + L"\\Machine";
    RawDeleteTree(HKEY_LOCAL_MACHINE, key);
    ASSERT_EQ(ERROR_SUCCESS, SBRegSetStringValueW(HKEY_LOCAL_MACHINE, (key + L"\\").c_str(), L"Lang", L"5"));
    std::wstring out;
    EXPECT_TRUE(SBRegGetStringValueW(HKEY_LOCAL_MACHINE, key.c_str(), L"Lang", out));
    EXPECT_EQ(L"5", out);
    RawDeleteTree(HKEY_LOCAL_MACHINE, key);
}

}  // namespace
