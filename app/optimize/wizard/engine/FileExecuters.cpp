#include "FileExecuters.h"

#include <windows.h>

#include <Common.h>
#include <QPathText.h>

namespace {

bool IsSeparator(wchar_t c) { return c == L'\\'; }

// True when the path (after its drive or server part) has a component "." or "..", or characters no file name
// may hold: such a path may name something other than it seems (a parent, a root, a pattern).
bool HasUnsafeComponent(const std::wstring& path, size_t from)
{
    size_t start = from;
    for (size_t i = from; i <= path.size(); ++i) {
        if (i < path.size() && !IsSeparator(path[i])) {
            const wchar_t c = path[i];
            if (c < 32 || c == L'*' || c == L'?' || c == L'"' || c == L'<' || c == L'>' || c == L'|' || c == L':')
                return true;
            continue;
        }
        const std::wstring part = path.substr(start, i - start);
        if (part == L"." || part == L"..") return true;
        start = i + 1;
    }
    return false;
}

bool IsAbsent(const std::wstring& path)
{
    if (::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES) return false;
    const DWORD error = ::GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

}  // namespace

std::wstring NormaliseRemovalPath(const std::wstring& path)
{
    return qpath::WithoutTrailingSeparators(SBNormalizePathW(path));
}

bool IsRemovablePath(const std::wstring& path)
{
    if (path.empty() || path.size() >= MAX_PATH) return false;
    if (path.size() > 3 && qpath::IsDriveLetter(path[0]) && path[1] == L':' && IsSeparator(path[2]))
        return !HasUnsafeComponent(path, 3);
    if (path.size() > 2 && IsSeparator(path[0]) && IsSeparator(path[1])) {
        // \\server\share\something: the server and the share are the root of a network path.
        const size_t server = path.find(L'\\', 2);
        if (server == std::wstring::npos || server == 2) return false;
        const size_t share = path.find(L'\\', server + 1);
        if (share == std::wstring::npos || share == server + 1 || share + 1 >= path.size()) return false;
        const std::wstring serverName = path.substr(2, server - 2);
        if (serverName == L"?" || serverName == L".") return false;  // device paths
        return !HasUnsafeComponent(path, 2);
    }
    return false;  // relative, rooted without a drive, or a bare drive
}

bool CRemoveDirExecuter::Run()
{
    const std::wstring path = NormaliseRemovalPath(WideAttribute("RemoveDirectory"));
    if (!IsRemovablePath(path)) return false;
    // Common removes read-only entries, unlinks linked folders without entering them, and reports whether the
    // folder is gone.
    return SBDeleteDirectoryW(path.c_str()) != FALSE;
}

bool CRemoveFileExecuter::Run()
{
    const std::wstring path = NormaliseRemovalPath(WideAttribute("RemoveFileName"));
    if (!IsRemovablePath(path)) return false;
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return IsAbsent(path);
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return false;  // a folder is not this action's to remove
    if (!::DeleteFileW(path.c_str()) && (attributes & FILE_ATTRIBUTE_READONLY)) {
        ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        ::DeleteFileW(path.c_str());
    }
    return IsAbsent(path);
}
