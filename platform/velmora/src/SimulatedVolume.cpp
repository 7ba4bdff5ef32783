#include "SimulatedVolume.h"

#include <algorithm>
#include <cwchar>

#include "QPathText.h"

namespace velmora {

namespace {

// A small repeatable generator (xorshift).
class Random {
public:
    explicit Random(unsigned seed) : m_state(seed ? seed : 0x9E3779B9u) {}
    unsigned Next()
    {
        m_state ^= m_state << 13;
        m_state ^= m_state >> 17;
        m_state ^= m_state << 5;
        return m_state;
    }
    unsigned Below(unsigned n) { return n ? Next() % n : 0; }

private:
    unsigned m_state;
};

bool ParseNumber(const std::wstring& text, unsigned long long& out)
{
    if (text.empty() || text.size() > 18) return false;
    out = 0;
    for (wchar_t c : text) {
        if (c < L'0' || c > L'9') return false;
        out = out * 10 + unsigned(c - L'0');
    }
    return true;
}

std::string Letters(const std::wstring& text)
{
    std::string out;
    for (wchar_t c : text)
        if (const wchar_t letter = qpath::DriveLetterOf(c)) out += char(letter);
    return out;
}

// Sorts pieces by file cluster and joins those that continue each other on the volume.
void Normalise(std::vector<Extent>& extents)
{
    std::sort(extents.begin(), extents.end(), [](const Extent& a, const Extent& b) { return a.vcn < b.vcn; });
    std::vector<Extent> joined;
    for (const Extent& e : extents) {
        if (!joined.empty() && joined.back().vcn + joined.back().length == e.vcn &&
            joined.back().lcn + joined.back().length == e.lcn)
            joined.back().length += e.length;
        else
            joined.push_back(e);
    }
    extents.swap(joined);
}

}  // namespace

bool ParseSimulationSettings(const std::wstring& text, SimulationSettings& out)
{
    size_t pos = 0;
    while (pos <= text.size()) {
        size_t end = text.find(L';', pos);
        if (end == std::wstring::npos) end = text.size();
        const std::wstring item = text.substr(pos, end - pos);
        pos = end + 1;
        if (item.find_first_not_of(L" \t") == std::wstring::npos) continue;
        const size_t eq = item.find(L'=');
        if (eq == std::wstring::npos) return false;
        const std::wstring key = item.substr(0, eq), value = item.substr(eq + 1);
        if (key == L"refused") {
            out.refused = Letters(value);
            continue;
        }
        if (key == L"fail_open") {
            out.failOpen = Letters(value);
            continue;
        }
        unsigned long long n = 0;
        const bool negative = !value.empty() && value[0] == L'-';
        if (!ParseNumber(negative ? value.substr(1) : value, n)) return false;
        if (key == L"fail_after_moves") {
            out.failAfterMoves = negative ? -1 : int(std::min<unsigned long long>(n, 0x7FFFFFFF));
            continue;
        }
        if (negative) return false;
        if (key == L"clusters" && n >= 64)
            out.clusters = n;
        else if (key == L"cluster_bytes" && n >= 512 && n <= (1u << 21))
            out.clusterBytes = uint32_t(n);
        else if (key == L"folders" && n <= 100000)
            out.folders = int(n);
        else if (key == L"files" && n <= 1000000)
            out.files = int(n);
        else if (key == L"fragmented_percent" && n <= 100)
            out.fragmentedPercent = int(n);
        else if (key == L"file_clusters")
            out.fileClusters = n;
        else if (key == L"compressed" && n <= 1000000)
            out.compressed = int(n);
        else if (key == L"locked" && n <= 1000000)
            out.locked = int(n);
        else if (key == L"seed")
            out.seed = unsigned(n);
        else if (key == L"move_ms" && n <= 60000)
            out.moveMs = DWORD(n);
        else
            return false;
    }
    return true;
}

class SimulatedVolume : public Volume {
public:
    explicit SimulatedVolume(SimulatedDisk& disk) : m_disk(disk) {}

