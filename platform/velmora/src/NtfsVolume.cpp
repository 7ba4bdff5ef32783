// The real backend: a drive's volume through the file system's defragmentation controls (volume bitmap,
// retrieval pointers, move file). Needs administrator rights; the moves are the file system's own, so a file's
// data is never copied by this code and stays whole whatever happens.
#include <windows.h>
#include <winioctl.h>

#include <algorithm>
#include <cstddef>
#include <cwchar>
#include <vector>

#include "Backend.h"
#include "ClusterBitmap.h"
#include "DefragJob.h"
#include "QGuards.h"

namespace velmora {

namespace {

const size_t kBitmapBufferBytes = 1 << 20;
const size_t kPointersBufferBytes = 64 << 10;

std::wstring RootOf(char letter) { return std::wstring(1, wchar_t(letter)) + L":\\"; }

bool IsProcessedFileSystem(const wchar_t* name)
{
    for (const wchar_t* fs : {L"NTFS", L"FAT32", L"FAT", L"exFAT"})
        if (_wcsicmp(name, fs) == 0) return true;
    return false;
}

HANDLE OpenVolumeHandle(char letter)
{
    const std::wstring device = std::wstring(L"\\\\.\\") + wchar_t(letter) + L":";
    return ::CreateFileW(device.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                         nullptr);
}

// A handle to a file or folder for the controls: attributes only, shared with everyone, never a link's target.
HANDLE OpenForControls(const std::wstring& path)
{
    return ::CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                         nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
}

// One call of the bitmap control from `lcn`: the clusters it answered for (first, count), into `buffer`.
DWORD QueryBitmap(HANDLE volume, uint64_t lcn, std::vector<uint8_t>& buffer, uint64_t& first, uint64_t& count,
                  uint64_t& remaining)
{
    STARTING_LCN_INPUT_BUFFER in;
    in.StartingLcn.QuadPart = static_cast<LONGLONG>(lcn);
    DWORD bytes = 0;
    const BOOL ok = ::DeviceIoControl(volume, FSCTL_GET_VOLUME_BITMAP, &in, sizeof(in), buffer.data(),
                                      static_cast<DWORD>(buffer.size()), &bytes, nullptr);
    const DWORD error = ok ? ERROR_SUCCESS : ::GetLastError();
    if (error != ERROR_SUCCESS && error != ERROR_MORE_DATA) return error;
    const size_t header = offsetof(VOLUME_BITMAP_BUFFER, Buffer);
    if (bytes < header) return ERROR_INVALID_DATA;
    const VOLUME_BITMAP_BUFFER* out = reinterpret_cast<const VOLUME_BITMAP_BUFFER*>(buffer.data());
    first = static_cast<uint64_t>(out->StartingLcn.QuadPart);
    remaining = static_cast<uint64_t>(out->BitmapSize.QuadPart);
    count = std::min<uint64_t>(remaining, uint64_t(bytes - header) * 8);
    return ERROR_SUCCESS;
}

class NtfsVolume : public Volume {
public:
    NtfsVolume(char letter, HANDLE volume) : m_letter(letter), m_volume(volume) {}

    DWORD Geometry(VolumeGeometry& out) override
    {
        std::vector<uint8_t> buffer(offsetof(VOLUME_BITMAP_BUFFER, Buffer) + 8);
        uint64_t first = 0, count = 0, remaining = 0;
        DWORD error = QueryBitmap(m_volume.Get(), 0, buffer, first, count, remaining);
        if (error != ERROR_SUCCESS) return error;
        out = VolumeGeometry();
        out.totalClusters = first + remaining;

        NTFS_VOLUME_DATA_BUFFER ntfs = {};
        DWORD bytes = 0;
        if (::DeviceIoControl(m_volume.Get(), FSCTL_GET_NTFS_VOLUME_DATA, nullptr, 0, &ntfs, sizeof(ntfs), &bytes,
                              nullptr)) {
            out.bytesPerCluster = ntfs.BytesPerCluster;
            out.mftBytes = static_cast<uint64_t>(ntfs.MftValidDataLength.QuadPart);
            out.reservedStart = static_cast<uint64_t>(ntfs.MftZoneStart.QuadPart);
            out.reservedEnd = static_cast<uint64_t>(ntfs.MftZoneEnd.QuadPart);
            return ERROR_SUCCESS;
        }
        DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, clusters = 0;
        if (!::GetDiskFreeSpaceW(RootOf(m_letter).c_str(), &sectorsPerCluster, &bytesPerSector, &freeClusters,
                                 &clusters))
            return ::GetLastError();
        out.bytesPerCluster = sectorsPerCluster * bytesPerSector;
        return ERROR_SUCCESS;
    }

