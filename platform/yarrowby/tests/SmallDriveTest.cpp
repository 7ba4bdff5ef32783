// The file tools on a small file system of their own (drive S:, an ext2 image behind a loop device, see
// with-small-drive.sh) whose raw bytes the test reads through drive R:: a shredded file's old bytes are nowhere in
// the image, and a join or split that fills the disk leaves nothing behind.
#include <gtest/gtest.h>

#include <QTestSupport.h>
#include <Yarrowby.h>

#include <set>

#include "ToolRecorder.h"

using namespace yarrowby_test;

namespace {

const wchar_t kImage[] = L"R:\\small.img";

bool HaveSmallDrive() { return Exists(L"S:\\") && Exists(kImage); }

// How many 512-byte blocks of `original` stand in the raw image (file data starts at block boundaries).
size_t OriginalBlocksInImage(const std::string& original)
{
    std::set<std::string> blocks;
    for (size_t i = 0; i + 512 <= original.size(); i += 512) blocks.insert(original.substr(i, 512));
    const std::string image = ReadBytes(kImage);
    size_t found = 0;
    for (size_t i = 0; i + 512 <= image.size(); i += 512) found += blocks.count(image.substr(i, 512));
    return found;
}

void EmptyDriveS()
{
    for (const std::wstring& name : FolderNames(L"S:"))
        if (name != L"lost+found") ::DeleteFileW((L"S:\\" + name).c_str());
}

TEST(SmallDrive, AShreddedFilesOldBytesAreNowhereOnTheDisk)
{
    if (!HaveSmallDrive()) GTEST_SKIP() << "no small drive: mounting is not allowed here";
    for (int passes : {1, 3}) {
        const std::string original = RandomBytes(200 * 1024 + 300, 21 + passes);
        const std::wstring path = L"S:\\secret" + std::to_wstring(passes) + L".bin";
        ASSERT_TRUE(WriteBytes(path, original));  // flushed to the image
        ASSERT_EQ(original.size() / 512, OriginalBlocksInImage(original)) << "the check sees the bytes first";

        ToolRecorder recorder(WM_SHRED_PROGRESS, WM_SHRED_DONE);
        CFileShredder shredder;
        shredder.SetParentWnd(recorder.Window());
        shredder.ShredderFiles({path}, passes);
        ASSERT_TRUE(recorder.WaitForDone());
        EXPECT_EQ(0u, recorder.Done()[0].wParam);
        EXPECT_FALSE(Exists(path));
        EXPECT_EQ(0u, OriginalBlocksInImage(original)) << passes << " passes";
    }
    EmptyDriveS();
}

TEST(SmallDrive, AJoinThatFillsTheDiskLeavesNoOutputAndKeepsTheEarlierFile)
{
    if (!HaveSmallDrive()) GTEST_SKIP() << "no small drive: mounting is not allowed here";
    const std::wstring pieces = shell_test::MakeScratchFolder(L"join-full");
    const std::string piece = RandomBytes(4 << 20, 31);
    std::vector<std::wstring> paths;
    for (int n = 1; n <= 3; ++n) {
        paths.push_back(pieces + L"big," + std::to_wstring(n) + L".splt");
        ASSERT_TRUE(WriteBytes(paths.back(), piece));
    }
    ASSERT_TRUE(WriteBytes(L"S:\\big", "earlier output"));

    ToolRecorder joins(WM_FILEJOIN_PROGRESS, WM_FILEJOIN_DONE);
    CFileJoin join;
    join.SetParentWnd(joins.Window());
    join.JoinSpliterFiles(paths, L"S:\\", L"big");
    ASSERT_TRUE(joins.WaitForDone());
    EXPECT_EQ(1u, joins.Done()[0].wParam);
    EXPECT_EQ(LPARAM(ERROR_DISK_FULL), joins.Done()[0].lParam);
    EXPECT_EQ("earlier output", ReadBytes(L"S:\\big"));
    std::set<std::wstring> names;
    for (const std::wstring& name : FolderNames(L"S:")) names.insert(name);
    EXPECT_EQ((std::set<std::wstring>{L"big", L"lost+found"}), names) << "no temporary file left";

    // The same pieces split again onto the full disk: the pieces written before it filled are taken away.
    ASSERT_TRUE(WriteBytes(pieces + L"whole.bin", piece + piece + piece));
    ToolRecorder splits(WM_FILESPLIT_PROGRESS, WM_FILESPLIT_DONE);
    CFileSpliter spliter;
    spliter.SetParentWnd(splits.Window());
    spliter.SplitFiles(pieces + L"whole.bin", L"S:\\", 2 << 20);
    ASSERT_TRUE(splits.WaitForDone());
    EXPECT_EQ(1u, splits.Done()[0].wParam);
    EXPECT_EQ(LPARAM(ERROR_DISK_FULL), splits.Done()[0].lParam);
    names.clear();
    for (const std::wstring& name : FolderNames(L"S:")) names.insert(name);
    EXPECT_EQ((std::set<std::wstring>{L"big", L"lost+found"}), names);
    EmptyDriveS();
    shell_test::RemoveTree(pieces);
}

}  // namespace
