#include "BackupProgress.h"

namespace Coldrith {
int ProgressPermyriad(uint64_t done, uint64_t total)
{
    if (total == 0 || done >= total) return 10000;
    // Split the division so done * 10000 cannot overflow for any 64-bit total.
    uint64_t whole = done / total, rest = done % total;
    uint64_t value = whole * 10000 + (rest > UINT64_MAX / 10000 ? rest / (total / 10000) : rest * 10000 / total);
    return value > 10000 ? 10000 : static_cast<int>(value);
}

bool CProgressThrottle::ShouldSend(int value, uint32_t nowMs)
{
    if (value == m_iLast) return false;
    if (m_iLast >= 0 && value != 10000 && nowMs - m_uLastTime < m_uInterval) return false;
    m_iLast = value;
    m_uLastTime = nowMs;
    return true;
}
}  // namespace Coldrith
