// The folders the one-click scan walks.
#pragma once

#include <string>
#include <vector>

namespace OneClick {

// The Windows folder (junk files).
std::wstring JunkScanFolder();
// The user's documents and desktop folders, those that exist (invalid shortcuts); nothing is created.
std::vector<std::wstring> ShortcutScanFolders();

}  // namespace OneClick