    DWORD Geometry(VolumeGeometry& out) override
    {
        if (m_disk.m_failed) return ERROR_IO_DEVICE;
        out = VolumeGeometry();
        out.totalClusters = m_disk.m_settings.clusters;
        out.bytesPerCluster = m_disk.m_settings.clusterBytes;
        out.mftBytes = m_disk.m_mftBytes;
        // The file system's reserve sits where the free end of the volume begins.
        out.reservedStart = out.totalClusters * 70 / 100;
        out.reservedEnd = out.totalClusters * 72 / 100;
        return ERROR_SUCCESS;
    }

    DWORD ReadBitmap(ClusterBitmap& bitmap, uint64_t first, uint64_t count) override
    {
        if (m_disk.m_failed) return ERROR_IO_DEVICE;
        const uint64_t end = std::min(bitmap.Size(), first + count);
        for (uint64_t lcn = first; lcn < end; ++lcn) bitmap.SetRange(lcn, 1, m_disk.m_bitmap.IsUsed(lcn));
        return ERROR_SUCCESS;
    }

    DWORD Walk(const std::function<bool(const FileEntry&)>& visit) override
    {
        if (m_disk.m_failed) return ERROR_IO_DEVICE;
        for (const SimulatedDisk::File& f : m_disk.m_files)
            if (!visit(f.entry)) return ERROR_CANCELLED;
        return ERROR_SUCCESS;
    }

    DWORD Extents(const FileEntry& file, std::vector<Extent>& out) override
    {
        if (m_disk.m_failed) return ERROR_IO_DEVICE;
        const SimulatedDisk::File* f = m_disk.Find(file.path);
        if (!f) return ERROR_FILE_NOT_FOUND;
        out = f->extents;
        return ERROR_SUCCESS;
    }

