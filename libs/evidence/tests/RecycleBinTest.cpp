#include <gtest/gtest.h>

#include <SysEvidence.h>

#include "EvidenceTestSupport.h"
#include "TestFiles.h"

using namespace LumbreyTest;
using Lumbrey::CSysEvidence;

// A recycle-bin entry is found, named so that it can never be taken for a file of the current folder, and
// marked for removal through the bin; emptying the bin removes it and touches nothing else.
TEST(RecycleBin, EntriesAreMarkedAbsoluteAndEmptiedOnlyThroughTheBin)
{
    ASSERT_EQ(CSysEvidence::deleteFileInRecy(L"", NULL), 1);
    CSysEvidence ev;
    EXPECT_TRUE(ScanNumber(ev, CSysEvidence::CATEGORY_RECYCLE_BIN).empty());

    const std::wstring binned = NewTempFolder(L"recycled") + L"\\binned.txt";
    MakeFile(binned, 123);
    ASSERT_TRUE(MoveToRecycleBin(binned));
    ASSERT_FALSE(Exists(binned));

    // A same-named file in the current folder must stay out of reach.
    const std::wstring cwd = NewTempFolder(L"cwdbin");
    const std::wstring bystander = cwd + L"\\binned.txt";
    MakeFile(bystander, 5);
    ASSERT_TRUE(SetCurrentDirectoryW(cwd.c_str()));

    std::vector<Item> items;
    ev.ScanWindowsSystem(CSysEvidence::CATEGORY_RECYCLE_BIN, items);
    ASSERT_EQ(items.size(), 1u);
    const Item& item = items[0];
    EXPECT_EQ(item.category, L"RecycleBin");
    EXPECT_EQ(item.kind, 1);
    EXPECT_TRUE(CSysEvidence::IsRecycleBinItem(item));
    EXPECT_NE(item.filePath, L"binned.txt");
    EXPECT_NE(item.filePath.find(L"binned.txt"), std::wstring::npos) << "the entry's name is kept";
    const std::wstring prefix = CSysEvidence::RecycleBinShellPrefix();
    const bool absolute = item.filePath.size() > 2 && item.filePath[1] == L':' && item.filePath[2] == L'\\';
    EXPECT_TRUE(absolute || item.filePath.compare(0, prefix.size(), prefix) == 0) << "relative path handed out";
    if (!absolute) {
        EXPECT_FALSE(DeleteFileW(item.filePath.c_str())) << "a bin name must not delete a file";
    }
    EXPECT_TRUE(Exists(bystander));

    EXPECT_EQ(CSysEvidence::deleteFileInRecy(item.filePath, NULL), 1);
    EXPECT_TRUE(ScanNumber(ev, CSysEvidence::CATEGORY_RECYCLE_BIN).empty());
    EXPECT_TRUE(Exists(bystander));

    // Other traces are never recycle-bin entries.
    Item file;
    file.category = L"Recent Files";
    file.filePath = bystander;
    file.kind = 1;
    EXPECT_FALSE(CSysEvidence::IsRecycleBinItem(file));
}
