#include "FavoriteBackup.h"

#include "BackupText.h"
#include "SystemFolders.h"

#include <Common.h>
#include <QPathText.h>
#include <QShellFolder.h>

#include <shlobj.h>
#include <windows.h>

#include <vector>

namespace Coldrith {
namespace {
const wchar_t kShellFolders[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";

std::wstring Expand(const std::wstring& text)
{
    DWORD n = ExpandEnvironmentStringsW(text.c_str(), nullptr, 0);
    if (n == 0) return text;
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

// "C:\x\" -> "C:\x", but a root keeps its separator ("C:\" stays, so it is still seen as a root).
std::wstring TrimmedFolder(const std::wstring& path)
{
    std::wstring trimmed = qpath::WithoutTrailingSeparators(path);
    return trimmed.size() == 2 && trimmed[1] == L':' && path.size() > 2 ? trimmed + L"\\" : trimmed;
}

// Copies the file under a temporary name beside its destination and renames it into place, so whatever stood
// there (a link, or a name sharing its data with another) is replaced, never written through.
bool CopyInPlace(const std::wstring& from, const std::wstring& to)
{
    std::wstring temp;
    for (unsigned n = 0; n < 1000 && temp.empty(); ++n) {
        std::wstring name = to + L".tmp~" + std::to_wstring(n);
        if (GetFileAttributesW(name.c_str()) == INVALID_FILE_ATTRIBUTES && CopyFileW(from.c_str(), name.c_str(), TRUE))
            temp = name;
    }
    if (temp.empty()) return false;
    if (MoveFileExW(temp.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING)) return true;
    DeleteFileW(temp.c_str());
    return false;
}
}  // namespace

bool IsFullNonRootPath(const std::wstring& path)
{
    std::wstring p = qpath::WithoutTrailingSeparators(path);
    for (auto& c : p)
        if (c == L'/') c = L'\\';
    if (p.size() >= 3 && p[1] == L':' && p[2] == L'\\') return p.size() > 3;
    if (p.compare(0, 2, L"\\\\") == 0) {
        // \\server\share is the root of a network path; a folder below it is needed.
        size_t share = p.find(L'\\', 2);
        return share != std::wstring::npos && share > 2 && p.find(L'\\', share + 1) != std::wstring::npos &&
               p.find(L'\\', share + 1) > share + 1;
    }
    return false;
}

bool CanCopyBetween(const std::wstring& from, const std::wstring& to)
{
    if (!IsFullNonRootPath(from) || !IsFullNonRootPath(to)) return false;
    std::wstring a = qpath::FoldCase(qpath::WithoutTrailingSeparators(FullPath(from))) + L"\\",
                 b = qpath::FoldCase(qpath::WithoutTrailingSeparators(FullPath(to))) + L"\\";
    return a.compare(0, b.size(), b) != 0 && b.compare(0, a.size(), a) != 0;
}

std::wstring CFavoriteBackup::GetFavoritesFolderPath()
{
    std::wstring stored;
    SBRegGetStringValueNoExpandW(HKEY_CURRENT_USER, kShellFolders, L"Favorites", stored);
    std::wstring path = TrimmedFolder(Expand(stored));
    // The system's own answer reads the same value, so when that is unusable its default location counts. A full
    // path is kept even when it names a root or a system folder: backup and restore refuse it, and say so.
    const DWORD kinds[] = {SHGFP_TYPE_CURRENT, SHGFP_TYPE_DEFAULT};
    for (DWORD kind : kinds) {
        if (qpath::IsAbsolutePath(path)) break;
        path = qpath::WithoutTrailingSeparators(qcore::SpecialFolderPath(CSIDL_FAVORITES, kind));
    }
    if (!qpath::IsAbsolutePath(path)) path.clear();
    m_strFavoritesPath = path;
    return path;
}

bool CFavoriteBackup::CopyMove(const std::wstring& source, const std::wstring& destination)
{
    bool complete = true;
    std::vector<std::wstring> names;
    if (!SBGetVectorFilesW(source.c_str(), names, SB_LIST_NAMES)) return false;
    for (const auto& name : names)
        complete = CopyInPlace(source + L"\\" + name, destination + L"\\" + name) && complete;
    // Linked folders are left out: they may lead back into the tree or to another drive. A linked folder in
    // the destination is not written through either: what it leads to is not the user's Favorites.
    if (!SBGetVectorSubDirsW(source.c_str(), names, SB_LIST_NO_LINKED)) return false;
    for (const auto& name : names) {
        std::wstring to = destination + L"\\" + name;
        if (IsLink(to) || !SBRecursiveCreateDirectoryW(to.c_str())) {
            complete = false;
            continue;
        }
        complete = CopyMove(source + L"\\" + name, to) && complete;
    }
    return complete;
}

bool CFavoriteBackup::BackupFavoriteFiles(std::wstring destination)
{
    std::wstring from = qpath::WithoutTrailingSeparators(m_strFavoritesPath);
    std::wstring to = qpath::WithoutTrailingSeparators(destination);
    if (!CanCopyBetween(from, to) || !IsFolder(from) || IsSystemOwnedFolder(from)) return false;
    std::wstring fresh = to + L".tmp", previous = to + L".old";
    // A link among the names of the swap is never renamed, moved or deleted: what it leads to is not ours.
    if (IsLink(to) || IsLink(fresh) || IsLink(previous)) return false;
    if (!SBDeleteDirectoryW(fresh.c_str()) || !SBRecursiveCreateDirectoryW(fresh.c_str()) || !CopyMove(from, fresh)) {
        SBDeleteDirectoryW(fresh.c_str());
        return false;
    }
    // Swap: the previous backup is set aside, the new one takes its name, and only then is the old one removed.
    if (!SBDeleteDirectoryW(previous.c_str())) {
        SBDeleteDirectoryW(fresh.c_str());
        return false;
    }
    bool hadPrevious = IsFolder(to);
    if (hadPrevious && !MoveFileW(to.c_str(), previous.c_str())) {
        SBDeleteDirectoryW(fresh.c_str());
        return false;
    }
    if (!MoveFileW(fresh.c_str(), to.c_str())) {
        if (hadPrevious) MoveFileW(previous.c_str(), to.c_str());
        SBDeleteDirectoryW(fresh.c_str());
        return false;
    }
    if (hadPrevious) SBDeleteDirectoryW(previous.c_str());
    return true;
}

bool CFavoriteBackup::RestoreFavoriteFiles(std::wstring source)
{
    std::wstring from = qpath::WithoutTrailingSeparators(source);
    std::wstring to = qpath::WithoutTrailingSeparators(m_strFavoritesPath);
    if (!CanCopyBetween(from, to) || !IsFolder(from) || IsSystemOwnedFolder(to) ||
        !SBRecursiveCreateDirectoryW(to.c_str()))
        return false;
    return CopyMove(from, to);
}
}  // namespace Coldrith
