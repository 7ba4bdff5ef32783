// CHyperlink: a static text that looks and acts like a web link. A click opens the link with the shell; the
// mouse shows the hand cursor over it. Pages set the link and, if they like, the look (colour, bold, height,
// underline) through the setters, which redraw; members changed directly take effect at the next paint.
#pragma once

#include <QMfc.h>

class CHyperlink : public CStatic {
public:
    CHyperlink();
    ~CHyperlink() override;
    CHyperlink(const CHyperlink&) = delete;
    CHyperlink& operator=(const CHyperlink&) = delete;

    void SetLink(LPCWSTR link);
    CString GetLink() const { return m_strLink; }
    void SetTextColor(COLORREF colour);
    void SetBold(BOOL bold);
    void SetFontHeight(int height);
    void SetUnderline(BOOL underline);

    HCURSOR m_hCursor = nullptr;
    CFont m_font;
    CString m_strLink;
    COLORREF m_crText = 0xFF0000;  // blue
    BOOL m_bBold = FALSE;
    int m_nFontHeight = 15;
    BOOL m_bUnderline = TRUE;

protected:
    void PreSubclassWindow() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // Creates the font again when the look members differ from the ones it was made with.
    HFONT CurrentFont();
    void Restyle();
    void Paint();

    bool m_bOwnCursor = false;  // a copied fallback cursor is ours to destroy; the shared system one is not
    BOOL m_bFontBold = FALSE;
    int m_nFontMadeHeight = 0;
    BOOL m_bFontUnderline = FALSE;
};
