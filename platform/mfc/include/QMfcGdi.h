// GDI wrappers. CGdiObject owns its handle (the destructor deletes it) unless it came from FromHandle: those are
// temporary wrappers owned by the thread (deleted at the outermost message loop's idle time, never deleting the
// handle): use them within one message, do not keep them. CDC::SelectObject returns such temporary wrappers for the previously selected object.
// CDC owns its DC (DeleteDC in the destructor); CPaintDC ends its painting as Win32 requires.
// A region given to SetWindowRgn belongs to the system: Detach() it from its CRgn first.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "QMfcObject.h"
#include "QMfcString.h"
#include "QMfcTypes.h"

class CWnd;
class CDC;

class CGdiObject : public CObject {
    DECLARE_DYNAMIC(CGdiObject)
public:
    HGDIOBJ m_hObject;

    CGdiObject() : m_hObject(NULL) {}
    virtual ~CGdiObject() { DeleteObject(); }

    operator HGDIOBJ() const { return m_hObject; }
    HGDIOBJ GetSafeHandle() const { return m_hObject; }
    static CGdiObject* FromHandle(HGDIOBJ h);

    BOOL Attach(HGDIOBJ h)
    {
        if (!h) return FALSE;
        DeleteObject();
        m_hObject = h;
        return TRUE;
    }
    HGDIOBJ Detach()
    {
        HGDIOBJ h = m_hObject;
        m_hObject = NULL;
        return h;
    }
    BOOL DeleteObject()
    {
        if (!m_hObject) return FALSE;
        BOOL ok = ::DeleteObject(Detach());
        return ok;
    }
    BOOL CreateStockObject(int index) { return Attach(::GetStockObject(index)); }
    int GetObject(int count, LPVOID buffer) const { return ::GetObjectW(m_hObject, count, buffer); }
    UINT GetObjectType() const { return (UINT)::GetObjectType(m_hObject); }
    BOOL UnrealizeObject() { return ::UnrealizeObject(m_hObject); }
};

class CFont : public CGdiObject {
    DECLARE_DYNAMIC(CFont)
public:
    static CFont* FromHandle(HFONT h);
    operator HFONT() const { return (HFONT)m_hObject; }
    BOOL CreateFontIndirect(const LOGFONTW* lf) { return Attach(::CreateFontIndirectW(lf)); }
    BOOL CreateFont(int height, int width, int escapement, int orientation, int weight, BYTE italic, BYTE underline,
                    BYTE strikeOut, BYTE charSet, BYTE outPrecision, BYTE clipPrecision, BYTE quality,
                    BYTE pitchAndFamily, LPCWSTR face)
    {
        return Attach(::CreateFontW(height, width, escapement, orientation, weight, italic, underline, strikeOut,
                                    charSet, outPrecision, clipPrecision, quality, pitchAndFamily, face));
    }
    // Size in tenths of a point, converted for the screen (or the given DC).
    BOOL CreatePointFont(int pointSize, LPCWSTR face, CDC* dc = NULL);
    int GetLogFont(LOGFONTW* lf) const { return GetObject(sizeof(LOGFONTW), lf); }
};

class CBitmap : public CGdiObject {
    DECLARE_DYNAMIC(CBitmap)
public:
    static CBitmap* FromHandle(HBITMAP h);
    operator HBITMAP() const { return (HBITMAP)m_hObject; }
    // From the resource module (the program by default).
    BOOL LoadBitmap(UINT id);
    BOOL LoadBitmap(LPCWSTR name);
    BOOL LoadOEMBitmap(UINT id) { return Attach(::LoadBitmapW(NULL, MAKEINTRESOURCEW(id))); }
    BOOL CreateBitmap(int w, int h, UINT planes, UINT bpp, const void* bits)
    {
        return Attach(::CreateBitmap(w, h, planes, bpp, bits));
    }
    BOOL CreateBitmapIndirect(LPBITMAP bm) { return Attach(::CreateBitmapIndirect(bm)); }
    BOOL CreateCompatibleBitmap(CDC* dc, int w, int h);
    int GetBitmap(BITMAP* bm) const { return GetObject(sizeof(BITMAP), bm); }
    DWORD GetBitmapBits(DWORD count, LPVOID bits) const
    {
        return (DWORD)::GetBitmapBits((HBITMAP)m_hObject, (LONG)count, bits);
    }
    DWORD SetBitmapBits(DWORD count, const void* bits)
    {
        return (DWORD)::SetBitmapBits((HBITMAP)m_hObject, count, bits);
    }
    CSize GetBitmapDimension() const
    {
        SIZE s = {0, 0};
        ::GetBitmapDimensionEx((HBITMAP)m_hObject, &s);
        return s;
    }
};

