// nsVendrel::CMemDC: an off-screen DC over a rectangle of a target DC. Drawing uses the target's coordinates;
// the destructor copies the rectangle back to the target, so skinned paints never flicker.
#pragma once

#include <QMfc.h>

namespace nsVendrel {

class CMemDC : public CDC {
public:
    CMemDC(CDC* pTarget, const CRect& rect);
    ~CMemDC() override;
    CMemDC(const CMemDC&) = delete;
    CMemDC& operator=(const CMemDC&) = delete;

    const CRect& GetRect() const { return m_rect; }

private:
    CDC* m_pTarget;
    CRect m_rect;
    CBitmap m_bitmap;
    HGDIOBJ m_hOldBitmap = nullptr;
};

}  // namespace nsVendrel
