#include "FileSystemUtil.h"

namespace Evidence {

bool OpensExclusively(const std::wstring& path)
{
    HANDLE h = CreateFileW(path.c_str(), GENERIC_ALL, 0, NULL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(h);
    return true;
}

} // namespace Evidence
