// Whether a file is a whole registry export, checked before it is handed to the registry editor: the editor
// imports what it can of anything it is given and reports success all the same.
#pragma once

#include "ColdrithApi.h"

#include <string>

namespace Coldrith {
// The file's first line is a registry export header ("Windows Registry Editor Version 5.00" in UTF-16 or UTF-8,
// or "REGEDIT4"), and the file ends whole: with a line break, not inside a continued value, and in UTF-16 on a
// whole character.
COLDRITH_API bool IsWholeRegistryFile(const std::wstring& path);
// The same on a file's first and last bytes (head and tail may overlap in a short file) and its size.
COLDRITH_API bool IsWholeRegistryText(const std::string& head, const std::string& tail, unsigned long long size);
}  // namespace Coldrith
