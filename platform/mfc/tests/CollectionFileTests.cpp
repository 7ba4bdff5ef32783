// Collections (CMap's iteration order), CTime formatting, CFile/CStdioFile/CFileFind against temp files.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "QMfc.h"

namespace {

std::vector<ULONG> KeysInOrder(CMap<ULONG, ULONG, int, int>& map) {
    std::vector<ULONG> keys;
    for (POSITION pos = map.GetStartPosition(); pos;) {
        ULONG key;
        int value;
        map.GetNextAssoc(pos, key, value);
        keys.push_back(key);
    }
    return keys;
}

CString TempFolder() {
    wchar_t path[MAX_PATH];
    GetTempPathW(MAX_PATH, path);
    CString folder;
    folder.Format(L"%sqmfc-%lu", path, GetCurrentProcessId());
    CreateDirectoryW(folder, NULL);
    return folder;
}

}  // namespace

TEST(CMapOrder, BucketsAscendingAndNewestFirstWithinABucket) {
    CMap<ULONG, ULONG, int, int> map;
    map.InitHashTable(17);
    // Buckets: (id >> 4) % 17. 1 and 2 share bucket 0; 16 is bucket 1; 0xFFFFFFFF is bucket 15.
    map.SetAt(16, 160);
    map.SetAt(1, 10);
    map.SetAt(0xFFFFFFFF, 99);
    map.SetAt(2, 20);
    std::vector<ULONG> expected = {2, 1, 16, 0xFFFFFFFF};
    EXPECT_EQ(expected, KeysInOrder(map));
    map.SetAt(1, 11);  // a new value keeps the key's place
    EXPECT_EQ(expected, KeysInOrder(map));
    int v = 0;
    EXPECT_TRUE(map.Lookup(1, v));
    EXPECT_EQ(11, v);
    EXPECT_TRUE(map.RemoveKey(2));
    EXPECT_FALSE(map.RemoveKey(2));
    EXPECT_EQ(3, map.GetCount());
    map.RemoveAll();
    EXPECT_EQ(nullptr, map.GetStartPosition());

    CMapStringToString strings;
    strings.SetAt(L"key", L"value");
    CString out;
    EXPECT_TRUE(strings.Lookup(L"key", out));
    EXPECT_EQ(CString(L"value"), out);
    EXPECT_FALSE(strings.Lookup(L"KEY", out));
}

TEST(Collections, ArrayAndListKeepOrderAndRemoveSafely) {
    CStringArray arr;
    arr.Add(L"a");
    arr.Add(L"b");
    arr.Add(L"c");
    arr.RemoveAt(1);
    arr.RemoveAt(7);  // out of range: ignored
    ASSERT_EQ(2, arr.GetSize());
    EXPECT_EQ(CString(L"c"), arr.GetAt(1));
    CStringArray copy;
    copy.Copy(arr);
    EXPECT_EQ(CString(L"a"), copy[0]);

    CList<int, int> list;
    list.AddTail(2);
    list.AddTail(3);
    list.AddHead(1);
    POSITION pos = list.Find(2);
    list.InsertAfter(pos, 25);
    list.RemoveAt(list.Find(3));
    std::vector<int> seen;
    for (POSITION p = list.GetHeadPosition(); p;) seen.push_back(list.GetNext(p));
    EXPECT_EQ((std::vector<int>{1, 2, 25}), seen);
}

TEST(CTimeFormat, RoundTripsLocalTimeAndFormats) {
    CTime t(2024, 2, 29, 13, 5, 9);
    EXPECT_EQ(2024, t.GetYear());
    EXPECT_EQ(2, t.GetMonth());
    EXPECT_EQ(29, t.GetDay());
    EXPECT_EQ(5, t.GetDayOfWeek());  // Thursday
    EXPECT_EQ(CString(L"02-29-2024_130509"), t.Format(L"%m-%d-%Y_%H%M%S"));
    EXPECT_EQ(CString(L"13:05:09"), t.Format(L"%H:%M:%S"));
    EXPECT_EQ(CString(L"Feb.29,2024 01:05:09 PM"), t.Format(L"%b.%d,%Y %I:%M:%S %p"));
    EXPECT_FALSE(t.Format(L"%#c").IsEmpty());
    SYSTEMTIME st;
    ASSERT_TRUE(t.GetAsSystemTime(st));
    EXPECT_EQ(t, CTime(st));
    CTimeSpan week(7, 0, 0, 0);
    EXPECT_EQ(7, (t + week - t).GetDays());
}

TEST(Files, WriteReadSeekStatusAndLines) {
    CString folder = TempFolder();
    CString path = folder + L"\\data.txt";
    {
        CStdioFile f;
        ASSERT_TRUE(f.Open(path, CFile::modeCreate | CFile::modeWrite | CFile::typeText));
        f.WriteString(L"first\nsecond line\n");
        f.WriteString(L"last");
    }
    CFileStatus status;
    ASSERT_TRUE(CFile::GetStatus(path, status));
    EXPECT_EQ(24u, status.m_size);  // CR LF line ends in text mode
    ASSERT_TRUE(CFile::GetStatus(folder, status));  // folders too
    EXPECT_TRUE(status.m_attributes & FILE_ATTRIBUTE_DIRECTORY);

    CStdioFile in;
    ASSERT_TRUE(in.Open(path, CFile::modeRead | CFile::shareDenyWrite));
    std::vector<std::wstring> lines;
    CString line;
    while (in.ReadString(line)) lines.push_back((LPCWSTR)line);
    EXPECT_EQ((std::vector<std::wstring>{L"first", L"second line", L"last"}), lines);
    // Another writer is refused while the file is open with deny-write sharing.
    CFile writer;
    CFileException err;
    EXPECT_FALSE(writer.Open(path, CFile::modeWrite, &err));
    EXPECT_EQ(CFileException::sharingViolation, err.m_cause);
    in.Close();

    CFile raw(path, CFile::modeReadWrite);
    EXPECT_EQ(24u, raw.GetLength());
    raw.Seek(-4, CFile::end);
    char tail[5] = {};
    EXPECT_EQ(4u, raw.Read(tail, 4));
    EXPECT_STREQ("last", tail);
    raw.SetLength(5);
    EXPECT_EQ(5u, raw.GetLength());
    raw.Close();

    bool threw = false;
    try {
        CFile missing(folder + L"\\missing.bin", CFile::modeRead);
    } catch (CFileException* e) {
        threw = true;
        EXPECT_EQ(CFileException::fileNotFound, e->m_cause);
        e->Delete();
    }
    EXPECT_TRUE(threw);

    CreateDirectoryW(folder + L"\\sub", NULL);
    std::set<std::wstring> found;
    CFileFind finder;
    BOOL more = finder.FindFile(folder + L"\\*.*");
    while (more) {
        more = finder.FindNextFile();
        if (finder.IsDots()) continue;
        found.insert((LPCWSTR)(finder.GetFileName() + (finder.IsDirectory() ? L"/" : L"")));
        EXPECT_EQ(folder + L"\\" + finder.GetFileName(), finder.GetFilePath());
    }
    EXPECT_EQ((std::set<std::wstring>{L"data.txt", L"sub/"}), found);

    CFile::Remove(path);
    RemoveDirectoryW(folder + L"\\sub");
    RemoveDirectoryW(folder);
}
