// The rules of the uninstall manager that need no registry: what is hidden, how sizes read, where an icon is,
// which keys may be removed and how a command names its program.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

// The values of an entry the hidden rule looks at.
struct UninstallFlags {
    std::wstring subkeyName;
    bool systemComponent = false;  // "SystemComponent" = 1
    bool hasParent = false;        // "ParentKeyName" present
    std::wstring releaseType;      // "ReleaseType"
};
// A system component, a part of another program, or an update (release type "Update", "Hotfix" or
// "Security Update", or a key named "KB" and digits): listed only when the user asks for everything.
bool IsHiddenEntry(const UninstallFlags& flags);

// "EstimatedSize" (KiB) as text: below 1 MiB "%u KB", below 1 GiB "%.1f MB", else "%.2f GB"; 0 gives "".
std::wstring EstimatedSizeText(DWORD kib);

// "DisplayIcon": "path[,index]" with optional quotes around the path; environment references stay for the caller.
struct IconLocation {
    std::wstring path;
    int index = 0;
};
IconLocation ParseIconLocation(const std::wstring& value);

// The installed-programs lists: the key path below HKLM or HKCU that a removable entry lies directly under.
bool IsRemovableEntryPath(const std::wstring& keyPath, HKEY& root, std::wstring& subkey);

// A command that starts with a quoted program, split into the program (without quotes) and the rest of the line
// after the closing quote, blanks kept. Both empty for a command without a leading quote.
struct SplitCommand {
    std::wstring program;
    std::wstring arguments;
};
SplitCommand SplitQuotedCommand(const std::wstring& command);

// A command without a leading quote, read as the longest prefix ending at a blank (or at the end) that
// `programOf` turns into a program file (its full name; empty when the prefix names none), and the rest of the
// line, blanks kept. The longest, so "C:\Program Files\My App\un.exe /x" runs un.exe even when "C:\Program"
// exists. Both empty when no prefix names a program.
SplitCommand SplitUnquotedCommand(const std::wstring& command,
                                  const std::function<std::wstring(const std::wstring& prefix)>& programOf);
