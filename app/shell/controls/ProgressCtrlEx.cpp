#include "ProgressCtrlEx.h"
#include "SkinDraw.h"

#include "BitmapDraw.h"
#include "ControlMath.h"

CProgressCtrlEx::CProgressCtrlEx()
{
    m_hBarBitmap = Shell::LoadSkinBitmap(357);
    m_hBackBitmap = Shell::LoadSkinBitmap(356);
}

CProgressCtrlEx::~CProgressCtrlEx()
{
    if (m_hBarBitmap) DeleteObject(m_hBarBitmap);
    if (m_hBackBitmap) DeleteObject(m_hBackBitmap);
}

int CProgressCtrlEx::SetPos(int nPos)
{
    int previous = m_nPos;
    m_nPos = ClampProgressPos(nPos, m_nMin, m_nMax);
    if (m_hWnd) {
        ::SendMessageW(m_hWnd, PBM_SETPOS, (WPARAM)nPos, 0);
        Invalidate();
    }
    return previous;
}

void CProgressCtrlEx::SetRange32(int nLower, int nUpper)
{
    if (m_hWnd)
        ::SendMessageW(m_hWnd, PBM_SETRANGE32, (WPARAM)nLower, (LPARAM)nUpper);
    else {
        m_nMin = nLower;
        m_nMax = nUpper;
    }
}

void CProgressCtrlEx::EraseBackground(HDC dc)
{
    CRect rc;
    GetClientRect(&rc);
    StretchBitmap(dc, 1, 1, rc.Width() - 1, rc.Height() - 1, m_hBackBitmap);
    HBRUSH frame = CreateSolidBrush(RGB(0xB2, 0xB2, 0xB2));
    RECT edge;
    SetRect(&edge, rc.left, rc.top, rc.left + 1, rc.bottom);
    FillRect(dc, &edge, frame);
    SetRect(&edge, rc.left, rc.bottom - 1, rc.right, rc.bottom);
    FillRect(dc, &edge, frame);
    SetRect(&edge, rc.right - 1, rc.top, rc.right, rc.bottom);
    FillRect(dc, &edge, frame);
    SetRect(&edge, rc.left, rc.top, rc.right, rc.top + 1);
    FillRect(dc, &edge, frame);
    DeleteObject(frame);
}

void CProgressCtrlEx::PaintBar(HDC dc)
{
    CRect rc;
    GetClientRect(&rc);
    int width = ProgressBarWidth(m_nPos, m_nMin, m_nMax, rc.Width());
    StretchBitmap(dc, 1, 1, width, rc.Height() - 2, m_hBarBitmap);
}

LRESULT CProgressCtrlEx::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_ERASEBKGND: EraseBackground((HDC)wParam); return TRUE;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(m_hWnd, &ps);
        if (ps.fErase) EraseBackground(dc);
        PaintBar(dc);
        EndPaint(m_hWnd, &ps);
        return 0;
    }
    case WM_PRINTCLIENT:
        EraseBackground((HDC)wParam);
        PaintBar((HDC)wParam);
        return 0;
    case PBM_SETPOS: {
        int previous = m_nPos;
        m_nPos = ClampProgressPos((int)wParam, m_nMin, m_nMax);
        CProgressCtrl::WindowProc(message, wParam, lParam);
        ::InvalidateRect(m_hWnd, nullptr, TRUE);
        return previous;
    }
    case PBM_DELTAPOS: {
        int previous = m_nPos;
        m_nPos = ClampProgressPos(m_nPos + (int)wParam, m_nMin, m_nMax);
        CProgressCtrl::WindowProc(message, wParam, lParam);
        ::InvalidateRect(m_hWnd, nullptr, TRUE);
        return previous;
    }
    case PBM_STEPIT: {
        int previous = m_nPos;
        int next = m_nPos + m_nStep;
        // Past the end the bar starts over, as the common control's does.
        m_nPos = next > m_nMax ? m_nMin : ClampProgressPos(next, m_nMin, m_nMax);
        CProgressCtrl::WindowProc(message, wParam, lParam);
        ::InvalidateRect(m_hWnd, nullptr, TRUE);
        return previous;
    }
    case PBM_SETSTEP: m_nStep = (int)wParam; break;
    case PBM_GETPOS: return m_nPos;
    case PBM_SETRANGE:
        m_nMin = LOWORD(lParam);
        m_nMax = HIWORD(lParam);
        m_nPos = ClampProgressPos(m_nPos, m_nMin, m_nMax);
        ::InvalidateRect(m_hWnd, nullptr, TRUE);
        break;
    case PBM_SETRANGE32:
        m_nMin = (int)wParam;
        m_nMax = (int)lParam;
        m_nPos = ClampProgressPos(m_nPos, m_nMin, m_nMax);
        ::InvalidateRect(m_hWnd, nullptr, TRUE);
        break;
    case PBM_GETRANGE: {
        PBRANGE* range = (PBRANGE*)lParam;
        if (range) {
            range->iLow = m_nMin;
            range->iHigh = m_nMax;
        }
        return wParam ? m_nMin : m_nMax;
    }
    default: break;
    }
    return CProgressCtrl::WindowProc(message, wParam, lParam);
}
