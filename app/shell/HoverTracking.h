// Hover tracking of the skinned buttons: the first mouse move asks for WM_MOUSEHOVER and WM_MOUSELEAVE, which set
// and clear the hover flag and repaint the window.
#pragma once

#include <windows.h>

namespace Shell {

// Handles the mouse move, hover and leave messages of `window`. True when the message is consumed (the window
// procedure returns 0); false when the window's own handling should follow (mouse moves and all other messages).
bool TrackHover(HWND window, UINT message, BYTE& tracking, BYTE& hover);

}  // namespace Shell
