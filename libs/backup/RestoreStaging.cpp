#include "RestoreStaging.h"

#include "BackupText.h"

#include <vector>

namespace Coldrith
{
namespace
{
// Deletes the temporary files a run writes into its staging folder (name.tmp~<n>), then the folder. Anything
// else found there is not ours and stays, and so does the folder.
void EmptyAndRemove(const std::wstring& folder)
{
    WIN32_FIND_DATAW fd;
    qcore::UniqueFind find(FindFirstFileW((folder + L"\\*").c_str(), &fd));
    if (find)
    {
        std::vector<std::wstring> temps;
        do
        {
            std::wstring name = fd.cFileName;
            if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name.find(L".tmp~") != std::wstring::npos)
                temps.push_back(folder + L"\\" + name);
        } while (FindNextFileW(find.Get(), &fd));
        find.Reset();
        for (const auto& temp : temps)
        {
            SetFileAttributesW(temp.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileW(temp.c_str());
        }
    }
    RemoveDirectoryW(folder.c_str());
}
}

int CRestoreStaging::RemoveLeftovers(const std::wstring& target)
{
    std::wstring dir = WithoutTrailingSeparators(target);
    std::vector<std::wstring> candidates;
    WIN32_FIND_DATAW fd;
    qcore::UniqueFind find(FindFirstFileW((dir + L"\\" + NamePrefix() + L"*").c_str(), &fd));
    if (!find)
        return 0;
    do
    {
        if ((fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !(fd.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
            candidates.push_back(dir + L"\\" + fd.cFileName);
    } while (FindNextFileW(find.Get(), &fd));
    find.Reset();

    int removed = 0;
    for (const auto& folder : candidates)
    {
        // Without our marker the folder is the user's (an archive may well hold one of this name). A marker
        // that cannot be deleted is held by a run still going.
        if (!DeleteFileW((folder + L"\\" + MarkerName()).c_str()))
            continue;
        EmptyAndRemove(folder);
        ++removed;
    }
    return removed;
}

bool CRestoreStaging::Create(const std::wstring& target, const std::set<std::wstring>& takenNames)
{
    Remove();
    std::wstring dir = WithoutTrailingSeparators(target);
    RemoveLeftovers(dir);
    for (unsigned n = 1; n < 10000; ++n)
    {
        std::wstring name = NamePrefix() + std::to_wstring(n);
        if (takenNames.count(FoldCase(name)))
            continue;
        std::wstring path = dir + L"\\" + name;
        if (!CreateDirectoryW(path.c_str(), nullptr))
        {
            if (GetLastError() == ERROR_ALREADY_EXISTS)
                continue;
            return false;
        }
        // The marker stays open for the whole run, shared for reading only: a later run cannot delete it
        // and so leaves this folder alone while this run lives.
        m_marker.Reset(CreateFileW((path + L"\\" + MarkerName()).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                   CREATE_NEW, FILE_ATTRIBUTE_HIDDEN, nullptr));
        if (!m_marker)
        {
            RemoveDirectoryW(path.c_str());
            return false;
        }
        m_path = path;
        return true;
    }
    return false;
}

void CRestoreStaging::Remove()
{
    m_marker.Reset();
    if (m_path.empty())
        return;
    SetFileAttributesW((m_path + L"\\" + MarkerName()).c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW((m_path + L"\\" + MarkerName()).c_str());
    EmptyAndRemove(m_path);
    m_path.clear();
}
}
