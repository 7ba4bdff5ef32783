// The engine's interface: filters, stopping from the result callback, ordering, titles and the clean messages.
#include <gtest/gtest.h>

#include "CategoryFixtures.h"
#include "EngineCapture.h"
#include "RegNames.h"
#include "TestUtil.h"

using namespace bxtest;

namespace {

typedef CRegistryData::REG_DATA RegData;

bool RefuseAll(REG_SCAN_TYPE, void*) { return false; }
bool OnlySharedDlls(REG_SCAN_TYPE type, void*) { return type == RST_SHAREDDLL; }
bool StopAtFirst(const CRegistryData::SCAN_RESULT*, void* user)
{
    ++*static_cast<int*>(user);
    return false;
}

TEST(Engine, TitlesExistOnlyForTheTenCategories)
{
    for (int t = 0; t < 10; ++t) EXPECT_NE(CRegistryData::GetTitle(static_cast<REG_SCAN_TYPE>(t)), nullptr);
    EXPECT_EQ(CRegistryData::GetTitle(static_cast<REG_SCAN_TYPE>(10)), nullptr);
    EXPECT_EQ(CRegistryData::GetTitle(static_cast<REG_SCAN_TYPE>(-1)), nullptr);
    EXPECT_STREQ(CRegistryData::GetTitle(RST_COM), L"\u6CA1\u6709\u7528\u7684COM\u7EC4\u4EF6");
}

TEST(Engine, ItemOrderTable)
{
    // Roots are compared unsigned: on x86_64 the predefined handles are sign-extended.
    RegData crA{HKEY_CLASSES_ROOT, L"a\\", L""}, crB{HKEY_CLASSES_ROOT, L"b\\", L""};
    RegData lmA{HKEY_LOCAL_MACHINE, L"a\\", L""}, crUpper{HKEY_CLASSES_ROOT, L"A\\", L""};
    RegData crLonger{HKEY_CLASSES_ROOT, L"a\\x\\", L""}, crValue{HKEY_CLASSES_ROOT, L"a\\", L"v"};
    RegData custom{reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(0x1000)), L"a\\", L""};
    struct Case {
        int typeA;
        RegData a;
        int typeB;
        RegData b;
        int expected;
    } cases[] = {
        {0, crA, 0, crA, 0},        // equal: the second is dropped
        {0, crA, 1, crA, -1},       // type first
        {-1, crA, 0, crA, -1},      // signed type
        {0, crA, 0, lmA, -1},       // HKCR before HKLM
        {0, custom, 0, crA, -1},    // a small handle before the predefined roots
        {0, crA, 0, crB, -1},       // key path
        {0, crUpper, 0, crA, -1},   // case matters, by code unit
        {0, crA, 0, crLonger, -1},  // a prefix first
        {0, crA, 0, crValue, -1},   // then the value name
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CRegistryData::CompareItems(c.typeA, c.a, c.typeB, c.b), c.expected);
        EXPECT_EQ(CRegistryData::CompareItems(c.typeB, c.b, c.typeA, c.a), -c.expected);
    }
}

TEST(Engine, AFilterRefusingAllRunsNothing)
{
    CRegistryData engine;
    MessageCapture capture;
    engine.SetScanWnd(capture.hwnd());
    EXPECT_EQ(engine.Scan(&RefuseAll, nullptr, nullptr, nullptr), 0);
    EXPECT_EQ(capture.Numbers(), std::vector<UINT>{WM_REGSCAN_FINISHED});
    EXPECT_TRUE(engine.GetResults().empty());
}

