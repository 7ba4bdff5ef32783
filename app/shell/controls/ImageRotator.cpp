#include "ImageRotator.h"

#include "ControlMath.h"
#include "SkinDraw.h"

CImageRotator::~CImageRotator()
{
    for (Frame& f : m_frames) DeleteObject(f.bitmap);
}

BOOL CImageRotator::AddImage(UINT nBitmapId)
{
    if (int(m_frames.size()) >= kMaxFrames) return FALSE;
    HBITMAP bmp = Shell::LoadSkinBitmap(nBitmapId);
    if (!bmp) return FALSE;
    m_frames.push_back(Frame{bmp, RGB(255, 255, 255), 0});
    m_nCurrent = 0;
    return TRUE;
}

void CImageRotator::PreSubclassWindow()
{
    CStatic::PreSubclassWindow();
    ModifyStyle(SS_TYPEMASK, SS_OWNERDRAW | SS_NOTIFY);
    SetTimer(0, m_nPeriod, nullptr);
}

void CImageRotator::Advance()
{
    if (m_frames.empty()) return;
    m_nCurrent = NextFrameIndex(m_nCurrent, int(m_frames.size()));
    SIZE size = Shell::BitmapSize(m_frames[size_t(m_nCurrent)].bitmap);
    SetWindowPos(nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void CImageRotator::Draw(const DRAWITEMSTRUCT* dis)
{
    if (m_nCurrent < 0 || m_nCurrent >= int(m_frames.size())) return;
    const Frame& f = m_frames[size_t(m_nCurrent)];
    Shell::DrawMaskedBitmap(dis->hDC, dis->rcItem.left, dis->rcItem.top, f.bitmap, f.transparent);
}

LRESULT CImageRotator::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_TIMER && wParam == 0) {
        Advance();
        return 0;
    }
    return CStatic::WindowProc(message, wParam, lParam);
}

BOOL CImageRotator::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message == WM_DRAWITEM) {
        Draw(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        if (pResult) *pResult = TRUE;
        return TRUE;
    }
    return CStatic::OnChildNotify(message, wParam, lParam, pResult);
}