class CRgn : public CGdiObject {
    DECLARE_DYNAMIC(CRgn)
public:
    static CRgn* FromHandle(HRGN h);
    operator HRGN() const { return (HRGN)m_hObject; }
    BOOL CreateRectRgn(int l, int t, int r, int b) { return Attach(::CreateRectRgn(l, t, r, b)); }
    BOOL CreateRectRgnIndirect(LPCRECT rc) { return Attach(::CreateRectRgnIndirect(rc)); }
    BOOL CreateEllipticRgn(int l, int t, int r, int b) { return Attach(::CreateEllipticRgn(l, t, r, b)); }
    BOOL CreateEllipticRgnIndirect(LPCRECT rc) { return Attach(::CreateEllipticRgnIndirect(rc)); }
    BOOL CreateRoundRectRgn(int l, int t, int r, int b, int w, int h)
    {
        return Attach(::CreateRoundRectRgn(l, t, r, b, w, h));
    }
    BOOL CreatePolygonRgn(const POINT* pts, int count, int mode)
    {
        return Attach(::CreatePolygonRgn(pts, count, mode));
    }
    BOOL CreateFromData(const XFORM* x, int count, const RGNDATA* data)
    {
        return Attach(::ExtCreateRegion(x, (DWORD)count, data));
    }
    void SetRectRgn(int l, int t, int r, int b) { ::SetRectRgn((HRGN)m_hObject, l, t, r, b); }
    void SetRectRgn(LPCRECT rc) { ::SetRectRgn((HRGN)m_hObject, rc->left, rc->top, rc->right, rc->bottom); }
    // This region must exist already (as in Win32); the result kind (NULLREGION, SIMPLEREGION, ...) or ERROR.
    int CombineRgn(const CRgn* a, const CRgn* b, int mode)
    {
        return ::CombineRgn((HRGN)m_hObject, a ? (HRGN)a->m_hObject : NULL, b ? (HRGN)b->m_hObject : NULL, mode);
    }
    int CopyRgn(const CRgn* src) { return ::CombineRgn((HRGN)m_hObject, (HRGN)src->m_hObject, NULL, RGN_COPY); }
    BOOL EqualRgn(const CRgn* other) const { return ::EqualRgn((HRGN)m_hObject, (HRGN)other->m_hObject); }
    int OffsetRgn(int dx, int dy) { return ::OffsetRgn((HRGN)m_hObject, dx, dy); }
    int OffsetRgn(POINT p) { return ::OffsetRgn((HRGN)m_hObject, p.x, p.y); }
    int GetRgnBox(LPRECT rc) const { return ::GetRgnBox((HRGN)m_hObject, rc); }
    BOOL PtInRegion(int x, int y) const { return ::PtInRegion((HRGN)m_hObject, x, y); }
    BOOL PtInRegion(POINT p) const { return ::PtInRegion((HRGN)m_hObject, p.x, p.y); }
    BOOL RectInRegion(LPCRECT rc) const { return ::RectInRegion((HRGN)m_hObject, rc); }
    int GetRegionData(LPRGNDATA data, int count) const
    {
        return (int)::GetRegionData((HRGN)m_hObject, (DWORD)count, data);
    }
};

class CDC : public CObject {
    DECLARE_DYNAMIC(CDC)
public:
    HDC m_hDC;
    HDC m_hAttribDC;

    CDC() : m_hDC(NULL), m_hAttribDC(NULL) {}
    virtual ~CDC()
    {
        if (m_hDC) ::DeleteDC(Detach());
    }

