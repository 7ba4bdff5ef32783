// Translation of window captions and menu texts through the process-wide dictionary.
#include "Dictionary.h"

namespace nsVendrel {

namespace {

CString WindowText(HWND wnd)
{
    int length = ::GetWindowTextLengthW(wnd);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    int got = ::GetWindowTextW(wnd, &text[0], length + 1);
    text.resize(got > 0 ? static_cast<size_t>(got) : 0);
    return CString(text);
}

void TranslateChildren(HWND parent, ULONG mainId, int bSearchAll)
{
    for (HWND child = ::GetWindow(parent, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        ::SetWindowTextW(child, TranslateCode(WindowText(child), mainId, bSearchAll));
        TranslateChildren(child, mainId, bSearchAll);
    }
}

void TranslateMenuHandle(HMENU menu, ULONG mainId, int bSearchAll)
{
    int count = ::GetMenuItemCount(menu);
    for (int pos = 0; pos < count; ++pos) {
        // A separator stays a separator (rewriting it would make an empty clickable item).
        if (::GetMenuState(menu, static_cast<UINT>(pos), MF_BYPOSITION) & MF_SEPARATOR) continue;
        wchar_t text[1024] = L"";
        ::GetMenuStringW(menu, static_cast<UINT>(pos), text, 1024, MF_BYPOSITION);
        CString translated = TranslateCode(text, mainId, bSearchAll);
        UINT id = ::GetMenuItemID(menu, pos);
        HMENU sub = id == static_cast<UINT>(-1) ? ::GetSubMenu(menu, pos) : nullptr;
        if (sub) {
            TranslateMenuHandle(sub, mainId, bSearchAll);
            ::ModifyMenuW(menu, static_cast<UINT>(pos), MF_BYPOSITION | MF_POPUP, reinterpret_cast<UINT_PTR>(sub),
                          translated);
        } else {
            ::ModifyMenuW(menu, static_cast<UINT>(pos), MF_BYPOSITION | MF_STRING, id, translated);
        }
    }
}

}  // namespace

int TranslateWnd(CWnd* pWnd, ULONG mainId, int bSearchAll)
{
    if (!pWnd || !pWnd->GetSafeHwnd()) return 0;
    TranslateChildren(pWnd->GetSafeHwnd(), mainId, bSearchAll);
    return 1;
}

int TranslateMenu(CMenu* pMenu, ULONG mainId, int bSearchAll)
{
    if (!pMenu || !pMenu->GetSafeHmenu()) return 0;
    TranslateMenuHandle(pMenu->GetSafeHmenu(), mainId, bSearchAll);
    return 1;
}

}  // namespace nsVendrel
