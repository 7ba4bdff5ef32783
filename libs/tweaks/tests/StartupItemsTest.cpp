// tessik::CRegAutoStartupItemMan: items of both Run keys, the view each root is read in, their removal, and the
// shared instance of the library set-up.
#include <gtest/gtest.h>

#include <Common.h>
#include <Tessik/RegAutoStartupItemMan.h>
#include <Tessik/TweakView.h>

#include "RegFixture.h"

using namespace tessik_test;
using tessik::CRegAutoStartupItemMan;
using Item = CRegAutoStartupItemMan::StartupItem;

namespace {

const wchar_t kRun[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

class StartupItems : public ::testing::Test {
protected:
    void SetUp() override { TearDown(); }
    void TearDown() override
    {
        DeleteTree(HKEY_CURRENT_USER, kRun);
        DeleteTree(HKEY_LOCAL_MACHINE, kRun);
        DeleteValue(HKEY_LOCAL_MACHINE, kRun, L"only32", KEY_WOW64_32KEY);
    }
};

TEST_F(StartupItems, RunValuesOfTheUserThenOfTheMachine)
{
    SetText(HKEY_CURRENT_USER, kRun, L"a", L"c:\\x.exe");
    SetDword(HKEY_CURRENT_USER, kRun, L"d", 1);
    SetText(HKEY_CURRENT_USER, kRun, L"e", L"%SystemRoot%\\y.exe", REG_EXPAND_SZ);
    SetText(HKEY_LOCAL_MACHINE, kRun, L"b", L"\"C:\\Program Files\\b.exe\" /min");

    std::vector<Item> items(1);  // appended after what is there
    ASSERT_TRUE(CRegAutoStartupItemMan().GetStartupItems(items));
    ASSERT_EQ(4u, items.size());
    EXPECT_EQ(L"a", items[1].name);
    EXPECT_EQ(L"c:\\x.exe", items[1].command);
    EXPECT_EQ(HKEY_CURRENT_USER, items[1].root);
    EXPECT_EQ(kRun, items[1].keyPath);
    EXPECT_EQ(L"e", items[2].name);
    wchar_t windows[MAX_PATH];
    GetEnvironmentVariableW(L"SystemRoot", windows, MAX_PATH);
    EXPECT_EQ(std::wstring(windows) + L"\\y.exe", items[2].command);  // expanded, as Common reads it
    EXPECT_EQ(L"b", items[3].name);
    EXPECT_EQ(HKEY_LOCAL_MACHINE, items[3].root);
    EXPECT_EQ(kRun, items[3].keyPath);
}

TEST(TweakView, OnlyTheMachineOfA32BitProcessOn64BitWindowsGoesThroughThe64BitView)
{
    const struct {
        HKEY root;
        bool wow64;
        REGSAM view;
    } cases[] = {
        {HKEY_LOCAL_MACHINE, true, KEY_WOW64_64KEY},
        {HKEY_LOCAL_MACHINE, false, 0},
        {HKEY_CURRENT_USER, true, 0},
        {HKEY_CLASSES_ROOT, true, 0},
    };
    for (const auto& c : cases) EXPECT_EQ(c.view, tessik::TweakView(c.root, c.wow64)) << c.wow64;
}

// The machine's entries of a 32-bit process on 64-bit Windows are the ones Windows starts: the 64-bit view's,
// not Wow6432Node's.
TEST_F(StartupItems, AProcessUnderWow64ListsTheMachinesEntriesOfThe64BitView)
{
    SetText(HKEY_LOCAL_MACHINE, kRun, L"only64", L"c:\\64.exe", REG_SZ, KEY_WOW64_64KEY);
    SetText(HKEY_LOCAL_MACHINE, kRun, L"only32", L"c:\\32.exe", REG_SZ, KEY_WOW64_32KEY);
    std::vector<Item> items;
    ASSERT_TRUE(CRegAutoStartupItemMan().GetStartupItems(items, true));
    ASSERT_EQ(1u, items.size());
    EXPECT_EQ(L"only64", items[0].name);
    EXPECT_EQ(HKEY_LOCAL_MACHINE, items[0].root);
}

TEST_F(StartupItems, RemovalOfValues)
{
    CRegAutoStartupItemMan man;
    std::vector<Item> none;
    EXPECT_FALSE(man.RemoveStartupItems(none));

    SetText(HKEY_CURRENT_USER, kRun, L"a", L"c:\\x.exe");
    SetText(HKEY_CURRENT_USER, kRun, L"keep", L"c:\\k.exe");
    SetText(HKEY_LOCAL_MACHINE, kRun, L"b", L"c:\\b.exe");
    std::vector<Item> items;
    man.GetStartupItems(items);
    std::vector<Item> chosen;
    for (const Item& item : items)
        if (item.name != L"keep") chosen.push_back(item);
    ASSERT_EQ(2u, chosen.size());

    EXPECT_TRUE(man.RemoveStartupItems(chosen));
    EXPECT_EQ(2u, chosen.size());  // the vector is left as it was
    EXPECT_FALSE(ReadRaw(HKEY_CURRENT_USER, kRun, L"a").exists);
    EXPECT_FALSE(ReadRaw(HKEY_LOCAL_MACHINE, kRun, L"b").exists);
    EXPECT_TRUE(ReadRaw(HKEY_CURRENT_USER, kRun, L"keep").exists);
    // Gone already: still true, nothing else touched.
    EXPECT_TRUE(man.RemoveStartupItems(chosen));
    EXPECT_TRUE(ReadRaw(HKEY_CURRENT_USER, kRun, L"keep").exists);
}

TEST(StartupManagerSetUp, OneSharedInstanceThatLocalInstancesDoNotDisturb)
{
    EXPECT_FALSE(tessik::isTessikInitialized());
    EXPECT_EQ(nullptr, CRegAutoStartupItemMan::getSingletonPtr());
    {
        // A local instance made while none is shared fills the slot for its lifetime only.
        CRegAutoStartupItemMan local;
        EXPECT_EQ(&local, CRegAutoStartupItemMan::getSingletonPtr());
        EXPECT_TRUE(tessik::initializeTessik());
        EXPECT_NE(&local, CRegAutoStartupItemMan::getSingletonPtr());
    }
    CRegAutoStartupItemMan* shared = CRegAutoStartupItemMan::getSingletonPtr();
    ASSERT_NE(nullptr, shared);  // the program sees the pointer the library set
    EXPECT_TRUE(tessik::initializeTessik());
    EXPECT_EQ(shared, CRegAutoStartupItemMan::getSingletonPtr());
    {
        CRegAutoStartupItemMan local;
        EXPECT_EQ(shared, &CRegAutoStartupItemMan::getSingleton());
    }
    EXPECT_EQ(shared, CRegAutoStartupItemMan::getSingletonPtr());
    EXPECT_TRUE(tessik::isTessikInitialized());

    tessik::uninitializeTessik();
    EXPECT_FALSE(tessik::isTessikInitialized());
    EXPECT_EQ(nullptr, CRegAutoStartupItemMan::getSingletonPtr());
    tessik::uninitializeTessik();  // twice is harmless
}

}  // namespace
