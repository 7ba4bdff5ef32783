// Path text shared by the scans, the repairs and the pages: what an absolute path is, the parts of a path, and
// letter case compared by the system's Unicode tables (not only A-Z). Text only: nothing here asks the disk.
#pragma once

#include <string>

namespace qpath {

inline bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }
// A-Z or a-z: the letters a drive can have.
inline bool IsDriveLetter(wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z'); }
// The drive letter in upper case ('C' for 'c' or 'C'); 0 for anything that is not a drive letter.
inline wchar_t DriveLetterOf(wchar_t c) { return IsDriveLetter(c) ? static_cast<wchar_t>(c & ~0x20) : 0; }

// "X:\..." or "X:/..." on a drive letter A-Z, or "\\server\...": a path that does not depend on the current
// drive or folder. "C:name", "\name" and "\\\..." are not absolute.
bool IsAbsolutePath(const std::wstring& path);

// The text in the system's lower case (any script, not only A-Z), for keys of maps and sets and for comparing
// with lower-case names.
std::wstring FoldCase(const std::wstring& text);
// The same on a buffer of `length` characters, for a caller that must not allocate (left as it is on failure).
void FoldCaseInPlace(wchar_t* text, size_t length);
// True when both texts are equal apart from letter case, by the system's folding (any script, not only A-Z).
bool EqualsNoCase(const std::wstring& a, const std::wstring& b);
// True when text starts (ends) with prefix (suffix) apart from letter case.
bool StartsWithNoCase(const std::wstring& text, const std::wstring& prefix);
bool EndsWithNoCase(const std::wstring& text, const std::wstring& suffix);

// The last component: what follows the last '\' or '/' ("a.txt" of "C:\dir\a.txt"; "" for "C:\dir\"); the
// whole text when it has no separator.
std::wstring FileNameOf(const std::wstring& path);
// What comes before the last '\' or '/' ("C:\dir" of "C:\dir\a.txt", "C:" of "C:\a.txt"); "" without one.
std::wstring ParentFolderOf(const std::wstring& path);
// The path without its trailing '\' and '/' ("C:\" becomes "C:", "\" becomes "").
std::wstring WithoutTrailingSeparators(const std::wstring& path);

}  // namespace qpath
