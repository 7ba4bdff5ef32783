// Folder listing, creation and removal, the program's folder and the fixed drives.
#include "Common.h"
#include "PathText.h"
#include "QPathText.h"

using qpath::IsSeparator;
using qpath::WithoutTrailingSeparators;

namespace {

bool IsDotEntry(const wchar_t* name)
{
    return name[0] == L'.' && (name[1] == L'\0' || (name[1] == L'.' && name[2] == L'\0'));
}

bool ListFolder(const wchar_t* folder, std::vector<std::wstring>& names, int flags, bool wantFolders)
{
    names.clear();
    // An empty folder must not turn into "\*", the root of the current drive.
    if (!folder || !*folder) return false;
    // Without trailing separators: "C:\" becomes "C:", so "C:" + "\*" lists the drive root.
    std::wstring base = WithoutTrailingSeparators(folder);
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((base + L"\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return false;
    do {
        if (IsDotEntry(data.cFileName)) continue;
        bool isFolder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        if (isFolder != wantFolders) continue;
        if (isFolder && (flags & SB_LIST_NO_LINKED) && (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) continue;
        names.push_back((flags & SB_LIST_FULLPATH) ? base + L"\\" + data.cFileName : std::wstring(data.cFileName));
    } while (FindNextFileW(find, &data));
    FindClose(find);
    return true;
}

// Full path with backslashes and without trailing separators; "" when it cannot be resolved.
std::wstring FullPath(const wchar_t* path)
{
    DWORD needed = GetFullPathNameW(path, 0, nullptr, nullptr);
    if (needed == 0) return std::wstring();
    std::wstring full(needed, L'\0');
    DWORD got = GetFullPathNameW(path, needed, &full[0], nullptr);
    if (got == 0 || got >= needed) return std::wstring();
    full.resize(got);
    for (wchar_t& c : full)
        if (c == L'/') c = L'\\';
    return WithoutTrailingSeparators(full);
}

// True for "", "C:", "\\server", "\\server\share" and the device forms "\\?\C:" / "\\.\C:".
bool IsRootPath(const std::wstring& full)
{
    if (full.empty()) return true;
    std::wstring path = full;
    if (path.compare(0, 4, L"\\\\?\\") == 0 || path.compare(0, 4, L"\\\\.\\") == 0) {
        path = path.substr(4);
        if (_wcsnicmp(path.c_str(), L"UNC\\", 4) == 0) path = L"\\\\" + path.substr(4);
    }
    if (path.size() <= 2 && (path.size() < 2 || path[1] == L':')) return true;
    if (path.compare(0, 2, L"\\\\") == 0) {
        size_t server = path.find(L'\\', 2);
        if (server == std::wstring::npos) return true;
        size_t share = path.find(L'\\', server + 1);
        return share == std::wstring::npos;
    }
    return false;
}

// Removes the folder's contents and the folder. Linked folders are removed as links, never entered.
void RemoveTree(const std::wstring& folder, DWORD attributes)
{
    if (!(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        WIN32_FIND_DATAW data;
        HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &data);
        if (find != INVALID_HANDLE_VALUE) {
            do {
                if (IsDotEntry(data.cFileName)) continue;
                std::wstring child = folder + L"\\" + data.cFileName;
                if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                    RemoveTree(child, data.dwFileAttributes);
                } else {
                    if (data.dwFileAttributes & FILE_ATTRIBUTE_READONLY)
                        SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
                    DeleteFileW(child.c_str());
                }
            } while (FindNextFileW(find, &data));
            FindClose(find);
        }
    }
    if (attributes & FILE_ATTRIBUTE_READONLY)
        SetFileAttributesW(folder.c_str(), attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
    RemoveDirectoryW(folder.c_str());
}

bool IsFolder(const std::wstring& path)
{
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsDefraggableFileSystem(const wchar_t* root)
{
    wchar_t fileSystem[MAX_PATH + 1] = L"";
    if (!GetVolumeInformationW(root, nullptr, 0, nullptr, nullptr, nullptr, fileSystem,
                               sizeof(fileSystem) / sizeof(fileSystem[0])))
        return false;
    static const wchar_t* const known[] = {L"NTFS", L"FAT", L"FAT32", L"exFAT"};
    for (const wchar_t* name : known)
        if (_wcsicmp(fileSystem, name) == 0) return true;
    return false;
}

}  // namespace

bool SBGetVectorFilesW(const wchar_t* folder, std::vector<std::wstring>& names, int flags)
{
    return ListFolder(folder, names, flags, false);
}

bool SBGetVectorSubDirsW(const wchar_t* folder, std::vector<std::wstring>& names, int flags)
{
    return ListFolder(folder, names, flags, true);
}

BOOL SBRecursiveCreateDirectoryW(const wchar_t* path)
{
    if (!path || !*path) return FALSE;
    std::wstring target = WithoutTrailingSeparators(path);
    for (wchar_t& c : target)
        if (c == L'/') c = L'\\';
    if (target.empty()) return FALSE;
    if (IsFolder(target)) return TRUE;
    // Create each missing level; failures on existing levels or roots ("C:", "\\server") are harmless.
    for (size_t i = target.find(L'\\', 1); i != std::wstring::npos; i = target.find(L'\\', i + 1)) {
        if (target[i - 1] == L'\\') continue;
        CreateDirectoryW(target.substr(0, i).c_str(), nullptr);
    }
    CreateDirectoryW(target.c_str(), nullptr);
    return IsFolder(target) ? TRUE : FALSE;
}

BOOL SBDeleteDirectoryW(const wchar_t* path)
{
    if (!path || !*path) return FALSE;
    // "C:" or "C:name" is relative to that drive's current folder: too ambiguous to delete.
    if (path[0] && path[1] == L':' && !IsSeparator(path[2])) return FALSE;
    std::wstring full = FullPath(path);
    if (IsRootPath(full)) return FALSE;
    DWORD attributes = GetFileAttributesW(full.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? TRUE : FALSE;
    }
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) return FALSE;  // a file, not a folder: left alone
    RemoveTree(full, attributes);
    return GetFileAttributesW(full.c_str()) == INVALID_FILE_ATTRIBUTES ? TRUE : FALSE;
}

std::wstring SBGetAppPathW()
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD got = GetModuleFileNameW(nullptr, &path[0], static_cast<DWORD>(path.size()));
        if (got == 0) return std::wstring();
        if (got < path.size()) {
            path.resize(got);
            break;
        }
        if (path.size() >= 32768) return std::wstring();
        path.resize(path.size() * 2);
    }
    size_t slash = path.find_last_of(L"\\/");
    if (slash == std::wstring::npos) return std::wstring();
    path.resize(slash);
    return path + L"\\";
}

int SBGetAppPathW(wchar_t* buffer, int capacity)
{
    if (buffer && capacity > 0) buffer[0] = L'\0';
    std::wstring path = SBGetAppPathW();
    if (!buffer || path.empty() || path.size() + 1 > static_cast<size_t>(capacity)) return 0;
    return common_detail::CopyToBuffer(path, buffer, capacity);
}

int SBGetFixedDiskW(std::vector<std::wstring>& roots, int flag)
{
    roots.clear();
    DWORD drives = GetLogicalDrives();
    for (int letter = 0; letter < 26; ++letter) {
        if (!(drives & (1u << letter))) continue;
        wchar_t root[4] = {static_cast<wchar_t>(L'A' + letter), L':', L'\\', L'\0'};
        if (GetDriveTypeW(root) != DRIVE_FIXED) continue;
        if (flag == SB_FIXED_DEFRAGGABLE && !IsDefraggableFileSystem(root)) continue;
        roots.push_back(root);
    }
    return static_cast<int>(roots.size());
}
