// Progress arithmetic shared by backup and restore.
#pragma once

#include "ColdrithApi.h"

#include <cstdint>

namespace Coldrith
{
// done/total as 0..10000; an empty total counts as complete.
COLDRITH_API int ProgressPermyriad(uint64_t done, uint64_t total);
}
