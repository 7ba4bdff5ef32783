// One way to ask the shell where one of the system's special folders (CSIDL_...) is.
#pragma once

#include <windows.h>

#include <string>

namespace qcore {

// The folder's path as the shell gives it: where it is now (type SHGFP_TYPE_CURRENT, 0) or where it is by
// default (SHGFP_TYPE_DEFAULT, 1). Empty when the shell knows no such folder or has no path for it.
std::wstring SpecialFolderPath(int csidl, DWORD type = 0);

}  // namespace qcore
