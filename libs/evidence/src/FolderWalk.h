#pragma once

#include <windows.h>

#include <string>

#include "QGuards.h"

namespace Lumbrey {

// One entry of a folder listing: its find data and its full path.
struct FolderEntry {
    const WIN32_FIND_DATAW& data;
    const std::wstring& path;
    bool IsFolder() const { return (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }
    // A junction or symbolic link: following it could leave the tree or loop.
    bool IsLink() const { return (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0; }
};

// Lists one folder (given without a trailing backslash; a drive as "C:") in the order the file system
// returns the entries and calls visit(entry) for each, until visit returns false. "." and ".." and entries
// whose full path is too long for the plain file API are left out, never cut.
// Returns false when visit asked to stop.
template <class Visit>
bool ListFolder(const std::wstring& folder, Visit&& visit);

// The listing without the visitor template, for the implementation file.
class FolderLister {
public:
    explicit FolderLister(const std::wstring& folder);
    // Moves to the next usable entry; false at the end.
    bool Next();
    FolderEntry Entry() const { return FolderEntry{m_data, m_path}; }

private:
    bool Usable() const;
    std::wstring m_prefix;
    std::wstring m_path;
    WIN32_FIND_DATAW m_data;
    qcore::UniqueFind m_find;
    bool m_first;
};

template <class Visit>
bool ListFolder(const std::wstring& folder, Visit&& visit)
{
    FolderLister lister(folder);
    while (lister.Next()) {
        if (!visit(lister.Entry())) return false;
    }
    return true;
}

}  // namespace Lumbrey
