#include "TweakRegistry.h"

#include <Common.h>

#include "Tessik/TweakView.h"

namespace tessik {

REGSAM TweakView(HKEY root, bool wow64) { return (root == HKEY_LOCAL_MACHINE && wow64) ? KEY_WOW64_64KEY : 0; }

REGSAM ViewFor(HKEY root)
{
    static const bool wow64 = IsWow64();
    return TweakView(root, wow64);
}

}  // namespace tessik
