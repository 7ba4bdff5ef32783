// Folder backup and restore against bare programs doing the same work in the same process under the same Wine:
//   backup:  walk (FindFirstFileW data), then per file open + read + CRC-32 + deflate (one stream, reset per file)
//            + append to one output file;
//   restore: per file read its deflated bytes from that output + inflate (one stream, reset per file) + CRC-32
//            check + create its folder when new + create + write + set the time + close, into the same nested
//            folders.
// Every run's output is checked against the source (untimed): a wrong archive, a wrong restored tree or a floor
// that did not do its work ends the bench with exit code 1. The machine's load is printed after each pair.
// Usage: ColdrithFolderBench.exe <source folder> <work folder> [label]   (pairs: QUORVEL_BENCH_PAIRS, default 7)
// Prints one line per pair for scripts/bench-stats.py (bench/run-folder-bench.sh runs it with the peers).
#include "FileBackup.h"
#include "FileRestore.h"
#include "MessageSink.h"
#include "zip/ZipArchive.h"
#include "zip/ZipEntryName.h"

#include "PairedRuns.h"

#include <windows.h>
#include <zlib.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace {
// A run of 20,000 small files under a busy Wine takes minutes.
const DWORD kRunTimeoutMs = 60 * 60 * 1000;

[[noreturn]] void Fail(const std::string& what)
{
    std::printf("BENCH OUTPUT WRONG: %s\n", what.c_str());
    std::fflush(stdout);
    std::exit(1);
}

std::string Narrow(const std::wstring& text)
{
    int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), &out[0], n, nullptr, nullptr);
    return out;
}

std::string ReadAll(const std::wstring& path)
{
    std::string bytes;
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return "<missing>";
    char buffer[65536];
    DWORD got = 0;
    while (ReadFile(h, buffer, sizeof(buffer), &got, nullptr) && got) bytes.append(buffer, got);
    CloseHandle(h);
    return bytes;
}

// Relative path ("t00\m0\f000.txt") -> bytes of every file below folder.
using Tree = std::map<std::wstring, std::string>;

void Collect(const std::wstring& root, const std::wstring& rel, Tree& files)
{
    WIN32_FIND_DATAW fd;
    HANDLE find = FindFirstFileW((root + (rel.empty() ? L"" : L"\\" + rel) + L"\\*").c_str(), &fd);
    if (find == INVALID_HANDLE_VALUE) return;
    std::vector<std::wstring> subFolders;
    do {
        std::wstring name = fd.cFileName;
        if (name == L"." || name == L"..") continue;
        std::wstring child = rel.empty() ? name : rel + L"\\" + name;
        if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            subFolders.push_back(child);
        else
            files[child] = ReadAll(root + L"\\" + child);
    } while (FindNextFileW(find, &fd));
    FindClose(find);
    for (const auto& sub : subFolders) Collect(root, sub, files);
}

size_t CountFiles(const std::wstring& folder)
{
    size_t n = 0;
    WIN32_FIND_DATAW fd;
    HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &fd);
    if (find == INVALID_HANDLE_VALUE) return 0;
    do {
        std::wstring name = fd.cFileName;
        if (name == L"." || name == L"..") continue;
        n += (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? CountFiles(folder + L"\\" + name) : 1;
    } while (FindNextFileW(find, &fd));
    FindClose(find);
    return n;
}

Tree TreeOf(const std::wstring& root)
{
    Tree files;
    Collect(root, L"", files);
    return files;
}

// The restored tree must be the source, file for file and byte for byte.
void CheckTree(const std::wstring& root, const Tree& expected, const char* who)
{
    Tree got = TreeOf(root);
    if (got.size() != expected.size())
        Fail(std::string(who) + ": " + std::to_string(got.size()) + " files restored, " +
             std::to_string(expected.size()) + " expected in " + Narrow(root));
    for (const auto& f : expected) {
        auto it = got.find(f.first);
        if (it == got.end() || it->second != f.second)
            Fail(std::string(who) + ": " + Narrow(f.first) + " is missing or differs");
    }
}

void RemoveTree(const std::wstring& path)
{
    WIN32_FIND_DATAW fd;
    HANDLE find = FindFirstFileW((path + L"\\*").c_str(), &fd);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = fd.cFileName;
            if (name == L"." || name == L"..") continue;
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(path + L"\\" + name);
            else
                DeleteFileW((path + L"\\" + name).c_str());
        } while (FindNextFileW(find, &fd));
        FindClose(find);
    }
    RemoveDirectoryW(path.c_str());
}

