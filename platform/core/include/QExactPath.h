// Paths that name exactly the entry the user chose. Plain Win32 paths drop trailing dots and blanks, so
// "name." opens "name"; the "\\?\" form passes the name to the file system as it stands.
#pragma once

#include <string>

namespace qcore {

// "C:\dir\name." as "\\?\C:\dir\name.", "\\server\share\x" as "\\?\UNC\server\share\x" ('/' read as '\');
// a path already in that form, or not absolute, is returned as it is.
std::wstring ExactPath(const std::wstring& path);
// Deletes the file of exactly this name; false with the system's last error when it could not.
bool DeleteExactFile(const std::wstring& path);

}  // namespace qcore
