// The junk-file page's walk against a bare FindFirstFileW walk of the same tree, under the same Wine.
// Usage: JunkWalkBench.exe [files] [pairs] [folder]   (defaults: 100000 files, 9 pairs, Y:\junkbench)
// Seeds the tree once, warms both walks, then runs them in pairs for scripts/bench-stats.py.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "JunkWalk.h"
#include "PairedRuns.h"
#include "QWorker.h"

namespace {

const int kDepth = 6;
const int kBranch = 4;  // 4^6 = 4096 leaf folders

std::wstring LeafFolder(const std::wstring& root, int leaf)
{
    std::wstring path = root;
    for (int level = 0; level < kDepth; ++level) {
        path += L"\\n" + std::to_wstring(leaf % kBranch);
        leaf /= kBranch;
    }
    return path;
}

// Every 20th file carries a junk ending. Returns the number of junk files.
long Seed(const std::wstring& root, int files)
{
    int leaves = 1;
    for (int i = 0; i < kDepth; ++i) leaves *= kBranch;
    long junk = 0;
    for (int i = 0; i < files; ++i) {
        const std::wstring folder = LeafFolder(root, i % leaves);
        if (i < leaves)
            for (size_t pos = folder.find(L'\\', 3); pos != std::wstring::npos; pos = folder.find(L'\\', pos + 1))
                ::CreateDirectoryW(folder.substr(0, pos).c_str(), nullptr);
        if (i < leaves) ::CreateDirectoryW(folder.c_str(), nullptr);
        const bool isJunk = i % 20 == 0;
        junk += isJunk ? 1 : 0;
        const std::wstring name = folder + L"\\f" + std::to_wstring(i) + (isJunk ? L".tmp" : L".dat");
        HANDLE h =
            ::CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h != INVALID_HANDLE_VALUE) ::CloseHandle(h);
    }
    return junk;
}

// The floor: list every folder, descend into sub-folders, count the files; nothing else.
long BareWalk(const std::wstring& folder)
{
    WIN32_FIND_DATAW data;
    HANDLE find = ::FindFirstFileW((folder + L"\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return 0;
    long files = 0;
    do {
        const wchar_t* n = data.cFileName;
        if (n[0] == L'.' && (n[1] == 0 || (n[1] == L'.' && n[2] == 0))) continue;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            files += BareWalk(folder + L"\\" + n);
        else
            ++files;
    } while (::FindNextFileW(find, &data));
    ::FindClose(find);
    return files;
}

// The page's walk as the page runs it: on a worker, with this thread taking the finds every 100 ms.
long PageWalk(const std::wstring& root)
{
    qcore::CWorker worker;
    JunkPage::JunkWalkReport report;
    const std::wstring windows = JunkPage::WindowsFolderForWalk();
    worker.Start([&] { JunkPage::WalkForJunk({root}, windows, worker.StopFlag(), report); });
    std::vector<JunkPage::JunkFind> finds;
    std::wstring current;
    while (worker.Wait(100, qcore::Pump::None) == qcore::WaitOutcome::TimedOut) {
        report.TakeFinds(finds);
        report.TakeCurrent(current);
    }
    report.TakeFinds(finds);
    return long(finds.size());
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    const int files = argc > 1 ? _wtoi(argv[1]) : 100000;
    const int pairs = argc > 2 ? std::max(1, _wtoi(argv[2])) : bench::PairsFromEnvironment(9);
    const std::wstring root = argc > 3 ? argv[3] : L"Y:\\junkbench";

    const double seedStart = bench::Now();
    const long junk = Seed(root, files);
    std::printf("seeded %d files (%ld junk) in %.1f s\n", files, junk, bench::Now() - seedStart);

    // Warm the caches for both walks.
    const long walked = BareWalk(root);
    const long found = PageWalk(root);
    if (walked != files || found != junk) {
        std::printf("walks disagree with the tree: bare %ld files, page %ld junk\n", walked, found);
        return 1;
    }

    bench::RunPairs(
        "junk page walk", "bare FindFirstFileW walk", pairs, [&] { return bench::Time([&] { BareWalk(root); }); },
        [&] { return bench::Time([&] { PageWalk(root); }); });
    return 0;
}
