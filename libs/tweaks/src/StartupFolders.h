// The files of the two Startup folders (the user's and all users') as start-up items.
#pragma once

#include <string>
#include <vector>

#include "Tessik/RegAutoStartupItemMan.h"

namespace tessik {

using StartupItem = reg::CRegAutoStartupItemMan::StartupItem;

// Appends the items of the user's Startup folder (root HKEY_CURRENT_USER), then of the common one
// (HKEY_LOCAL_MACHINE).
void AppendStartupFolderItems(std::vector<StartupItem>& items);
// Appends the files of one folder as items of that root (used for both folders).
void AppendFolderItems(const std::wstring& folder, HKEY root, std::vector<StartupItem>& items);
// The command a file starts: a shortcut's target (quoted when it holds a blank) and its arguments; any other file
// (or a shortcut without a file target) is started itself.
std::wstring CommandOfFile(const std::wstring& path);
// Moves the file into the recycle bin; true when it is gone afterwards (also when it was already gone).
bool RemoveStartupFile(const std::wstring& path);

}  // namespace tessik