    DWORD Move(const FileEntry& file, uint64_t vcn, uint64_t lcn, uint32_t count) override
    {
        return m_disk.Move(file, vcn, lcn, count);
    }

private:
    SimulatedDisk& m_disk;
};

SimulatedDisk::SimulatedDisk(const SimulationSettings& settings) : m_settings(settings)
{
    const uint64_t clusters = settings.clusters;
    m_bitmap.Resize(clusters);
    m_system = std::min<uint64_t>(clusters / 4, clusters / 64 + 16);
    m_bitmap.SetRange(0, m_system, true);
    m_mftBytes = uint64_t(settings.files + settings.folders + 16) * 1024;

    Random random(settings.seed);
    // Files fill about 60% of the volume.
    const uint64_t space = clusters * 60 / 100 > m_system ? clusters * 60 / 100 - m_system : 1;
    const uint64_t average = std::max<uint64_t>(2, space / uint64_t(std::max(1, settings.files + settings.folders)));
    const int fragmentedFiles = settings.files * settings.fragmentedPercent / 100;

    struct Piece {
        size_t file;
        uint64_t vcn, length;
    };
    std::vector<Piece> pieces;
    for (int d = 0; d < settings.folders; ++d) {
        m_files.push_back({{L"folder" + std::to_wstring(d), FILE_ATTRIBUTE_DIRECTORY}, {}, false});
        pieces.push_back({m_files.size() - 1, 0, 1});
    }
    for (int i = 0; i < settings.files; ++i) {
        const std::wstring folder = settings.folders ? L"folder" + std::to_wstring(i % settings.folders) + L"\\" : L"";
        DWORD attributes = FILE_ATTRIBUTE_ARCHIVE;
        if (i >= settings.files - settings.compressed) attributes |= FILE_ATTRIBUTE_COMPRESSED;
        const bool fragmented = i < fragmentedFiles;
        File file{{folder + L"file" + std::to_wstring(i) + L".dat", attributes}, {}, fragmented && i < settings.locked};
        m_files.push_back(file);
        const uint64_t size = settings.fileClusters
                                  ? settings.fileClusters
                                  : 1 + random.Below(unsigned(std::min<uint64_t>(2 * average, 0x7FFFFFFF)));
        const uint64_t parts = fragmented ? std::min<uint64_t>(std::max<uint64_t>(size, 2), 2 + random.Below(4)) : 1;
        const uint64_t total = std::max(size, parts);
        for (uint64_t p = 0, vcn = 0; p < parts; ++p) {
            const uint64_t length = p + 1 == parts ? total - vcn : total / parts;
            pieces.push_back({m_files.size() - 1, vcn, length});
            vcn += length;
        }
    }
    for (size_t i = pieces.size(); i > 1; --i) std::swap(pieces[i - 1], pieces[random.Below(unsigned(i))]);

    uint64_t cursor = m_system;
    for (const Piece& piece : pieces) {
        uint64_t lcn = cursor + piece.length <= clusters ? cursor : m_bitmap.FindFreeRun(piece.length, m_system);
        if (lcn == ClusterBitmap::kNone) continue;  // the volume is full: the file ends early
        m_bitmap.SetRange(lcn, piece.length, true);
        m_files[piece.file].extents.push_back({piece.vcn, lcn, piece.length});
        if (lcn == cursor) cursor += piece.length + (random.Below(4) == 0 ? 1 + random.Below(3) : 0);
    }
    for (size_t i = 0; i < m_files.size(); ++i) {
        Normalise(m_files[i].extents);
        m_index[m_files[i].entry.path] = i;
    }
}

std::unique_ptr<Volume> SimulatedDisk::OpenVolume() { return std::unique_ptr<Volume>(new SimulatedVolume(*this)); }

SimulatedDisk::File* SimulatedDisk::Find(const std::wstring& path)
{
    const auto found = m_index.find(path);
    return found == m_index.end() ? nullptr : &m_files[found->second];
}

DWORD SimulatedDisk::Move(const FileEntry& entry, uint64_t vcn, uint64_t lcn, uint32_t count)
{
    if (m_failed) return ERROR_IO_DEVICE;
    ++m_moves;
    if (m_settings.failAfterMoves >= 0 && m_moves > m_settings.failAfterMoves) {
        m_failed = true;
        return ERROR_IO_DEVICE;
    }
    if (m_settings.moveMs) ::Sleep(m_settings.moveMs);  // the disk's own time for the move
    File* file = Find(entry.path);
    if (!file) return ERROR_FILE_NOT_FOUND;
    if (file->locked) return ERROR_SHARING_VIOLATION;
    if (count == 0 || lcn + count > m_bitmap.Size() || m_bitmap.CountFree(lcn, count) != count)
        return ERROR_INVALID_PARAMETER;
    uint64_t covered = 0;
    for (const Extent& e : file->extents)
        covered += e.vcn < vcn + count && vcn < e.vcn + e.length
                       ? std::min(e.vcn + e.length, vcn + count) - std::max(e.vcn, vcn)
                       : 0;
    if (covered != count) return ERROR_INVALID_PARAMETER;

    std::vector<Extent> rewritten;
    for (const Extent& e : file->extents) {
        const uint64_t end = e.vcn + e.length;
        if (end <= vcn || e.vcn >= vcn + count) {
            rewritten.push_back(e);
            continue;
        }
        if (e.vcn < vcn) rewritten.push_back({e.vcn, e.lcn, vcn - e.vcn});
        if (end > vcn + count) rewritten.push_back({vcn + count, e.lcn + (vcn + count - e.vcn), end - vcn - count});
        const uint64_t from = std::max(e.vcn, vcn);
        m_bitmap.SetRange(e.lcn + (from - e.vcn), std::min(end, vcn + count) - from, false);
    }
    rewritten.push_back({vcn, lcn, count});
    m_bitmap.SetRange(lcn, count, true);
    Normalise(rewritten);
    file->extents.swap(rewritten);
    return ERROR_SUCCESS;
}

}  // namespace velmora
