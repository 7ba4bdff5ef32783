// The health score of the one-click scan: 100 minus a capped term per category.
#pragma once

#include "ScanCounts.h"

namespace OneClick {

// 0 to 100. Each term is subtracted as a single-precision value and the result truncated before the next one,
// so every started fraction of a point costs a whole point.
int HealthScore(const ScanCounts& counts);

// Colour band of the score label: true (green) from 80 up.
inline bool IsScoreGood(int score) { return score >= 80; }

}  // namespace OneClick
