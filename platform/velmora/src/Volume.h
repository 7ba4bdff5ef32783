// What the defragmenter needs of a volume: its geometry, its cluster bitmap, a walk over its files, the pieces of
// a file, and a move of part of a file to free clusters. The real backend answers through the file system's
// control codes; the simulated one (test builds) from a volume in memory.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace velmora {

class ClusterBitmap;

struct VolumeGeometry {
    uint64_t totalClusters = 0;
    uint32_t bytesPerCluster = 0;
    uint64_t mftBytes = 0;       // 0 when the file system has no master file table
    uint64_t reservedStart = 0;  // a zone the file system keeps for itself (never a move target); empty when
    uint64_t reservedEnd = 0;    // start == end
};

// One contiguous piece of a file: file clusters [vcn, vcn + length) lie at volume clusters [lcn, lcn + length).
struct Extent {
    uint64_t vcn;
    uint64_t lcn;
    uint64_t length;
};

struct FileEntry {
    std::wstring path;
    DWORD attributes;  // FILE_ATTRIBUTE_...
};

class Volume {
public:
    virtual ~Volume() = default;

    virtual DWORD Geometry(VolumeGeometry& out) = 0;
    // Reads the used/free state of clusters [first, first + count) into the bitmap (sized to the volume).
    virtual DWORD ReadBitmap(ClusterBitmap& bitmap, uint64_t first, uint64_t count) = 0;
    // Calls visit for every file and folder below the root (not the root itself); reparse points are reported
    // but not entered. visit returns false to end the walk early (the walk then returns ERROR_CANCELLED).
    virtual DWORD Walk(const std::function<bool(const FileEntry&)>& visit) = 0;
    // The allocated pieces of a file in file order; empty for a file whose data lives in its directory record.
    // Pieces of a sparse or compressed file without clusters on the volume are left out.
    virtual DWORD Extents(const FileEntry& file, std::vector<Extent>& out) = 0;
    // Moves file clusters [vcn, vcn + count) to volume clusters [lcn, lcn + count), which must be free.
    virtual DWORD Move(const FileEntry& file, uint64_t vcn, uint64_t lcn, uint32_t count) = 0;
};

// Errors after which nothing more can be read from or written to the volume (the job fails), as opposed to
// errors of one file (locked, gone, refused), which only skip that file.
bool IsDeviceError(DWORD error);

}  // namespace velmora