    operator HDC() const { return m_hDC; }
    HDC GetSafeHdc() const { return m_hDC; }
    static CDC* FromHandle(HDC h);
    BOOL Attach(HDC h)
    {
        if (!h) return FALSE;
        m_hDC = m_hAttribDC = h;
        return TRUE;
    }
    HDC Detach()
    {
        HDC h = m_hDC;
        m_hDC = m_hAttribDC = NULL;
        return h;
    }
    BOOL CreateCompatibleDC(CDC* dc) { return Attach(::CreateCompatibleDC(dc ? dc->m_hDC : NULL)); }
    BOOL CreateDC(LPCWSTR driver, LPCWSTR device, LPCWSTR output, const DEVMODEW* init)
    {
        return Attach(::CreateDCW(driver, device, output, init));
    }
    BOOL DeleteDC()
    {
        if (!m_hDC) return FALSE;
        return ::DeleteDC(Detach());
    }

    int SaveDC() { return ::SaveDC(m_hDC); }
    BOOL RestoreDC(int saved) { return ::RestoreDC(m_hDC, saved); }
    int GetDeviceCaps(int index) const { return ::GetDeviceCaps(m_hDC, index); }

    // Selection: the previous object comes back as a temporary wrapper.
    CFont* SelectObject(CFont* f) { return CFont::FromHandle((HFONT)::SelectObject(m_hDC, f ? f->m_hObject : NULL)); }
    CBitmap* SelectObject(CBitmap* b)
    {
        return CBitmap::FromHandle((HBITMAP)::SelectObject(m_hDC, b ? b->m_hObject : NULL));
    }
    int SelectObject(CRgn* r) { return (int)(INT_PTR)::SelectObject(m_hDC, r ? r->m_hObject : NULL); }
    CGdiObject* SelectObject(CGdiObject* o)
    {
        return CGdiObject::FromHandle(::SelectObject(m_hDC, o ? o->m_hObject : NULL));
    }
    HGDIOBJ SelectObject(HGDIOBJ h) { return ::SelectObject(m_hDC, h); }
    CGdiObject* SelectStockObject(int index)
    {
        return CGdiObject::FromHandle(::SelectObject(m_hDC, ::GetStockObject(index)));
    }
    CFont* GetCurrentFont() const { return CFont::FromHandle((HFONT)::GetCurrentObject(m_hDC, OBJ_FONT)); }
    CBitmap* GetCurrentBitmap() const { return CBitmap::FromHandle((HBITMAP)::GetCurrentObject(m_hDC, OBJ_BITMAP)); }

    // Blits and fills.
    BOOL BitBlt(int x, int y, int w, int h, CDC* src, int xs, int ys, DWORD rop)
    {
        return ::BitBlt(m_hDC, x, y, w, h, src ? src->m_hDC : NULL, xs, ys, rop);
    }
    BOOL StretchBlt(int x, int y, int w, int h, CDC* src, int xs, int ys, int ws, int hs, DWORD rop)
    {
        return ::StretchBlt(m_hDC, x, y, w, h, src ? src->m_hDC : NULL, xs, ys, ws, hs, rop);
    }
    BOOL PatBlt(int x, int y, int w, int h, DWORD rop) { return ::PatBlt(m_hDC, x, y, w, h, rop); }
    int SetStretchBltMode(int mode) { return ::SetStretchBltMode(m_hDC, mode); }
    void FillSolidRect(LPCRECT rc, COLORREF color)
    {
        COLORREF old = ::SetBkColor(m_hDC, color);
        ::ExtTextOutW(m_hDC, 0, 0, ETO_OPAQUE, rc, NULL, 0, NULL);
        ::SetBkColor(m_hDC, old);
    }
    void FillSolidRect(int x, int y, int w, int h, COLORREF color)
    {
        RECT rc = {x, y, x + w, y + h};
        FillSolidRect(&rc, color);
    }
    void InvertRect(LPCRECT rc) { ::InvertRect(m_hDC, rc); }
    void Draw3dRect(LPCRECT rc, COLORREF topLeft, COLORREF bottomRight)
    {
        Draw3dRect(rc->left, rc->top, rc->right - rc->left, rc->bottom - rc->top, topLeft, bottomRight);
    }
    void Draw3dRect(int x, int y, int w, int h, COLORREF topLeft, COLORREF bottomRight)
    {
        FillSolidRect(x, y, w - 1, 1, topLeft);
        FillSolidRect(x, y, 1, h - 1, topLeft);
        FillSolidRect(x + w, y, -1, h, bottomRight);
        FillSolidRect(x, y + h, w, -1, bottomRight);
    }
    BOOL DrawFocusRect(LPCRECT rc) { return ::DrawFocusRect(m_hDC, rc); }
    BOOL DrawEdge(LPRECT rc, UINT edge, UINT flags) { return ::DrawEdge(m_hDC, rc, edge, flags); }
    BOOL DrawFrameControl(LPRECT rc, UINT type, UINT state) { return ::DrawFrameControl(m_hDC, rc, type, state); }
    BOOL PaintRgn(CRgn* r) { return ::PaintRgn(m_hDC, (HRGN)r->m_hObject); }

