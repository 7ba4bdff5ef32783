// Numbers of the program's own window messages (those a page, or a window of a run, sends to itself from its
// workers). Each folder of the program owns one range of WM_APP numbers and allocates all of its messages in its
// own header, as one enum that starts at the folder's base: shell/ShellMessages.h, scan/ScanMessages.h,
// optimize/OptimizeMessages.h and tools/ToolsMessages.h. Two messages of one folder thus never share a number,
// and the static_assert at the end of each enum keeps the folder inside its range.
//
// The messages a library sends to a window it is given keep the numbers of the library's header, and the main
// window's messages those of PageIds.h; all of them are below WM_APP, so they never meet these.
#pragma once

#include <windows.h>

namespace AppMessages {

constexpr UINT kRangeSize = 0x100;
constexpr UINT kShellBase = WM_APP;
constexpr UINT kScanBase = kShellBase + kRangeSize;
constexpr UINT kOptimizeBase = kScanBase + kRangeSize;
constexpr UINT kToolsBase = kOptimizeBase + kRangeSize;
constexpr UINT kEnd = kToolsBase + kRangeSize;

// Clear of the numbers the window layer reflects to controls (WM_APP + 0x3C00 up) and of registered messages.
static_assert(kEnd <= WM_APP + 0x3C00, "the folders' ranges end below the reflected messages");

}  // namespace AppMessages
