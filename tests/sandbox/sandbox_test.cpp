// Guards the test sandbox itself: the program under test deletes files and registry entries, so the
// prefix it runs in must not reach the host.
#include <windows.h>
#include <shlobj.h>
#include <gtest/gtest.h>
#include <string>

namespace {

std::wstring FolderPath(int csidl)
{
    wchar_t path[MAX_PATH] = {};
    return SUCCEEDED(SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path)) ? path : L"";
}

}  // namespace

TEST(Sandbox, HostRootIsNotADrive)
{
    wchar_t drives[256] = {};
    GetLogicalDriveStringsW(255, drives);
    for (const wchar_t* d = drives; *d; d += wcslen(d) + 1)
        EXPECT_NE(L'Z', towupper(d[0])) << "the host file system is reachable as " << d;
}

TEST(Sandbox, ProgramRunsFromDriveQ)
{
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    EXPECT_EQ(L'Q', towupper(self[0])) << self;
    EXPECT_EQ(static_cast<UINT>(DRIVE_FIXED), GetDriveTypeW(L"Q:\\"));
}

TEST(Sandbox, UserShellFoldersAreRealFoldersOnC)
{
    const int folders[] = {CSIDL_DESKTOPDIRECTORY, CSIDL_PERSONAL, CSIDL_FAVORITES, CSIDL_MYPICTURES,
                           CSIDL_MYMUSIC,          CSIDL_MYVIDEO,  CSIDL_TEMPLATES};
    for (int csidl : folders) {
        std::wstring path = FolderPath(csidl);
        if (path.empty()) continue;  // not every folder exists in a new prefix
        EXPECT_EQ(L'C', towupper(path[0])) << path;
        DWORD attrs = GetFileAttributesW(path.c_str());
        if (attrs == INVALID_FILE_ATTRIBUTES) continue;
        EXPECT_FALSE(attrs & FILE_ATTRIBUTE_REPARSE_POINT) << path << " still links outside the prefix";
    }
}
