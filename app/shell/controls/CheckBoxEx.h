// CCheckBoxEx: a skinned check box drawn from bitmaps that also shows a scan category's progress
// (0 unchecked, 1 checked, 2 scanning (animated), 3 done, 4 a fifth look, 5 and 6 caption only).
// A click in its square, or Space while it has the focus, notifies the parent with a message numbered like the
// control's own id. It is a Tab stop; the focus frame surrounds its caption.
#pragma once

#include <QMfc.h>

class CCheckBoxEx : public CStatic {
public:
    static constexpr int kStateCount = 7;
    static constexpr int kMaxFrames = 20;
    static constexpr UINT_PTR kAnimationTimer = 9999;

    CCheckBoxEx();
    ~CCheckBoxEx() override;

    void SetState(int nState);
    int GetState() const { return m_nState; }
    int GetFrameIndex() const { return m_nFrame; }
    // Kept for the animation's call sites; the region it would build has no effect on screen, so none is made.
    void UpdateRegion() {}

    BOOL m_bDrawImage = TRUE;
    BOOL m_bDrawText = TRUE;

protected:
    void PreSubclassWindow() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

private:
    void LoadFrames();
    void AddFrame(int state, UINT bitmapId);
    void Paint(HDC dc);
    void OnClick(POINT pt);
    // What a click in the square does: the next state, then the parent's notification.
    void Press();

    CFont m_font;
    HBITMAP m_frames[kStateCount][kMaxFrames] = {};
    int m_frameCount[kStateCount] = {};
    bool m_bFramesLoaded = false;
    int m_nState = 0;
    int m_nFrame = 0;
};
