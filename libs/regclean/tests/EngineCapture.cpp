#include "EngineCapture.h"

#include "RegNames.h"

namespace bxtest {

MessageCapture::MessageCapture()
{
    static bool registered = false;
    if (!registered) {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = &MessageCapture::Proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"BexlarTestCapture";
        RegisterClassW(&wc);
        registered = true;
    }
    hwnd_ = CreateWindowExW(0, L"BexlarTestCapture", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                            GetModuleHandleW(nullptr), nullptr);
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

MessageCapture::~MessageCapture() { DestroyWindow(hwnd_); }

LRESULT CALLBACK MessageCapture::Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    auto* self = reinterpret_cast<MessageCapture*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self && msg >= WM_REGSCAN_CATEGORY_DONE && msg <= WM_REGCLEAN_FINISHED) {
        Message m{msg, wParam, L""};
        if (msg == WM_REGCLEAN_ITEM) {
            const auto* r = reinterpret_cast<const CRegistryData::SCAN_RESULT*>(wParam);
            m.item = bexlar::FullItemText(r->data.root, r->data.subKey, r->data.valueName);
        }
        self->messages.push_back(m);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

std::vector<UINT> MessageCapture::Numbers() const
{
    std::vector<UINT> out;
    for (const Message& m : messages) out.push_back(m.msg);
    return out;
}

int MessageCapture::Count(UINT msg) const
{
    int n = 0;
    for (const Message& m : messages) n += m.msg == msg;
    return n;
}

bool HasTag(const CRegistryData::SCAN_RESULT& r, const std::wstring& tag)
{
    return r.data.subKey.find(tag) != std::wstring::npos || r.data.valueName.find(tag) != std::wstring::npos;
}

int SelectTagged(CRegistryData& engine, const std::wstring& tag)
{
    int n = 0;
    for (const auto& r : engine.GetResults()) {
        engine.Select(r, HasTag(r, tag));
        n += engine.IsSelected(r);
    }
    return n;
}

}  // namespace bxtest
