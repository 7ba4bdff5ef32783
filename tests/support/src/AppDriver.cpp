#include "QAppDriver.h"

#include <shellapi.h>

#include <cwchar>

#include "QTestSupport.h"

namespace shell_test {

namespace {

struct FindWindowState {
    DWORD pid;
    const std::function<bool(HWND)>* match;
    HWND found;
};

BOOL CALLBACK FindWindowProc(HWND wnd, LPARAM param)
{
    auto* find = reinterpret_cast<FindWindowState*>(param);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(wnd, &pid);
    if (pid != find->pid || !(*find->match)(wnd)) return TRUE;
    find->found = wnd;
    return FALSE;
}

bool IsMainWindow(HWND wnd)
{
    wchar_t cls[32] = L"";
    ::GetClassNameW(wnd, cls, 32);
    RECT r;
    ::GetWindowRect(wnd, &r);
    return wcscmp(cls, L"#32770") == 0 && r.right - r.left == 930 && r.bottom - r.top == 688;
}

}  // namespace

QuorvelProcess::~QuorvelProcess()
{
    if (IsRunning()) Exit();
    if (m_pi.hProcess) ::CloseHandle(m_pi.hProcess);
    if (m_pi.hThread) ::CloseHandle(m_pi.hThread);
}

bool QuorvelProcess::Start(const std::wstring& arguments)
{
    return StartProgram(ProgramFolder() + L"Quorvel.exe", arguments);
}

bool QuorvelProcess::StartProgram(const std::wstring& exe, const std::wstring& arguments)
{
    std::wstring commandLine = L"\"" + exe + L"\"" + (arguments.empty() ? L"" : L" " + arguments);
    std::wstring folder = exe.substr(0, exe.find_last_of(L'\\') + 1);
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    m_startTick = ::GetTickCount();
    return ::CreateProcessW(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si,
                            &m_pi) != FALSE;
}

HWND QuorvelProcess::WaitForMainWindow(DWORD timeoutMs)
{
    PumpUntil(
        [&] {
            m_main = FindProcessWindow(m_pi.dwProcessId, IsMainWindow);
            return m_main != nullptr || !IsRunning();
        },
        timeoutMs);
    return m_main;
}

long QuorvelProcess::WaitUntilVisible(DWORD timeoutMs)
{
    if (!WaitForMainWindow(timeoutMs)) return -1;
    if (!PumpUntil([&] { return ::IsWindowVisible(m_main) != FALSE; }, timeoutMs)) return -1;
    return static_cast<long>(::GetTickCount() - m_startTick);
}

bool QuorvelProcess::IsRunning() const
{
    return m_pi.hProcess && ::WaitForSingleObject(m_pi.hProcess, 0) == WAIT_TIMEOUT;
}

bool QuorvelProcess::WaitForExit(DWORD timeoutMs)
{
    return PumpUntil([&] { return !IsRunning(); }, timeoutMs);
}

DWORD QuorvelProcess::ExitCode() const
{
    DWORD code = STILL_ACTIVE;
    if (m_pi.hProcess) ::GetExitCodeProcess(m_pi.hProcess, &code);
    return code;
}

void QuorvelProcess::Exit()
{
    if (m_main) ::PostMessageW(m_main, WM_COMMAND, MAKEWPARAM(32772, 0), 0);
    if (!WaitForExit(10000) && m_pi.hProcess) {
        ::TerminateProcess(m_pi.hProcess, 1);
        ::WaitForSingleObject(m_pi.hProcess, 5000);
    }
}

HWND FindProcessWindow(DWORD processId, const std::function<bool(HWND)>& match)
{
    FindWindowState find = {processId, &match, nullptr};
    ::EnumWindows(FindWindowProc, reinterpret_cast<LPARAM>(&find));
    return find.found;
}

bool TrayIconPresent(HWND owner)
{
    NOTIFYICONDATAW nid = {};
    nid.cbSize = sizeof(nid);
    nid.hWnd = owner;
    nid.uID = 1000;
    return ::Shell_NotifyIconW(NIM_MODIFY, &nid) != FALSE;
}

HWND PageContainer(HWND main)
{
    for (HWND child = ::GetWindow(main, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        RECT r;
        ::GetWindowRect(child, &r);
        POINT p = {r.left, r.top};
        ::ScreenToClient(main, &p);
        if (p.x == 186 && p.y == 126 && r.right - r.left == 737 && r.bottom - r.top == 536) return child;
    }
    return nullptr;
}

int VisiblePageId(HWND main)
{
    HWND container = PageContainer(main);
    if (!container || !::IsWindowVisible(container)) return 0;
    int id = 0;
    for (HWND page = ::GetWindow(container, GW_CHILD); page; page = ::GetWindow(page, GW_HWNDNEXT)) {
        if (!(::GetWindowLongW(page, GWL_STYLE) & WS_VISIBLE)) continue;
        if (id != 0) return -1;
        id = ::GetDlgCtrlID(page);
    }
    return id;
}

HWND DrawerEntry(HWND main, int pageId)
{
    for (HWND wnd : Descendants(main)) {
        wchar_t cls[32] = L"";
        ::GetClassNameW(wnd, cls, 32);
        if (::GetDlgCtrlID(wnd) == pageId && lstrcmpiW(cls, L"Static") == 0) return wnd;
    }
    return nullptr;
}

HWND OpenPageFromDrawer(HWND main, int headerPageId, int pageId)
{
    PumpFor(500);
    HWND header = DrawerEntry(main, headerPageId);
    if (!header) return nullptr;
    ClickWindow(header);
    HWND item = DrawerEntry(main, pageId);
    if (!item || !PumpUntil([&] { return ::IsWindowVisible(item) != FALSE; })) return nullptr;
    ClickWindow(item);
    if (!PumpUntil([&] { return VisiblePageId(main) == pageId; })) return nullptr;
    return FindDescendant(PageContainer(main), pageId);
}

HWND FindDescendant(HWND root, int id)
{
    for (HWND wnd : Descendants(root))
        if (::GetDlgCtrlID(wnd) == id) return wnd;
    return nullptr;
}

std::wstring ArtifactPath(const wchar_t* name)
{
    std::wstring folder = ProgramFolder() + L"artifacts\\";
    ::CreateDirectoryW(folder.c_str(), nullptr);
    return folder + name;
}

void ClickWindow(HWND wnd, int x, int y)
{
    ::SendMessageW(wnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    ::SendMessageW(wnd, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

void PressButton(HWND button)
{
    if (!button) return;
    ::SendMessageW(::GetParent(button), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(button), BN_CLICKED), (LPARAM)button);
}

void PostButtonClick(HWND button)
{
    if (!button) return;
    ::PostMessageW(::GetParent(button), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(button), BN_CLICKED), (LPARAM)button);
}

namespace {

BOOL CALLBACK FindUnpainted(HWND child, LPARAM found)
{
    if (!::IsWindowVisible(child) || !::GetUpdateRect(child, nullptr, FALSE)) return TRUE;
    *reinterpret_cast<bool*>(found) = true;
    return FALSE;
}

bool HasUnpaintedWindow(HWND wnd)
{
    bool found = ::GetUpdateRect(wnd, nullptr, FALSE) != FALSE;
    if (!found) ::EnumChildWindows(wnd, FindUnpainted, reinterpret_cast<LPARAM>(&found));
    return found;
}

}  // namespace

bool WaitUntilPainted(HWND wnd, DWORD timeoutMs)
{
    // A window of this thread paints while this thread pumps; another thread's window is painted by its own
    // thread once it has handled what was sent or posted to it before now.
    if (::GetWindowThreadProcessId(wnd, nullptr) == ::GetCurrentThreadId()) return PumpUntilPainted(timeoutMs);
    const DWORD start = ::GetTickCount();
    for (;;) {
        DWORD_PTR answer = 0;
        if (!::SendMessageTimeoutW(wnd, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, timeoutMs, &answer)) return false;
        if (!HasUnpaintedWindow(wnd)) return true;
        if (::GetTickCount() - start > timeoutMs) return false;
        ::Sleep(10);
    }
}

bool SaveWindowShot(HWND wnd, const std::wstring& path)
{
    WaitUntilPainted(wnd);
    RECT r;
    ::GetWindowRect(wnd, &r);
    int w = r.right - r.left, h = r.bottom - r.top;
    // The window's own surface: other programs' windows on the display cannot cover it.
    HDC screen = ::GetWindowDC(wnd);
    HDC mem = ::CreateCompatibleDC(screen);
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    HBITMAP dib = ::CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = ::SelectObject(mem, dib);
    ::BitBlt(mem, 0, 0, w, h, screen, 0, 0, SRCCOPY);
    ::GdiFlush();
    DWORD stride = (static_cast<DWORD>(w) * 3 + 3) & ~3u;
    DWORD size = stride * static_cast<DWORD>(h);
    BITMAPFILEHEADER fh = {};
    fh.bfType = 0x4D42;
    fh.bfOffBits = sizeof(fh) + sizeof(bi.bmiHeader);
    fh.bfSize = fh.bfOffBits + size;
    bi.bmiHeader.biSizeImage = size;
    bool ok = false;
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        DWORD written = 0;
        ok = ::WriteFile(file, &fh, sizeof(fh), &written, nullptr) &&
             ::WriteFile(file, &bi.bmiHeader, sizeof(bi.bmiHeader), &written, nullptr) &&
             ::WriteFile(file, bits, size, &written, nullptr);
        ::CloseHandle(file);
    }
    ::SelectObject(mem, old);
    ::DeleteObject(dib);
    ::DeleteDC(mem);
    ::ReleaseDC(wnd, screen);
    return ok;
}

void SetRecentLastScan()
{
    HKEY key = nullptr;
    if (::RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Quorvel\\Param\\RegScore", 0, nullptr, 0, KEY_SET_VALUE,
                          nullptr, &key, nullptr) != ERROR_SUCCESS)
        return;
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    wchar_t text[32];
    swprintf(text, 32, L"%04u-%02u-%02u_%02u:%02u:%02u", now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute,
             now.wSecond);
    ::RegSetValueExW(key, L"LastScanTime", 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                     static_cast<DWORD>((wcslen(text) + 1) * sizeof(wchar_t)));
    DWORD score = 100;
    ::RegSetValueExW(key, L"LastScanScore", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&score), sizeof(score));
    ::RegCloseKey(key);
}

void SetLanguageSetting(const wchar_t* text)
{
    HKEY key = nullptr;
    if (::RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Quorvel\\Param", 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                          nullptr) != ERROR_SUCCESS)
        return;
    if (text)
        ::RegSetValueExW(key, L"Lang", 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                         static_cast<DWORD>((wcslen(text) + 1) * sizeof(wchar_t)));
    else
        ::RegDeleteValueW(key, L"Lang");
    ::RegCloseKey(key);
}

}  // namespace shell_test