// One file's stream in the floor's output.
struct Segment {
    std::wstring rel;
    uint64_t offset;
    uint32_t compressed;
    uint32_t size;
    uint32_t crc;
    FILETIME written;
};

// The backup floor: walk, then per file open + read + CRC + deflate + append.
struct BareBackup {
    z_stream stream = {};
    std::vector<char> in = std::vector<char>(65536), out = std::vector<char>(65536);
    HANDLE archive = INVALID_HANDLE_VALUE;
    uint64_t written = 0;
    std::vector<Segment> segments;

    BareBackup() { deflateInit2(&stream, Z_DEFAULT_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY); }
    ~BareBackup() { deflateEnd(&stream); }

    void Drain(int flush)
    {
        do {
            stream.next_out = reinterpret_cast<Bytef*>(out.data());
            stream.avail_out = static_cast<uInt>(out.size());
            deflate(&stream, flush);
            DWORD n = static_cast<DWORD>(out.size() - stream.avail_out), done = 0;
            if (n) WriteFile(archive, out.data(), n, &done, nullptr);
            written += n;
        } while (stream.avail_out == 0);
    }

    void File(const std::wstring& path, const std::wstring& rel, const FILETIME& time)
    {
        HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                               FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
        if (h == INVALID_HANDLE_VALUE) return;
        Segment segment{rel, written, 0, 0, 0, time};
        uLong crc = crc32(0L, Z_NULL, 0);
        deflateReset(&stream);
        DWORD got = 0;
        while (ReadFile(h, in.data(), static_cast<DWORD>(in.size()), &got, nullptr) && got) {
            crc = crc32(crc, reinterpret_cast<const Bytef*>(in.data()), got);
            stream.next_in = reinterpret_cast<Bytef*>(in.data());
            stream.avail_in = got;
            segment.size += got;
            Drain(Z_NO_FLUSH);
        }
        CloseHandle(h);
        Drain(Z_FINISH);
        segment.compressed = static_cast<uint32_t>(written - segment.offset);
        segment.crc = static_cast<uint32_t>(crc);
        segments.push_back(segment);
    }

    void Walk(const std::wstring& root, const std::wstring& rel)
    {
        std::wstring folder = rel.empty() ? root : root + L"\\" + rel;
        WIN32_FIND_DATAW fd;
        HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &fd);
        if (find == INVALID_HANDLE_VALUE) return;
        std::vector<std::wstring> subFolders;
        do {
            const wchar_t* n = fd.cFileName;
            if (n[0] == L'.' && (n[1] == 0 || (n[1] == L'.' && n[2] == 0))) continue;
            std::wstring child = rel.empty() ? std::wstring(n) : rel + L"\\" + n;
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                subFolders.push_back(child);
            else
                File(folder + L"\\" + n, child, fd.ftLastWriteTime);
        } while (FindNextFileW(find, &fd));
        FindClose(find);
        for (const auto& sub : subFolders) Walk(root, sub);
    }

    double Run(const std::wstring& source, const std::wstring& output)
    {
        DeleteFileW(output.c_str());
        segments.clear();
        const double start = bench::Now();
        archive = CreateFileW(output.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        written = 0;
        Walk(source, L"");
        CloseHandle(archive);
        return bench::Now() - start;
    }
};

// The restore floor: per file read its deflated bytes + inflate + CRC check + make its folder when it is a new one
// + create + write + set the time + close.
struct BareRestore {
    z_stream stream = {};
    std::vector<char> in, out = std::vector<char>(65536);

    BareRestore() { inflateInit2(&stream, -MAX_WBITS); }
    ~BareRestore() { inflateEnd(&stream); }

