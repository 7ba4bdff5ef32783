#include "PathProbe.h"

namespace bexlar {

namespace {

std::wstring FolderOf(UINT(WINAPI* get)(LPWSTR, UINT))
{
    wchar_t buf[MAX_PATH + 1] = L"";
    UINT n = get(buf, MAX_PATH);
    return (n > 0 && n < MAX_PATH) ? std::wstring(buf, n) : std::wstring();
}

}  // namespace

PathProbe::PathProbe(bool wow64) : wow64_(wow64)
{
    systemDir_ = FolderOf(GetSystemDirectoryW);
    windowsDir_ = FolderOf(GetWindowsDirectoryW);
}

DWORD PathProbe::Attributes(const std::wstring& path, DWORD* error)
{
    std::wstring key = qpath::FoldCase(path);
    auto it = memo_.find(key);
    if (it == memo_.end()) {
        Entry e;
        {
            qpath::FsRedirectionGuard redirectionOff(wow64_);
            e.attrs = GetFileAttributesW(path.c_str());
            e.error = e.attrs == INVALID_FILE_ATTRIBUTES ? GetLastError() : 0;
        }
        it = memo_.emplace(std::move(key), e).first;
    }
    if (error) *error = it->second.error;
    return it->second.attrs;
}

}  // namespace bexlar
