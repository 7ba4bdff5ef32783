// Skinned push buttons drawn from bitmaps. CImageButton: one bitmap per state (normal, hover, pressed) with a
// transparent colour each, a caption drawn over it; the window takes the size of the state's bitmap. It is a Tab
// stop, shows a focus frame, is pressed by Enter and Space, and greys its caption while disabled. A caption too
// wide for the button is drawn in a smaller font (down to kMinFontSize); WM_GETFONT answers the font drawn.
// CGeneralImageButton: the same preloaded with the standard page-button bitmaps.
#pragma once

#include <QMfc.h>

class CImageButton : public CButton {
    DECLARE_DYNAMIC(CImageButton)
public:
    enum State { StateNormal = 0, StateHover = 1, StatePressed = 2, StateDisabled = 3 };
    static constexpr int kMinFontSize = 9;

    CImageButton();
    ~CImageButton() override;

    // The three state bitmaps from the resources with one transparent colour (CLR_INVALID: none); each is loaded
    // when first drawn or measured.
    void SetBitmaps(UINT normal, UINT hover, UINT pressed, COLORREF transparent);
    // Recreates the caption font from m_nFontSize and m_bBold.
    void CreateTextFont();
    // Resizes the window, keeping its top-left corner, to the normal bitmap.
    void SizeToBitmap();
    // A disabled button draws its normal bitmap with a grey caption and ignores clicks, Enter and Space.
    void SetDisabled(bool disabled);
    bool IsDisabledLook() const;
    int GetDrawnState() const { return m_nState; }

    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;

    CBitmap m_bmpNormal, m_bmpHover, m_bmpPressed;
    COLORREF m_crTransNormal = CLR_INVALID, m_crTransHover = CLR_INVALID, m_crTransPressed = CLR_INVALID;
    BYTE m_bTracking = 0, m_bHover = 0, m_bDisabled = 0;
    COLORREF m_crText = RGB(255, 255, 255);
    int m_nFontSize = 14;
    BOOL m_bBold = TRUE;
    CFont m_font;
    int m_nTextX = 0, m_nTextY = 0;
    BOOL m_bCenter = TRUE;

protected:
    int m_nState = -1;
    // The resources of the state bitmaps not loaded yet (0: loaded or none).
    UINT m_nPendingIds[3] = {};
    CBitmap* StateBitmap(int state);
    // The bitmap drawn for the state (the normal one when disabled), loaded now if it was not yet.
    HBITMAP LoadedBitmap(int state);
    // The caption font made smaller to fit, for the caption and width it was made for.
    CFont m_fitFont;
    CString m_strFitCaption;
    int m_nFitWidth = -1, m_nFitFontSize = -1;

    void PreSubclassWindow() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void ResizeTo(HBITMAP bitmap);
    // The font the caption is drawn in at this button width.
    HFONT CaptionFont(HDC dc, const CString& caption, int width);
};

class CGeneralImageButton : public CImageButton {
    DECLARE_DYNAMIC(CGeneralImageButton)
public:
    CGeneralImageButton();
};

// Makes a caption font of the skin: Verdana, that height, bold (700) or regular (400), swiss family.
void CreateSkinFont(CFont& font, int height, BOOL bold);
// Replaces the bitmap by the bitmap resource `id` of the resource module (none when it does not load).
void LoadSkinBitmap(CBitmap& bitmap, UINT id);
