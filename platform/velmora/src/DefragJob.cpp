#include "DefragJob.h"

#include <algorithm>
#include <new>

#include "ClusterBitmap.h"
#include "ClusterMap.h"

namespace velmora {

bool IsDeviceError(DWORD error)
{
    switch (error) {
    case ERROR_IO_DEVICE:
    case ERROR_NOT_READY:
    case ERROR_DEVICE_NOT_CONNECTED:
    case ERROR_DEV_NOT_EXIST:
    case ERROR_CRC:
    case ERROR_SECTOR_NOT_FOUND:
    case ERROR_GEN_FAILURE:
    case ERROR_WRITE_FAULT:
    case ERROR_READ_FAULT:
    case ERROR_INVALID_HANDLE:  // the volume was dismounted under us
        return true;
    default: return false;
    }
}

int JobErrorOf(DWORD error)
{
    switch (error) {
    case ERROR_ACCESS_DENIED:
    case ERROR_PRIVILEGE_NOT_HELD: return UDEFRAG_E_ACCESS;
    case ERROR_NOT_SUPPORTED:
    case ERROR_INVALID_FUNCTION: return UDEFRAG_E_UNSUPPORTED;
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY: return UDEFRAG_E_NO_MEMORY;
    default: return UDEFRAG_E_IO;
    }
}

namespace {

// Clusters of a file's pieces.
uint64_t ClustersOf(const std::vector<Extent>& extents)
{
    uint64_t n = 0;
    for (const Extent& e : extents) n += e.length;
    return n;
}

// A file can be moved as a whole when its pieces cover its clusters from the first one without holes, and the
// file system moves its data as stored (compressed, sparse and encrypted files are left alone, as are links).
bool IsMovable(const FileEntry& file, const std::vector<Extent>& extents)
{
    const DWORD keep = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_COMPRESSED | FILE_ATTRIBUTE_SPARSE_FILE |
                       FILE_ATTRIBUTE_ENCRYPTED | FILE_ATTRIBUTE_REPARSE_POINT;
    if (file.attributes & keep) return false;
    uint64_t vcn = extents.empty() ? 0 : extents.front().vcn;
    for (const Extent& e : extents) {
        if (e.vcn != vcn) return false;
        vcn += e.length;
    }
    return true;
}

class Job {
public:
    Job(Volume& volume, int jobType, int mapCells, const JobCallbacks& callbacks)
        : m_volume(volume), m_optimise(jobType == UDEFRAG_OPTIMIZE_JOB), m_mapCells(mapCells), m_callbacks(callbacks)
    {
        m_analysisShare = m_optimise ? 10.0 : 100.0;
    }

    int Run()
    {
        int rc = Analyse();
        if (rc < 0) return rc;
        if (m_optimise && !Stopped()) {
            m_record.stage = UDEFRAG_STAGE_OPTIMISE;
            rc = Optimise();
            if (rc < 0) return rc;
        }
        if (!Stopped()) m_record.percentage = 100.0;
        m_record.stage = UDEFRAG_STAGE_DONE;
        Report(true);
        return 0;
    }

private:
    struct Candidate {
        FileEntry file;
        std::vector<Extent> extents;
        uint64_t clusters;
    };

    bool Stopped()
    {
        if (!m_stopped && m_callbacks.terminator && m_callbacks.terminator(m_callbacks.context)) m_stopped = true;
        return m_stopped;
    }

    void Report(bool force)
    {
        if (!m_callbacks.progress) return;
        const DWORD now = ::GetTickCount();
        if (!force && m_reported && now - m_lastReport < kReportIntervalMs) return;
        m_reported = true;
        m_lastReport = now;
        m_record.cluster_map = m_map.Cells();
        m_record.cluster_map_size = m_record.cluster_map ? m_mapCells : 0;
        m_callbacks.progress(&m_record, m_callbacks.context);
    }

