// Key and value deletion: really gone, refusals, and access rights put back.
#include <gtest/gtest.h>

#include "RegDelete.h"
#include "TestUtil.h"

using namespace bexlar;

namespace {

const std::wstring kBase = L"Software\\BexlarDelete\\";

TEST(RegDelete, KeyTreeIsReallyGone)
{
    std::wstring key = kBase + bxtest::UniqueTag();
    bxtest::SetString(HKEY_CURRENT_USER, key + L"\\a\\b", L"v", L"x");
    bxtest::SetString(HKEY_CURRENT_USER, key, L"top", L"x");
    EXPECT_EQ(DeleteKeyTree(HKEY_CURRENT_USER, key + L"\\"), 0);
    EXPECT_FALSE(bxtest::KeyExists(HKEY_CURRENT_USER, key));
    EXPECT_TRUE(bxtest::KeyExists(HKEY_CURRENT_USER, L"Software"));
    EXPECT_EQ(DeleteKeyTree(HKEY_CURRENT_USER, key + L"\\"), ERROR_FILE_NOT_FOUND);
}

TEST(RegDelete, ALinkInsideADeletedKeyGoesAsALinkAndItsTargetStays)
{
    std::wstring key = kBase + bxtest::UniqueTag();
    std::wstring target = kBase + bxtest::UniqueTag() + L"-target";
    bxtest::SetString(HKEY_CURRENT_USER, target + L"\\child", L"v", L"kept");
    ASSERT_TRUE(bxtest::CreateLinkKey(HKEY_CURRENT_USER, key + L"\\holder\\link", HKEY_CURRENT_USER, target));
    ASSERT_TRUE(bxtest::ValueExists(HKEY_CURRENT_USER, key + L"\\holder\\link\\child", L"v"));

    EXPECT_EQ(DeleteKeyTree(HKEY_CURRENT_USER, key), 0);
    EXPECT_FALSE(bxtest::KeyExists(HKEY_CURRENT_USER, key));
    EXPECT_TRUE(bxtest::ValueExists(HKEY_CURRENT_USER, target + L"\\child", L"v"));

    // A link that is the item itself is removed the same way.
    ASSERT_TRUE(bxtest::CreateLinkKey(HKEY_CURRENT_USER, key, HKEY_CURRENT_USER, target));
    EXPECT_EQ(DeleteKeyTree(HKEY_CURRENT_USER, key), 0);
    EXPECT_FALSE(bxtest::IsLink(HKEY_CURRENT_USER, key));
    EXPECT_TRUE(bxtest::ValueExists(HKEY_CURRENT_USER, target + L"\\child", L"v"));
}

TEST(RegDelete, AnEmptyPathIsRefused)
{
    bxtest::CreateKey(HKEY_CURRENT_USER, kBase + L"keep");
    EXPECT_EQ(DeleteKeyTree(HKEY_CURRENT_USER, L""), E_INVALIDARG);
    EXPECT_EQ(DeleteKeyTree(HKEY_CURRENT_USER, L"\\"), E_INVALIDARG);
    EXPECT_TRUE(bxtest::KeyExists(HKEY_CURRENT_USER, kBase + L"keep"));
}

TEST(RegDelete, ValueIsReallyGone)
{
    std::wstring key = kBase + bxtest::UniqueTag();
    bxtest::SetString(HKEY_CURRENT_USER, key, L"v", L"x");
    bxtest::SetString(HKEY_CURRENT_USER, key, L"w", L"x");
    EXPECT_EQ(DeleteValue(HKEY_CURRENT_USER, key + L"\\", L"v"), 0);
    EXPECT_FALSE(bxtest::ValueExists(HKEY_CURRENT_USER, key, L"v"));
    EXPECT_TRUE(bxtest::ValueExists(HKEY_CURRENT_USER, key, L"w"));
    EXPECT_EQ(DeleteValue(HKEY_CURRENT_USER, key + L"\\", L"v"), ERROR_FILE_NOT_FOUND);
}

TEST(RegDelete, SavedAccessListsArePutBack)
{
    std::wstring key = kBase + bxtest::UniqueTag();
    bxtest::CreateKey(HKEY_CURRENT_USER, key + L"\\child");
    ASSERT_TRUE(bxtest::SetKeyAccess(HKEY_CURRENT_USER, key + L"\\child", KEY_READ | WRITE_DAC | READ_CONTROL));
    std::string top = bxtest::KeyDacl(HKEY_CURRENT_USER, key);
    std::string child = bxtest::KeyDacl(HKEY_CURRENT_USER, key + L"\\child");
    ASSERT_FALSE(child.empty());

    SavedKeySecurity saved;
    saved.GrantFullAccess(HKEY_CURRENT_USER, key);
    EXPECT_EQ(saved.Count(), 2u);
    EXPECT_NE(bxtest::KeyDacl(HKEY_CURRENT_USER, key + L"\\child"), child);
    saved.Restore();
    EXPECT_EQ(bxtest::KeyDacl(HKEY_CURRENT_USER, key), top);
    EXPECT_EQ(bxtest::KeyDacl(HKEY_CURRENT_USER, key + L"\\child"), child);
}

TEST(RegDelete, AProtectedSubkeyIsDeletedWithItsParent)
{
    std::wstring key = kBase + bxtest::UniqueTag();
    bxtest::SetString(HKEY_CURRENT_USER, key + L"\\locked\\inner", L"v", L"x");
    ASSERT_TRUE(bxtest::SetKeyAccess(HKEY_CURRENT_USER, key + L"\\locked", KEY_READ));
    EXPECT_EQ(DeleteKeyTree(HKEY_CURRENT_USER, key), 0);
    EXPECT_FALSE(bxtest::KeyExists(HKEY_CURRENT_USER, key));
}

}  // namespace
