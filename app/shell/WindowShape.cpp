#include "WindowShape.h"

#include "QGuards.h"
#include "SkinDraw.h"

std::vector<ShapeCut> ComputeShapeCuts(int width, int height, int leftColumns, int rightColumns,
                                       const std::function<bool(int x, int y)>& isKey)
{
    std::vector<ShapeCut> cuts;
    if (width <= 0 || height <= 0) return cuts;
    auto cutColumn = [&](int x) {
        int top = 0;
        while (top < height && isKey(x, top)) ++top;
        if (top == height) {
            cuts.push_back(ShapeCut{x, 0, height});
            return;
        }
        if (top > 0) cuts.push_back(ShapeCut{x, 0, top});
        int bottom = height;
        while (bottom > top && isKey(x, bottom - 1)) --bottom;
        if (bottom < height) cuts.push_back(ShapeCut{x, bottom, height});
    };
    int left = leftColumns < width ? leftColumns : width;
    for (int x = 0; x < left; ++x) cutColumn(x);
    int firstRight = width - rightColumns;
    if (firstRight < left) firstRight = left;
    for (int x = firstRight; x < width; ++x) cutColumn(x);
    return cuts;
}

namespace Shell {

void ShapeWindowToSkin(HWND wnd, HBITMAP skin)
{
    SIZE size = BitmapSize(skin);
    if (size.cx <= 0 || size.cy <= 0) return;
    ::SetWindowPos(wnd, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

    std::vector<ShapeCut> cuts;
    {
        const qcore::WindowDc screen(nullptr);
        const qcore::UniqueMemoryDc mem(::CreateCompatibleDC(screen.Get()));
        const qcore::GdiSelection selected(mem.Get(), skin);
        const COLORREF key = RGB(255, 0, 255);
        cuts = ComputeShapeCuts(size.cx, size.cy, 10, 11,
                                [&](int x, int y) { return ::GetPixel(mem.Get(), x, y) == key; });
    }

    HRGN shape = ::CreateRectRgn(0, 0, size.cx, size.cy);
    for (const ShapeCut& cut : cuts) {
        HRGN piece = ::CreateRectRgn(cut.x, cut.top, cut.x + 1, cut.bottom);
        ::CombineRgn(shape, shape, piece, RGN_DIFF);
        ::DeleteObject(piece);
    }
    // The window owns the region from here on.
    ::SetWindowRgn(wnd, shape, TRUE);
}

}  // namespace Shell
