#include "TweakRegistry.h"

#include <Common.h>

#include "Tessik/TweakView.h"

namespace reg {

REGSAM TweakView(HKEY root, bool wow64)
{
    return (root == HKEY_LOCAL_MACHINE && wow64) ? KEY_WOW64_64KEY : 0;
}

}  // namespace reg

namespace tessik {

REGSAM ViewFor(HKEY root)
{
    static const bool wow64 = IsWow64();
    return reg::TweakView(root, wow64);
}

}  // namespace tessik
