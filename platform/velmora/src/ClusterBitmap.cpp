#include "ClusterBitmap.h"

#include <algorithm>

namespace velmora {

namespace {

// Bits [lo, hi) of a word set, 0 <= lo < hi <= 64.
uint64_t Mask(unsigned lo, unsigned hi)
{
    const uint64_t upper = hi == 64 ? ~0ull : (1ull << hi) - 1;
    return upper & ~((1ull << lo) - 1);
}

}  // namespace

void ClusterBitmap::Resize(uint64_t clusters)
{
    m_clusters = clusters;
    m_words.assign(static_cast<size_t>((clusters + 63) / 64), 0);
}

void ClusterBitmap::SetRange(uint64_t first, uint64_t count, bool used)
{
    const uint64_t end = std::min(m_clusters, first + count);
    for (uint64_t lcn = first; lcn < end;) {
        const unsigned lo = static_cast<unsigned>(lcn & 63);
        const unsigned hi = static_cast<unsigned>(std::min<uint64_t>(64, lo + (end - lcn)));
        uint64_t& word = m_words[static_cast<size_t>(lcn >> 6)];
        word = used ? word | Mask(lo, hi) : word & ~Mask(lo, hi);
        lcn += hi - lo;
    }
}

void ClusterBitmap::Assign(uint64_t first, uint64_t count, const uint8_t* bits)
{
    const uint64_t end = std::min(m_clusters, first + count);
    if ((first & 63) == 0) {
        // Whole words at once; the tail bit by bit.
        uint64_t k = 0;
        for (; first + k + 64 <= end; k += 64) {
            uint64_t word = 0;
            for (int b = 7; b >= 0; --b) word = word << 8 | bits[k / 8 + static_cast<unsigned>(b)];
            m_words[static_cast<size_t>((first + k) >> 6)] = word;
        }
        for (; first + k < end; ++k) SetRange(first + k, 1, (bits[k / 8] >> (k & 7)) & 1);
        return;
    }
    for (uint64_t k = 0; first + k < end; ++k) SetRange(first + k, 1, (bits[k / 8] >> (k & 7)) & 1);
}

uint64_t ClusterBitmap::CountFree(uint64_t first, uint64_t count) const
{
    const uint64_t end = std::min(m_clusters, first + count);
    uint64_t used = 0;
    for (uint64_t lcn = first; lcn < end;) {
        const unsigned lo = static_cast<unsigned>(lcn & 63);
        const unsigned hi = static_cast<unsigned>(std::min<uint64_t>(64, lo + (end - lcn)));
        used += static_cast<uint64_t>(__builtin_popcountll(m_words[static_cast<size_t>(lcn >> 6)] & Mask(lo, hi)));
        lcn += hi - lo;
    }
    return end > first ? end - first - used : 0;
}

uint64_t ClusterBitmap::Next(uint64_t from, uint64_t end, bool used) const
{
    while (from < end) {
        const unsigned lo = static_cast<unsigned>(from & 63);
        uint64_t word = m_words[static_cast<size_t>(from >> 6)];
        if (!used) word = ~word;
        word &= Mask(lo, 64);
        if (word) return std::min(end, (from & ~63ull) + static_cast<uint64_t>(__builtin_ctzll(word)));
        from = (from & ~63ull) + 64;
    }
    return end;
}

uint64_t ClusterBitmap::FindFreeRun(uint64_t length, uint64_t from, uint64_t avoidStart, uint64_t avoidEnd) const
{
    if (length == 0) return kNone;
    uint64_t lcn = from;
    while (lcn < m_clusters) {
        if (avoidStart < avoidEnd && lcn >= avoidStart && lcn < avoidEnd) lcn = avoidEnd;
        const uint64_t start = Next(lcn, m_clusters, false);
        if (start >= m_clusters) break;
        uint64_t limit = m_clusters;
        if (avoidStart < avoidEnd && start < avoidStart) limit = avoidStart;
        if (avoidStart < avoidEnd && start >= avoidStart && start < avoidEnd) {
            lcn = avoidEnd;
            continue;
        }
        const uint64_t stop = Next(start, limit, true);
        if (stop - start >= length) return start;
        lcn = stop;
    }
    return kNone;
}

}  // namespace velmora
