#include "BitmapDraw.h"

#include "QGuards.h"
#include "SkinDraw.h"

void StretchBitmap(HDC dc, int x, int y, int width, int height, HBITMAP bitmap)
{
    if (!bitmap || width <= 0 || height <= 0) return;
    SIZE size = Shell::BitmapSize(bitmap);
    const qcore::UniqueMemoryDc mem(::CreateCompatibleDC(dc));
    const qcore::GdiSelection selected(mem.Get(), bitmap);
    int oldMode = ::SetStretchBltMode(dc, COLORONCOLOR);
    ::StretchBlt(dc, x, y, width, height, mem.Get(), 0, 0, size.cx, size.cy, SRCCOPY);
    ::SetStretchBltMode(dc, oldMode);
}

void DrawBitmap(HDC dc, int x, int y, HBITMAP bitmap)
{
    SIZE size = Shell::BitmapSize(bitmap);
    StretchBitmap(dc, x, y, size.cx, size.cy, bitmap);
}
