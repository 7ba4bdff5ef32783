// Rules of the shortcut pages that need no window.
#pragma once

#include <string>

namespace ShortcutPage {

// The entry the scan is at, as the path line shows it: longer than 85 characters becomes its first 3
// characters, "..." and its last 79.
std::wstring ProgressPathText(const std::wstring& path);

// A shortcut's full path split at its last backslash: the file name after it, the folder before it.
struct LinkParts {
    std::wstring name;
    std::wstring folder;
};
LinkParts SplitLinkPath(const std::wstring& linkPath);

// Every drive is offered for the scan except CD and DVD drives.
bool IsOfferedDriveType(unsigned driveType);

// Seconds since the scan started as "hh:mm:ss".
std::wstring ElapsedText(unsigned seconds);

// The progress bar has no real end: each tick moves it by 10 up to 100, then it starts again at 0.
int NextProgressPosition(int position);

}  // namespace ShortcutPage
