// What the uninstall helper counts as made by the copy of Quorvel it was installed with.
#pragma once

#include <string>

namespace uninstall {

// True when path lies in folder (a folder with a trailing backslash), compared without case; surrounding quotes
// and blanks of the path are ignored.
bool IsInFolder(const std::wstring& path, const std::wstring& folder);

// The folders beside the program that hold the user's data (backups, the registry backup database, the list of
// entries that could not be removed).
const wchar_t* const kUserDataFolders[] = {L"regbackup", L"data", L"FullBackup", L"FavoritesBackup"};

}  // namespace uninstall
