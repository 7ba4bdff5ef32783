// The deletions of "repair all" against the prefix's file system and registry.
#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>

#include <Common.h>

#include "RepairActions.h"

using namespace OneClick;

namespace {

std::wstring TempFile(const wchar_t* name)
{
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    const std::wstring path = std::wstring(temp) + name;
    std::ofstream(path.c_str()) << "x";
    return path;
}

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

}  // namespace

TEST(RepairActions, FileGoneOrKeptWhenInUse)
{
    const std::wstring free = TempFile(L"oneclick-free.tmp");
    EXPECT_TRUE(RemoveFile(free));
    EXPECT_FALSE(Exists(free));
    EXPECT_TRUE(RemoveFile(free));  // already gone counts as gone

    const std::wstring busy = TempFile(L"oneclick-busy.tmp");
    HANDLE h = CreateFileW(busy.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, h);
    EXPECT_FALSE(RemoveFile(busy));
    CloseHandle(h);
    EXPECT_TRUE(Exists(busy));
    DeleteFileW(busy.c_str());

    // A relative name is never deleted, even when such a file exists in the current folder.
    wchar_t current[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, current);
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    SetCurrentDirectoryW(temp);
    const std::wstring local = TempFile(L"oneclick-local.tmp");
    EXPECT_FALSE(RemoveFile(L"oneclick-local.tmp"));
    EXPECT_TRUE(Exists(local));
    SetCurrentDirectoryW(current);
    DeleteFileW(local.c_str());
}

TEST(RepairActions, TracesByKind)
{
    const wchar_t key[] = L"Software\\OneClickTest\\TypedURLs";
    ASSERT_EQ(0, SBRegSetStringValueNoExpandW(HKEY_CURRENT_USER, key, L"url1", L"http://example.invalid/"));
    Lumbrey::CSysEvidence::ScanResultItem value;
    value.kind = 0;
    value.keyPath = key;
    value.valueName = L"url1";
    EXPECT_EQ(key, TraceText(value));
    EXPECT_TRUE(RemoveTrace(value));
    EXPECT_FALSE(SBRegValueExistW(HKEY_CURRENT_USER, key, L"url1"));

    Lumbrey::CSysEvidence::ScanResultItem noKey;  // an empty key path names nothing to delete
    noKey.kind = 0;
    EXPECT_FALSE(RemoveTrace(noKey));

    Lumbrey::CSysEvidence::ScanResultItem file;
    file.kind = 1;
    file.filePath = TempFile(L"oneclick-cache.dat");
    EXPECT_EQ(file.filePath, TraceText(file));
    EXPECT_TRUE(RemoveTrace(file));
    EXPECT_FALSE(Exists(file.filePath));

    // A recycle-bin entry is never deleted as a file here.
    Lumbrey::CSysEvidence::ScanResultItem bin;
    bin.kind = 1;
    bin.filePath = std::wstring(Lumbrey::CSysEvidence::RecycleBinShellPrefix()) + L"old.txt";
    EXPECT_FALSE(RemoveTrace(bin));
    SBRegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\OneClickTest");
}
