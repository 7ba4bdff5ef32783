// The start-up floor: a bare program that creates one top-level window of the main window's size and shows it.
#include <windows.h>

namespace
{
LRESULT CALLBACK Proc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_CLOSE)
    {
        DestroyWindow(wnd);
        return 0;
    }
    if (msg == WM_DESTROY)
    {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(wnd, msg, wParam, lParam);
}
}

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int)
{
    WNDCLASSW wc = {};
    wc.lpfnWndProc = &Proc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = L"QuorvelBareWindow";
    RegisterClassW(&wc);
    HWND wnd = CreateWindowExW(0, wc.lpszClassName, L"Bare window", WS_POPUP | WS_CAPTION | WS_SYSMENU, 0, 0, 930,
                               688, nullptr, nullptr, instance, nullptr);
    ShowWindow(wnd, SW_SHOWNORMAL);
    UpdateWindow(wnd);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0)
    {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
