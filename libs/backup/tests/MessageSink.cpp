#include "MessageSink.h"

#include "QTestSupport.h"

#include "BackupMessages.h"

#include <commctrl.h>

namespace ColdrithTest {
namespace {
const wchar_t* const className = L"ColdrithTestSink";

void RegisterOnce()
{
    static bool done = false;
    if (done) return;
    WNDCLASSW wc = {};
    wc.lpfnWndProc = &DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = className;
    RegisterClassW(&wc);
    done = true;
}
}  // namespace

CMessageSink::CMessageSink()
{
    RegisterOnce();
    m_hWnd = CreateWindowExW(0, className, L"sink", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
    m_hProgress = CreateWindowExW(0, className, L"progress", WS_CHILD, 0, 0, 10, 10, m_hWnd, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
    SetWindowLongPtrW(m_hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrW(m_hProgress, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CMessageSink::WndProc));
    SetWindowLongPtrW(m_hProgress, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CMessageSink::WndProc));
}

CMessageSink::~CMessageSink() { DestroyWindow(m_hWnd); }

LRESULT CALLBACK CMessageSink::WndProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    CMessageSink* self = reinterpret_cast<CMessageSink*>(GetWindowLongPtrW(hWnd, GWLP_USERDATA));
    if (self) {
        switch (msg) {
        case WM_FILEBACKUP_PROGRESS:
            self->backupProgress.push_back(static_cast<int>(wParam));
            if (self->onProgress) self->onProgress(msg, wParam);
            return 0;
        case WM_FILERESTORE_PROGRESS:
            self->restoreProgress.push_back(static_cast<int>(wParam));
            if (self->onProgress) self->onProgress(msg, wParam);
            return 0;
        case WM_FILEBACKUP_DONE:
            self->backupDone = true;
            self->outcome = lParam;
            return 0;
        case WM_FILERESTORE_DONE:
            self->restoreDone = true;
            self->outcome = lParam;
            return 0;
        case WM_REGBACKUP_DONE:
            self->registryDone = true;
            self->registryPath = reinterpret_cast<const wchar_t*>(wParam);
            ++self->registryDoneCount;
            self->outcome = lParam;
            return 0;
        case PBM_SETRANGE32:
            if (hWnd == self->m_hProgress) self->ranges.push_back(lParam);
            return 0;
        }
    }
    return DefWindowProcW(hWnd, msg, wParam, lParam);
}

bool CMessageSink::WaitForDone(DWORD timeoutMs)
{
    backupDone = restoreDone = registryDone = false;
    return shell_test::PumpUntil([this] { return backupDone || restoreDone || registryDone; }, timeoutMs);
}
}  // namespace ColdrithTest
