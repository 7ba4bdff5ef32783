#include "QShellFolder.h"

#include <shlobj.h>

namespace qcore {

std::wstring SpecialFolderPath(int csidl, DWORD type)
{
    wchar_t path[MAX_PATH] = L"";
    if (FAILED(::SHGetFolderPathW(nullptr, csidl, nullptr, type, path))) return std::wstring();
    return path;
}

}  // namespace qcore
