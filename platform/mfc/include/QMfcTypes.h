// CPoint, CSize, CRect: the Win32 POINT/SIZE/RECT with helpers; they convert implicitly to LPPOINT/LPRECT etc.
// so they pass straight to Win32 calls. CRect is not normalised by any member except NormalizeRect.
#pragma once

#include <windows.h>

class CSize : public tagSIZE {
public:
    CSize() { cx = cy = 0; }
    CSize(int x, int y)
    {
        cx = x;
        cy = y;
    }
    CSize(SIZE s)
    {
        cx = s.cx;
        cy = s.cy;
    }
    CSize(POINT p)
    {
        cx = p.x;
        cy = p.y;
    }
    bool operator==(SIZE s) const { return cx == s.cx && cy == s.cy; }
    bool operator!=(SIZE s) const { return !(*this == s); }
    CSize operator+(SIZE s) const { return CSize(cx + s.cx, cy + s.cy); }
    CSize operator-(SIZE s) const { return CSize(cx - s.cx, cy - s.cy); }
    void operator+=(SIZE s)
    {
        cx += s.cx;
        cy += s.cy;
    }
    void operator-=(SIZE s)
    {
        cx -= s.cx;
        cy -= s.cy;
    }
};

class CPoint : public tagPOINT {
public:
    CPoint() { x = y = 0; }
    CPoint(int px, int py)
    {
        x = px;
        y = py;
    }
    CPoint(POINT p)
    {
        x = p.x;
        y = p.y;
    }
    CPoint(SIZE s)
    {
        x = s.cx;
        y = s.cy;
    }
    // From a mouse message's lParam (signed coordinates).
    explicit CPoint(LPARAM lp)
    {
        x = (short)LOWORD(lp);
        y = (short)HIWORD(lp);
    }
    void Offset(int dx, int dy)
    {
        x += dx;
        y += dy;
    }
    void Offset(POINT p)
    {
        x += p.x;
        y += p.y;
    }
    void SetPoint(int px, int py)
    {
        x = px;
        y = py;
    }
    bool operator==(POINT p) const { return x == p.x && y == p.y; }
    bool operator!=(POINT p) const { return !(*this == p); }
    CPoint operator+(POINT p) const { return CPoint(x + p.x, y + p.y); }
    CPoint operator-(POINT p) const { return CPoint(x - p.x, y - p.y); }
    CPoint operator+(SIZE s) const { return CPoint(x + s.cx, y + s.cy); }
    CPoint operator-(SIZE s) const { return CPoint(x - s.cx, y - s.cy); }
    CPoint operator-() const { return CPoint(-x, -y); }
    void operator+=(POINT p)
    {
        x += p.x;
        y += p.y;
    }
    void operator-=(POINT p)
    {
        x -= p.x;
        y -= p.y;
    }
    void operator+=(SIZE s)
    {
        x += s.cx;
        y += s.cy;
    }
    void operator-=(SIZE s)
    {
        x -= s.cx;
        y -= s.cy;
    }
};

class CRect : public tagRECT {
public:
    CRect() { left = top = right = bottom = 0; }
    CRect(int l, int t, int r, int b)
    {
        left = l;
        top = t;
        right = r;
        bottom = b;
    }
    CRect(const RECT& r) { CopyRect(&r); }
    CRect(const RECT* r)
    {
        if (r)
            CopyRect(r);
        else
            SetRectEmpty();
    }
    CRect(POINT p, SIZE s)
    {
        left = p.x;
        top = p.y;
        right = p.x + s.cx;
        bottom = p.y + s.cy;
    }
    CRect(POINT tl, POINT br)
    {
        left = tl.x;
        top = tl.y;
        right = br.x;
        bottom = br.y;
    }

