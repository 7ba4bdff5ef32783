// Shortcut scan against its lower bound on the same seeded tree, in paired runs: a bare FindFirstFileW walk that
// sends the same progress message per entry and reads every link (one COM link object per link) and its target's
// attributes. Both run on the calling thread with a window of that thread, so the figure is the scan's own cost;
// the threaded scan (cross-thread messages, as the pages use it) is paired with the same floor on a worker.
// Usage: MoravinShortcutBench.exe [entries] (default 10000, one in ten a link, half of those dead;
// pairs: QUORVEL_BENCH_PAIRS, default 7).
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <Moravin.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "PairedRuns.h"

namespace {

const int kFolders = 100;

bool SaveLink(const std::wstring& linkPath, const std::wstring& target)
{
    IShellLinkW* link = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(&link))))
        return false;
    IPersistFile* file = nullptr;
    bool ok = SUCCEEDED(link->SetPath(target.c_str())) &&
              SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
              SUCCEEDED(file->Save(linkPath.c_str(), TRUE));
    if (file) file->Release();
    link->Release();
    return ok;
}

void Seed(const std::wstring& root, int entries)
{
    CreateDirectoryW(root.c_str(), nullptr);
    const std::wstring kept = root + L"\\kept.txt";
    CloseHandle(CreateFileW(kept.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    const std::wstring good = root + L"\\good.model", dead = root + L"\\dead.model";
    SaveLink(good, kept);
    SaveLink(dead, root + L"\\missing.exe");
    for (int f = 0; f < kFolders; ++f) CreateDirectoryW((root + L"\\d" + std::to_wstring(f)).c_str(), nullptr);
    for (int i = 0; i < entries; ++i) {
        const std::wstring folder = root + L"\\d" + std::to_wstring(i % kFolders) + L"\\e" + std::to_wstring(i);
        if (i % 10 == 0)
            CopyFileW((i % 20 == 0 ? dead : good).c_str(), (folder + L".lnk").c_str(), FALSE);
        else
            CloseHandle(CreateFileW((folder + L".dat").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    }
}

long g_messages = 0;
bool g_done = false;

LRESULT CALLBACK Proc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_SHORTCUT_SCAN_PROGRESS || msg == WM_SHORTCUT_INVALID_FOUND || msg == WM_USER + 100) {
        ++g_messages;
        return 0;
    }
    if (msg == WM_SHORTCUT_SCAN_DONE) {
        g_done = true;
        return 0;
    }
    return DefWindowProcW(wnd, msg, wParam, lParam);
}

// Sent messages are handled inside the wait, posted ones here.
void PumpUntilDone()
{
    MSG msg;
    while (!g_done) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    }
}

// The lower bound: the walk, one message per entry, each link read and its target looked up.
long FloorWalk(const std::wstring& folder, HWND wnd)
{
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return 0;
    long dead = 0;
    do {
        const std::wstring path = folder + L"\\" + data.cFileName;
        SendMessageW(wnd, WM_USER + 100, reinterpret_cast<WPARAM>(path.c_str()), 0);
        const size_t n = wcslen(data.cFileName);
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            if (wcscmp(data.cFileName, L".") && wcscmp(data.cFileName, L"..")) dead += FloorWalk(path, wnd);
        } else if (n > 4 && _wcsicmp(data.cFileName + n - 4, L".lnk") == 0) {
            IShellLinkW* link = nullptr;
            IPersistFile* file = nullptr;
            wchar_t target[1024] = {};
            WIN32_FIND_DATAW fd;
            if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                           reinterpret_cast<void**>(&link))) &&
                SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
                SUCCEEDED(file->Load(path.c_str(), STGM_READ)) && link->GetPath(target, 1024, &fd, 0) == S_OK &&
                GetFileAttributesW(target) == INVALID_FILE_ATTRIBUTES)
                ++dead;
            if (file) file->Release();
            if (link) link->Release();
        }
    } while (FindNextFileW(find, &data));
    FindClose(find);
    return dead;
}

struct FloorJob {
    std::wstring root;
    HWND wnd;
};

// The floor on a worker thread, ending with the done message the scan sends.
DWORD WINAPI FloorWalkThread(LPVOID param)
{
    auto* job = static_cast<FloorJob*>(param);
    CoInitialize(nullptr);
    FloorWalk(job->root, job->wnd);
    CoUninitialize();
    PostMessageW(job->wnd, WM_SHORTCUT_SCAN_DONE, 0, 0);
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    int entries = argc > 1 ? _wtoi(argv[1]) : 10000;
    CoInitialize(nullptr);
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    const std::wstring root = std::wstring(temp) + L"shortcutbench";
    double seedStart = bench::Now();
    Seed(root, entries);
    std::fprintf(stderr, "seeded in %.1f s\n", bench::Now() - seedStart);

    WNDCLASSW wc = {};
    wc.lpfnWndProc = Proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"ShortcutBench";
    RegisterClassW(&wc);
    HWND wnd = CreateWindowW(wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);

    FloorWalk(root, wnd);  // warm the file cache
    const int pairs = bench::PairsFromEnvironment(7);
    long dead = 0;
    bench::RunPairs(
        "shortcut scan (same thread)", "walk + message + link read", pairs,
        [&] { return bench::Time([&] { dead = FloorWalk(root, wnd); }); },
        [&] {
            Moravin::CShortCutClean scan;
            scan.SetParentWnd(wnd);
            return bench::Time([&] { scan.FindShortCutLinkNoThread({root}); });
        });
    // The threaded scan against the floor on a worker thread, whose messages cross threads as the scan's do.
    FloorJob job{root, wnd};
    bench::RunPairs(
        "shortcut scan (worker thread)", "walk + message + link read on a worker", pairs,
        [&] {
            g_done = false;
            const double start = bench::Now();
            HANDLE worker = CreateThread(nullptr, 0, &FloorWalkThread, &job, 0, nullptr);
            PumpUntilDone();
            const double seconds = bench::Now() - start;
            WaitForSingleObject(worker, INFINITE);
            CloseHandle(worker);
            return seconds;
        },
        [&] {
            Moravin::CShortCutClean threaded;
            threaded.SetParentWnd(wnd);
            g_done = false;
            const double start = bench::Now();
            threaded.FindShortCutLink({root});
            PumpUntilDone();
            return bench::Now() - start;
        });
    std::printf("entries %d (links %d, dead %ld)\n", entries, entries / 10, dead);
    DestroyWindow(wnd);
    CoUninitialize();
    return 0;
}
