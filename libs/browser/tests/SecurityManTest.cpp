// The three switches and the typed-address list, against the prefix's registry.
#include <gtest/gtest.h>

#include <Grennow.h>

#include "RegistrySeed.h"

using namespace grennow_test;

namespace {

const wchar_t kMain[] = L"Software\\Microsoft\\Internet Explorer\\Main";
const wchar_t kCache[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\Cache";
const wchar_t kTypedUrls[] = L"Software\\Microsoft\\Internet Explorer\\TypedUrls";

class SecurityMan : public ::testing::Test {
protected:
    void SetUp() override
    {
        DeleteTree(HKEY_CURRENT_USER, kMain);
        DeleteTree(HKEY_CURRENT_USER, kCache);
        DeleteTree(HKEY_CURRENT_USER, kTypedUrls);
    }
};

TEST_F(SecurityMan, SoundAndPictureAreOffOnlyForExactlyNo)
{
    const struct {
        const char* name;
        const wchar_t* text;  // null: no value
        bool on;
    } cases[] = {
        {"missing", nullptr, true},
        {"empty", L"", true},
        {"no", L"no", false},
        {"No", L"No", true},
        {"NO", L"NO", true},
        {"yes", L"yes", true},
        {"no with blank", L"no ", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        DeleteTree(HKEY_CURRENT_USER, kMain);
        if (c.text) {
            SetString(HKEY_CURRENT_USER, kMain, L"Play_Background_Sounds", c.text);
            SetString(HKEY_CURRENT_USER, kMain, L"Display Inline Images", c.text);
        }
        CIESecurityMan security;
        EXPECT_EQ(c.on, security.GetIsPlayBkgndSound());
        EXPECT_EQ(c.on, security.GetIsDisplayImage());
    }
}

TEST_F(SecurityMan, CacheIsClearedOnExitOnlyForPersistentZero)
{
    const struct {
        const char* name;
        int number;  // -1: no value, -2: the text "0"
        bool clear;
    } cases[] = {{"missing", -1, false}, {"zero", 0, true}, {"one", 1, false}, {"text zero", -2, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        DeleteTree(HKEY_CURRENT_USER, kCache);
        if (c.number >= 0) SetDword(HKEY_CURRENT_USER, kCache, L"Persistent", DWORD(c.number));
        if (c.number == -2) SetString(HKEY_CURRENT_USER, kCache, L"Persistent", L"0");
        EXPECT_EQ(c.clear, CIESecurityMan().GetIsClearTmpExitIE());
    }
}

TEST_F(SecurityMan, SwitchesAreWrittenAndOnlyTheCacheSwitchUpdatesTheObject)
{
    CIESecurityMan security;
    ASSERT_FALSE(security.GetIsClearTmpExitIE());
    ASSERT_TRUE(security.GetIsPlayBkgndSound());
    ASSERT_TRUE(security.GetIsDisplayImage());

    EXPECT_TRUE(security.EnableClearTmpExitIE(true));
    EXPECT_EQ(0u, Read(HKEY_CURRENT_USER, kCache, L"Persistent").number);
    EXPECT_EQ(DWORD(REG_DWORD), Read(HKEY_CURRENT_USER, kCache, L"Persistent").type);
    EXPECT_TRUE(security.GetIsClearTmpExitIE());

    EXPECT_TRUE(security.EnablePlayBkgndSound(false));
    EXPECT_TRUE(security.EnableDisplayImage(false));
    EXPECT_EQ(L"no", Read(HKEY_CURRENT_USER, kMain, L"Play_Background_Sounds").text);
    EXPECT_EQ(L"no", Read(HKEY_CURRENT_USER, kMain, L"Display Inline Images").text);
    // The object keeps what it read; a new one reads the change.
    EXPECT_TRUE(security.GetIsPlayBkgndSound());
    EXPECT_TRUE(security.GetIsDisplayImage());
    CIESecurityMan fresh;
    EXPECT_TRUE(fresh.GetIsClearTmpExitIE());
    EXPECT_FALSE(fresh.GetIsPlayBkgndSound());
    EXPECT_FALSE(fresh.GetIsDisplayImage());

    EXPECT_TRUE(fresh.EnableClearTmpExitIE(false));
    EXPECT_TRUE(fresh.EnablePlayBkgndSound(true));
    EXPECT_TRUE(fresh.EnableDisplayImage(true));
    EXPECT_EQ(1u, Read(HKEY_CURRENT_USER, kCache, L"Persistent").number);
    EXPECT_FALSE(fresh.GetIsClearTmpExitIE());
    EXPECT_EQ(L"yes", Read(HKEY_CURRENT_USER, kMain, L"Play_Background_Sounds").text);
    EXPECT_EQ(L"yes", Read(HKEY_CURRENT_USER, kMain, L"Display Inline Images").text);

    // Assignment copies the three switches.
    CIESecurityMan copy;
    copy = security;
    EXPECT_EQ(security.GetIsClearTmpExitIE(), copy.GetIsClearTmpExitIE());
    EXPECT_EQ(security.GetIsPlayBkgndSound(), copy.GetIsPlayBkgndSound());
}

TEST_F(SecurityMan, RefusedWritesAreReportedAndChangeNothing)
{
    SetDword(HKEY_CURRENT_USER, kCache, L"Persistent", 1);
    SetString(HKEY_CURRENT_USER, kMain, L"Play_Background_Sounds", L"yes");
    CIESecurityMan security;
    {
        WriteDenied denyCache(HKEY_CURRENT_USER, kCache);
        WriteDenied denyMain(HKEY_CURRENT_USER, kMain);
        if (!denyCache.Enforced() || !denyMain.Enforced())
            GTEST_SKIP() << "the registry did not enforce the denying access list";
        EXPECT_FALSE(security.EnableClearTmpExitIE(true));
        EXPECT_FALSE(security.EnablePlayBkgndSound(false));
        EXPECT_FALSE(security.EnableDisplayImage(false));
    }
    EXPECT_FALSE(security.GetIsClearTmpExitIE());
    EXPECT_EQ(1u, Read(HKEY_CURRENT_USER, kCache, L"Persistent").number);
    EXPECT_EQ(L"yes", Read(HKEY_CURRENT_USER, kMain, L"Play_Background_Sounds").text);
    EXPECT_FALSE(Read(HKEY_CURRENT_USER, kMain, L"Display Inline Images").present);
}

TEST_F(SecurityMan, ClearingTypedAddressesKeepsTheKey)
{
    // No list at all: nothing to do, nothing created.
    EXPECT_TRUE(CIESecurityMan().ClearIEAddressList());
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kTypedUrls));

    for (const wchar_t* name : {L"url1", L"url2", L"url3"})
        SetString(HKEY_CURRENT_USER, kTypedUrls, name, std::wstring(L"http://example.test/") + name);
    CreateKey(HKEY_CURRENT_USER, std::wstring(kTypedUrls) + L"\\child");
    EXPECT_TRUE(CIESecurityMan().ClearIEAddressList());
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, kTypedUrls));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, std::wstring(kTypedUrls) + L"\\child"));
    for (const wchar_t* name : {L"url1", L"url2", L"url3"})
        EXPECT_FALSE(Read(HKEY_CURRENT_USER, kTypedUrls, name).present) << name;
}

}  // namespace
