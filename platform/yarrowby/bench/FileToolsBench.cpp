// Times one run of a Yarrowby file tool inside this process (the Wine start-up is not counted), from the call to
// its done message:
//   YarrowbyFileBench shred <file> <passes>
//   YarrowbyFileBench split <source> <folder> <piece bytes>
//   YarrowbyFileBench join <folder> <name> <piece count> <output folder>
// Prints "seconds <s>" and "failed <n> <first error>"; the exit code is 0 when the run succeeded.
#include <windows.h>

#include <Yarrowby.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

struct Run {
    UINT doneMessage = 0;
    bool done = false;
    WPARAM failed = 0;
    LPARAM error = 0;
};
Run g_run;

LRESULT CALLBACK Proc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == g_run.doneMessage) {
        g_run.done = true;
        g_run.failed = wParam;
        g_run.error = lParam;
        // A sent message does not end GetMessage: post one that does.
        ::PostMessageW(wnd, WM_NULL, 0, 0);
        return 0;
    }
    return ::DefWindowProcW(wnd, msg, wParam, lParam);
}

HWND MakeWindow()
{
    WNDCLASSW wc = {};
    wc.lpfnWndProc = Proc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"YarrowbyBench";
    ::RegisterClassW(&wc);
    return ::CreateWindowW(wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
}

void WaitForDone()
{
    MSG msg;
    while (!g_run.done && ::GetMessageW(&msg, nullptr, 0, 0) > 0) ::DispatchMessageW(&msg);
}

double Seconds(const LARGE_INTEGER& start)
{
    LARGE_INTEGER now, frequency;
    ::QueryPerformanceCounter(&now);
    ::QueryPerformanceFrequency(&frequency);
    return double(now.QuadPart - start.QuadPart) / double(frequency.QuadPart);
}

int Usage()
{
    std::fwprintf(stderr, L"usage: YarrowbyFileBench shred <file> <passes> | split <source> <folder> <piece bytes> | "
                          L"join <folder> <name> <piece count> <output folder>\n");
    return 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 4) return Usage();
    const std::wstring mode = argv[1];
    HWND wnd = MakeWindow();
    CFileShredder shredder;
    CFileSpliter spliter;
    CFileJoin join;
    LARGE_INTEGER start;
    ::QueryPerformanceCounter(&start);
    if (mode == L"shred" && argc == 4) {
        g_run.doneMessage = WM_SHRED_DONE;
        shredder.SetParentWnd(wnd);
        shredder.ShredderFiles({argv[2]}, _wtoi(argv[3]));
    } else if (mode == L"split" && argc == 5) {
        g_run.doneMessage = WM_FILESPLIT_DONE;
        spliter.SetParentWnd(wnd);
        spliter.SplitFiles(argv[2], argv[3], _wcstoui64(argv[4], nullptr, 10));
    } else if (mode == L"join" && argc == 6) {
        g_run.doneMessage = WM_FILEJOIN_DONE;
        std::vector<std::wstring> pieces;
        for (int n = 1; n <= _wtoi(argv[4]); ++n)
            pieces.push_back(std::wstring(argv[2]) + L"\\" + CFileSpliter::PieceFileName(argv[3], unsigned(n)));
        join.SetParentWnd(wnd);
        join.JoinSpliterFiles(pieces, argv[5], argv[3]);
    } else {
        return Usage();
    }
    WaitForDone();
    std::wprintf(L"seconds %.3f\nfailed %u %ld\n", Seconds(start), unsigned(g_run.failed), long(g_run.error));
    return g_run.failed == 0 ? 0 : 1;
}
