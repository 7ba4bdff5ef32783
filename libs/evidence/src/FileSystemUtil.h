#pragma once

#include <windows.h>

#include <string>

namespace Lumbrey {

// True when the file opens with full access and no sharing, i.e. nobody else has it open.
bool OpensExclusively(const std::wstring& path);

// Longest path the plain (non-"\\?\") file API accepts, without the terminating null.
const size_t kMaxUsablePath = MAX_PATH - 1;

}  // namespace Lumbrey
