// Export macro of the zip layer, which is part of Coldrith.dll; plain code where there is no DLL (the native
// fuzzing build).
#pragma once

#ifdef _WIN32
#include "../ColdrithApi.h"
#define ZIP_API COLDRITH_API
#else
#define ZIP_API
#endif
