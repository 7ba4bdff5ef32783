#include "FavoriteBackup.h"

#include "BackupText.h"

#include <Common.h>

#include <shlobj.h>
#include <windows.h>

#include <vector>

namespace Coldrith
{
namespace
{
const wchar_t kShellFolders[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";

std::wstring Expand(const std::wstring& text)
{
    DWORD n = ExpandEnvironmentStringsW(text.c_str(), nullptr, 0);
    if (n == 0)
        return text;
    std::wstring out(n, L'\0');
    n = ExpandEnvironmentStringsW(text.c_str(), &out[0], n);
    out.resize(n > 0 ? n - 1 : 0);
    return out;
}

bool IsFolder(const std::wstring& path)
{
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}
}

bool IsFullNonRootPath(const std::wstring& path)
{
    std::wstring p = WithoutTrailingSeparators(path);
    for (auto& c : p)
        if (c == L'/')
            c = L'\\';
    if (p.size() >= 3 && p[1] == L':' && p[2] == L'\\')
        return p.size() > 3;
    if (p.compare(0, 2, L"\\\\") == 0)
    {
        // \\server\share is the root of a network path; a folder below it is needed.
        size_t share = p.find(L'\\', 2);
        return share != std::wstring::npos && share > 2 && p.find(L'\\', share + 1) != std::wstring::npos &&
               p.find(L'\\', share + 1) > share + 1;
    }
    return false;
}

bool CanCopyBetween(const std::wstring& from, const std::wstring& to)
{
    if (!IsFullNonRootPath(from) || !IsFullNonRootPath(to))
        return false;
    std::wstring a = FoldCase(WithoutTrailingSeparators(FullPath(from))) + L"\\",
                 b = FoldCase(WithoutTrailingSeparators(FullPath(to))) + L"\\";
    return a.compare(0, b.size(), b) != 0 && b.compare(0, a.size(), a) != 0;
}

std::wstring CFavoriteBackup::GetFavoritesFolderPath()
{
    std::wstring stored;
    SBRegGetStringValueNoExpandW(HKEY_CURRENT_USER, kShellFolders, L"Favorites", stored);
    std::wstring path = WithoutTrailingSeparators(Expand(stored));
    // The system's own answer reads the same value, so when that is unusable its default location counts.
    const DWORD kinds[] = { SHGFP_TYPE_CURRENT, SHGFP_TYPE_DEFAULT };
    for (DWORD kind : kinds)
    {
        if (IsFullNonRootPath(path))
            break;
        wchar_t folder[MAX_PATH] = L"";
        path = SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_FAVORITES, nullptr, kind, folder))
                   ? WithoutTrailingSeparators(folder)
                   : L"";
    }
    if (!IsFullNonRootPath(path))
        path.clear();
    m_strFavoritesPath = path;
    return path;
}

bool CFavoriteBackup::CopyMove(const std::wstring& source, const std::wstring& destination)
{
    bool complete = true;
    std::vector<std::wstring> names;
    if (!SBGetVectorFilesW(source.c_str(), names, SB_LIST_NAMES))
        return false;
    for (const auto& name : names)
        complete = CopyFileW((source + L"\\" + name).c_str(), (destination + L"\\" + name).c_str(), FALSE) &&
                   complete;
    // Linked folders are left out: they may lead back into the tree or to another drive.
    if (!SBGetVectorSubDirsW(source.c_str(), names, SB_LIST_NO_LINKED))
        return false;
    for (const auto& name : names)
    {
        std::wstring to = destination + L"\\" + name;
        if (!SBRecursiveCreateDirectoryW(to.c_str()))
        {
            complete = false;
            continue;
        }
        complete = CopyMove(source + L"\\" + name, to) && complete;
    }
    return complete;
}

bool CFavoriteBackup::BackupFavoriteFiles(std::wstring destination)
{
    std::wstring from = WithoutTrailingSeparators(m_strFavoritesPath);
    std::wstring to = WithoutTrailingSeparators(destination);
    if (!CanCopyBetween(from, to) || !IsFolder(from))
        return false;
    std::wstring fresh = to + L".tmp", previous = to + L".old";
    if (!SBDeleteDirectoryW(fresh.c_str()) || !SBRecursiveCreateDirectoryW(fresh.c_str()) || !CopyMove(from, fresh))
    {
        SBDeleteDirectoryW(fresh.c_str());
        return false;
    }
    // Swap: the previous backup is set aside, the new one takes its name, and only then is the old one removed.
    if (!SBDeleteDirectoryW(previous.c_str()))
        return false;
    bool hadPrevious = IsFolder(to);
    if (hadPrevious && !MoveFileW(to.c_str(), previous.c_str()))
    {
        SBDeleteDirectoryW(fresh.c_str());
        return false;
    }
    if (!MoveFileW(fresh.c_str(), to.c_str()))
    {
        if (hadPrevious)
            MoveFileW(previous.c_str(), to.c_str());
        SBDeleteDirectoryW(fresh.c_str());
        return false;
    }
    if (hadPrevious)
        SBDeleteDirectoryW(previous.c_str());
    return true;
}

bool CFavoriteBackup::RestoreFavoriteFiles(std::wstring source)
{
    std::wstring from = WithoutTrailingSeparators(source);
    std::wstring to = WithoutTrailingSeparators(m_strFavoritesPath);
    if (!CanCopyBetween(from, to) || !IsFolder(from) || !SBRecursiveCreateDirectoryW(to.c_str()))
        return false;
    return CopyMove(from, to);
}
}
