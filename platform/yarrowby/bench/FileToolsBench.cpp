// Times one run of a Yarrowby file tool inside this process (the Wine start-up is not counted), from the call to
// its done message:
//   YarrowbyFileBench shred <file> <passes>
//   YarrowbyFileBench split <source> <folder> <piece bytes>
//   YarrowbyFileBench join <folder> <name> <piece count> <output folder>
// and the floors, bare programs doing the same work with plain Win32 calls:
//   YarrowbyFileBench bare-shred <file> <passes>                       overwrite, flush per pass, delete
//   YarrowbyFileBench bare-split <source> <folder> <piece bytes>       read, write and flush each piece
//   YarrowbyFileBench bare-join <folder> <name> <piece count> <output folder>
// Prints "seconds <s>" and "failed <n> <first error>"; the exit code is 0 when the run succeeded.
#include <windows.h>

#include <Yarrowby.h>

#include <cstdio>
#include <algorithm>
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

const DWORD kChunk = 1 << 20;

// Writes all of data; false on an error.
bool WriteAll(HANDLE file, const char* data, DWORD size)
{
    while (size > 0) {
        DWORD done = 0;
        if (!::WriteFile(file, data, size, &done, nullptr) || done == 0) return false;
        data += done;
        size -= done;
    }
    return true;
}

bool BareShred(const std::wstring& path, int passes)
{
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN,
                                nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    LARGE_INTEGER size;
    ::GetFileSizeEx(file, &size);
    std::vector<char> buffer(kChunk);
    bool ok = true;
    for (int pass = 0; pass < passes && ok; ++pass) {
        std::fill(buffer.begin(), buffer.end(), static_cast<char>(0x55 + pass));
        LARGE_INTEGER zero = {};
        ::SetFilePointerEx(file, zero, nullptr, FILE_BEGIN);
        for (long long left = size.QuadPart; left > 0 && ok; left -= kChunk)
            ok = WriteAll(file, buffer.data(), static_cast<DWORD>(left < kChunk ? left : kChunk));
        ok = ok && ::FlushFileBuffers(file);
    }
    ::CloseHandle(file);
    return ok && ::DeleteFileW(path.c_str());
}

// Copies count bytes (all when count < 0) from one open file to a new file, flushed.
bool CopyOut(HANDLE from, const std::wstring& to, long long count, DWORD disposition, std::vector<char>& buffer)
{
    HANDLE out = ::CreateFileW(to.c_str(), GENERIC_WRITE, 0, nullptr, disposition, FILE_FLAG_SEQUENTIAL_SCAN,
                               nullptr);
    if (out == INVALID_HANDLE_VALUE) return false;
    LARGE_INTEGER end = {};
    if (disposition == OPEN_ALWAYS) ::SetFilePointerEx(out, end, nullptr, FILE_END);
    bool ok = true;
    while (ok && count != 0) {
        DWORD want = count < 0 || count > kChunk ? kChunk : static_cast<DWORD>(count), got = 0;
        if (!::ReadFile(from, buffer.data(), want, &got, nullptr) || got == 0) break;
        ok = WriteAll(out, buffer.data(), got);
        if (count > 0) count -= got;
    }
    ok = ok && ::FlushFileBuffers(out);
    ::CloseHandle(out);
    return ok;
}

bool BareSplit(const std::wstring& source, const std::wstring& folder, unsigned long long piece)
{
    HANDLE in = ::CreateFileW(source.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (in == INVALID_HANDLE_VALUE) return false;
    LARGE_INTEGER size;
    ::GetFileSizeEx(in, &size);
    std::vector<char> buffer(kChunk);
    bool ok = true;
    unsigned n = 1;
    for (long long left = size.QuadPart; left > 0 && ok; left -= static_cast<long long>(piece), ++n)
        ok = CopyOut(in, folder + L"\\bare." + std::to_wstring(n), static_cast<long long>(piece), CREATE_ALWAYS,
                     buffer);
    ::CloseHandle(in);
    return ok;
}

bool BareJoin(const std::vector<std::wstring>& pieces, const std::wstring& output)
{
    std::vector<char> buffer(kChunk);
    ::DeleteFileW(output.c_str());
    for (const std::wstring& piece : pieces) {
        HANDLE in = ::CreateFileW(piece.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
        if (in == INVALID_HANDLE_VALUE) return false;
        const bool ok = CopyOut(in, output, -1, OPEN_ALWAYS, buffer);
        ::CloseHandle(in);
        if (!ok) return false;
    }
    return true;
}

int Usage()
{
    std::fwprintf(stderr, L"usage: YarrowbyFileBench [bare-]shred <file> <passes> | [bare-]split <source> <folder> "
                          L"<piece bytes> | [bare-]join <folder> <name> <piece count> <output folder>\n");
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
    if (mode.compare(0, 5, L"bare-") == 0) {
        bool ok = false;
        if (mode == L"bare-shred" && argc == 4) {
            ok = BareShred(argv[2], _wtoi(argv[3]));
        } else if (mode == L"bare-split" && argc == 5) {
            ok = BareSplit(argv[2], argv[3], _wcstoui64(argv[4], nullptr, 10));
        } else if (mode == L"bare-join" && argc == 6) {
            std::vector<std::wstring> pieces;
            for (int n = 1; n <= _wtoi(argv[4]); ++n)
                pieces.push_back(std::wstring(argv[2]) + L"\\" + CFileSpliter::PieceFileName(argv[3], unsigned(n)));
            ok = BareJoin(pieces, std::wstring(argv[5]) + L"\\bare-" + argv[3]);
        } else {
            return Usage();
        }
        std::wprintf(L"seconds %.3f\nfailed %u %lu\n", Seconds(start), ok ? 0u : 1u, ok ? 0ul : ::GetLastError());
        return ok ? 0 : 1;
    }
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
