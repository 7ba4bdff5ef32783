// The identifiers of the update agent's interfaces and classes, defined once (the compiler's libraries have none).
#include <initguid.h>

#include "WuaInterfaces.h"

DEFINE_GUID(CLSID_UpdateCollection, 0x13639463, 0x00DB, 0x4646, 0x80, 0x3D, 0x52, 0x80, 0x26, 0x14, 0x0D, 0x88);