TEST(Engine, AResultCallbackThatRefusesStopsTheScan)
{
    const std::wstring tag = UniqueTag();
    SetDword(HKEY_LOCAL_MACHINE, kSharedDlls, L"C:\\gone-" + tag + L"\\a.dll", 1);
    SetDword(HKEY_LOCAL_MACHINE, kSharedDlls, L"C:\\gone-" + tag + L"\\b.dll", 1);
    CRegistryData engine;
    MessageCapture capture;
    engine.SetScanWnd(capture.hwnd());
    int calls = 0;
    EXPECT_EQ(engine.Scan(nullptr, nullptr, &StopAtFirst, &calls), 1);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(engine.GetResults().size(), 1u);
    ASSERT_EQ(capture.messages.size(), 2u);
    EXPECT_EQ(capture.messages[0].msg, static_cast<UINT>(WM_REGSCAN_CATEGORY_DONE));
    EXPECT_EQ(capture.messages[0].wParam, static_cast<WPARAM>(RST_SHAREDDLL));
    EXPECT_EQ(capture.messages[1].msg, static_cast<UINT>(WM_REGSCAN_FINISHED));

    // The stop applied to that scan only; a new scan starts from an empty set.
    capture.messages.clear();
    EXPECT_EQ(engine.Scan(&OnlySharedDlls, nullptr, nullptr, nullptr), 0);
    int tagged = 0;
    for (const auto& r : engine.GetResults()) tagged += HasTag(r, tag);
    EXPECT_EQ(tagged, 2);
}

TEST(Engine, CleanWithoutResultsOrSelectionSendsNoItem)
{
    CRegistryData engine;
    MessageCapture capture;
    engine.SetScanWnd(capture.hwnd());
    EXPECT_EQ(engine.Clean(nullptr, nullptr), 0);
    EXPECT_EQ(capture.Numbers(), std::vector<UINT>{WM_REGCLEAN_FINISHED});

    const std::wstring tag = UniqueTag();
    const std::wstring value = L"C:\\gone-" + tag + L"\\a.dll";
    SetDword(HKEY_LOCAL_MACHINE, kSharedDlls, value, 1);
    ASSERT_EQ(engine.Scan(&OnlySharedDlls, nullptr, nullptr, nullptr), 0);
    ASSERT_FALSE(engine.GetResults().empty());
    engine.SelectNone();
    CreateDataFolder();
    DeleteFileW((bexlar::ProgramFolder() + L"data\\sregtrash.dat").c_str());
    capture.messages.clear();
    EXPECT_EQ(engine.Clean(nullptr, nullptr), 0);
    EXPECT_EQ(capture.Numbers(), std::vector<UINT>{WM_REGCLEAN_FINISHED});
    EXPECT_FALSE(engine.CleanFailed());
    EXPECT_TRUE(ValueExists(HKEY_LOCAL_MACHINE, kSharedDlls, value));
    // The failed-entry file is still written.
    EXPECT_TRUE(FileExists(bexlar::ProgramFolder() + L"data\\sregtrash.dat"));
}

bool StopOnProgress(REG_SCAN_TYPE, void* user)
{
    static_cast<CRegistryData*>(user)->Stop();
    return true;
}

TEST(Engine, AStopDuringACleanEndsItAfterTheCurrentItem)
{
    const std::wstring tag = UniqueTag();
    const std::wstring first = L"C:\\gone-" + tag + L"\\a.dll", second = L"C:\\gone-" + tag + L"\\b.dll";
    SetDword(HKEY_LOCAL_MACHINE, kSharedDlls, first, 1);
    SetDword(HKEY_LOCAL_MACHINE, kSharedDlls, second, 1);
    CRegistryData engine;
    MessageCapture capture;
    engine.SetScanWnd(capture.hwnd());
    ASSERT_EQ(engine.Scan(&OnlySharedDlls, nullptr, nullptr, nullptr), 0);
    ASSERT_EQ(SelectTagged(engine, tag), 2);
    capture.messages.clear();
    EXPECT_EQ(engine.Clean(&StopOnProgress, &engine), 0);
    EXPECT_EQ(capture.Numbers(), (std::vector<UINT>{WM_REGCLEAN_ITEM, WM_REGCLEAN_FINISHED}));
    EXPECT_FALSE(ValueExists(HKEY_LOCAL_MACHINE, kSharedDlls, first));
    EXPECT_TRUE(ValueExists(HKEY_LOCAL_MACHINE, kSharedDlls, second));
    // The stop belonged to that clean: the next one handles the rest.
    EXPECT_EQ(engine.Clean(nullptr, nullptr), 0);
    EXPECT_FALSE(ValueExists(HKEY_LOCAL_MACHINE, kSharedDlls, second));
}

}  // namespace
