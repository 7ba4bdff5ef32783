// The view of the tweak settings for this process (see Tessik/TweakView.h).
#pragma once

#include <windows.h>

namespace tessik {

REGSAM ViewFor(HKEY root);

}  // namespace tessik
