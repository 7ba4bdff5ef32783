// Registry view of the tweak settings. A 32-bit build on 64-bit Windows would read and write HKLM\Software in
// Wow6432Node, where Windows never looks for these settings: HKLM goes through the 64-bit view there.
#pragma once

#include <windows.h>

namespace tessik {

REGSAM ViewFor(HKEY root);

}  // namespace tessik
