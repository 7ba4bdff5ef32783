// A row of push buttons anchored at its right edge: each button is as wide as its caption needs in the current
// language (never narrower than the row's minimum), laid out from right to left.
#pragma once

#include <windows.h>

#include <initializer_list>

namespace Shell {

// Buttons in order from the rightmost; `right` is the rightmost button's right edge, `step` the distance between
// the left edges of neighbours when every button has the minimum width (the gap is kept when one is wider).
void LayOutButtonRow(std::initializer_list<HWND> rightToLeft, int right, int top, int bottom, int minWidth, int step);

}  // namespace Shell