    DWORD ReadBitmap(ClusterBitmap& bitmap, uint64_t first, uint64_t count) override
    {
        std::vector<uint8_t> buffer(offsetof(VOLUME_BITMAP_BUFFER, Buffer) + kBitmapBufferBytes);
        const uint64_t end = std::min(bitmap.Size(), first + count);
        uint64_t lcn = first & ~7ull;  // the control answers from a byte boundary
        while (lcn < end) {
            uint64_t answered = 0, n = 0, remaining = 0;
            const DWORD error = QueryBitmap(m_volume.Get(), lcn, buffer, answered, n, remaining);
            if (error != ERROR_SUCCESS) return error;
            if (n == 0 || answered > lcn) return ERROR_INVALID_DATA;
            const VOLUME_BITMAP_BUFFER* out = reinterpret_cast<const VOLUME_BITMAP_BUFFER*>(buffer.data());
            bitmap.Assign(answered, n, out->Buffer);
            lcn = answered + n;
        }
        return ERROR_SUCCESS;
    }

    DWORD Walk(const std::function<bool(const FileEntry&)>& visit) override
    {
        // Long paths: the \\?\ form has no MAX_PATH limit.
        std::vector<std::wstring> folders{std::wstring(L"\\\\?\\") + RootOf(m_letter)};
        bool root = true;
        while (!folders.empty()) {
            const std::wstring folder = folders.back();
            folders.pop_back();
            WIN32_FIND_DATAW data;
            qcore::UniqueFind find(FindFirst(folder + L"*", data));
            if (!find) {
                if (root) return ::GetLastError();
                continue;  // a folder we may not list
            }
            root = false;
            do {
                if (wcscmp(data.cFileName, L".") == 0 || wcscmp(data.cFileName, L"..") == 0) continue;
                FileEntry entry{folder + data.cFileName, data.dwFileAttributes};
                if (!visit(entry)) return ERROR_CANCELLED;
                if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
                    !(data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
                    folders.push_back(entry.path + L"\\");
            } while (::FindNextFileW(find.Get(), &data));
        }
        return ERROR_SUCCESS;
    }

    DWORD Extents(const FileEntry& file, std::vector<Extent>& out) override
    {
        out.clear();
        qcore::UniqueFile handle(OpenForControls(file.path));
        if (!handle) return ::GetLastError();
        std::vector<uint8_t> buffer(kPointersBufferBytes);
        uint64_t vcn = 0;
        for (;;) {
            STARTING_VCN_INPUT_BUFFER in;
            in.StartingVcn.QuadPart = static_cast<LONGLONG>(vcn);
            DWORD bytes = 0;
            const BOOL ok = ::DeviceIoControl(handle.Get(), FSCTL_GET_RETRIEVAL_POINTERS, &in, sizeof(in),
                                              buffer.data(), static_cast<DWORD>(buffer.size()), &bytes, nullptr);
            const DWORD error = ok ? ERROR_SUCCESS : ::GetLastError();
            if (error == ERROR_HANDLE_EOF) return ERROR_SUCCESS;  // no clusters: the data lives in the record
            if (error != ERROR_SUCCESS && error != ERROR_MORE_DATA) return error;
            const RETRIEVAL_POINTERS_BUFFER* rp = reinterpret_cast<const RETRIEVAL_POINTERS_BUFFER*>(buffer.data());
            if (bytes < offsetof(RETRIEVAL_POINTERS_BUFFER, Extents) || rp->ExtentCount == 0) return ERROR_SUCCESS;
            vcn = static_cast<uint64_t>(rp->StartingVcn.QuadPart);
            for (DWORD i = 0; i < rp->ExtentCount; ++i) {
                const uint64_t next = static_cast<uint64_t>(rp->Extents[i].NextVcn.QuadPart);
                const LONGLONG lcn = rp->Extents[i].Lcn.QuadPart;
                if (next <= vcn) return ERROR_INVALID_DATA;
                if (lcn >= 0) Append(out, {vcn, static_cast<uint64_t>(lcn), next - vcn});
                vcn = next;
            }
            if (error == ERROR_SUCCESS) return ERROR_SUCCESS;
        }
    }

    DWORD Move(const FileEntry& file, uint64_t vcn, uint64_t lcn, uint32_t count) override
    {
        qcore::UniqueFile handle(OpenForControls(file.path));
        if (!handle) return ::GetLastError();
        MOVE_FILE_DATA move = {};
        move.FileHandle = handle.Get();
        move.StartingVcn.QuadPart = static_cast<LONGLONG>(vcn);
        move.StartingLcn.QuadPart = static_cast<LONGLONG>(lcn);
        move.ClusterCount = count;
        DWORD bytes = 0;
        if (!::DeviceIoControl(m_volume.Get(), FSCTL_MOVE_FILE, &move, sizeof(move), nullptr, 0, &bytes, nullptr))
            return ::GetLastError();
        return ERROR_SUCCESS;
    }

private:
    // A piece that continues the previous one on the volume is the same piece.
    static void Append(std::vector<Extent>& out, const Extent& e)
    {
        if (!out.empty() && out.back().vcn + out.back().length == e.vcn && out.back().lcn + out.back().length == e.lcn)
            out.back().length += e.length;
        else
            out.push_back(e);
    }

    // The large-fetch flag speeds up walks on Windows 7 and later; older systems refuse it.
    HANDLE FindFirst(const std::wstring& pattern, WIN32_FIND_DATAW& data)
    {
        const DWORD kLargeFetch = 2;  // FIND_FIRST_EX_LARGE_FETCH
        if (m_largeFetch) {
            HANDLE h = ::FindFirstFileExW(pattern.c_str(), FindExInfoStandard, &data, FindExSearchNameMatch, nullptr,
                                          kLargeFetch);
            if (h != INVALID_HANDLE_VALUE || ::GetLastError() != ERROR_INVALID_PARAMETER) return h;
            m_largeFetch = false;
        }
        return ::FindFirstFileExW(pattern.c_str(), FindExInfoStandard, &data, FindExSearchNameMatch, nullptr, 0);
    }

    char m_letter;
    qcore::UniqueFile m_volume;
    bool m_largeFetch = true;
};

}  // namespace

int CheckVolume(char letter)
{
    const std::wstring root = RootOf(letter);
    if (::GetDriveTypeW(root.c_str()) != DRIVE_FIXED) return UDEFRAG_E_UNSUPPORTED;
    wchar_t fileSystem[MAX_PATH + 1] = L"";
    if (!::GetVolumeInformationW(root.c_str(), nullptr, 0, nullptr, nullptr, nullptr, fileSystem, MAX_PATH + 1) ||
        !IsProcessedFileSystem(fileSystem))
        return UDEFRAG_E_UNSUPPORTED;
    qcore::UniqueFile volume(OpenVolumeHandle(letter));
    if (!volume) return JobErrorOf(::GetLastError());
    // The bitmap control is the first the job needs: where it is refused, nothing can be done.
    std::vector<uint8_t> buffer(offsetof(VOLUME_BITMAP_BUFFER, Buffer) + 8);
    uint64_t first = 0, count = 0, remaining = 0;
    const DWORD error = QueryBitmap(volume.Get(), 0, buffer, first, count, remaining);
    return error == ERROR_SUCCESS ? 0 : JobErrorOf(error);
}

int OpenVolume(char letter, std::unique_ptr<Volume>& out)
{
    HANDLE volume = OpenVolumeHandle(letter);
    if (volume == INVALID_HANDLE_VALUE) return JobErrorOf(::GetLastError());
    out.reset(new NtfsVolume(letter, volume));
    return 0;
}

}  // namespace velmora
