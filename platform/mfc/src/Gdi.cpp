// GDI wrappers: temporary wrappers per thread, DCs bound to windows, resource loading.
#include "ThreadState.h"

IMPLEMENT_DYNAMIC(CGdiObject, CObject)
IMPLEMENT_DYNAMIC(CFont, CGdiObject)
IMPLEMENT_DYNAMIC(CBitmap, CGdiObject)
IMPLEMENT_DYNAMIC(CRgn, CGdiObject)
IMPLEMENT_DYNAMIC(CDC, CObject)
IMPLEMENT_DYNAMIC(CPaintDC, CDC)
IMPLEMENT_DYNAMIC(CImageList, CObject)

namespace {

template <class T>
T* TempGdi(int kind, HGDIOBJ h)
{
    if (!h) return NULL;
    auto& map = qmfc::GetThreadState()->tempGdi;
    auto key = std::make_pair(kind, h);
    auto it = map.find(key);
    if (it != map.end()) return static_cast<T*>(it->second);
    T* obj = new T;
    obj->m_hObject = h;
    map[key] = obj;
    return obj;
}

}  // namespace

CGdiObject* CGdiObject::FromHandle(HGDIOBJ h) { return TempGdi<CGdiObject>(0, h); }
CFont* CFont::FromHandle(HFONT h) { return TempGdi<CFont>(1, h); }
CBitmap* CBitmap::FromHandle(HBITMAP h) { return TempGdi<CBitmap>(2, h); }
CRgn* CRgn::FromHandle(HRGN h) { return TempGdi<CRgn>(3, h); }

CDC* CDC::FromHandle(HDC h)
{
    if (!h) return NULL;
    auto& map = qmfc::GetThreadState()->tempDC;
    auto it = map.find(h);
    if (it != map.end()) return it->second;
    CDC* dc = new CDC;
    dc->Attach(h);
    map[h] = dc;
    return dc;
}

CImageList* CImageList::FromHandle(HIMAGELIST h)
{
    if (!h) return NULL;
    auto& map = qmfc::GetThreadState()->tempImageList;
    auto it = map.find(h);
    if (it != map.end()) return it->second;
    CImageList* list = new CImageList;
    list->m_hImageList = h;
    map[h] = list;
    return list;
}

BOOL CFont::CreatePointFont(int pointSize, LPCWSTR face, CDC* dc)
{
    LOGFONTW lf = {};
    lf.lfCharSet = DEFAULT_CHARSET;
    if (face) lstrcpynW(lf.lfFaceName, face, LF_FACESIZE);
    HDC h = dc ? dc->m_hDC : ::GetDC(NULL);
    POINT pt = {0, ::MulDiv(::GetDeviceCaps(h, LOGPIXELSY), pointSize, 720)};
    ::DPtoLP(h, &pt, 1);
    POINT origin = {0, 0};
    ::DPtoLP(h, &origin, 1);
    lf.lfHeight = -abs(pt.y - origin.y);
    if (!dc) ::ReleaseDC(NULL, h);
    return CreateFontIndirect(&lf);
}

BOOL CBitmap::LoadBitmap(UINT id) { return LoadBitmap(MAKEINTRESOURCEW(id)); }

BOOL CBitmap::LoadBitmap(LPCWSTR name)
{
    HINSTANCE inst = qmfc::FindResourceModule(name, (LPCWSTR)RT_BITMAP);
    return Attach(::LoadBitmapW(inst, name));
}

BOOL CBitmap::CreateCompatibleBitmap(CDC* dc, int w, int h)
{
    return Attach(::CreateCompatibleBitmap(dc ? dc->m_hDC : NULL, w, h));
}

BOOL CImageList::Create(UINT bitmapId, int cx, int grow, COLORREF crMask)
{
    LPCWSTR name = MAKEINTRESOURCEW(bitmapId);
    HINSTANCE inst = qmfc::FindResourceModule(name, (LPCWSTR)RT_BITMAP);
    return Attach(ImageList_LoadImageW(inst, name, cx, grow, crMask, IMAGE_BITMAP, LR_CREATEDIBSECTION));
}

CPaintDC::CPaintDC(CWnd* wnd) : m_hWnd(wnd->m_hWnd)
{
    m_ps = PAINTSTRUCT();
    Attach(::BeginPaint(m_hWnd, &m_ps));
}

CPaintDC::~CPaintDC()
{
    ::EndPaint(m_hWnd, &m_ps);
    Detach();
}
