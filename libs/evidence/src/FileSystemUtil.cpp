#include "FileSystemUtil.h"

namespace Evidence {

bool IsAbsolutePath(const std::wstring& path)
{
    if (path.size() >= 3 && iswalpha(path[0]) && path[1] == L':' && path[2] == L'\\')
        return true;
    return path.size() >= 3 && path[0] == L'\\' && path[1] == L'\\' && path[2] != L'\\';
}

bool OpensExclusively(const std::wstring& path)
{
    HANDLE h = CreateFileW(path.c_str(), GENERIC_ALL, 0, NULL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(h);
    return true;
}

} // namespace Evidence
