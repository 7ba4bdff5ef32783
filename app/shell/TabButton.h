// CTabButton: a bitmap button used as a tab. Four looks (normal, hover, pressed, selected); the window takes
// the size of the look's bitmap and is cut to that look's region.
// It is a Tab stop with a focus frame; Enter and Space press it.
#pragma once

#include <QMfc.h>

class CTabButton : public CButton {
    DECLARE_DYNAMIC(CTabButton)
public:
    enum State { StateNormal = 0, StateHover = 1, StatePressed = 2, StateSelected = 3 };

    CTabButton();
    ~CTabButton() override;

    BOOL Create(LPCTSTR caption, DWORD style, const RECT& rect, CWnd* parent, UINT id) override;
    // Loads the four state bitmaps from the resources and builds each state's region from its bitmap.
    void SetBitmaps(UINT normal, UINT hover, UINT pressed, UINT selected, COLORREF transparent);
    void CreateTextFont();
    // Keeps the caption inside the tab: the font of m_nFontSize, or a smaller one down to kMinFontSize when the
    // caption is wider than the tab's picture. Runs whenever the caption or the pictures change.
    void FitTextFont();
    enum { kMinFontSize = 9, kTextPadding = 4 };
    // Replaces pRgn by the region the bitmap covers (its whole rectangle: every pixel counts).
    static void CreateRegionFromBitmap(CBitmap* pBitmap, CRgn* pRgn);
    void SetSelected(BOOL selected);
    int GetDrawnState() const { return m_nState; }

    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;

    CBitmap m_bmpNormal, m_bmpHover, m_bmpSelected, m_bmpPressed;
    CRgn m_rgnNormal, m_rgnHover, m_rgnSelected, m_rgnPressed;
    CFont m_font;
    int m_nFontSize = 12;
    int m_nFontMade = 0;  // the size m_font was made in
    BOOL m_bBold = FALSE;
    COLORREF m_crText = RGB(0, 0, 0);
    int m_nTextX = 0, m_nTextY = 0;
    COLORREF m_crTransNormal = CLR_INVALID, m_crTransHover = CLR_INVALID, m_crTransSelected = CLR_INVALID,
             m_crTransPressed = CLR_INVALID;
    BOOL m_bCenter = TRUE;
    BYTE m_bTracking = 0, m_bHover = 0;
    BOOL m_bSelected = FALSE;

protected:
    int m_nState = -1;

    void PreSubclassWindow() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};
