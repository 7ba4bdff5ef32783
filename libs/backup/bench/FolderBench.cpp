// Folder backup and restore against bare programs doing the same work in the same process under the same Wine:
//   backup:  the walk's FindFirstFileW data, then open + read + deflate (one stream, reset per file) + append to
//            one output file, per file;
//   restore: create + write + close of the same files (their bytes held in memory) in one flat folder.
// Usage: ColdrithFolderBench.exe <source folder> <work folder> [label]   (pairs: QUORVEL_BENCH_PAIRS, default 7)
// Prints one line per pair for scripts/bench-stats.py (bench/run-folder-bench.sh runs it with the peers).
#include "FileBackup.h"
#include "FileRestore.h"
#include "MessageSink.h"

#include "PairedRuns.h"

#include <windows.h>
#include <zlib.h>

#include <cstdio>
#include <string>
#include <vector>

namespace
{
struct SourceFile
{
    std::wstring path;
    std::wstring name;
    std::string bytes; // for the restore floor
};

// A run of 20,000 small files under a busy Wine takes minutes.
const DWORD kRunTimeoutMs = 60 * 60 * 1000;

std::string ReadAll(const std::wstring& path)
{
    std::string bytes;
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return bytes;
    char buffer[65536];
    DWORD got = 0;
    while (ReadFile(h, buffer, sizeof(buffer), &got, nullptr) && got)
        bytes.append(buffer, got);
    CloseHandle(h);
    return bytes;
}

void Collect(const std::wstring& folder, std::vector<SourceFile>& files)
{
    WIN32_FIND_DATAW fd;
    HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &fd);
    if (find == INVALID_HANDLE_VALUE)
        return;
    std::vector<std::wstring> subFolders;
    do
    {
        std::wstring name = fd.cFileName;
        if (name == L"." || name == L"..")
            continue;
        if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            subFolders.push_back(folder + L"\\" + name);
        else
            files.push_back(SourceFile{ folder + L"\\" + name, name, ReadAll(folder + L"\\" + name) });
    } while (FindNextFileW(find, &fd));
    FindClose(find);
    for (const auto& sub : subFolders)
        Collect(sub, files);
}

// Deletes the files of a flat folder (untimed preparation of a restore).
void EmptyFolder(const std::wstring& folder)
{
    WIN32_FIND_DATAW fd;
    HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &fd);
    if (find == INVALID_HANDLE_VALUE)
        return;
    std::vector<std::wstring> names;
    do
        if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.push_back(folder + L"\\" + fd.cFileName);
    while (FindNextFileW(find, &fd));
    FindClose(find);
    for (const auto& n : names)
        DeleteFileW(n.c_str());
}

// The backup floor: walk, then per file open + read + deflate + append. Returns the bytes written.
struct BareBackup
{
    z_stream stream = {};
    std::vector<char> in = std::vector<char>(65536), out = std::vector<char>(65536);
    HANDLE archive = INVALID_HANDLE_VALUE;
    uint64_t written = 0;

    BareBackup() { deflateInit2(&stream, Z_DEFAULT_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY); }
    ~BareBackup() { deflateEnd(&stream); }

    void Drain(int flush)
    {
        do
        {
            stream.next_out = reinterpret_cast<Bytef*>(out.data());
            stream.avail_out = static_cast<uInt>(out.size());
            deflate(&stream, flush);
            DWORD n = static_cast<DWORD>(out.size() - stream.avail_out), done = 0;
            if (n)
                WriteFile(archive, out.data(), n, &done, nullptr);
            written += n;
        } while (stream.avail_out == 0);
    }

    void File(const std::wstring& path)
    {
        HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                               FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
        if (h == INVALID_HANDLE_VALUE)
            return;
        deflateReset(&stream);
        DWORD got = 0;
        while (ReadFile(h, in.data(), static_cast<DWORD>(in.size()), &got, nullptr) && got)
        {
            stream.next_in = reinterpret_cast<Bytef*>(in.data());
            stream.avail_in = got;
            Drain(Z_NO_FLUSH);
        }
        CloseHandle(h);
        Drain(Z_FINISH);
    }

    void Walk(const std::wstring& folder)
    {
        WIN32_FIND_DATAW fd;
        HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &fd);
        if (find == INVALID_HANDLE_VALUE)
            return;
        std::vector<std::wstring> subFolders;
        do
        {
            const wchar_t* n = fd.cFileName;
            if (n[0] == L'.' && (n[1] == 0 || (n[1] == L'.' && n[2] == 0)))
                continue;
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                subFolders.push_back(folder + L"\\" + n);
            else
                File(folder + L"\\" + n);
        } while (FindNextFileW(find, &fd));
        FindClose(find);
        for (const auto& sub : subFolders)
            Walk(sub);
    }

    double Run(const std::wstring& source, const std::wstring& output)
    {
        DeleteFileW(output.c_str());
        const double start = bench::Now();
        archive = CreateFileW(output.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        written = 0;
        Walk(source);
        CloseHandle(archive);
        return bench::Now() - start;
    }
};

