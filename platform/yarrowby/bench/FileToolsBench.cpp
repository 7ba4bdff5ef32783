// Times runs of the Yarrowby file tools inside this process (the Wine start-up is not counted), from the call to
// the tool's done message:
//   YarrowbyFileBench shred <file> <passes>
//   YarrowbyFileBench split <source> <folder> <piece bytes>
//   YarrowbyFileBench join <folder> <name> <piece count> <output folder>
//   YarrowbyFileBench serve
// A run prints "seconds <s> failed <n> <first error>"; its exit code is 0 when the run succeeded. "serve" reads
// such commands (without the program name, blanks between the words) from standard input one at a time and
// answers each with that line, so one Wine session serves a whole bench and the caller can settle the disk
// before it sends the next command.
#include <windows.h>

#include <Yarrowby.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
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

void Usage()
{
    std::fprintf(stderr,
                 "usage: YarrowbyFileBench shred <file> <passes> | split <source> <folder> <piece bytes> | "
                 "join <folder> <name> <piece count> <output folder> | serve\n");
}

// Runs one command (its words without the program name) and prints its line. False for a malformed command.
bool RunCommand(HWND wnd, const std::vector<std::wstring>& args)
{
    const std::wstring mode = args.empty() ? L"" : args[0];
    CFileShredder shredder;
    CFileSpliter spliter;
    CFileJoin join;
    g_run = Run();
    LARGE_INTEGER start;
    ::QueryPerformanceCounter(&start);
    if (mode == L"shred" && args.size() == 3) {
        g_run.doneMessage = WM_SHRED_DONE;
        shredder.SetParentWnd(wnd);
        shredder.ShredderFiles({args[1]}, _wtoi(args[2].c_str()));
    } else if (mode == L"split" && args.size() == 4) {
        g_run.doneMessage = WM_FILESPLIT_DONE;
        spliter.SetParentWnd(wnd);
        spliter.SplitFiles(args[1], args[2], _wcstoui64(args[3].c_str(), nullptr, 10));
    } else if (mode == L"join" && args.size() == 5) {
        g_run.doneMessage = WM_FILEJOIN_DONE;
        std::vector<std::wstring> pieces;
        for (int n = 1; n <= _wtoi(args[3].c_str()); ++n)
            pieces.push_back(args[1] + L"\\" + CFileSpliter::PieceFileName(args[2], unsigned(n)));
        join.SetParentWnd(wnd);
        join.JoinSpliterFiles(pieces, args[4], args[2]);
    } else {
        Usage();
        return false;
    }
    WaitForDone();
    std::printf("seconds %.3f failed %u %ld\n", Seconds(start), unsigned(g_run.failed), long(g_run.error));
    std::fflush(stdout);
    return true;
}

std::vector<std::wstring> Words(const char* line)
{
    std::vector<std::wstring> words;
    std::wstring word;
    for (const char* c = line;; ++c) {
        if (*c == '\0' || *c == ' ' || *c == '\t' || *c == '\r' || *c == '\n') {
            if (!word.empty()) words.push_back(word);
            word.clear();
            if (*c == '\0') break;
        } else {
            word += wchar_t(static_cast<unsigned char>(*c));  // bench paths are ASCII
        }
    }
    return words;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    HWND wnd = MakeWindow();
    if (argc == 2 && std::wstring(argv[1]) == L"serve") {
        std::printf("ready\n");
        std::fflush(stdout);
        char line[4096];
        bool allSucceeded = true;
        while (std::fgets(line, sizeof(line), stdin)) {
            const std::vector<std::wstring> words = Words(line);
            if (words.empty()) continue;
            if (!RunCommand(wnd, words)) return 2;
            allSucceeded = allSucceeded && g_run.failed == 0;
        }
        return allSucceeded ? 0 : 1;
    }
    if (!RunCommand(wnd, std::vector<std::wstring>(argv + 1, argv + argc))) return 2;
    return g_run.failed == 0 ? 0 : 1;
}
