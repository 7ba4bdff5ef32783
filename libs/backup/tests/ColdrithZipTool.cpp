// Command-line front of the folder backup services, for scripts that compare with other zip tools.
//   backup <folder> <name> <choice> <source>...   writes folder\name.fbk
//   restore <archive> <target>                    restores into target
//   list <archive>                                 prints the entries
//   batch <file>                                   runs one command per line (UTF-8, tab-separated)
// Prints "outcome <n>" per command (0 = success; 100 = the archive could not be opened) and the run's errors.
#include "FileBackup.h"
#include "FileRestore.h"

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {
UINT g_done = 0;
LPARAM g_outcome = 0;

LRESULT CALLBACK SinkProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_FILEBACKUP_DONE || msg == WM_FILERESTORE_DONE) {
        g_done = msg;
        g_outcome = lParam;
        return 0;
    }
    return DefWindowProcW(hWnd, msg, wParam, lParam);
}

HWND MakeSink()
{
    WNDCLASSW wc = {};
    wc.lpfnWndProc = &SinkProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"ColdrithZipToolSink";
    RegisterClassW(&wc);
    return CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
}

void Print(const std::wstring& text)
{
    int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), &out[0], n, nullptr, nullptr);
    out += '\n';
    fwrite(out.data(), 1, out.size(), stdout);
    fflush(stdout);
}

void WaitDone()
{
    // DONE arrives as a sent message, handled inside the wait; GetMessageW alone would not return for it.
    g_done = 0;
    while (!g_done) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 1000, QS_ALLINPUT);
        MSG m;
        while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
    }
}

int Run(HWND sink, const std::vector<std::wstring>& args)
{
    if (args.size() >= 4 && args[0] == L"backup") {
        Coldrith::CFileBackup backup;
        backup.SetParentWnd(sink);
        std::vector<std::wstring> sources(args.begin() + 4, args.end());
        if (!backup.ZipFiles(args[1], args[2], sources, _wtoi(args[3].c_str()))) return 101;
        WaitDone();
        for (const auto& e : backup.GetRunErrors()) Print(L"error " + e);
        return static_cast<int>(g_outcome);
    }
    if (args.size() == 3 && args[0] == L"restore") {
        Coldrith::CFileRestore restore;
        restore.SetParentWnd(sink);
        std::vector<Coldrith::CFileRestore::ZipItem> items;
        if (!restore.OpenZipFile(args[1], items)) return 100;
        restore.UnZipFile(args[2]);
        WaitDone();
        for (const auto& e : restore.GetRunErrors()) Print(L"error " + e);
        return static_cast<int>(g_outcome);
    }
    if (args.size() == 2 && args[0] == L"list") {
        Coldrith::CFileRestore restore;
        std::vector<Coldrith::CFileRestore::ZipItem> items;
        if (!restore.OpenZipFile(args[1], items)) return 100;
        for (const auto& i : items)
            Print(L"item " + i.name + (i.isDirectory ? L" <dir> " : L" ") + std::to_wstring(i.size) + L" " + i.time);
        return 0;
    }
    Print(
        L"usage: backup <folder> <name> <choice> <source>... | restore <archive> <target> | list <archive> | "
        L"batch <file>");
    return 102;
}

std::vector<std::vector<std::wstring>> ReadBatch(const std::wstring& path)
{
    std::vector<std::vector<std::wstring>> commands;
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return commands;
    std::string bytes;
    char buf[65536];
    DWORD got = 0;
    while (ReadFile(h, buf, sizeof(buf), &got, nullptr) && got) bytes.append(buf, got);
    CloseHandle(h);
    int n = MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring text(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), &text[0], n);
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find(L'\n', start);
        if (end == std::wstring::npos) end = text.size();
        std::wstring line = text.substr(start, end - start);
        if (!line.empty() && line.back() == L'\r') line.pop_back();
        std::vector<std::wstring> args;
        size_t p = 0;
        while (!line.empty()) {
            size_t tab = line.find(L'\t', p);
            args.push_back(line.substr(p, tab == std::wstring::npos ? std::wstring::npos : tab - p));
            if (tab == std::wstring::npos) break;
            p = tab + 1;
        }
        if (!args.empty()) commands.push_back(args);
        start = end + 1;
    }
    return commands;
}
}  // namespace

int wmain(int argc, wchar_t** argv)
{
    HWND sink = MakeSink();
    std::vector<std::wstring> args(argv + 1, argv + argc);
    if (args.size() == 2 && args[0] == L"batch") {
        int worst = 0;
        for (const auto& command : ReadBatch(args[1])) {
            DWORD start = GetTickCount();
            int outcome = Run(sink, command);
            Print(L"command " + command[0] + L" outcome " + std::to_wstring(outcome) + L" ms " +
                  std::to_wstring(GetTickCount() - start));
            if (outcome) worst = outcome;
        }
        return worst ? 1 : 0;
    }
    int outcome = Run(sink, args);
    Print(L"outcome " + std::to_wstring(outcome));
    return outcome;
}
