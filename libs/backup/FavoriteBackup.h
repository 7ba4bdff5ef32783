// Copies the user's browser Favorites folder into a backup folder and back.
#pragma once

#include "ColdrithApi.h"

#include <string>

namespace Coldrith {
class COLDRITH_API CFavoriteBackup {
public:
    CFavoriteBackup() {}

    // Reads the "Favorites" shell folder of the current user (environment references expanded; the system's
    // Favorites folder when the value is missing, empty or not a full path), stores it and returns it.
    std::wstring GetFavoritesFolderPath();
    // Replaces the destination with a copy of the Favorites tree: the copy is made beside it first and takes its
    // place only when every file was copied, so a failed run keeps the previous backup. False, with nothing
    // touched, for an empty, relative or root path on either side, one folder inside the other, or a Favorites
    // folder that does not exist.
    bool BackupFavoriteFiles(std::wstring destination);
    // Copies the source tree over the Favorites folder (favorites added since the backup stay; same-named ones
    // are overwritten). The same refusals; false as well when a file could not be copied.
    bool RestoreFavoriteFiles(std::wstring source);

protected:
    // Copies the tree below source into destination, linked folders (reparse points) left out. True when every
    // file and folder was copied.
    bool CopyMove(const std::wstring& source, const std::wstring& destination);

    std::wstring m_strFavoritesPath;
};

// Whether two folders may be copied one into the other: both full, non-root paths, neither inside the other.
COLDRITH_API bool CanCopyBetween(const std::wstring& from, const std::wstring& to);
// A full path other than a root: "C:\x" or "\\server\share\x"; not "", "x", "\x", "C:x", "C:\", "\\server\share".
COLDRITH_API bool IsFullNonRootPath(const std::wstring& path);
}  // namespace Coldrith
