// The registry views the tools write: both on 64-bit Windows (so 32-bit and 64-bit programs see the same), the
// process's own elsewhere.
#pragma once

#include <windows.h>

#include <vector>

bool IsWindows64();
// The views to write: KEY_WOW64_64KEY and KEY_WOW64_32KEY on 64-bit Windows, else 0 alone.
std::vector<REGSAM> WriteViews();
// The view to read: the system's own (KEY_WOW64_64KEY on 64-bit Windows, else 0).
REGSAM NativeView();
