#include "SkinDraw.h"

#include <wchar.h>

#include <cstring>
#include <mutex>
#include <vector>

#include "QGuards.h"
#include "QMfc.h"

namespace Shell {

HBITMAP LoadSkinBitmap(UINT id)
{
    return static_cast<HBITMAP>(
        ::LoadImageW(AfxGetResourceHandle(), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
}

HBITMAP SharedSkinBitmap(UINT id)
{
    struct Shared {
        const void* bytes;
        DWORD size;
        HBITMAP bitmap;
    };
    static std::mutex lock;
    static std::vector<Shared> made;
    HMODULE module = AfxGetResourceHandle();
    HRSRC resource = ::FindResourceW(module, MAKEINTRESOURCEW(id), RT_BITMAP);
    HGLOBAL loaded = resource ? ::LoadResource(module, resource) : nullptr;
    const void* bytes = loaded ? ::LockResource(loaded) : nullptr;
    if (!bytes) return nullptr;
    const DWORD size = ::SizeofResource(module, resource);
    const std::lock_guard<std::mutex> hold(lock);
    for (const Shared& s : made)
        if (s.size == size && (s.bytes == bytes || std::memcmp(s.bytes, bytes, size) == 0)) return s.bitmap;
    HBITMAP bitmap = LoadSkinBitmap(id);
    if (bitmap) made.push_back({bytes, size, bitmap});
    return bitmap;
}

SIZE BitmapSize(HBITMAP bitmap)
{
    BITMAP bm = {};
    if (!bitmap || !::GetObjectW(bitmap, sizeof(bm), &bm)) return SIZE{0, 0};
    return SIZE{bm.bmWidth, bm.bmHeight};
}

void DrawMaskedBitmap(HDC target, int x, int y, HBITMAP bitmap, COLORREF transparent)
{
    SIZE size = BitmapSize(bitmap);
    if (size.cx == 0 || size.cy == 0) return;
    const qcore::UniqueMemoryDc srcDC(::CreateCompatibleDC(target));
    const HDC src = srcDC.Get();
    const qcore::GdiSelection srcSelected(src, bitmap);
    if (transparent == CLR_INVALID) {
        ::BitBlt(target, x, y, size.cx, size.cy, src, 0, 0, SRCCOPY);
    } else {
        // mask: 1 where the pixel is the transparent colour
        const qcore::UniqueMemoryDc mask(::CreateCompatibleDC(target));
        const HDC maskDC = mask.Get();
        const qcore::UniqueGdiObject maskBitmap(::CreateBitmap(size.cx, size.cy, 1, 1, nullptr));
        const qcore::GdiSelection maskSelected(maskDC, maskBitmap.Get());
        ::SetBkColor(src, transparent);
        ::BitBlt(maskDC, 0, 0, size.cx, size.cy, src, 0, 0, SRCCOPY);

        // the picture with its transparent pixels black, on a copy so the bitmap itself is unchanged
        const qcore::UniqueMemoryDc copy(::CreateCompatibleDC(target));
        const HDC copyDC = copy.Get();
        const qcore::UniqueGdiObject copyBitmap(::CreateCompatibleBitmap(target, size.cx, size.cy));
        const qcore::GdiSelection copySelected(copyDC, copyBitmap.Get());
        ::BitBlt(copyDC, 0, 0, size.cx, size.cy, src, 0, 0, SRCCOPY);
        ::SetBkColor(copyDC, RGB(0, 0, 0));
        ::SetTextColor(copyDC, RGB(255, 255, 255));
        ::BitBlt(copyDC, 0, 0, size.cx, size.cy, maskDC, 0, 0, SRCAND);

        COLORREF oldBk = ::SetBkColor(target, RGB(255, 255, 255));
        COLORREF oldText = ::SetTextColor(target, RGB(0, 0, 0));
        ::BitBlt(target, x, y, size.cx, size.cy, maskDC, 0, 0, SRCAND);
        ::BitBlt(target, x, y, size.cx, size.cy, copyDC, 0, 0, SRCPAINT);
        ::SetBkColor(target, oldBk);
        ::SetTextColor(target, oldText);
    }
}

void PaintParentBackground(HWND child, HDC dc)
{
    HWND parent = ::GetParent(child);
    if (!parent) return;
    POINT origin = {0, 0};
    ::MapWindowPoints(child, parent, &origin, 1);
    POINT old;
    ::OffsetViewportOrgEx(dc, -origin.x, -origin.y, &old);
    ::SendMessageW(parent, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    ::SetViewportOrgEx(dc, old.x, old.y, nullptr);
}

void DrawButtonFace(HWND wnd, HDC target, const RECT& client, HBITMAP bitmap, COLORREF transparent,
                    const wchar_t* caption, HFONT font, COLORREF textColour, BOOL centre, int textX, int textY)
{
    int w = client.right - client.left, h = client.bottom - client.top;
    const qcore::UniqueMemoryDc memDC(::CreateCompatibleDC(target));
    const HDC mem = memDC.Get();
    const qcore::UniqueGdiObject canvas(::CreateCompatibleBitmap(target, w, h));
    const qcore::GdiSelection canvasSelected(mem, canvas.Get());
    RECT all = {0, 0, w, h};
    ::FillRect(mem, &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    // Transparent pixels show what the parent paints there (never the button's own previous frame).
    if (transparent != CLR_INVALID) PaintParentBackground(wnd, mem);
    DrawMaskedBitmap(mem, 0, 0, bitmap, transparent);
    if (caption && *caption) {
        const qcore::GdiSelection fontSelected(mem, font);
        ::SetTextColor(mem, textColour);
        ::SetBkMode(mem, TRANSPARENT);
        if (centre) {
            // Skinned captions have no mnemonics: an "&" in a text is drawn as it stands.
            ::DrawTextW(mem, caption, -1, &all, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        } else {
            ::TextOutW(mem, textX, textY, caption, static_cast<int>(wcslen(caption)));
        }
    }
    ::BitBlt(target, client.left, client.top, w, h, mem, 0, 0, SRCCOPY);
}

HRGN CopyRegion(HRGN source)
{
    HRGN copy = ::CreateRectRgn(0, 0, 0, 0);
    if (source) ::CombineRgn(copy, source, nullptr, RGN_COPY);
    return copy;
}

}  // namespace Shell
