#include "ShredFile.h"

#include <ntsecapi.h>

#include <QExactPath.h>
#include <QGuards.h>

#include <vector>

#include "WriteAll.h"
#include "Yarrowby/YarrowbyMessages.h"

namespace {

unsigned long long Rotl(unsigned long long x, int k) { return (x << k) | (x >> (64 - k)); }

unsigned long long SplitMix(unsigned long long& x)
{
    unsigned long long z = (x += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

unsigned long long SystemSeed()
{
    unsigned long long seed = 0;
    if (!RtlGenRandom(&seed, sizeof(seed))) {
        LARGE_INTEGER counter;
        ::QueryPerformanceCounter(&counter);
        seed = static_cast<unsigned long long>(counter.QuadPart) ^ (unsigned long long)::GetCurrentThreadId() << 32;
    }
    return seed;
}

DWORD ClusterBytes(const std::wstring& path)
{
    wchar_t root[MAX_PATH * 2] = L"";
    DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, clusters = 0;
    if (::GetVolumePathNameW(path.c_str(), root, MAX_PATH * 2) &&
        ::GetDiskFreeSpaceW(root, &sectorsPerCluster, &bytesPerSector, &freeClusters, &clusters) && sectorsPerCluster &&
        bytesPerSector)
        return sectorsPerCluster * bytesPerSector;
    return 4096;
}

unsigned long long RoundUp(unsigned long long size, DWORD unit) { return (size + unit - 1) / unit * unit; }

bool IsNotAFile(DWORD attributes)
{
    return (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) != 0;
}

// A name of the same length in the same folder that does not exist yet; the original path when none was found.
std::wstring RenameToRandom(const std::wstring& path, ShredPattern& pattern)
{
    static const wchar_t kChars[] = L"ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    const size_t nameStart = path.find_last_of(L"\\/") + 1;
    for (int attempt = 0; attempt < 8; ++attempt) {
        std::wstring renamed = path;
        for (size_t i = nameStart; i < renamed.size(); ++i) renamed[i] = kChars[pattern.Random() % 36];
        if (::MoveFileW(path.c_str(), renamed.c_str())) return renamed;
        if (::GetLastError() != ERROR_ALREADY_EXISTS && ::GetLastError() != ERROR_FILE_EXISTS) break;
    }
    return path;
}

DWORD OverwritePasses(HANDLE file, unsigned long long length, int passes, ShredPattern& pattern, ShredSink& sink)
{
    for (int pass = 0; pass < passes; ++pass) {
        LARGE_INTEGER start = {};
        if (!::SetFilePointerEx(file, start, nullptr, FILE_BEGIN)) return ::GetLastError();
        for (unsigned long long left = length; left > 0;) {
            if (sink.StopRequested()) return ERROR_CANCELLED;
            const DWORD chunk = DWORD(left < pattern.Size() ? left : pattern.Size());
            if (const DWORD error = WriteAll(file, pattern.Next(chunk), chunk)) return error;
            left -= chunk;
            sink.Written(chunk);
        }
        // Without a flush the passes would meet in the cache and reach the disk as one, or not at all.
        if (!::FlushFileBuffers(file)) return ::GetLastError();
    }
    return 0;
}

}  // namespace

ShredPattern::ShredPattern(size_t bufferBytes) : m_size(bufferBytes)
{
    m_buffer = static_cast<BYTE*>(::VirtualAlloc(nullptr, m_size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    unsigned long long seed = SystemSeed();
    for (unsigned long long& word : m_state) word = SplitMix(seed);
}

ShredPattern::~ShredPattern()
{
    if (m_buffer) ::VirtualFree(m_buffer, 0, MEM_RELEASE);
}

unsigned long long ShredPattern::Random()
{
    // xoshiro256**: fast, and its output has no pattern a disk could compress or recognise.
    unsigned long long* s = m_state;
    const unsigned long long result = Rotl(s[1] * 5, 7) * 9;
    const unsigned long long t = s[1] << 17;
    s[2] ^= s[0];
    s[3] ^= s[1];
    s[1] ^= s[2];
    s[0] ^= s[3];
    s[2] ^= t;
    s[3] = Rotl(s[3], 45);
    return result;
}

const BYTE* ShredPattern::Next(size_t bytes)
{
    unsigned long long* words = reinterpret_cast<unsigned long long*>(m_buffer);
    const size_t count = (bytes + 7) / 8;
    for (size_t i = 0; i < count; ++i) words[i] = Random();
    return m_buffer;
}

unsigned long long ShredLength(const std::wstring& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!::GetFileAttributesExW(qcore::ExactPath(path).c_str(), GetFileExInfoStandard, &data) ||
        IsNotAFile(data.dwFileAttributes))
        return 0;
    const unsigned long long size = (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    return RoundUp(size, ClusterBytes(path));
}

DWORD ShredFile(const std::wstring& chosen, int passes, ShredPattern& pattern, ShredSink& sink)
{
    // Exactly the name chosen: "name." must not reach "name".
    const std::wstring path = qcore::ExactPath(chosen);
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return ::GetLastError();
    if (IsNotAFile(attributes)) return YARROWBY_ERROR_NOT_A_FILE;
    const bool readOnly = (attributes & FILE_ATTRIBUTE_READONLY) != 0;
    if (readOnly &&
        !::SetFileAttributesW(path.c_str(), (attributes & ~FILE_ATTRIBUTE_READONLY) | FILE_ATTRIBUTE_NORMAL))
        return ::GetLastError();
    auto restore = [&] {
        if (readOnly) ::SetFileAttributesW(path.c_str(), attributes);
    };

    // No sharing: nobody may read the old data or write between the passes. A link swapped in since the check
    // above is opened as itself, and refused below.
    qcore::UniqueFile file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                         FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) {
        const DWORD error = ::GetLastError();
        restore();
        return error;
    }
    BY_HANDLE_FILE_INFORMATION info = {};
    if (!::GetFileInformationByHandle(file.Get(), &info) || IsNotAFile(info.dwFileAttributes)) {
        file.Reset();
        restore();
        return YARROWBY_ERROR_NOT_A_FILE;
    }
    // Another name keeps the data in use elsewhere: overwriting would destroy that file too, deleting would not.
    if (info.nNumberOfLinks > 1) {
        file.Reset();
        restore();
        return YARROWBY_ERROR_HARD_LINKS;
    }
    const unsigned long long size = (static_cast<unsigned long long>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    const DWORD error = OverwritePasses(file.Get(), RoundUp(size, ClusterBytes(chosen)), passes, pattern, sink);
    file.Reset();
    if (error) {
        restore();
        return error;
    }

    // The new name hides the old one in the folder's records before the entry goes.
    const std::wstring renamed = RenameToRandom(path, pattern);
    if (!::DeleteFileW(renamed.c_str())) {
        const DWORD deleteError = ::GetLastError();
        if (readOnly) ::SetFileAttributesW(renamed.c_str(), attributes);
        return deleteError;
    }
    return 0;
}
