// Drawing a whole bitmap stretched into a rectangle of a DC (the skin's backgrounds and bars).
#pragma once

#include <windows.h>

// Nothing is drawn for a null bitmap or an empty rectangle.
void StretchBitmap(HDC dc, int x, int y, int width, int height, HBITMAP bitmap);
// The bitmap 1:1 at (x, y).
void DrawBitmap(HDC dc, int x, int y, HBITMAP bitmap);
