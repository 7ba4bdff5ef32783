// Small text helpers of the backup services.
#pragma once

#include "ColdrithApi.h"

#include <string>

namespace Coldrith
{
// Upper-case copy for comparisons that ignore case the way the file system does.
COLDRITH_API std::wstring FoldCase(const std::wstring& text);
// An ASCII message (exception texts) as wide text.
std::wstring WidenAscii(const char* text);
// The full path the system makes of path (relative parts resolved); path itself when it cannot.
std::wstring FullPath(const std::wstring& path);
// The path without trailing '\' or '/' ("C:\" becomes "C:"); a lone separator stays.
std::wstring WithoutTrailingSeparators(std::wstring path);
}
