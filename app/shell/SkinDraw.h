// Drawing helpers of the skinned controls.
#pragma once

#include <windows.h>

namespace Shell {

// Draws the bitmap at (x, y); pixels equal to `transparent` are left as they are (CLR_INVALID: none is).
// Monochrome mask: cut the opaque pixels out of the target (SRCAND), then OR the bitmap's opaque pixels in.
void DrawMaskedBitmap(HDC target, int x, int y, HBITMAP bitmap, COLORREF transparent);

// The bitmap resource `id` of the resource module as a DIB section, owned by the caller; null when it does not
// load. A DIB section is made by copying the resource's pixels; LoadBitmapW converts them into the screen's
// format, which made loading the skin a large part of the program's start.
HBITMAP LoadSkinBitmap(UINT id);

// The bitmap resource `id` of the resource module as a DIB section shared with every other id whose resource
// holds the same bytes (the drawer's entries have one look under ids of their own); null when it does not load.
// It lives as long as the process: the caller never deletes it.
HBITMAP SharedSkinBitmap(UINT id);

// Size of a bitmap; (0, 0) for a null handle.
SIZE BitmapSize(HBITMAP bitmap);

// Paints what the parent shows under the child window into `dc`, whose origin is the child's client origin.
void PaintParentBackground(HWND child, HDC dc);

// Draws a skinned button into a memory picture, then onto `target` at `client`: the parent's background where
// the bitmap is transparent, the bitmap, and the caption (centred, or with its top-left corner at textX, textY).
void DrawButtonFace(HWND wnd, HDC target, const RECT& client, HBITMAP bitmap, COLORREF transparent,
                    const wchar_t* caption, HFONT font, COLORREF textColour, BOOL centre, int textX, int textY);

// A copy of a region for SetWindowRgn, which takes ownership of the handle it is given.
HRGN CopyRegion(HRGN source);

}  // namespace Shell
