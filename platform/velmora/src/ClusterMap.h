// The cluster map handed to the caller: the volume cut into `cells` equal runs of clusters (the last one may be
// shorter), each shown in the state that covers most of its clusters. Kept up to date as files move by
// counting, per cell, the clusters of each kind.
#pragma once

#include <cstdint>
#include <vector>

#include "Volume.h"

namespace velmora {

class ClusterBitmap;

class ClusterMap {
public:
    enum Kind { kFragmented, kFolder, kFile, kKinds };

    // cells 0 gives an empty map (Cells() is then null).
    void Reset(uint64_t totalClusters, int cells);
    uint64_t ClustersPerCell() const { return m_perCell; }

    // Adds (or, with sign -1, removes) the pieces of one file as the kind.
    void AddExtents(const std::vector<Extent>& extents, Kind kind, int sign = 1);
    // Recounts the free clusters of the cells that cover [first, first + count) from the bitmap.
    void RecountFree(const ClusterBitmap& bitmap, uint64_t first, uint64_t count);

    // Recomputes the state of every cell and returns the cells (Reset's count of them).
    signed char* Cells();

    // The state of one cell from its counts: the kind with most clusters; used clusters of no known file count as
    // the file system's own. Ties go to the first of fragmented, folder, file, system, free.
    static signed char StateOf(uint64_t cellClusters, uint64_t freeClusters, const uint64_t kinds[kKinds]);

private:
    void AddRange(uint64_t lcn, uint64_t length, Kind kind, int sign);

    uint64_t m_total = 0;
    uint64_t m_perCell = 0;
    int m_cells = 0;
    std::vector<uint64_t> m_free;
    std::vector<uint64_t> m_kinds;  // m_cells * kKinds
    std::vector<signed char> m_states;
};

}  // namespace velmora
