// The used/free state of every cluster of a volume, one bit each (set = used), with the searches the
// defragmenter needs.
#pragma once

#include <cstdint>
#include <vector>

namespace velmora {

class ClusterBitmap {
public:
    static constexpr uint64_t kNone = ~0ull;

    void Resize(uint64_t clusters);
    uint64_t Size() const { return m_clusters; }

    bool IsUsed(uint64_t lcn) const { return (m_words[lcn >> 6] >> (lcn & 63)) & 1; }
    void SetRange(uint64_t first, uint64_t count, bool used);
    // Copies `count` bits from a buffer in the file system's layout (bit k of byte k / 8 is cluster first + k).
    void Assign(uint64_t first, uint64_t count, const uint8_t* bits);

    uint64_t CountFree(uint64_t first, uint64_t count) const;
    // The first cluster of the first free run of at least `length` clusters that starts at or after `from` and
    // does not overlap [avoidStart, avoidEnd); kNone when there is none.
    uint64_t FindFreeRun(uint64_t length, uint64_t from = 0, uint64_t avoidStart = 0, uint64_t avoidEnd = 0) const;

private:
    // The first cluster at or after `from` (and before `end`) whose bit equals `used`; `end` when there is none.
    uint64_t Next(uint64_t from, uint64_t end, bool used) const;

    uint64_t m_clusters = 0;
    std::vector<uint64_t> m_words;
};

}  // namespace velmora
