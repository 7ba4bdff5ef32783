// A volume kept in memory for tests: clusters, a system area, folders and files with their pieces, and moves
// that rewrite the pieces as the file system would. Its layout comes from settings (a seed makes it
// repeatable): files are laid out from the start of the volume in shuffled pieces, so the fragmented ones are
// scattered among the others and the end of the volume stays free.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "ClusterBitmap.h"
#include "Volume.h"

namespace velmora {

struct SimulationSettings {
    uint64_t clusters = 65536;
    uint32_t clusterBytes = 4096;
    int folders = 40;
    int files = 600;
    int fragmentedPercent = 30;  // of the files
    uint64_t fileClusters = 0;   // size of every file; 0: sizes vary around what fills 60% of the volume
    int compressed = 12;         // files marked compressed (never moved)
    int locked = 4;              // fragmented files whose moves are refused as if another program held them
    unsigned seed = 1;
    DWORD moveMs = 0;         // time one move takes
    int failAfterMoves = -1;  // the device fails after this many moves (-1: never)
    std::string refused;      // drive letters the volume check refuses
    std::string failOpen;     // drive letters whose volume cannot be opened for a job
};

// Reads "key=value;key=value" (keys as the member names above in lower case with underscores: clusters,
// cluster_bytes, folders, files, fragmented_percent, file_clusters, compressed, locked, seed, move_ms, fail_after_moves,
// refused, fail_open). False for an unknown key or a bad number; the defaults stay for keys not named.
bool ParseSimulationSettings(const std::wstring& text, SimulationSettings& out);

class SimulatedDisk {
public:
    struct File {
        FileEntry entry;
        std::vector<Extent> extents;
        bool locked = false;
    };

    explicit SimulatedDisk(const SimulationSettings& settings);

    const SimulationSettings& Settings() const { return m_settings; }
    const ClusterBitmap& Bitmap() const { return m_bitmap; }
    const std::vector<File>& Files() const { return m_files; }
    uint64_t SystemClusters() const { return m_system; }
    int Moves() const { return m_moves; }

    // A handle for one job (the disk outlives it).
    std::unique_ptr<Volume> OpenVolume();

private:
    friend class SimulatedVolume;
    File* Find(const std::wstring& path);
    DWORD Move(const FileEntry& file, uint64_t vcn, uint64_t lcn, uint32_t count);

    SimulationSettings m_settings;
    ClusterBitmap m_bitmap;
    std::vector<File> m_files;
    std::map<std::wstring, size_t> m_index;  // path -> file
    uint64_t m_system = 0;
    uint64_t m_mftBytes = 0;
    int m_moves = 0;
    bool m_failed = false;
};

}  // namespace velmora
