// The start page and the three folders: read, written and cached as the registry of the prefix holds them.
#include <gtest/gtest.h>

#include <Grennow.h>

#include "RegistrySeed.h"

using namespace grennow_test;

namespace {

const wchar_t kMain[] = L"Software\\Microsoft\\Internet Explorer\\Main";
const wchar_t kBrowser[] = L"Software\\Microsoft\\Internet Explorer";
const wchar_t kShellFolders[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

// One of the four settings: where it lives and how the class reaches it.
struct Setting {
    const char* name;
    const wchar_t* key;
    const wchar_t* value;
    bool (CIEGerneralSetting::*set)(const wchar_t*);
    const std::wstring& (CIEGerneralSetting::*get)() const;
};
const Setting kSettings[] = {
    {"home page", kMain, L"Start Page", &CIEGerneralSetting::SetIEHomaPage, &CIEGerneralSetting::GetIEHomePage},
    {"download folder", kBrowser, L"Download Directory", &CIEGerneralSetting::SetIEDownloadDir,
     &CIEGerneralSetting::GetIEDownloadDir},
    {"save folder", kMain, L"Save Directory", &CIEGerneralSetting::SetIESaveToDir, &CIEGerneralSetting::GetIESaveToDir},
    {"picture folder", kShellFolders, L"My Pictures", &CIEGerneralSetting::SetIEPictureDir,
     &CIEGerneralSetting::GetIEPictureDir},
};

class GeneralSetting : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const Setting& s : kSettings)
            SetString(HKEY_CURRENT_USER, s.key, s.value, L"C:\\seeded\\" + std::wstring(s.value));
    }
    static std::vector<Stored> StoredAll()
    {
        std::vector<Stored> all;
        for (const Setting& s : kSettings) all.push_back(Read(HKEY_CURRENT_USER, s.key, s.value));
        return all;
    }
};

bool Same(const std::vector<Stored>& a, const std::vector<Stored>& b)
{
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i].present != b[i].present || a[i].type != b[i].type || a[i].text != b[i].text) return false;
    return true;
}

TEST_F(GeneralSetting, ReadsNothingUntilAskedThenAllFour)
{
    CIEGerneralSetting general;
    for (const Setting& s : kSettings) EXPECT_EQ(L"", (general.*s.get)()) << s.name;
    general.UpdateCurrentSettings();
    for (const Setting& s : kSettings) EXPECT_EQ(L"C:\\seeded\\" + std::wstring(s.value), (general.*s.get)()) << s.name;

    // A value that went missing reads as empty.
    DeleteTree(HKEY_CURRENT_USER, kShellFolders);
    general.UpdateCurrentSettings();
    EXPECT_EQ(L"", general.GetIEPictureDir());
    EXPECT_EQ(L"C:\\seeded\\Start Page", general.GetIEHomePage());
}

// Each setter writes only its own value, caches the text, and a new object reads it back.
TEST_F(GeneralSetting, EachSettingRoundTripsAndTouchesNoOther)
{
    for (size_t i = 0; i < sizeof(kSettings) / sizeof(kSettings[0]); ++i) {
        const Setting& s = kSettings[i];
        SCOPED_TRACE(s.name);
        std::vector<Stored> before = StoredAll();
        const std::wstring text = L"D:\\new place \u00e9\\" + std::wstring(s.value);
        CIEGerneralSetting general;
        EXPECT_TRUE((general.*s.set)(text.c_str()));
        EXPECT_EQ(text, (general.*s.get)());

        std::vector<Stored> after = StoredAll();
        for (size_t k = 0; k < after.size(); ++k) {
            if (k == i) {
                EXPECT_EQ(text, after[k].text);
                EXPECT_EQ(DWORD(REG_SZ), after[k].type);
            } else {
                EXPECT_EQ(before[k].text, after[k].text) << kSettings[k].name << " changed";
            }
        }
        CIEGerneralSetting fresh;
        fresh.UpdateCurrentSettings();
        EXPECT_EQ(text, (fresh.*s.get)());
    }
}

TEST_F(GeneralSetting, HomePageIsAlwaysAPlainString)
{
    // Even over an expandable value, an address with "%" is stored as written.
    SetString(HKEY_CURRENT_USER, kMain, L"Start Page", L"%SystemRoot%\\old.htm", REG_EXPAND_SZ);
    CIEGerneralSetting general;
    ASSERT_TRUE(general.SetIEHomaPage(L"http://x/%TEMP%"));
    Stored stored = Read(HKEY_CURRENT_USER, kMain, L"Start Page");
    EXPECT_EQ(DWORD(REG_SZ), stored.type);
    EXPECT_EQ(L"http://x/%TEMP%", stored.text);
    general.UpdateCurrentSettings();
    EXPECT_EQ(L"http://x/%TEMP%", general.GetIEHomePage());
}

TEST_F(GeneralSetting, NullTextsAreIgnored)
{
    std::vector<Stored> before = StoredAll();
    CIEGerneralSetting general;
    general.UpdateCurrentSettings();
    for (const Setting& s : kSettings) {
        EXPECT_FALSE((general.*s.set)(nullptr)) << s.name;
        EXPECT_EQ(L"C:\\seeded\\" + std::wstring(s.value), (general.*s.get)()) << s.name;
    }
    EXPECT_TRUE(Same(before, StoredAll()));
}

// A write the registry refuses is reported, and neither the registry nor the cached text changes.
TEST_F(GeneralSetting, RefusedWriteKeepsCacheAndRegistry)
{
    for (const Setting& s : kSettings) {
        SCOPED_TRACE(s.name);
        CIEGerneralSetting general;
        general.UpdateCurrentSettings();
        std::vector<Stored> before = StoredAll();
        bool written = false;
        {
            WriteDenied deny(HKEY_CURRENT_USER, s.key);
            if (!deny.Enforced()) GTEST_SKIP() << "the registry did not enforce the denying access list";
            written = (general.*s.set)(L"E:\\refused");
        }
        EXPECT_FALSE(written);
        EXPECT_EQ(L"C:\\seeded\\" + std::wstring(s.value), (general.*s.get)());
        EXPECT_TRUE(Same(before, StoredAll()));
    }
}

TEST_F(GeneralSetting, CopiesCarryTheFourTexts)
{
    CIEGerneralSetting general;
    general.UpdateCurrentSettings();
    CIEGerneralSetting copy(general);
    CIEGerneralSetting assigned;
    assigned = general;
    for (const Setting& s : kSettings) {
        EXPECT_EQ((general.*s.get)(), (copy.*s.get)()) << s.name;
        EXPECT_EQ((general.*s.get)(), (assigned.*s.get)()) << s.name;
    }
}

}  // namespace
