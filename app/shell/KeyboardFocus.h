// Keyboard use of the skinned controls and of the nested page dialogs: which keys a control takes for itself,
// the focus frame, and Tab moving through every control of a top-level window, pages included.
#pragma once

#include <windows.h>

namespace Shell {

// The WM_GETDLGCODE answer of a skinned control that acts on Enter itself (a button, a drawer entry): `base`,
// plus "wants the message" when the asked-about message is the Enter key.
LRESULT ActivationDialogCode(LPARAM askedMessage, LRESULT base);

// True for the key messages that press a skinned control: Enter on key-down, Space on key-up.
bool IsActivationKey(UINT message, WPARAM key);

// Lets Tab reach the controls of a child window's own children (a page, a drawer group).
void MakeControlParent(HWND wnd);

// The dotted focus frame, inside the rectangle's edge; nothing when the window hides focus frames.
void DrawFocusFrame(HWND wnd, HDC dc, const RECT& rect);

// Moves the focus to the next (or previous) Tab stop of the top-level window holding `from`, through every
// nested page. False when there is none.
bool MoveFocusToNextTabStop(HWND from, bool previous);

// A caption font that fits: the largest height from `height` down to `minHeight` at which the text is at most
// `width` pixels wide (the smallest when none is).
HFONT CreateFittingFont(HDC dc, const wchar_t* text, int width, int height, int minHeight, BOOL bold,
                        const wchar_t* face);

// The grey of captions of disabled controls.
constexpr COLORREF kDisabledTextColour = RGB(141, 141, 141);

}  // namespace Shell
