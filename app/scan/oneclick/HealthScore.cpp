#include "HealthScore.h"

namespace OneClick {

namespace {

// weight - (limit - n) * weight / limit while n is within the limit, the whole weight above it.
double ScaledTerm(int n, int limit, double weight)
{
    if (n > limit) return weight;
    return weight - double(limit - n) * weight / double(limit);
}

}  // namespace

int HealthScore(const ScanCounts& counts)
{
    int c[kPartCount];
    for (int i = 0; i < kPartCount; ++i) c[i] = counts.n[i] < 0 ? 0 : counts.n[i];
    const double terms[kPartCount] = {
        ScaledTerm(c[kRegistry], 200, 25),
        ScaledTerm(c[kEvidence], 1000, 25),
        ScaledTerm(c[kJunk], 100, 25),
        ScaledTerm(c[kShortcut], 10, 15),
        double(c[kFileAssoc] > 10 ? 10 : c[kFileAssoc]),
    };
    int score = 100;
    for (double term : terms) score = int(float(score) - float(term));
    return score > 0 ? score : 0;
}

}  // namespace OneClick
