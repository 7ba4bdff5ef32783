// The junk-file page's table of file-name endings and their type descriptions, and the rules of its walk that
// need no file system.
#pragma once

#include <string>

namespace JunkPage {

struct JunkType {
    const wchar_t* ending;  // with its dot; "?" and "$" are plain characters
    const wchar_t* key;     // dictionary key of the type description
};

const int kJunkTypeCount = 30;
const JunkType& JunkTypeAt(int row);

// The first row whose ending the file name ends with (case ignored), or -1. Every ending is a dot and a short
// extension, so a name matches when the text after its last dot equals the ending's ("a.TMP", ".tmp").
int MatchJunkType(const wchar_t* name, size_t length);
inline int MatchJunkType(const std::wstring& name) { return MatchJunkType(name.c_str(), name.size()); }

// A folder inside the Windows folder is skipped with everything below it, except the Windows folder's TEMP
// folder and what lies below it. Both paths end in a backslash; case is ignored.
bool IsProtectedFolder(const std::wstring& folder, const std::wstring& windowsFolder);

// The current file as the status line shows it: a path longer than 58 characters becomes its first 5
// characters, "..." and its last 50.
std::wstring StatusPath(const std::wstring& path);

}  // namespace JunkPage
