#include "Folders.h"

#include <windows.h>

namespace Moravin {

namespace {

std::wstring WithoutTrailingBackslash(const wchar_t* buffer, UINT length)
{
    if (length == 0 || length >= MAX_PATH) return std::wstring();
    std::wstring folder(buffer, length);
    if (!folder.empty() && folder.back() == L'\\') folder.pop_back();
    return folder;
}

}  // namespace

std::wstring SystemFolder()
{
    wchar_t buffer[MAX_PATH] = {};
    return WithoutTrailingBackslash(buffer, GetSystemDirectoryW(buffer, MAX_PATH));
}

std::wstring WindowsFolder()
{
    wchar_t buffer[MAX_PATH] = {};
    return WithoutTrailingBackslash(buffer, GetWindowsDirectoryW(buffer, MAX_PATH));
}

}  // namespace Moravin
