#include "ShortcutPageRules.h"

#include <windows.h>

#include <cwchar>

#include "PathText.h"
#include "QPathText.h"

namespace ShortcutPage {

std::wstring ProgressPathText(const std::wstring& path) { return ScanPages::ShortenPath(path, 85, 3, 79); }

LinkParts SplitLinkPath(const std::wstring& linkPath)
{
    return LinkParts{qpath::FileNameOf(linkPath), qpath::ParentFolderOf(linkPath)};
}

bool IsOfferedDriveType(unsigned driveType) { return driveType != DRIVE_CDROM; }

std::wstring ElapsedText(unsigned seconds)
{
    wchar_t text[32];
    std::swprintf(text, 32, L"%02u:%02u:%02u", seconds / 3600, seconds / 60 % 60, seconds % 60);
    return text;
}

int NextProgressPosition(int position)
{
    const int next = position + 10;
    return next > 100 ? 0 : next;
}

}  // namespace ShortcutPage