    // Returns false when a file's data does not inflate to its size and CRC.
    bool File(HANDLE archive, const Segment& s, const std::wstring& path)
    {
        if (in.size() < s.compressed) in.resize(s.compressed);
        DWORD got = 0;
        if (!ReadFile(archive, in.data(), s.compressed, &got, nullptr) || got != s.compressed) return false;
        HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE) return false;
        inflateReset(&stream);
        stream.next_in = reinterpret_cast<Bytef*>(in.data());
        stream.avail_in = s.compressed;
        uLong crc = crc32(0L, Z_NULL, 0);
        uint32_t total = 0;
        int status = Z_OK;
        while (status == Z_OK) {
            stream.next_out = reinterpret_cast<Bytef*>(out.data());
            stream.avail_out = static_cast<uInt>(out.size());
            status = inflate(&stream, Z_SYNC_FLUSH);
            DWORD n = static_cast<DWORD>(out.size() - stream.avail_out), done = 0;
            crc = crc32(crc, reinterpret_cast<const Bytef*>(out.data()), n);
            total += n;
            if (n) WriteFile(h, out.data(), n, &done, nullptr);
            if (status == Z_BUF_ERROR && stream.avail_in == 0) break;
        }
        SetFileTime(h, nullptr, nullptr, &s.written);
        CloseHandle(h);
        return status == Z_STREAM_END && total == s.size && crc == s.crc;
    }

    double Run(const std::vector<Segment>& segments, const std::wstring& input, const std::wstring& target)
    {
        RemoveTree(target);
        bool ok = true;
        const double seconds = bench::Time([&] {
            HANDLE archive = CreateFileW(input.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                         FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
            CreateDirectoryW(target.c_str(), nullptr);
            std::wstring made = target;
            for (const auto& s : segments) {
                std::wstring path = target + L"\\" + s.rel;
                std::wstring folder = path.substr(0, path.rfind(L'\\'));
                if (folder != made) {
                    // The folders of a new branch, made from the top down (they are met in walk order).
                    for (size_t at = target.size() + 1; at != std::wstring::npos; at = folder.find(L'\\', at + 1))
                        CreateDirectoryW(folder.substr(0, at).c_str(), nullptr);
                    CreateDirectoryW(folder.c_str(), nullptr);
                    made = folder;
                }
                ok = File(archive, s, path) && ok;
            }
            CloseHandle(archive);
        });
        if (!ok) Fail("the restore floor read back data that does not match its CRC");
        return seconds;
    }
};

// The archive must hold every source file under its stored path with its bytes (read through the zip layer,
// whose CRC check runs as well).
void CheckArchive(const std::wstring& archive, const std::wstring& source, const Tree& expected)
{
    std::wstring prefix = Zip::StoredPathFromFull(source) + L"\\";
    CZipArchive zip;
    size_t files = 0;
    try {
        zip.Open(archive, CZipArchive::zipOpenReadOnly);
        std::vector<char> buffer(1 << 16);
        for (uint16_t i = 0; i < zip.GetCount(); ++i) {
            CZipFileHeader header;
            zip.GetEntryInfo(header, i);
            if (header.IsDirectory()) continue;
            std::wstring name = header.GetFileName();
            for (auto& c : name)
                if (c == L'/') c = L'\\';
            auto it = name.compare(0, prefix.size(), prefix) == 0 ? expected.find(name.substr(prefix.size()))
                                                                  : expected.end();
            if (it == expected.end()) Fail("the archive holds " + Narrow(name) + ", which is no source file");
            std::string data;
            zip.BeginEntryRead(i);
            for (uint32_t n; (n = zip.ReadEntryData(buffer.data(), static_cast<uint32_t>(buffer.size()))) > 0;)
                data.append(buffer.data(), n);
            if (zip.EndEntryRead() != 1 || data != it->second)
                Fail("the archive's " + Narrow(name) + " differs from its source");
            ++files;
        }
        zip.Close();
    } catch (const std::exception& e) {
        Fail(std::string("the archive cannot be read: ") + e.what());
    }
    if (files != expected.size())
        Fail("the archive holds " + std::to_string(files) + " files, " + std::to_string(expected.size()) + " expected");
}

// The floor's output must inflate to the source, file for file.
void CheckBareOutput(const BareBackup& bare, const std::wstring& output, const Tree& expected)
{
    if (bare.segments.size() != expected.size())
        Fail("the backup floor read " + std::to_string(bare.segments.size()) + " files");
    std::string bytes = ReadAll(output);
    for (const auto& s : bare.segments) {
        auto it = expected.find(s.rel);
        if (it == expected.end() || s.offset + s.compressed > bytes.size())
            Fail("the backup floor wrote " + Narrow(s.rel) + " out of place");
        std::string data(s.size, '\0');
        uLongf size = s.size;
        z_stream z = {};
        inflateInit2(&z, -MAX_WBITS);
        z.next_in = reinterpret_cast<Bytef*>(&bytes[s.offset]);
        z.avail_in = s.compressed;
        z.next_out = reinterpret_cast<Bytef*>(&data[0]);
        z.avail_out = static_cast<uInt>(size);
        int status = inflate(&z, Z_FINISH);
        inflateEnd(&z);
        if (status != Z_STREAM_END || data != it->second)
            Fail("the backup floor's " + Narrow(s.rel) + " does not inflate to its source");
    }
}

