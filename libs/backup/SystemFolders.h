// Folders that belong to the system, which the backup services never write into or copy out of wholesale.
#pragma once

#include "ColdrithApi.h"

#include <string>

namespace Coldrith {
// True for a drive or share root, the Windows folder (its system folders included) and the program-files
// folders, or anything inside them; the folder a link leads to counts as well as its own name. Empty and
// relative paths count too (they name no folder of the user's).
COLDRITH_API bool IsSystemOwnedFolder(const std::wstring& path);
// Whether the path is a link (a reparse point: symbolic link, junction, mount point).
COLDRITH_API bool IsLink(const std::wstring& path);
}  // namespace Coldrith
