// The browser page's rules without windows: row texts, the security switches' texts and flips, and the
// message after an action on the checked rows.
#include <gtest/gtest.h>

#include <windows.h>

#include "BrowserPageLogic.h"

using namespace BrowserPage;

namespace {

TEST(BrowserPageLogic, RowTextsFollowTheColumns)
{
    IEActiveXInfo control;
    control.name = L"Viewer";
    control.description = L"Views things";
    control.version = L"1.0";
    control.company = L"Maker";
    control.file = L"C:\\v.ocx";
    control.blocked = true;
    EXPECT_EQ((RowTexts{L"Viewer", L"B", L"Views things", L"1.0", L"Maker", L"C:\\v.ocx"}),
              ActiveXRow(control, L"B", L"U"));
    control.blocked = false;
    EXPECT_EQ(L"U", ActiveXRow(control, L"B", L"U")[1]);

    IEPluginInfo helper;
    helper.name = L"Helper";
    helper.file = L"C:\\h.dll";
    EXPECT_EQ((RowTexts{L"Helper", L"BHO", L"", L"", L"", L"C:\\h.dll"}), PluginRow(helper));

    IEBhoInfo entry;
    entry.displayName = L"&Send";
    entry.keyPath = L"Software\\Microsoft\\Internet Explorer\\MenuExt\\&Send";
    EXPECT_EQ((RowTexts{L"&Send", entry.keyPath}), BhoRow(entry));

    IERestoreInfo item;
    item.displayName = L"Start Page";
    item.defaultValue = L"http://d/";
    EXPECT_EQ((RowTexts{L"Start Page", L"http://now/", L"http://d/"}), RestoreRow(item, L"http://now/"));
}

TEST(BrowserPageLogic, SecurityTextsNameTheProtectionsState)
{
    EXPECT_STREQ(L"IDS_SYS_TOOLS_IE_SECURITY_CLEAR_TEXT_STATIC_MSG_ENABLED", SecurityStatusKey(true));
    EXPECT_STREQ(L"IDS_SYS_TOOLS_IE_SECURITY_CLEAR_TEXT_STATIC_MSG_DISABLED", SecurityStatusKey(false));
    EXPECT_STREQ(L"IDS_SYS_TOOLS_IE_SECURITY_TEXT_DISENABLE", SecurityButtonKey(true));
    EXPECT_STREQ(L"IDS_SYS_TOOLS_IE_SECURITY_TEXT_ENABLE", SecurityButtonKey(false));
}

// Each protection reads from its own switch, with sounds and pictures inverted, and a flip writes the opposite.
TEST(BrowserPageLogic, ProtectionsReadAndFlipTheirOwnSwitch)
{
    const wchar_t main[] = L"Software\\Microsoft\\Internet Explorer\\Main";
    const wchar_t cache[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\Cache";
    RegDeleteKeyW(HKEY_CURRENT_USER, main);
    RegDeleteKeyW(HKEY_CURRENT_USER, cache);

    CIESecurityMan fresh;  // nothing stored: cache kept, sounds and pictures on
    for (int option = 0; option < kSecurityOptionCount; ++option)
        EXPECT_FALSE(IsProtectionOn(fresh, SecurityOption(option))) << option;

    for (int option = 0; option < kSecurityOptionCount; ++option) {
        SCOPED_TRACE(option);
        CIESecurityMan before;
        ASSERT_TRUE(ToggleProtection(before, SecurityOption(option)));
        CIESecurityMan after;
        for (int other = 0; other < kSecurityOptionCount; ++other)
            EXPECT_EQ(other <= option, IsProtectionOn(after, SecurityOption(other))) << other;
    }
    CIESecurityMan again;
    ASSERT_TRUE(ToggleProtection(again, kNoBackgroundSounds));
    EXPECT_FALSE(IsProtectionOn(CIESecurityMan(), kNoBackgroundSounds));
    EXPECT_TRUE(IsProtectionOn(CIESecurityMan(), kNoPictures));
}

TEST(BrowserPageLogic, TheMessageAfterAnAction)
{
    const wchar_t done[] = L"DONE", none[] = L"NONE";
    const struct {
        std::vector<bool> results;
        const wchar_t* doneKey;
        const wchar_t* noneKey;
        const wchar_t* expected;
    } cases[] = {
        {{}, done, none, none},
        {{}, done, nullptr, nullptr},
        {{true}, done, none, done},
        {{true, true}, nullptr, nullptr, nullptr},
        {{true, false}, done, none, kSomeFailedKey},
        {{false}, nullptr, nullptr, kSomeFailedKey},
    };
    for (const auto& c : cases) {
        ActionOutcome outcome;
        for (bool r : c.results) outcome.Add(r);
        EXPECT_EQ(int(c.results.size()), outcome.attempted);
        const wchar_t* key = OutcomeMessageKey(outcome, c.doneKey, c.noneKey);
        if (!c.expected)
            EXPECT_EQ(nullptr, key);
        else
            EXPECT_STREQ(c.expected, key);
    }
}

}  // namespace
