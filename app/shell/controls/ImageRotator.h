// CImageRotator: a busy animation that shows its bitmaps one after another on a timer, resizing itself to each.
#pragma once

#include <QMfc.h>

#include <vector>

class CImageRotator : public CStatic {
public:
    static constexpr int kMaxFrames = 1024;

    CImageRotator() = default;
    ~CImageRotator() override;

    // Appends a frame (refused past kMaxFrames or when the bitmap does not load) and shows the first frame.
    BOOL AddImage(UINT nBitmapId);
    int GetFrameCount() const { return int(m_frames.size()); }
    int GetCurrentFrame() const { return m_nCurrent; }

    // Timer period in milliseconds; set by the page before the control is attached.
    UINT m_nPeriod = 100;
    int m_nCurrent = -1;  // -1 draws nothing

protected:
    void PreSubclassWindow() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

private:
    struct Frame {
        HBITMAP bitmap;
        COLORREF transparent;
        int reserved;
    };
    void Advance();
    void Draw(const DRAWITEMSTRUCT* dis);

    std::vector<Frame> m_frames;
};
