// Folder listing, creation and removal, the program's folder and the fixed drives.
#include "TestSupport.h"

#include <algorithm>

using namespace common_test;

namespace {

typedef std::vector<std::wstring> List;

List Sorted(List list)
{
    std::sort(list.begin(), list.end());
    return list;
}

class Folders : public TempFolderTest {
protected:
    void MakeSample()
    {
        WriteFile(L"a.txt");
        WriteFile(L"B.dat", 3);
        MakeFolder(L"sub1");
        MakeFolder(L"sub 2");
        WriteFile(L"sub1\\inner.txt");
        MakeFolder(L"sub1\\deeper");
    }
};

TEST_F(Folders, ListersGiveNamesOnlyOrFullPaths)
{
    MakeSample();
    struct Case {
        const char* name;
        std::wstring folder;
        int flags;
        List files;
        List dirs;
    } cases[] = {
        {"names", m_dir, SB_LIST_NAMES, {L"B.dat", L"a.txt"}, {L"sub 2", L"sub1"}},
        {"trailing backslash", m_dir + L"\\", 0, {L"B.dat", L"a.txt"}, {L"sub 2", L"sub1"}},
        {"forward slash", m_dir + L"/", 0, {L"B.dat", L"a.txt"}, {L"sub 2", L"sub1"}},
        {"full paths", m_dir, SB_LIST_FULLPATH, {Path(L"B.dat"), Path(L"a.txt")}, {Path(L"sub 2"), Path(L"sub1")}},
        {"nested folder", Path(L"sub1"), 0, {L"inner.txt"}, {L"deeper"}},
        {"empty folder", Path(L"sub 2"), 0, {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        List files = {L"stale"}, dirs = {L"stale"};
        EXPECT_TRUE(SBGetVectorFilesW(c.folder.c_str(), files, c.flags));
        EXPECT_TRUE(SBGetVectorSubDirsW(c.folder.c_str(), dirs, c.flags));
        EXPECT_EQ(c.files, Sorted(files));
        EXPECT_EQ(c.dirs, Sorted(dirs));
    }
}

TEST_F(Folders, ListersRefuseEmptyOrMissingFoldersInsteadOfListingARoot)
{
    MakeSample();
    // With the current folder inside the sample, "" must not list it, nor "\" of the drive.
    wchar_t previous[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, previous);
    SetCurrentDirectoryW(m_dir.c_str());
    for (const wchar_t* folder : {L"", static_cast<const wchar_t*>(nullptr)}) {
        List files = {L"stale"}, dirs = {L"stale"};
        EXPECT_FALSE(SBGetVectorFilesW(folder, files, 0));
        EXPECT_FALSE(SBGetVectorSubDirsW(folder, dirs, 0));
        EXPECT_TRUE(files.empty());
        EXPECT_TRUE(dirs.empty());
    }
    SetCurrentDirectoryW(previous);
    List files = {L"stale"};
    EXPECT_FALSE(SBGetVectorFilesW(Path(L"missing").c_str(), files, 0));
    EXPECT_TRUE(files.empty());
    EXPECT_FALSE(SBGetVectorFilesW(Path(L"a.txt").c_str(), files, 0));  // a file is not a folder
}

TEST_F(Folders, RecursiveCreate)
{
    WriteFile(L"file");
    struct Case {
        const char* name;
        std::wstring path;
        BOOL ok;
    } cases[] = {
        {"nested", Path(L"x\\y\\z"), TRUE},
        {"already there", Path(L"x\\y"), TRUE},
        {"mixed slashes and trailing", m_dir + L"/p/q\\\\r\\", TRUE},
        {"through a file", Path(L"file\\sub"), FALSE},
        {"the file itself", Path(L"file"), FALSE},
        {"empty", L"", FALSE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.ok, SBRecursiveCreateDirectoryW(c.path.c_str()));
    }
    EXPECT_TRUE(SBIsFileExistW(Path(L"x\\y\\z").c_str()));
    EXPECT_TRUE(SBIsFileExistW(Path(L"p\\q\\r").c_str()));
    EXPECT_FALSE(SBRecursiveCreateDirectoryW(nullptr));
}

TEST_F(Folders, DeleteRemovesContentsIncludingReadOnlyFiles)
{
    MakeSample();
    WriteFile(L"sub1\\deeper\\locked.txt");
    SetFileAttributesW(Path(L"sub1\\deeper\\locked.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    SetFileAttributesW(Path(L"sub1\\deeper").c_str(), FILE_ATTRIBUTE_READONLY);
    WriteFile(L"keep.txt");

    EXPECT_TRUE(SBDeleteDirectoryW(Path(L"sub1").c_str()));
    EXPECT_FALSE(SBIsFileExistW(Path(L"sub1").c_str()));
    EXPECT_TRUE(SBIsFileExistW(Path(L"keep.txt").c_str()));
    EXPECT_TRUE(SBIsFileExistW(Path(L"sub 2").c_str()));

    EXPECT_TRUE(SBDeleteDirectoryW(Path(L"sub1").c_str()));       // already gone
    EXPECT_FALSE(SBDeleteDirectoryW(Path(L"keep.txt").c_str()));  // a file is left alone
    EXPECT_TRUE(SBIsFileExistW(Path(L"keep.txt").c_str()));

    EXPECT_TRUE(SBDeleteDirectoryW((m_dir + L"\\").c_str()));
    EXPECT_FALSE(SBIsFileExistW(m_dir.c_str()));
}

TEST(FolderDelete, RefusesRootsAndEmptyPaths)
{
    wchar_t windows[MAX_PATH];
    GetWindowsDirectoryW(windows, MAX_PATH);
    const std::wstring drive(windows, 2);  // "C:"
    wchar_t previous[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, previous);
    SetCurrentDirectoryW(windows);  // so "C:" and "\" would name real folders
    const std::wstring refused[] = {L"",
                                    L"\\",
                                    L"/",
                                    drive,
                                    drive + L"system32",  // drive-relative: C:\windows\system32 here
                                    drive + L"\\",
                                    drive + L"/",
                                    drive + L"\\..",
                                    drive + L"\\.",
                                    L"\\\\server\\share",
                                    L"\\\\server\\share\\",
                                    L"\\\\?\\" + drive + L"\\"};
    for (const std::wstring& root : refused) EXPECT_FALSE(SBDeleteDirectoryW(root.c_str())) << root;
    EXPECT_FALSE(SBDeleteDirectoryW(nullptr));
    SetCurrentDirectoryW(previous);
    EXPECT_TRUE(SBIsFileExistW(windows));
    EXPECT_TRUE(SBIsFileExistW((std::wstring(windows) + L"\\system32").c_str()));
}

TEST(AppPath, ProgramFolderWithTrailingBackslash)
{
    wchar_t module[MAX_PATH];
    DWORD length = GetModuleFileNameW(nullptr, module, MAX_PATH);
    std::wstring expected(module, length);
    expected.resize(expected.find_last_of(L'\\') + 1);

    const std::wstring path = SBGetAppPathW();
    EXPECT_EQ(expected, path);
    ASSERT_FALSE(path.empty());
    EXPECT_EQ(L'\\', path.back());

    wchar_t buffer[MAX_PATH];
    EXPECT_EQ(static_cast<int>(path.size()), SBGetAppPathW(buffer, MAX_PATH));
    EXPECT_EQ(path, buffer);
    wchar_t small[2] = {L'#', L'#'};
    EXPECT_EQ(0, SBGetAppPathW(small, 2));  // no cut path: it would name another folder
    EXPECT_EQ(L'\0', small[0]);
}

TEST(FixedDisks, RootPathsOfFixedDrives)
{
    std::vector<std::wstring> all = {L"stale"}, defraggable = {L"stale"};
    int count = SBGetFixedDiskW(all, SB_FIXED_ALL);
    EXPECT_EQ(static_cast<int>(all.size()), count);  // the stale entry is gone
    count = SBGetFixedDiskW(defraggable, SB_FIXED_DEFRAGGABLE);
    EXPECT_EQ(static_cast<int>(defraggable.size()), count);
    wchar_t windows[MAX_PATH];
    GetWindowsDirectoryW(windows, MAX_PATH);
    const std::wstring systemRoot = std::wstring(windows, 2) + L"\\";
    EXPECT_NE(all.end(), std::find(all.begin(), all.end(), systemRoot));
    for (const std::wstring& root : all) {
        ASSERT_EQ(3u, root.size()) << root;
        EXPECT_EQ(L":\\", root.substr(1));
        EXPECT_EQ(static_cast<UINT>(DRIVE_FIXED), GetDriveTypeW(root.c_str())) << root;
    }
    for (const std::wstring& root : defraggable) EXPECT_NE(all.end(), std::find(all.begin(), all.end(), root)) << root;
    EXPECT_TRUE(std::is_sorted(all.begin(), all.end()));
}

}  // namespace

namespace {

// Makes `link` a symbolic link to the folder `target`; false when the system cannot.
bool LinkFolder(const std::wstring& link, const std::wstring& target)
{
    typedef BOOLEAN(WINAPI * CreateSymbolicLinkWFn)(LPCWSTR, LPCWSTR, DWORD);
    CreateSymbolicLinkWFn createLink = reinterpret_cast<CreateSymbolicLinkWFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "CreateSymbolicLinkW")));
    if (!createLink || !createLink(link.c_str(), target.c_str(), 1 /* folder */)) return false;
    DWORD attributes = GetFileAttributesW(link.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

class LinkedFolders : public TempFolderTest {};

TEST_F(LinkedFolders, DeleteUnlinksWithoutEmptyingTheTargetAndListersCanSkipLinks)
{
    MakeFolder(L"target");
    WriteFile(L"target\\precious.txt");
    MakeFolder(L"doomed");
    WriteFile(L"doomed\\junk.txt");
    if (!LinkFolder(Path(L"doomed\\link"), Path(L"target"))) GTEST_SKIP() << "folder links are not available here";

    List dirs;
    EXPECT_TRUE(SBGetVectorSubDirsW(Path(L"doomed").c_str(), dirs, SB_LIST_NAMES));
    EXPECT_EQ(List{L"link"}, dirs);
    EXPECT_TRUE(SBGetVectorSubDirsW(Path(L"doomed").c_str(), dirs, SB_LIST_NO_LINKED));
    EXPECT_TRUE(dirs.empty());

    EXPECT_TRUE(SBDeleteDirectoryW(Path(L"doomed").c_str()));
    EXPECT_FALSE(SBIsFileExistW(Path(L"doomed").c_str()));
    EXPECT_TRUE(SBIsFileExistW(Path(L"target\\precious.txt").c_str()));
}

}  // namespace
