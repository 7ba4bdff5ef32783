// CStringArray, CFile/CStdioFile/CFileFind against temp files.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "QMfc.h"

namespace {

CString TempFolder()
{
    wchar_t path[MAX_PATH];
    GetTempPathW(MAX_PATH, path);
    CString folder;
    folder.Format(L"%sqmfc-%lu", path, GetCurrentProcessId());
    CreateDirectoryW(folder, NULL);
    return folder;
}

}  // namespace

TEST(Collections, StringArrayKeepsOrderAndRemovesSafely)
{
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
}

TEST(Files, WriteReadSeekAndLines)
{
    CString folder = TempFolder();
    CString path = folder + L"\\data.txt";
    {
        CStdioFile f;
        ASSERT_TRUE(f.Open(path, CFile::modeCreate | CFile::modeWrite | CFile::typeText));
        f.WriteString(L"first\nsecond line\n");
        f.WriteString(L"last");
    }
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
    EXPECT_EQ(24u, raw.GetLength());  // CR LF line ends in text mode
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
