// Pure checks on entry names read from an archive, before anything reaches the file system.
#pragma once

#include "ZipApi.h"

#include <string>

namespace Zip {
// Whether Windows takes this file name for a device (CON, NUL, COM1, LPT with a superscript digit ...), with or without an
// extension and whatever trailing dots or spaces the device part has.
ZIP_API bool IsDeviceName(const std::wstring& component);

// Takes a stored name (either separator) and gives its last component, safe to create inside a target
// folder. Refuses "..", absolute, drive-letter and UNC paths, device names (CON, NUL, COM1 ...), reserved
// characters, control characters and names ending in a dot or a space; reason says why.
ZIP_API bool SafeLeafName(const std::wstring& stored, std::wstring& leaf, std::wstring& reason);
// The same checks on every component; gives the whole stored path as a relative path with "\" between its
// components ("./Data/s//c" -> "Data\s\c"), safe to create below a target folder.
ZIP_API bool SafeRelativePath(const std::wstring& stored, std::wstring& relative, std::wstring& reason);

// The path without drive or UNC prefix and without leading separators, as an archive stores it
// ("C:\Data\a.txt" -> "Data\a.txt", "\\srv\share\x" -> "srv\share\x", "\\?\C:\x" -> "x").
ZIP_API std::wstring StoredPathFromFull(const std::wstring& fullPath);

// Last component of a stored name once trailing separators are dropped ("Data\s\" -> "s").
ZIP_API std::wstring LastComponent(const std::wstring& stored);
}  // namespace Zip
