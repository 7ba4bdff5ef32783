// The registry view in which the tweaks read and write a root. A 32-bit process on 64-bit Windows (wow64) would
// read and write HKLM\Software in Wow6432Node, where Windows never looks for these settings: HKLM goes through the
// 64-bit view there. Other roots, and every root of any other process, use the process's own view (0).
#pragma once

#include <windows.h>

#include "TessikApi.h"

namespace tessik {

TESSIK_API REGSAM TweakView(HKEY root, bool wow64);

}  // namespace tessik