    int Analyse()
    {
        VolumeGeometry g;
        DWORD error = m_volume.Geometry(g);
        if (error != ERROR_SUCCESS) return JobErrorOf(error);
        if (g.totalClusters == 0 || g.bytesPerCluster == 0) return UDEFRAG_E_UNSUPPORTED;
        m_geometry = g;
        m_bitmap.Resize(g.totalClusters);
        error = m_volume.ReadBitmap(m_bitmap, 0, g.totalClusters);
        if (error != ERROR_SUCCESS) return JobErrorOf(error);
        m_map.Reset(g.totalClusters, m_mapCells);
        m_map.RecountFree(m_bitmap, 0, g.totalClusters);

        m_record.total_clusters = static_cast<int64_t>(g.totalClusters);
        m_record.free_clusters = static_cast<int64_t>(m_bitmap.CountFree(0, g.totalClusters));
        m_record.mft_size = static_cast<int64_t>(g.mftBytes);
        m_record.bytes_per_cluster = static_cast<int32_t>(g.bytesPerCluster);
        m_record.stage = UDEFRAG_STAGE_ANALYSE;
        const uint64_t used = g.totalClusters - static_cast<uint64_t>(m_record.free_clusters);
        Report(true);

        uint64_t seen = 0;
        DWORD fileError = ERROR_SUCCESS;
        error = m_volume.Walk([&](const FileEntry& file) {
            if (Stopped()) return false;
            const bool folder = (file.attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
            if (folder)
                ++m_record.directories;
            else
                ++m_record.files;
            if (file.attributes & FILE_ATTRIBUTE_COMPRESSED) ++m_record.compressed;

            std::vector<Extent> extents;
            const DWORD e = m_volume.Extents(file, extents);
            if (e != ERROR_SUCCESS) {
                if (IsDeviceError(e)) {
                    fileError = e;
                    return false;
                }
                return true;  // a file we may not read: its clusters show as the file system's
            }
            const bool fragmented = !folder && extents.size() > 1;
            m_map.AddExtents(extents, folder       ? ClusterMap::kFolder
                                      : fragmented ? ClusterMap::kFragmented
                                                   : ClusterMap::kFile);
            const uint64_t clusters = ClustersOf(extents);
            seen += clusters;
            if (fragmented) {
                ++m_record.fragmented_files;
                m_record.fragments += static_cast<int64_t>(extents.size());
                if (m_optimise && IsMovable(file, extents)) {
                    m_record.clusters_to_move += static_cast<int64_t>(clusters);
                    m_candidates.push_back({file, std::move(extents), clusters});
                }
            }
            m_record.percentage = m_analysisShare * (used ? std::min(1.0, double(seen) / double(used)) : 1.0);
            Report(false);
            return true;
        });
        if (fileError != ERROR_SUCCESS) return JobErrorOf(fileError);
        if (error != ERROR_SUCCESS && !(error == ERROR_CANCELLED && m_stopped)) return JobErrorOf(error);
        m_record.percentage = m_analysisShare;
        Report(true);
        return 0;
    }

    void UpdateProgress()
    {
        const double share = 100.0 - m_analysisShare;
        const double done =
            m_record.clusters_to_move ? double(m_record.processed_clusters) / double(m_record.clusters_to_move) : 1.0;
        m_record.percentage = m_analysisShare + share * std::min(1.0, done);
    }

    // Reads the bitmap again where clusters were freed or taken, and counts the change.
    DWORD RereadBitmap(const std::vector<Extent>& ranges)
    {
        for (const Extent& r : ranges) {
            const uint64_t before = m_bitmap.CountFree(r.lcn, r.length);
            const DWORD error = m_volume.ReadBitmap(m_bitmap, r.lcn, r.length);
            if (error != ERROR_SUCCESS) return error;
            m_record.free_clusters +=
                static_cast<int64_t>(m_bitmap.CountFree(r.lcn, r.length)) - static_cast<int64_t>(before);
            m_map.RecountFree(m_bitmap, r.lcn, r.length);
        }
        return ERROR_SUCCESS;
    }

    int Optimise()
    {
        // Smallest first: with little free space, most files become contiguous.
        std::stable_sort(m_candidates.begin(), m_candidates.end(),
                         [](const Candidate& a, const Candidate& b) { return a.clusters < b.clusters; });
        const uint64_t chunk =
            std::max<uint64_t>(1, std::min<uint64_t>(kMoveChunkBytes / m_geometry.bytesPerCluster, 0x7FFFFFFF));
        UpdateProgress();
        Report(true);
        for (Candidate& c : m_candidates) {
            if (Stopped()) break;
            const uint64_t target =
                m_bitmap.FindFreeRun(c.clusters, 0, m_geometry.reservedStart, m_geometry.reservedEnd);
            uint64_t moved = 0;
            if (target != ClusterBitmap::kNone) {
                const uint64_t firstVcn = c.extents.front().vcn;
                while (moved < c.clusters && !Stopped()) {
                    const uint32_t n = static_cast<uint32_t>(std::min(chunk, c.clusters - moved));
                    const DWORD error = m_volume.Move(c.file, firstVcn + moved, target + moved, n);
                    if (error != ERROR_SUCCESS) {
                        if (IsDeviceError(error)) return JobErrorOf(error);
                        break;  // locked, gone or refused: the file stays as it is
                    }
                    moved += n;
                    m_record.moved_clusters += n;
                    m_record.processed_clusters += n;
                    UpdateProgress();
                    Report(false);
                }
                const int rc = Settle(c, target, moved);
                if (rc < 0) return rc;
            }
            if (!m_stopped) m_record.processed_clusters += static_cast<int64_t>(c.clusters - moved);
            UpdateProgress();
            Report(false);
        }
        return 0;
    }

    // After the moves of one file: its new pieces, the map, the counters and the bitmap where it was and is.
    int Settle(const Candidate& c, uint64_t target, uint64_t moved)
    {
        if (moved == 0) return 0;
        std::vector<Extent> now;
        const DWORD error = m_volume.Extents(c.file, now);
        if (error != ERROR_SUCCESS && IsDeviceError(error)) return JobErrorOf(error);
        m_map.AddExtents(c.extents, ClusterMap::kFragmented, -1);
        m_record.fragmented_files -= 1;
        m_record.fragments -= static_cast<int64_t>(c.extents.size());
        if (error == ERROR_SUCCESS) {
            const bool fragmented = now.size() > 1;
            m_map.AddExtents(now, fragmented ? ClusterMap::kFragmented : ClusterMap::kFile);
            if (fragmented) {
                m_record.fragmented_files += 1;
                m_record.fragments += static_cast<int64_t>(now.size());
            }
        }
        std::vector<Extent> touched = c.extents;
        touched.push_back({0, target, moved});
        const DWORD reread = RereadBitmap(touched);
        return reread == ERROR_SUCCESS ? 0 : JobErrorOf(reread);
    }

    Volume& m_volume;
    const bool m_optimise;
    const int m_mapCells;
    const JobCallbacks m_callbacks;
    double m_analysisShare;
    udefrag_job_progress m_record = {};
    VolumeGeometry m_geometry;
    ClusterBitmap m_bitmap;
    ClusterMap m_map;
    std::vector<Candidate> m_candidates;
    bool m_stopped = false;
    bool m_reported = false;
    DWORD m_lastReport = 0;
};

}  // namespace

int RunJob(Volume& volume, int jobType, int mapCells, const JobCallbacks& callbacks)
{
    try {
        Job job(volume, jobType, mapCells, callbacks);
        return job.Run();
    } catch (const std::bad_alloc&) {
        return UDEFRAG_E_NO_MEMORY;
    }
}

}  // namespace velmora
