// The pages' rules without windows: the shredder's texts and pass count, the splitter's sizes, the join order
// and the bar.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "shredder/ShredderText.h"
#include "splitter/SplitJoinRules.h"

namespace {

TEST(ShredderText, SizesTimesAndPassCounts)
{
    const struct {
        long long bytes;
        const wchar_t* text;
    } sizes[] = {{0, L"0"},
                 {1024, L"1024"},
                 {1025, L"1KB"},
                 {1048576, L"1024KB"},
                 {1048577, L"  1.0MB"},
                 {1073741824, L"1024.0MB"},
                 {1073741825, L"  1.0GB"},
                 {(1ll << 40) + 1, L"  1.0TB"},
                 {-1, L"-1"}};
    for (const auto& size : sizes) EXPECT_EQ(CString(size.text), ShredSizeText(size.bytes)) << size.bytes;

    SYSTEMTIME time = {};
    time.wYear = 2024;
    time.wMonth = 3;
    time.wDay = 7;
    time.wHour = 9;
    time.wMinute = 5;
    EXPECT_EQ(CString(L"7.3 2024, 9:5"), ShredTimeText(time));

    for (const wchar_t* kept : {L"1", L"0", L"150", L"2.5", L" 12 ", L"007"})
        EXPECT_TRUE(IsPassCountText(kept)) << kept;
    for (const wchar_t* replaced : {L"", L"x", L"2.", L".5", L"1.2.3", L"-1", L"3a", L" "})
        EXPECT_FALSE(IsPassCountText(replaced)) << replaced;

    const struct {
        const wchar_t* text;
        int passes;
    } counts[] = {{L"1", 1},     {L"3", 3},   {L"0", 1}, {L"2.5", 1}, {L"100", 100},
                  {L"150", 100}, {L" 7 ", 7}, {L"x", 1}, {L"-4", 1},  {L"99999999999999999999999", 100}};
    for (const auto& count : counts) EXPECT_EQ(count.passes, PassCountOf(count.text)) << count.text;

    // With three passes every third message moves the bar one step.
    EXPECT_EQ(0, ShredBarPosition(2, 3));
    EXPECT_EQ(1, ShredBarPosition(3, 3));
    EXPECT_EQ(1, ShredBarPosition(5, 3));
    EXPECT_EQ(2, ShredBarPosition(6, 3));
    EXPECT_EQ(100, ShredBarPosition(300, 3));
    EXPECT_EQ(100, ShredBarPosition(400, 3));
}

TEST(SplitJoinRules, PieceSizesAndTheCustomSize)
{
    EXPECT_EQ(1509949ull, SplitPieceSize(kSplitFloppy, 1));
    EXPECT_EQ(104857600ull, SplitPieceSize(kSplit100MB, 1));
    EXPECT_EQ(1073741824ull, SplitPieceSize(kSplit1GB, 1));
    EXPECT_EQ(5046586572ull, SplitPieceSize(kSplitDvd, 1));
    EXPECT_EQ(2621440ull, SplitPieceSize(kSplitCustom, 2.5f));
    EXPECT_EQ(0ull, SplitPieceSize(kSplitChoiceCount, 1));
    EXPECT_GT(SplitPieceSize(kSplitCustom, 1e30f), 1ull << 60) << "no overflow";

    bool reset = false;
    EXPECT_EQ(2.5f, CustomMegabytes(L"2.5", reset));
    EXPECT_FALSE(reset);
    EXPECT_EQ(1.0f, CustomMegabytes(L"0.5", reset));
    EXPECT_TRUE(reset);
    EXPECT_EQ(1.0f, CustomMegabytes(L"-3", reset));
    EXPECT_TRUE(reset);
    EXPECT_EQ(1.0f, CustomMegabytes(L"abc", reset));
    EXPECT_FALSE(reset);
    EXPECT_EQ(1.0f, CustomMegabytes(L"", reset));
}

// The list the page builds from the paths in the order chosen.
std::vector<CString> Listed(const std::vector<CString>& chosen)
{
    std::vector<CString> rows;
    for (const CString& path : chosen) rows.insert(rows.begin() + JoinInsertIndex(rows, path), path);
    return rows;
}

std::vector<CString> Pieces(std::initializer_list<int> numbers)
{
    std::vector<CString> paths;
    for (int n : numbers) {
        CString path;
        path.Format(L"C:\\pieces\\a,%d.splt", n);
        paths.push_back(path);
    }
    return paths;
}

TEST(SplitJoinRules, PiecesAreListedInNumberOrderWhateverOrderTheyAreChosenIn)
{
    EXPECT_EQ(Pieces({1, 2, 10}), Listed(Pieces({1, 2, 10})));
    EXPECT_EQ(Pieces({1, 10}), Listed(Pieces({10, 1})));
    const std::vector<CString> ordered = Pieces({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12});
    // The order an open-file dialog returns them in.
    EXPECT_EQ(ordered, Listed(Pieces({1, 10, 11, 12, 2, 3, 4, 5, 6, 7, 8, 9})));
    EXPECT_EQ(ordered, Listed(Pieces({12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1})));
    std::mt19937 generator(5);
    std::vector<CString> shuffled = ordered;
    for (int round = 0; round < 100; ++round) {
        std::shuffle(shuffled.begin(), shuffled.end(), generator);
        EXPECT_EQ(ordered, Listed(shuffled)) << round;
    }
    // Letter case does not count.
    EXPECT_EQ((std::vector<CString>{L"C:\\p\\A,1.splt", L"c:\\p\\a,2.splt"}),
              Listed({L"c:\\p\\a,2.splt", L"C:\\p\\A,1.splt"}));
}

TEST(SplitJoinRules, OutputPathAndBar)
{
    EXPECT_EQ(CString(L"C:\\out\\a"), JoinOutputPath(L"C:\\out", L"a"));
    EXPECT_EQ(CString(L"C:\\out\\a"), JoinOutputPath(L"C:\\out\\", L"a"));
    EXPECT_EQ(0, ToolBarPosition(0, 10000));
    EXPECT_EQ(37, ToolBarPosition(3745, 10000));
    EXPECT_EQ(100, ToolBarPosition(10000, 10000));
    // 100 times the part done would overflow 32 bits here.
    EXPECT_EQ(50, ToolBarPosition(WPARAM(0x40000000), LPARAM(0x7FFFFFFF)));
    EXPECT_EQ(100, ToolBarPosition(20000, 10000));
    EXPECT_EQ(0, ToolBarPosition(5, 0));
}

}  // namespace
