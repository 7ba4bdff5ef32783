// Junk scan against two floors on the same seeded tree, in paired runs: a bare FindFirstFileW walk, and the same
// walk on a worker sending one message per file (the scanner's contract).
// Usage: LumbreyJunkBench.exe [files] [folder]   (defaults: 20000 files, %TEMP%\junkbench; pairs: QUORVEL_BENCH_PAIRS, 7)
#include <windows.h>

#include <JunkFileScanner.h>

#include "PairedRuns.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

const int kDepth = 6;
const int kBranch = 4;  // 4^6 = 4096 leaf folders

// Leaf folder i of the tree: root\a\b\c\d\e\f from the base-4 digits of i.
std::wstring LeafFolder(const std::wstring& root, int leaf)
{
    std::wstring path = root;
    for (int level = 0; level < kDepth; ++level) {
        path += L"\\n" + std::to_wstring(leaf % kBranch);
        leaf /= kBranch;
    }
    return path;
}

void CreateFolders(const std::wstring& path)
{
    for (size_t pos = path.find(L'\\', 3); pos != std::wstring::npos; pos = path.find(L'\\', pos + 1))
        CreateDirectoryW(path.substr(0, pos).c_str(), NULL);
    CreateDirectoryW(path.c_str(), NULL);
}

// 5% of the files carry a junk extension.
void Seed(const std::wstring& root, int files)
{
    int leaves = 1;
    for (int i = 0; i < kDepth; ++i) leaves *= kBranch;
    for (int i = 0; i < files; ++i) {
        const std::wstring folder = LeafFolder(root, i % leaves);
        if (i < leaves) CreateFolders(folder);
        const std::wstring name = folder + L"\\f" + std::to_wstring(i) + (i % 20 == 0 ? L".tmp" : L".dat");
        HANDLE h = CreateFileW(name.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
        if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
    }
}

long BareWalk(const std::wstring& folder)
{
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return 0;
    long files = 0;
    do {
        if (data.cFileName[0] == L'.' &&
            (data.cFileName[1] == 0 || (data.cFileName[1] == L'.' && data.cFileName[2] == 0)))
            continue;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            files += BareWalk(folder + L"\\" + data.cFileName);
        else
            ++files;
    } while (FindNextFileW(find, &data));
    FindClose(find);
    return files;
}

// The floor that keeps the scanner's contract: the same walk on a worker that sends one message per file.
struct WalkAndSend {
    std::wstring root;
    HWND wnd;
};

void SendWalk(const std::wstring& folder, HWND wnd)
{
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return;
    do {
        if (data.cFileName[0] == L'.' &&
            (data.cFileName[1] == 0 || (data.cFileName[1] == L'.' && data.cFileName[2] == 0)))
            continue;
        const std::wstring path = folder + L"\\" + data.cFileName;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            SendWalk(path, wnd);
        else
            SendMessageW(wnd, WM_USER + 100, reinterpret_cast<WPARAM>(path.c_str()), 0);
    } while (FindNextFileW(find, &data));
    FindClose(find);
}

DWORD WINAPI SendWalkThread(LPVOID p)
{
    auto* job = static_cast<WalkAndSend*>(p);
    SendWalk(job->root, job->wnd);
    PostMessageW(job->wnd, WM_USER + 101, 0, 0);
    return 0;
}

bool g_sendDone = false;

// GetMessageW never returns for sent messages, so wait and peek until the flag is set.
void PumpUntil(const bool& flag)
{
    while (!flag) {
        MsgWaitForMultipleObjects(0, NULL, FALSE, INFINITE, QS_ALLINPUT);
        MSG m;
        while (PeekMessageW(&m, NULL, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
    }
}
long g_current = 0;
long g_found = 0;
bool g_done = false;

LRESULT CALLBACK Proc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_JUNKSCAN_CURRENT_FILE: ++g_current; return 0;
    case WM_JUNKSCAN_FILE_FOUND: ++g_found; return 0;
    case WM_JUNKSCAN_DONE: g_done = true; return 0;
    case WM_USER + 101: g_sendDone = true; return 0;
    default: return DefWindowProcW(wnd, msg, wParam, lParam);
    }
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    setvbuf(stdout, NULL, _IONBF, 0);
    const int files = argc > 1 ? _wtoi(argv[1]) : 20000;
    std::wstring root;
    if (argc > 2) {
        root = argv[2];
    } else {
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        root = std::wstring(temp) + L"junkbench";
    }

    const double seedStart = bench::Now();
    Seed(root, files);
    printf("seeded %d files in %.1f s\n", files, bench::Now() - seedStart);

    const long walked = BareWalk(root);  // warms the caches for every side

    WNDCLASSW wc = {};
    wc.lpfnWndProc = Proc;
    wc.hInstance = GetModuleHandleW(NULL);
    wc.lpszClassName = L"JunkBench";
    RegisterClassW(&wc);
    HWND wnd = CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, NULL, wc.hInstance, NULL);

    const bench::Side bare = [&] { return bench::Time([&] { BareWalk(root); }); };
    const bench::Side sendWalk = [&] {
        WalkAndSend job{root, wnd};
        g_sendDone = false;
        const double start = bench::Now();
        HANDLE sender = CreateThread(NULL, 0, SendWalkThread, &job, 0, NULL);
        PumpUntil(g_sendDone);
        const double seconds = bench::Now() - start;
        WaitForSingleObject(sender, INFINITE);
        CloseHandle(sender);
        return seconds;
    };
    const bench::Side scan = [&] {
        Lumbrey::CJunkFileScanner scanner;
        g_current = g_found = 0;
        g_done = false;
        const double start = bench::Now();
        scanner.ScanJunkFile({root}, wnd);
        PumpUntil(g_done);
        return bench::Now() - start;
    };
    const int pairs = bench::PairsFromEnvironment(7);
    bench::RunPairs("junk scan", "bare FindFirstFileW walk", pairs, bare, scan);
    bench::RunPairs("junk scan", "walk + one message per file", pairs, sendWalk, scan);
    printf("%ld files walked; the scan reported %ld files, %ld junk\n", walked, g_current, g_found);
    return g_current == walked ? 0 : 1;
}
