// Shapes of skinned windows cut from their skin bitmap: the magenta (0xFF00FF) corners of the skin's edge
// columns are left out of the window.
#pragma once

#include <windows.h>

#include <functional>
#include <vector>

// A vertical run of pixels cut out of the window shape.
struct ShapeCut {
    int x;
    int top;     // first row cut
    int bottom;  // one past the last row cut
    bool operator==(const ShapeCut& o) const { return x == o.x && top == o.top && bottom == o.bottom; }
};

// For the first leftColumns and the last rightColumns columns of a width x height picture: the key-coloured run from
// the top down to the first other pixel, and the one from the last other pixel down to the bottom. A column of key
// colour only is cut whole, once.
std::vector<ShapeCut> ComputeShapeCuts(int width, int height, int leftColumns, int rightColumns,
                                       const std::function<bool(int x, int y)>& isKey);

namespace Shell {

// Sizes the window to the skin bitmap (position kept) and sets its region: the bitmap's rectangle less the
// magenta runs of its 10 leftmost and 11 rightmost columns. Nothing happens without a bitmap.
void ShapeWindowToSkin(HWND wnd, HBITMAP skin);

}  // namespace Shell
