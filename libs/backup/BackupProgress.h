// Progress arithmetic shared by backup and restore.
#pragma once

#include "ColdrithApi.h"

#include <cstdint>

namespace Coldrith {
// done/total as 0..10000; an empty total counts as complete.
COLDRITH_API int ProgressPermyriad(uint64_t done, uint64_t total);

// Decides which progress values are worth a message: each message is a cross-thread SendMessageW, so a value
// goes out only when it changed and some time has passed since the last one; the first and 10000 always go.
class COLDRITH_API CProgressThrottle {
public:
    explicit CProgressThrottle(uint32_t intervalMs = 40) : m_uInterval(intervalMs) {}
    bool ShouldSend(int value, uint32_t nowMs);
    void Reset() { m_iLast = -1; }

private:
    uint32_t m_uInterval;
    int m_iLast = -1;
    uint32_t m_uLastTime = 0;
};
}  // namespace Coldrith
