#include "CheckBoxEx.h"

#include "BitmapDraw.h"
#include "ControlMath.h"
#include "ImageButton.h"
#include "KeyboardFocus.h"
#include "SkinDraw.h"

namespace {
// Bitmaps of each state's frames; 0 ends a list.
const UINT kFrameIds[CCheckBoxEx::kStateCount][9] = {
    {343}, {333}, {335, 336, 337, 338, 339, 340, 341, 342}, {344}, {334}, {}, {},
};
}  // namespace

CCheckBoxEx::CCheckBoxEx() { CreateSkinFont(m_font, 12, FALSE); }

CCheckBoxEx::~CCheckBoxEx()
{
    for (int s = 0; s < kStateCount; ++s)
        for (int f = 0; f < m_frameCount[s]; ++f) DeleteObject(m_frames[s][f]);
}

void CCheckBoxEx::AddFrame(int state, UINT bitmapId)
{
    if (m_frameCount[state] >= kMaxFrames) return;
    HBITMAP bmp = Shell::LoadSkinBitmap(bitmapId);
    if (bmp) m_frames[state][m_frameCount[state]++] = bmp;
}

void CCheckBoxEx::LoadFrames()
{
    if (m_bFramesLoaded) return;
    m_bFramesLoaded = true;
    for (int s = 0; s < kStateCount; ++s)
        for (UINT id : kFrameIds[s])
            if (id) AddFrame(s, id);
}

void CCheckBoxEx::PreSubclassWindow()
{
    CStatic::PreSubclassWindow();
    ModifyStyle(WS_BORDER, SS_NOTIFY | WS_TABSTOP);
    LoadFrames();
    m_nState = 0;
    m_nFrame = 0;
    SetTimer(kAnimationTimer, 100, nullptr);
}

void CCheckBoxEx::SetState(int nState)
{
    if (nState < 0 || nState >= kStateCount) return;
    m_nState = nState;
    m_nFrame = 0;
    UpdateRegion();
    if (m_hWnd) Invalidate();
}

void CCheckBoxEx::Paint(HDC dc)
{
    CRect rc;
    GetClientRect(&rc);
    int h = rc.Height();
    // The page under the control first, so the caption and the square sit on it.
    Shell::PaintParentBackground(m_hWnd, dc);

    if (m_bDrawImage && m_nFrame < m_frameCount[m_nState]) {
        StretchBitmap(dc, 0, 0, h, h, m_frames[m_nState][m_nFrame]);
    }
    if (m_bDrawText) {
        CString text;
        GetWindowText(text);
        CRect wr;
        GetWindowRect(&wr);
        int wh = wr.Height();
        HGDIOBJ oldFont = SelectObject(dc, m_font.m_hObject);
        SIZE ext = {};
        GetTextExtentPoint32W(dc, text, text.GetLength(), &ext);
        RECT tr;
        tr.left = wh + 5;
        tr.right = wh + 10 + ext.cx;
        tr.top = (wh - ext.cy) / 2;
        tr.bottom = tr.top + ext.cy;
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, IsWindowEnabled() ? RGB(0, 0, 0) : Shell::kDisabledTextColour);
        DrawTextW(dc, text, text.GetLength(), &tr, DT_NOPREFIX);  // "&" in a text is a letter, not a mnemonic
        SelectObject(dc, oldFont);
        if (::GetFocus() == m_hWnd) {
            RECT frame = {tr.left - 3, tr.top - 3, tr.left + ext.cx + 3, tr.bottom + 3};
            Shell::DrawFocusFrame(m_hWnd, dc, frame);
        }
    }
}

void CCheckBoxEx::OnClick(POINT pt)
{
    CRect square;
    GetClientRect(&square);
    square.right = square.left + square.Height();
    if (square.PtInRect(pt)) Press();
}

void CCheckBoxEx::Press()
{
    int next = CheckBoxStateAfterClick(m_nState);
    if (next != m_nState) SetState(next);
    CWnd* parent = GetParent();
    if (parent) parent->SendMessage((UINT)GetDlgCtrlID(), 0, 0);
}

LRESULT CCheckBoxEx::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_TIMER: {
        LRESULT r = CStatic::WindowProc(message, wParam, lParam);
        if (wParam == kAnimationTimer) {
            int count = m_frameCount[m_nState];
            int next = NextFrameIndex(m_nFrame, count);
            // A one-frame look does not change; repainting it every tick would only cost time.
            if (next != m_nFrame || count > 1) {
                m_nFrame = next;
                UpdateRegion();
                Invalidate();
            }
        }
        return r;
    }
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(m_hWnd, &ps);
        Paint(dc);
        EndPaint(m_hWnd, &ps);
        return 0;
    }
    case WM_PRINTCLIENT: Paint((HDC)wParam); return 0;
    case WM_ERASEBKGND: return TRUE;
    case WM_LBUTTONUP: {
        LRESULT r = CStatic::WindowProc(message, wParam, lParam);
        POINT pt = {(short)LOWORD(lParam), (short)HIWORD(lParam)};
        OnClick(pt);
        return r;
    }
    case WM_DRAWITEM: return TRUE;
    case WM_GETDLGCODE: return DLGC_BUTTON;
    case WM_KEYUP:
        if (wParam == VK_SPACE && IsWindowEnabled()) Press();
        return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: Invalidate(); return CStatic::WindowProc(message, wParam, lParam);
    case WM_GETFONT: return (LRESULT)m_font.GetSafeHandle();
    default: return CStatic::WindowProc(message, wParam, lParam);
    }
}

BOOL CCheckBoxEx::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message == WM_CTLCOLORSTATIC) {
        SetBkMode((HDC)wParam, TRANSPARENT);
        if (pResult) *pResult = (LRESULT)GetStockObject(NULL_BRUSH);
        return TRUE;
    }
    return CStatic::OnChildNotify(message, wParam, lParam, pResult);
}