    // Shapes and lines.
    BOOL Rectangle(int l, int t, int r, int b) { return ::Rectangle(m_hDC, l, t, r, b); }
    BOOL Rectangle(LPCRECT rc) { return ::Rectangle(m_hDC, rc->left, rc->top, rc->right, rc->bottom); }
    BOOL RoundRect(int l, int t, int r, int b, int w, int h) { return ::RoundRect(m_hDC, l, t, r, b, w, h); }
    BOOL RoundRect(LPCRECT rc, POINT p)
    {
        return ::RoundRect(m_hDC, rc->left, rc->top, rc->right, rc->bottom, p.x, p.y);
    }
    BOOL Ellipse(int l, int t, int r, int b) { return ::Ellipse(m_hDC, l, t, r, b); }
    BOOL Ellipse(LPCRECT rc) { return ::Ellipse(m_hDC, rc->left, rc->top, rc->right, rc->bottom); }
    BOOL Polygon(const POINT* pts, int count) { return ::Polygon(m_hDC, pts, count); }
    BOOL Polyline(const POINT* pts, int count) { return ::Polyline(m_hDC, pts, count); }
    CPoint MoveTo(int x, int y)
    {
        POINT p = {0, 0};
        ::MoveToEx(m_hDC, x, y, &p);
        return p;
    }
    CPoint MoveTo(POINT pt) { return MoveTo(pt.x, pt.y); }
    BOOL LineTo(int x, int y) { return ::LineTo(m_hDC, x, y); }
    BOOL LineTo(POINT pt) { return ::LineTo(m_hDC, pt.x, pt.y); }
    COLORREF GetPixel(int x, int y) const { return ::GetPixel(m_hDC, x, y); }
    COLORREF GetPixel(POINT p) const { return ::GetPixel(m_hDC, p.x, p.y); }
    COLORREF SetPixel(int x, int y, COLORREF c) { return ::SetPixel(m_hDC, x, y, c); }
    COLORREF SetPixel(POINT p, COLORREF c) { return ::SetPixel(m_hDC, p.x, p.y, c); }
    BOOL SetPixelV(int x, int y, COLORREF c) { return ::SetPixelV(m_hDC, x, y, c); }
    BOOL DrawIcon(int x, int y, HICON icon) { return ::DrawIcon(m_hDC, x, y, icon); }
    BOOL DrawIcon(POINT p, HICON icon) { return ::DrawIcon(m_hDC, p.x, p.y, icon); }
    int SetROP2(int mode) { return ::SetROP2(m_hDC, mode); }

