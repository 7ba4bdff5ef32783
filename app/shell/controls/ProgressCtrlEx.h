// CProgressCtrlEx: a progress bar painted from a background bitmap and a stretched bar bitmap. Its range is
// settable (SetRange/SetRange32 or the window messages, also from other threads); an empty range draws no bar.
#pragma once

#include <QMfc.h>

class CProgressCtrlEx : public CProgressCtrl {
public:
    CProgressCtrlEx();
    ~CProgressCtrlEx() override;

    // Stores the position clamped to the range, forwards the position as given, repaints; the previous position.
    int SetPos(int nPos);
    int GetPos() const { return m_nPos; }
    void SetRange(short nLower, short nUpper) { SetRange32(nLower, nUpper); }
    void SetRange32(int nLower, int nUpper);
    void GetRange(int& nLower, int& nUpper) const
    {
        nLower = m_nMin;
        nUpper = m_nMax;
    }

    // Pages may also write the position directly and invalidate.
    HBITMAP m_hBarBitmap = nullptr;
    HBITMAP m_hBackBitmap = nullptr;
    int m_nPos = 0;
    int m_nMax = 100;
    int m_nMin = 0;
    int m_nStep = 10;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void EraseBackground(HDC dc);
    void PaintBar(HDC dc);
};
