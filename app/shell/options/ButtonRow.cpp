#include "ButtonRow.h"

#include <QGuards.h>

#include <string>

namespace Shell {

namespace {

// The caption's width in the button's font, with room for the button's frame.
int CaptionWidth(HWND button)
{
    int length = ::GetWindowTextLengthW(button);
    std::wstring text(size_t(length) + 1, L'\0');
    text.resize(size_t(::GetWindowTextW(button, &text[0], length + 1)));
    qcore::WindowDc dc(button);
    qcore::GdiSelection font(dc.Get(), reinterpret_cast<HGDIOBJ>(::SendMessageW(button, WM_GETFONT, 0, 0)));
    SIZE size = {};
    ::GetTextExtentPoint32W(dc.Get(), text.c_str(), int(text.size()), &size);
    return size.cx + 16;
}

}  // namespace

void LayOutButtonRow(std::initializer_list<HWND> rightToLeft, int right, int top, int bottom, int minWidth, int step)
{
    const int gap = step - minWidth;
    for (HWND button : rightToLeft) {
        int width = CaptionWidth(button);
        if (width < minWidth) width = minWidth;
        ::SetWindowPos(button, nullptr, right - width, top, width, bottom - top, SWP_NOZORDER | SWP_NOACTIVATE);
        ::InvalidateRect(button, nullptr, TRUE);
        right -= width + gap;
    }
}

}  // namespace Shell
