#include "ScanFolders.h"

#include <windows.h>
#include <shlobj.h>

#include "QShellFolder.h"

namespace OneClick {

std::wstring JunkScanFolder()
{
    wchar_t windows[MAX_PATH] = {};
    const UINT length = ::GetWindowsDirectoryW(windows, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::wstring(windows) : std::wstring();
}

std::vector<std::wstring> ShortcutScanFolders()
{
    std::vector<std::wstring> folders;
    for (int csidl : {CSIDL_PERSONAL, CSIDL_DESKTOPDIRECTORY}) {
        const std::wstring path = qcore::SpecialFolderPath(csidl);
        if (!path.empty()) folders.push_back(path);
    }
    return folders;
}

}  // namespace OneClick
