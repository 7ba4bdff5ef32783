#include "ScanCapture.h"

#include "QTestSupport.h"

#include <Moravin/ShortCutClean.h>

namespace {

const wchar_t kClassName[] = L"MoravinScanCapture";

void RegisterCaptureClass(WNDPROC proc)
{
    static bool registered = false;
    if (registered) return;
    WNDCLASSW wc = {};
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kClassName;
    registered = RegisterClassW(&wc) != 0;
}

}  // namespace

ScanCapture::ScanCapture()
{
    RegisterCaptureClass(WindowProc);
    m_hwnd = CreateWindowW(kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleW(nullptr), nullptr);
    SetWindowLongPtrW(m_hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

ScanCapture::~ScanCapture()
{
    if (m_hwnd) DestroyWindow(m_hwnd);
}

LRESULT CALLBACK ScanCapture::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    auto* self = reinterpret_cast<ScanCapture*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self && msg >= WM_SHORTCUT_INVALID_FOUND && msg <= WM_SHORTCUT_SCAN_DONE) {
        ScanMessage m{msg, wParam ? reinterpret_cast<const wchar_t*>(wParam) : L"", L""};
        if (msg == WM_SHORTCUT_INVALID_FOUND && lParam) m.target = reinterpret_cast<const wchar_t*>(lParam);
        self->m_messages.push_back(m);
        if (self->onMessage) self->onMessage(m);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

bool ScanCapture::WaitForDone(int doneCount, DWORD timeoutMs)
{
    return shell_test::PumpUntil([&] { return Count(WM_SHORTCUT_SCAN_DONE) >= doneCount; }, timeoutMs);
}

void ScanCapture::PumpFor(DWORD ms) { shell_test::PumpFor(ms); }

int ScanCapture::Count(UINT msg) const
{
    int n = 0;
    for (const ScanMessage& m : m_messages) n += m.msg == msg;
    return n;
}

std::vector<std::wstring> ScanCapture::Paths(UINT msg) const
{
    std::vector<std::wstring> paths;
    for (const ScanMessage& m : m_messages)
        if (m.msg == msg) paths.push_back(m.path);
    return paths;
}