    // Text.
    int DrawText(LPCWSTR text, int count, LPRECT rc, UINT format)
    {
        return ::DrawTextW(m_hDC, text, count, rc, format);
    }
    int DrawText(const CString& text, LPRECT rc, UINT format)
    {
        return ::DrawTextW(m_hDC, text, text.GetLength(), rc, format);
    }
    int DrawTextEx(LPWSTR text, int count, LPRECT rc, UINT format, LPDRAWTEXTPARAMS params)
    {
        return ::DrawTextExW(m_hDC, text, count, rc, format, params);
    }
    int DrawTextEx(const CString& text, LPRECT rc, UINT format, LPDRAWTEXTPARAMS params)
    {
        CString copy(text);  // DT_MODIFYSTRING may write into the buffer
        return ::DrawTextExW(m_hDC, copy.GetBuffer(copy.GetLength() + 4), text.GetLength(), rc, format, params);
    }
    BOOL TextOut(int x, int y, LPCWSTR text, int count) { return ::TextOutW(m_hDC, x, y, text, count); }
    BOOL TextOut(int x, int y, const CString& text) { return ::TextOutW(m_hDC, x, y, text, text.GetLength()); }
    BOOL ExtTextOut(int x, int y, UINT options, LPCRECT rc, LPCWSTR text, UINT count, const INT* dx)
    {
        return ::ExtTextOutW(m_hDC, x, y, options, rc, text, count, dx);
    }
    BOOL ExtTextOut(int x, int y, UINT options, LPCRECT rc, const CString& text, const INT* dx)
    {
        return ::ExtTextOutW(m_hDC, x, y, options, rc, text, (UINT)text.GetLength(), dx);
    }
    CSize TabbedTextOut(int x, int y, LPCWSTR text, int count, int tabs, const INT* tabPos, int origin)
    {
        LONG r = ::TabbedTextOutW(m_hDC, x, y, text, count, tabs, tabPos, origin);
        return CSize(LOWORD(r), HIWORD(r));
    }
    int Escape(int escape, int count, LPCSTR in, LPVOID out) { return ::Escape(m_hDC, escape, count, in, out); }
    CSize GetTextExtent(LPCWSTR text, int count) const
    {
        SIZE s = {0, 0};
        ::GetTextExtentPoint32W(m_hDC, text, count, &s);
        return s;
    }
    CSize GetTextExtent(const CString& text) const { return GetTextExtent(text, text.GetLength()); }
    BOOL GetTextMetrics(LPTEXTMETRICW tm) const { return ::GetTextMetricsW(m_hDC, tm); }
    int SetBkMode(int mode) { return ::SetBkMode(m_hDC, mode); }
    int GetBkMode() const { return ::GetBkMode(m_hDC); }
    COLORREF SetBkColor(COLORREF c) { return ::SetBkColor(m_hDC, c); }
    COLORREF GetBkColor() const { return ::GetBkColor(m_hDC); }
    COLORREF SetTextColor(COLORREF c) { return ::SetTextColor(m_hDC, c); }
    COLORREF GetTextColor() const { return ::GetTextColor(m_hDC); }
    UINT SetTextAlign(UINT flags) { return ::SetTextAlign(m_hDC, flags); }

    // Clipping and coordinates.
    BOOL PtVisible(int x, int y) const { return ::PtVisible(m_hDC, x, y); }
    BOOL PtVisible(POINT p) const { return ::PtVisible(m_hDC, p.x, p.y); }
    BOOL RectVisible(LPCRECT rc) const { return ::RectVisible(m_hDC, rc); }
    int GetClipBox(LPRECT rc) const { return ::GetClipBox(m_hDC, rc); }
    int SelectClipRgn(CRgn* r) { return ::SelectClipRgn(m_hDC, r ? (HRGN)r->m_hObject : NULL); }
    int IntersectClipRect(int l, int t, int r, int b) { return ::IntersectClipRect(m_hDC, l, t, r, b); }
    int IntersectClipRect(LPCRECT rc) { return ::IntersectClipRect(m_hDC, rc->left, rc->top, rc->right, rc->bottom); }
    int ExcludeClipRect(int l, int t, int r, int b) { return ::ExcludeClipRect(m_hDC, l, t, r, b); }
    int ExcludeClipRect(LPCRECT rc) { return ::ExcludeClipRect(m_hDC, rc->left, rc->top, rc->right, rc->bottom); }
    int SetMapMode(int mode) { return ::SetMapMode(m_hDC, mode); }
    CPoint SetViewportOrg(int x, int y)
    {
        POINT p = {0, 0};
        ::SetViewportOrgEx(m_hDC, x, y, &p);
        return p;
    }
    CPoint SetViewportOrg(POINT pt) { return SetViewportOrg(pt.x, pt.y); }
    CPoint GetViewportOrg() const
    {
        POINT p = {0, 0};
        ::GetViewportOrgEx(m_hDC, &p);
        return p;
    }
    CPoint OffsetViewportOrg(int dx, int dy)
    {
        POINT p = {0, 0};
        ::OffsetViewportOrgEx(m_hDC, dx, dy, &p);
        return p;
    }
    CPoint SetWindowOrg(int x, int y)
    {
        POINT p = {0, 0};
        ::SetWindowOrgEx(m_hDC, x, y, &p);
        return p;
    }
    CPoint GetWindowOrg() const
    {
        POINT p = {0, 0};
        ::GetWindowOrgEx(m_hDC, &p);
        return p;
    }
    void LPtoDP(LPPOINT pts, int count = 1) const { ::LPtoDP(m_hDC, pts, count); }
    void DPtoLP(LPPOINT pts, int count = 1) const { ::DPtoLP(m_hDC, pts, count); }
    void LPtoDP(LPRECT rc) const { ::LPtoDP(m_hDC, (LPPOINT)rc, 2); }
    void DPtoLP(LPRECT rc) const { ::DPtoLP(m_hDC, (LPPOINT)rc, 2); }

private:
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;
};

