#include "MessageRecorder.h"

#include "QTestSupport.h"

#include <algorithm>

namespace LumbreyTest {

namespace {
const wchar_t kClassName[] = L"LumbreyTestRecorder";

void RegisterClassOnce()
{
    static const bool registered = [] {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(NULL);
        wc.lpszClassName = kClassName;
        RegisterClassW(&wc);
        return true;
    }();
    (void)registered;
}
}  // namespace

MessageRecorder::MessageRecorder(UINT first, UINT last, std::vector<UINT> textMessages)
    : m_wnd(NULL), m_first(first), m_last(last), m_textMessages(std::move(textMessages))
{
    RegisterClassOnce();
    m_wnd = CreateWindowExW(0, kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, NULL, GetModuleHandleW(NULL), NULL);
    SetWindowLongPtrW(m_wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrW(m_wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Proc));
}

MessageRecorder::~MessageRecorder()
{
    if (m_wnd) DestroyWindow(m_wnd);
}

LRESULT CALLBACK MessageRecorder::Proc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    auto* self = reinterpret_cast<MessageRecorder*>(GetWindowLongPtrW(wnd, GWLP_USERDATA));
    if (self && msg >= self->m_first && msg <= self->m_last) {
        Recorded rec{msg, std::wstring(), lParam};
        const auto& tm = self->m_textMessages;
        if (wParam != 0 && std::find(tm.begin(), tm.end(), msg) != tm.end())
            rec.text = reinterpret_cast<const wchar_t*>(wParam);
        self->m_messages.push_back(rec);
        if (self->onMessage) self->onMessage(self->m_messages.back(), wParam);
        return 0;
    }
    return DefWindowProcW(wnd, msg, wParam, lParam);
}

std::vector<std::wstring> MessageRecorder::Texts(UINT msg) const
{
    std::vector<std::wstring> texts;
    for (const Recorded& r : m_messages) {
        if (r.msg == msg) texts.push_back(r.text);
    }
    return texts;
}

size_t MessageRecorder::Count(UINT msg) const
{
    return static_cast<size_t>(
        std::count_if(m_messages.begin(), m_messages.end(), [msg](const Recorded& r) { return r.msg == msg; }));
}

bool MessageRecorder::PumpUntil(UINT msg, size_t count, DWORD timeoutMs)
{
    return shell_test::PumpUntil([&] { return Count(msg) >= count; }, timeoutMs);
}

}  // namespace LumbreyTest
