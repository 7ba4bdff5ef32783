#include "BitmapDraw.h"

#include "SkinDraw.h"

void StretchBitmap(HDC dc, int x, int y, int width, int height, HBITMAP bitmap)
{
    if (!bitmap || width <= 0 || height <= 0) return;
    SIZE size = Shell::BitmapSize(bitmap);
    HDC mem = ::CreateCompatibleDC(dc);
    HGDIOBJ old = ::SelectObject(mem, bitmap);
    int oldMode = ::SetStretchBltMode(dc, COLORONCOLOR);
    ::StretchBlt(dc, x, y, width, height, mem, 0, 0, size.cx, size.cy, SRCCOPY);
    ::SetStretchBltMode(dc, oldMode);
    ::SelectObject(mem, old);
    ::DeleteDC(mem);
}

void DrawBitmap(HDC dc, int x, int y, HBITMAP bitmap)
{
    SIZE size = Shell::BitmapSize(bitmap);
    StretchBitmap(dc, x, y, size.cx, size.cy, bitmap);
}