// BeginPaint/EndPaint for the lifetime of the object.
class CPaintDC : public CDC {
    DECLARE_DYNAMIC(CPaintDC)
public:
    explicit CPaintDC(CWnd* wnd);
    virtual ~CPaintDC();
    PAINTSTRUCT m_ps;

protected:
    HWND m_hWnd;
};

// CImageList: owns its HIMAGELIST (destroyed in the destructor unless Detach()ed).
class CImageList : public CObject {
    DECLARE_DYNAMIC(CImageList)
public:
    HIMAGELIST m_hImageList;

    CImageList() : m_hImageList(NULL) {}
    virtual ~CImageList() { DeleteImageList(); }
    operator HIMAGELIST() const { return m_hImageList; }
    HIMAGELIST GetSafeHandle() const { return m_hImageList; }
    static CImageList* FromHandle(HIMAGELIST h);

    BOOL Create(int cx, int cy, UINT flags, int initial, int grow)
    {
        return Attach(ImageList_Create(cx, cy, flags, initial, grow));
    }
    // A strip bitmap from the resource module, cut into images cx wide; crMask is the transparent colour.
    BOOL Create(UINT bitmapId, int cx, int grow, COLORREF crMask);
    BOOL Attach(HIMAGELIST h)
    {
        if (!h) return FALSE;
        DeleteImageList();
        m_hImageList = h;
        return TRUE;
    }
    HIMAGELIST Detach()
    {
        HIMAGELIST h = m_hImageList;
        m_hImageList = NULL;
        return h;
    }
    BOOL DeleteImageList()
    {
        if (!m_hImageList) return FALSE;
        return ImageList_Destroy(Detach());
    }

    int Add(HICON icon) { return ImageList_AddIcon(m_hImageList, icon); }
    int Add(CBitmap* image, CBitmap* mask)
    {
        return ImageList_Add(m_hImageList, (HBITMAP)image->m_hObject, mask ? (HBITMAP)mask->m_hObject : NULL);
    }
    int Add(CBitmap* image, COLORREF crMask)
    {
        return ImageList_AddMasked(m_hImageList, (HBITMAP)image->m_hObject, crMask);
    }
    BOOL Remove(int index) { return ImageList_Remove(m_hImageList, index); }
    BOOL Replace(int index, HICON icon) { return ImageList_ReplaceIcon(m_hImageList, index, icon) != -1; }
    int GetImageCount() const { return ImageList_GetImageCount(m_hImageList); }
    HICON ExtractIcon(int index) { return ImageList_GetIcon(m_hImageList, index, ILD_NORMAL); }
    COLORREF SetBkColor(COLORREF c) { return ImageList_SetBkColor(m_hImageList, c); }
    BOOL Draw(CDC* dc, int index, POINT p, UINT style)
    {
        return ImageList_Draw(m_hImageList, index, dc->m_hDC, p.x, p.y, style);
    }
    BOOL GetImageInfo(int index, IMAGEINFO* info) const { return ImageList_GetImageInfo(m_hImageList, index, info); }
    BOOL SetImageCount(UINT count) { return ImageList_SetImageCount(m_hImageList, count); }
};
