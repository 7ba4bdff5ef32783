#include "SystemFolders.h"

#include "BackupText.h"
#include "QPathText.h"
#include "FavoriteBackup.h"

#include <QGuards.h>
#include <QShellFolder.h>

#include <shlobj.h>
#include <windows.h>

#include <vector>

namespace Coldrith {
namespace {
// Full, case folded, with backslashes and without trailing separators; "" when there is no text.
std::wstring Comparable(const std::wstring& path)
{
    if (path.empty()) return path;
    std::wstring full = FullPath(path);
    for (auto& c : full)
        if (c == L'/') c = L'\\';
    return qpath::FoldCase(qpath::WithoutTrailingSeparators(full));
}

bool IsSameOrInside(const std::wstring& path, const std::wstring& folder)
{
    return !folder.empty() && path.compare(0, folder.size(), folder) == 0 &&
           (path.size() == folder.size() || path[folder.size()] == L'\\');
}

std::wstring FromBuffer(const wchar_t* text, UINT n)
{
    return n > 0 && n < MAX_PATH ? std::wstring(text, n) : std::wstring();
}

std::vector<std::wstring> SystemOwned()
{
    std::vector<std::wstring> folders;
    wchar_t text[MAX_PATH];
    folders.push_back(FromBuffer(text, GetWindowsDirectoryW(text, MAX_PATH)));
    folders.push_back(FromBuffer(text, GetSystemDirectoryW(text, MAX_PATH)));
    typedef UINT(WINAPI * Wow64DirFn)(LPWSTR, UINT);
    auto wow64Dir = reinterpret_cast<Wow64DirFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "GetSystemWow64DirectoryW")));
    if (wow64Dir) folders.push_back(FromBuffer(text, wow64Dir(text, MAX_PATH)));
    const int kinds[] = {CSIDL_WINDOWS,
                         CSIDL_SYSTEM,
                         CSIDL_SYSTEMX86,
                         CSIDL_PROGRAM_FILES,
                         CSIDL_PROGRAM_FILESX86,
                         CSIDL_PROGRAM_FILES_COMMON,
                         CSIDL_PROGRAM_FILES_COMMONX86};
    for (int kind : kinds) folders.push_back(qcore::SpecialFolderPath(kind));
    // A 32-bit process is told the 32-bit program folder only; the other one is named in the environment.
    for (const wchar_t* name : {L"ProgramFiles", L"ProgramFiles(x86)", L"ProgramW6432"})
        folders.push_back(FromBuffer(text, GetEnvironmentVariableW(name, text, MAX_PATH)));
    for (auto& folder : folders) folder = Comparable(folder);
    return folders;
}

// Where the folder really is, links followed; "" when that cannot be told (before Vista, or no such folder).
std::wstring Resolved(const std::wstring& path)
{
    typedef DWORD(WINAPI * FinalPathFn)(HANDLE, LPWSTR, DWORD, DWORD);
    auto finalPath = reinterpret_cast<FinalPathFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "GetFinalPathNameByHandleW")));
    if (!finalPath) return std::wstring();
    qcore::UniqueFile folder(CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                         nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!folder) return std::wstring();
    std::vector<wchar_t> text(32768);
    DWORD n = finalPath(folder.Get(), text.data(), static_cast<DWORD>(text.size()), 0);
    if (n == 0 || n >= text.size()) return std::wstring();
    std::wstring result(text.data(), n);
    if (result.compare(0, 8, L"\\\\?\\UNC\\") == 0) return L"\\\\" + result.substr(8);
    if (result.compare(0, 4, L"\\\\?\\") == 0) return result.substr(4);
    return result;
}
}  // namespace

bool IsSystemOwnedFolder(const std::wstring& path)
{
    if (!IsFullNonRootPath(path)) return true;
    const std::vector<std::wstring> owned = SystemOwned();
    std::wstring resolved = Resolved(path);
    for (const std::wstring& candidate : {path, resolved}) {
        if (candidate.empty()) continue;
        if (!IsFullNonRootPath(candidate)) return true;
        std::wstring comparable = Comparable(candidate);
        for (const auto& folder : owned)
            if (IsSameOrInside(comparable, folder)) return true;
    }
    return false;
}

bool IsLink(const std::wstring& path)
{
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}
}  // namespace Coldrith
