#include "MemDC.h"

namespace nsVendrel {

CMemDC::CMemDC(CDC* pTarget, const CRect& rect) : m_pTarget(pTarget), m_rect(rect)
{
    CreateCompatibleDC(pTarget);
    m_bitmap.CreateCompatibleBitmap(pTarget, rect.Width(), rect.Height());
    m_hOldBitmap = ::SelectObject(m_hDC, m_bitmap.GetSafeHandle());
    ::SetWindowOrgEx(m_hDC, rect.left, rect.top, nullptr);
}

CMemDC::~CMemDC()
{
    ::BitBlt(m_pTarget->GetSafeHdc(), m_rect.left, m_rect.top, m_rect.Width(), m_rect.Height(), m_hDC, m_rect.left,
             m_rect.top, SRCCOPY);
    ::SelectObject(m_hDC, m_hOldBitmap);
    DeleteDC();
}

}  // namespace nsVendrel
