#include "TweakRegistry.h"

#include <Common.h>

namespace tessik {

REGSAM ViewFor(HKEY root)
{
    static const bool wow64 = IsWow64();
    return (root == HKEY_LOCAL_MACHINE && wow64) ? KEY_WOW64_64KEY : 0;
}

}  // namespace tessik