    operator LPRECT() { return this; }
    operator LPCRECT() const { return this; }

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    CSize Size() const { return CSize(Width(), Height()); }
    CPoint& TopLeft() { return *reinterpret_cast<CPoint*>(&left); }
    CPoint& BottomRight() { return *reinterpret_cast<CPoint*>(&right); }
    const CPoint& TopLeft() const { return *reinterpret_cast<const CPoint*>(&left); }
    const CPoint& BottomRight() const { return *reinterpret_cast<const CPoint*>(&right); }
    CPoint CenterPoint() const { return CPoint((left + right) / 2, (top + bottom) / 2); }

    BOOL IsRectEmpty() const { return ::IsRectEmpty(this); }
    BOOL IsRectNull() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }
    BOOL PtInRect(POINT p) const { return ::PtInRect(this, p); }
    void SetRect(int l, int t, int r, int b)
    {
        left = l;
        top = t;
        right = r;
        bottom = b;
    }
    void SetRectEmpty() { left = top = right = bottom = 0; }
    void CopyRect(LPCRECT r)
    {
        left = r->left;
        top = r->top;
        right = r->right;
        bottom = r->bottom;
    }
    BOOL EqualRect(LPCRECT r) const { return ::EqualRect(this, r); }
    void InflateRect(int x, int y)
    {
        left -= x;
        top -= y;
        right += x;
        bottom += y;
    }
    void InflateRect(SIZE s) { InflateRect(s.cx, s.cy); }
    void InflateRect(int l, int t, int r, int b)
    {
        left -= l;
        top -= t;
        right += r;
        bottom += b;
    }
    void DeflateRect(int x, int y) { InflateRect(-x, -y); }
    void DeflateRect(SIZE s) { InflateRect(-s.cx, -s.cy); }
    void DeflateRect(int l, int t, int r, int b)
    {
        left += l;
        top += t;
        right -= r;
        bottom -= b;
    }
    void DeflateRect(LPCRECT r) { DeflateRect(r->left, r->top, r->right, r->bottom); }
    void OffsetRect(int dx, int dy)
    {
        left += dx;
        right += dx;
        top += dy;
        bottom += dy;
    }
    void OffsetRect(POINT p) { OffsetRect(p.x, p.y); }
    void OffsetRect(SIZE s) { OffsetRect(s.cx, s.cy); }
    void MoveToX(int x)
    {
        right = x + Width();
        left = x;
    }
    void MoveToY(int y)
    {
        bottom = y + Height();
        top = y;
    }
    void MoveToXY(int x, int y)
    {
        MoveToX(x);
        MoveToY(y);
    }
    void NormalizeRect()
    {
        if (left > right) {
            int t = left;
            left = right;
            right = t;
        }
        if (top > bottom) {
            int t = top;
            top = bottom;
            bottom = t;
        }
    }
    BOOL IntersectRect(LPCRECT a, LPCRECT b) { return ::IntersectRect(this, a, b); }
    BOOL UnionRect(LPCRECT a, LPCRECT b) { return ::UnionRect(this, a, b); }
    BOOL SubtractRect(LPCRECT a, LPCRECT b) { return ::SubtractRect(this, a, b); }

    CRect& operator=(const RECT& r)
    {
        CopyRect(&r);
        return *this;
    }
    bool operator==(const RECT& r) const { return ::EqualRect(this, &r) != FALSE; }
    bool operator!=(const RECT& r) const { return !(*this == r); }
    void operator+=(POINT p) { OffsetRect(p); }
    void operator-=(POINT p) { OffsetRect(-p.x, -p.y); }
    CRect operator+(POINT p) const
    {
        CRect r(*this);
        r.OffsetRect(p);
        return r;
    }
    CRect operator-(POINT p) const
    {
        CRect r(*this);
        r.OffsetRect(-p.x, -p.y);
        return r;
    }
    CRect operator&(const RECT& b) const
    {
        CRect r;
        ::IntersectRect(&r, this, &b);
        return r;
    }
    CRect operator|(const RECT& b) const
    {
        CRect r;
        ::UnionRect(&r, this, &b);
        return r;
    }
};