double BareRestore(const std::vector<SourceFile>& files, const std::wstring& target)
{
    EmptyFolder(target);
    return bench::Time([&] {
        for (const auto& f : files)
        {
            HANDLE h = CreateFileW((target + L"\\" + f.name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                   FILE_ATTRIBUTE_NORMAL, nullptr);
            DWORD done = 0;
            if (!f.bytes.empty())
                WriteFile(h, f.bytes.data(), static_cast<DWORD>(f.bytes.size()), &done, nullptr);
            CloseHandle(h);
        }
    });
}

double Backup(const std::wstring& source, const std::wstring& work)
{
    DeleteFileW((work + L"\\ours.fbk").c_str());
    ColdrithTest::CMessageSink sink;
    Coldrith::CFileBackup backup;
    backup.SetParentWnd(sink.Window());
    std::vector<std::wstring> sources{ source };
    const double start = bench::Now();
    backup.ZipFiles(work, L"ours", sources, 1);
    sink.WaitForDone(kRunTimeoutMs);
    const double seconds = bench::Now() - start;
    if (sink.outcome != 0)
        std::printf("backup failed on %ld entries\n", static_cast<long>(sink.outcome));
    return seconds;
}

double Restore(const std::wstring& archive, const std::wstring& target, size_t expected)
{
    EmptyFolder(target);
    ColdrithTest::CMessageSink sink;
    Coldrith::CFileRestore restore;
    restore.SetParentWnd(sink.Window());
    std::vector<Coldrith::CFileRestore::ZipItem> items;
    if (!restore.OpenZipFile(archive, items))
    {
        std::printf("cannot open %ls\n", archive.c_str());
        return 0;
    }
    const double start = bench::Now();
    restore.UnZipFile(target);
    sink.WaitForDone(kRunTimeoutMs);
    const double seconds = bench::Now() - start;
    if (sink.outcome != 0)
        std::printf("restore failed on %ld entries\n", static_cast<long>(sink.outcome));
    size_t files = 0;
    WIN32_FIND_DATAW fd;
    HANDLE find = FindFirstFileW((target + L"\\*").c_str(), &fd);
    if (find != INVALID_HANDLE_VALUE)
    {
        do
            files += (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? 0 : 1;
        while (FindNextFileW(find, &fd));
        FindClose(find);
    }
    if (files != expected)
        std::printf("restore left %zu files, expected %zu\n", files, expected);
    return seconds;
}
}

int wmain(int argc, wchar_t** argv)
{
    if (argc < 3)
    {
        std::printf("usage: ColdrithFolderBench.exe <source folder> <work folder> [label]\n");
        return 2;
    }
    const std::wstring source = argv[1], work = argv[2];
    const int pairs = bench::PairsFromEnvironment(7);
    std::string label;
    for (const wchar_t* c = argc > 3 ? argv[3] : L""; *c; ++c)
        label += static_cast<char>(*c);
    label = label.empty() ? std::string() : " (" + label + ")";
    CreateDirectoryW(work.c_str(), nullptr);
    const std::wstring oursOut = work + L"\\ours-out", bareOut = work + L"\\bare-out";
    CreateDirectoryW(oursOut.c_str(), nullptr);
    CreateDirectoryW(bareOut.c_str(), nullptr);

    std::vector<SourceFile> files;
    Collect(source, files);
    std::printf("%zu files\n", files.size());

    // One untimed round of each warms the caches alike.
    BareBackup bare;
    bare.Run(source, work + L"\\bare.deflate");
    Backup(source, work);
    const std::wstring archive = work + L"\\ours.fbk";
    bench::RunPairs("folder backup" + label, "walk+read+deflate+write", pairs,
                    [&] { return bare.Run(source, work + L"\\bare.deflate"); },
                    [&] { return Backup(source, work); });
    std::printf("archive %ls; bare deflate output %llu bytes\n", archive.c_str(),
                static_cast<unsigned long long>(bare.written));

    BareRestore(files, bareOut);
    Restore(archive, oursOut, files.size());
    bench::RunPairs("folder restore" + label, "create+write+close", pairs, [&] { return BareRestore(files, bareOut); },
                    [&] { return Restore(archive, oursOut, files.size()); });
    return 0;
}
