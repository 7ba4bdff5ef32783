// The start-up floor: a bare program that creates one top-level window of the main window's size and shows it.
// With "--load-imports" it first loads, by name, every library in Quorvel.exe's import table (listed when
// Quorvel.exe is linked, see list_imports.py), as the loader does for Quorvel itself: the part of a start that
// comes before the program's own code runs.
#include <windows.h>

#include "QuorvelImports.h"

namespace {
LRESULT CALLBACK Proc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_CLOSE) {
        DestroyWindow(wnd);
        return 0;
    }
    if (msg == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(wnd, msg, wParam, lParam);
}
}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR arguments, int)
{
    if (lstrcmpW(arguments, L"--load-imports") == 0)
        for (const char* library : kProgramImports)
            if (!LoadLibraryA(library)) return 3;
    WNDCLASSW wc = {};
    wc.lpfnWndProc = &Proc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = L"QuorvelBareWindow";
    RegisterClassW(&wc);
    HWND wnd = CreateWindowExW(0, wc.lpszClassName, L"Bare window", WS_POPUP | WS_CAPTION | WS_SYSMENU, 0, 0, 930, 688,
                               nullptr, nullptr, instance, nullptr);
    ShowWindow(wnd, SW_SHOWNORMAL);
    UpdateWindow(wnd);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
