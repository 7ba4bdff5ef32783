#include "ClusterMap.h"

#include <algorithm>

#include "ClusterBitmap.h"
#include "Velmora.h"

namespace velmora {

void ClusterMap::Reset(uint64_t totalClusters, int cells)
{
    m_total = totalClusters;
    m_cells = cells > 0 ? cells : 0;
    m_perCell = m_cells ? std::max<uint64_t>(1, (totalClusters + static_cast<uint64_t>(m_cells) - 1) / m_cells) : 0;
    m_free.assign(static_cast<size_t>(m_cells), 0);
    m_kinds.assign(static_cast<size_t>(m_cells) * kKinds, 0);
    m_states.assign(static_cast<size_t>(m_cells), UDEFRAG_CELL_FREE);
}

void ClusterMap::AddRange(uint64_t lcn, uint64_t length, Kind kind, int sign)
{
    const uint64_t end = std::min(m_total, lcn + length);
    while (lcn < end) {
        const uint64_t cell = lcn / m_perCell;
        const uint64_t cellEnd = std::min(end, (cell + 1) * m_perCell);
        uint64_t& count = m_kinds[static_cast<size_t>(cell) * kKinds + kind];
        const uint64_t n = cellEnd - lcn;
        count = sign > 0 ? count + n : count - std::min(count, n);
        lcn = cellEnd;
    }
}

void ClusterMap::AddExtents(const std::vector<Extent>& extents, Kind kind, int sign)
{
    if (!m_cells) return;
    for (const Extent& e : extents) AddRange(e.lcn, e.length, kind, sign);
}

void ClusterMap::RecountFree(const ClusterBitmap& bitmap, uint64_t first, uint64_t count)
{
    if (!m_cells || count == 0 || first >= m_total) return;
    const uint64_t lastCluster = std::min(m_total, first + count) - 1;
    for (uint64_t cell = first / m_perCell; cell <= lastCluster / m_perCell; ++cell) {
        const uint64_t start = cell * m_perCell;
        m_free[static_cast<size_t>(cell)] = bitmap.CountFree(start, std::min(m_perCell, m_total - start));
    }
}

signed char ClusterMap::StateOf(uint64_t cellClusters, uint64_t freeClusters, const uint64_t kinds[kKinds])
{
    if (cellClusters == 0) return UDEFRAG_CELL_FREE;
    const uint64_t known = kinds[kFragmented] + kinds[kFolder] + kinds[kFile];
    const uint64_t used = cellClusters - std::min(cellClusters, freeClusters);
    const uint64_t system = used > known ? used - known : 0;
    const struct {
        uint64_t clusters;
        signed char state;
    } order[] = {{kinds[kFragmented], UDEFRAG_CELL_FRAGMENTED},
                 {kinds[kFolder], UDEFRAG_CELL_FOLDER},
                 {kinds[kFile], UDEFRAG_CELL_FILE},
                 {system, UDEFRAG_CELL_SYSTEM},
                 {freeClusters, UDEFRAG_CELL_FREE}};
    uint64_t best = 0;
    signed char state = UDEFRAG_CELL_FREE;
    for (const auto& o : order) {
        if (o.clusters > best) {
            best = o.clusters;
            state = o.state;
        }
    }
    return state;
}

signed char* ClusterMap::Cells()
{
    if (!m_cells) return nullptr;
    for (int cell = 0; cell < m_cells; ++cell) {
        const uint64_t start = static_cast<uint64_t>(cell) * m_perCell;
        const uint64_t clusters = start < m_total ? std::min(m_perCell, m_total - start) : 0;
        m_states[static_cast<size_t>(cell)] =
            StateOf(clusters, m_free[static_cast<size_t>(cell)], &m_kinds[static_cast<size_t>(cell) * kKinds]);
    }
    return m_states.data();
}

}  // namespace velmora
