#include "QMessageWindow.h"

#include <utility>

namespace qcore {

namespace {

const wchar_t kClassName[] = L"QCoreMessageWindow";

// The module this code is linked into: each module holding a copy of it registers the class for itself.
HINSTANCE OwnModule()
{
    HMODULE module = nullptr;
    ::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                         kClassName, &module);
    return module;
}

}  // namespace

MessageWindow::MessageWindow(Handler handler) : m_handler(std::move(handler))
{
    static const HINSTANCE instance = OwnModule();
    static const bool registered = [] {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = &MessageWindow::Proc;
        wc.hInstance = instance;
        wc.lpszClassName = kClassName;
        return ::RegisterClassW(&wc) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    }();
    if (registered) m_wnd = ::CreateWindowExW(0, kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, this);
}

MessageWindow::~MessageWindow()
{
    if (m_wnd) ::DestroyWindow(m_wnd);
}

LRESULT CALLBACK MessageWindow::Proc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        ::SetWindowLongPtrW(wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<MessageWindow*>(::GetWindowLongPtrW(wnd, GWLP_USERDATA));
    if (self && msg >= WM_USER && self->m_handler) return self->m_handler(msg, wParam, lParam);
    return ::DefWindowProcW(wnd, msg, wParam, lParam);
}

}  // namespace qcore
