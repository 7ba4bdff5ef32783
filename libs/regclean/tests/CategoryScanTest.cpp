// One scan over seeded entries of every category: which entries are reported, with what type, reason and detail.
#include <gtest/gtest.h>

#include "CategoryFixtures.h"
#include "EngineCapture.h"
#include "RegNames.h"
#include "TestUtil.h"

using namespace bxtest;

namespace {

std::string Narrow(const std::wstring& s) { return bexlar::Utf8(s); }

TEST(CategoryScan, SeededEntriesOfEveryCategory)
{
    const std::wstring tag = UniqueTag() + L"cat";
    std::vector<FixtureEntry> table = SeedCategoryFixtures(tag);

    CRegistryData engine;
    MessageCapture capture;
    engine.SetScanWnd(capture.hwnd());
    EXPECT_EQ(engine.Scan(nullptr, nullptr, nullptr, nullptr), 0);
    EXPECT_TRUE(engine.IsFinished());

    for (const FixtureEntry& row : table) {
        SCOPED_TRACE(Narrow(row.label));
        const CRegistryData::SCAN_RESULT* found = nullptr;
        for (const auto& r : engine.GetResults())
            if (r.data.root == row.root && r.data.subKey == row.subKey && r.data.valueName == row.valueName) found = &r;
        ASSERT_EQ(found != nullptr, row.reported);
        if (!found) continue;
        EXPECT_EQ(found->type, row.type);
        EXPECT_EQ(found->reason, row.reason);
        EXPECT_STREQ(found->title.c_str(), CRegistryData::GetTitle(row.type));
        EXPECT_TRUE(engine.IsSelected(*found));
        if (!row.detail.empty()) {
            EXPECT_EQ(Narrow(found->detail), Narrow(row.detail));
        }
    }
    // Nothing else of the fixtures is reported.
    int reported = 0, tagged = 0;
    for (const FixtureEntry& row : table) reported += row.reported;
    for (const auto& r : engine.GetResults()) tagged += HasTag(r, tag);
    EXPECT_EQ(tagged, reported);

    // Each scan member reports its end once; the two help and the two COM entries twice.
    std::vector<UINT> expected;
    expected.assign(12, WM_REGSCAN_CATEGORY_DONE);
    expected.push_back(WM_REGSCAN_FINISHED);
    EXPECT_EQ(capture.Numbers(), expected);
    std::vector<WPARAM> types;
    for (const Message& m : capture.messages)
        if (m.msg == WM_REGSCAN_CATEGORY_DONE) types.push_back(m.wParam);
    EXPECT_EQ(types, (std::vector<WPARAM>{0, 1, 2, 3, 4, 5, 5, 6, 7, 8, 9, 9}));
}

}  // namespace
