// Small text helpers of the backup services.
#pragma once

#include <string>

namespace Coldrith {
// An ASCII message (exception texts) as wide text.
std::wstring WidenAscii(const char* text);
// The full path the system makes of path (relative parts resolved); path itself when it cannot.
std::wstring FullPath(const std::wstring& path);
}  // namespace Coldrith