double Backup(const std::wstring& source, const std::wstring& work)
{
    DeleteFileW((work + L"\\ours.fbk").c_str());
    ColdrithTest::CMessageSink sink;
    Coldrith::CFileBackup backup;
    backup.SetParentWnd(sink.Window());
    std::vector<std::wstring> sources{source};
    const double start = bench::Now();
    backup.ZipFiles(work, L"ours", sources, 1);
    if (!sink.WaitForDone(kRunTimeoutMs)) Fail("the backup did not finish");
    const double seconds = bench::Now() - start;
    if (sink.outcome != 0) Fail("the backup failed on " + std::to_string(static_cast<long>(sink.outcome)) + " entries");
    return seconds;
}

double Restore(const std::wstring& archive, const std::wstring& target)
{
    RemoveTree(target);
    ColdrithTest::CMessageSink sink;
    Coldrith::CFileRestore restore;
    restore.SetParentWnd(sink.Window());
    std::vector<Coldrith::CFileRestore::ZipItem> items;
    if (!restore.OpenZipFile(archive, items)) Fail("the archive cannot be opened for the restore");
    const double start = bench::Now();
    restore.UnZipFile(target);
    if (!sink.WaitForDone(kRunTimeoutMs)) Fail("the restore did not finish");
    const double seconds = bench::Now() - start;
    if (sink.outcome != 0)
        Fail("the restore failed on " + std::to_string(static_cast<long>(sink.outcome)) + " entries");
    return seconds;
}

// The host's load averages as /proc/loadavg gives them.
std::string Load()
{
    std::string text = ReadAll(L"\\\\?\\unix\\proc\\loadavg");
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    return text;
}

// A side of a pair that checks its output after its timed run (a wrong output ends the bench) and, when asked,
// prints the machine's load then, once per pair.
bench::Side Checked(const bench::Side& run, const std::function<void()>& check, const std::string& loadOf = "")
{
    return [=] {
        const double seconds = run();
        check();
        if (!loadOf.empty()) {
            std::printf("load\t%s\t%s\n", loadOf.c_str(), Load().c_str());
            std::fflush(stdout);
        }
        return seconds;
    };
}
}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 3) {
        std::printf("usage: ColdrithFolderBench.exe <source folder> <work folder> [label]\n");
        return 2;
    }
    const std::wstring source = argv[1], work = argv[2];
    const int pairs = bench::PairsFromEnvironment(7);
    std::string label;
    for (const wchar_t* c = argc > 3 ? argv[3] : L""; *c; ++c) label += static_cast<char>(*c);
    label = label.empty() ? std::string() : " (" + label + ")";
    CreateDirectoryW(work.c_str(), nullptr);
    const std::wstring oursOut = work + L"\\ours-out", bareOut = work + L"\\bare-out";
    const std::wstring archive = work + L"\\ours.fbk", bareArchive = work + L"\\bare.deflate";

    const Tree files = TreeOf(source);
    std::printf("%zu files\n", files.size());
    if (files.empty()) Fail("no source files");
    // Where the restore puts the source: its path without the drive, below the target.
    const std::wstring restored = oursOut + L"\\" + Zip::StoredPathFromFull(source);

    // One untimed round of each warms the caches alike; its outputs are checked like every other.
    BareBackup bare;
    bare.Run(source, bareArchive);
    CheckBareOutput(bare, bareArchive, files);
    Backup(source, work);
    CheckArchive(archive, source, files);
    bench::RunPairs(
        "folder backup" + label, "walk+read+crc+deflate+write", pairs,
        Checked([&] { return bare.Run(source, bareArchive); }, [&] { CheckBareOutput(bare, bareArchive, files); }),
        Checked([&] { return Backup(source, work); }, [&] { CheckArchive(archive, source, files); },
                "folder backup" + label));
    std::printf("archive %ls: %llu bytes; bare deflate output %llu bytes\n", archive.c_str(),
                static_cast<unsigned long long>(ReadAll(archive).size()),
                static_cast<unsigned long long>(bare.written));

    BareRestore bareRestore;
    bareRestore.Run(bare.segments, bareArchive, bareOut);
    CheckTree(bareOut, files, "restore floor");
    auto checkRestored = [&] {
        CheckTree(restored, files, "restore");
        if (CountFiles(oursOut) != files.size()) Fail("the restore left files beside the restored tree");
    };
    Restore(archive, oursOut);
    checkRestored();
    bench::RunPairs("folder restore" + label, "read+inflate+crc+mkdir+create+write+time+close", pairs,
                    Checked([&] { return bareRestore.Run(bare.segments, bareArchive, bareOut); },
                            [&] { CheckTree(bareOut, files, "restore floor"); }),
                    Checked([&] { return Restore(archive, oursOut); }, checkRestored, "folder restore" + label));
    return 0;
}
