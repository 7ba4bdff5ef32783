// CHtmlView: the web browser control in a child window, with our own OLE site.
#include "ThreadState.h"

#include "QMfcHtmlView.h"

IMPLEMENT_DYNAMIC(CHtmlView, CWnd)

BEGIN_MESSAGE_MAP(CHtmlView, CWnd)
    ON_WM_SIZE()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

// One object for every interface the browser asks its container for.
class CHtmlView::Site : public IOleClientSite,
                        public IOleInPlaceSite,
                        public IOleInPlaceFrame,
                        public IDocHostUIHandler {
public:
    explicit Site(CHtmlView* view) : m_view(view), m_refs(1) {}
    void Detach() { m_view = NULL; }

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID riid, void** out) override
    {
        if (!out) return E_POINTER;
        *out = NULL;
        if (riid == IID_IUnknown || riid == IID_IOleClientSite)
            *out = static_cast<IOleClientSite*>(this);
        else if (riid == IID_IOleWindow || riid == IID_IOleInPlaceSite)
            *out = static_cast<IOleInPlaceSite*>(this);
        else if (riid == IID_IOleInPlaceUIWindow || riid == IID_IOleInPlaceFrame)
            *out = static_cast<IOleInPlaceFrame*>(this);
        else if (riid == IID_IDocHostUIHandler)
            *out = static_cast<IDocHostUIHandler*>(this);
        else
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return (ULONG)InterlockedIncrement(&m_refs); }
    STDMETHODIMP_(ULONG) Release() override
    {
        LONG n = InterlockedDecrement(&m_refs);
        if (n == 0) delete this;
        return (ULONG)n;
    }

    // IOleClientSite
    STDMETHODIMP SaveObject() override { return E_NOTIMPL; }
    STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker** out) override
    {
        if (out) *out = NULL;
        return E_NOTIMPL;
    }
    STDMETHODIMP GetContainer(IOleContainer** out) override
    {
        if (out) *out = NULL;
        return E_NOINTERFACE;
    }
    STDMETHODIMP ShowObject() override { return S_OK; }
    STDMETHODIMP OnShowWindow(BOOL) override { return S_OK; }
    STDMETHODIMP RequestNewObjectLayout() override { return E_NOTIMPL; }

    // IOleWindow (for the in-place site and the frame)
    STDMETHODIMP GetWindow(HWND* out) override
    {
        if (!out) return E_POINTER;
        *out = m_view ? m_view->m_hWnd : NULL;
        return *out ? S_OK : E_FAIL;
    }
    STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

    // IOleInPlaceSite
    STDMETHODIMP CanInPlaceActivate() override { return S_OK; }
    STDMETHODIMP OnInPlaceActivate() override { return S_OK; }
    STDMETHODIMP OnUIActivate() override { return S_OK; }
    STDMETHODIMP GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** doc, LPRECT pos, LPRECT clip,
                                  LPOLEINPLACEFRAMEINFO info) override
    {
        if (frame) {
            *frame = static_cast<IOleInPlaceFrame*>(this);
            AddRef();
        }
        if (doc) *doc = NULL;
        RECT rc = {0, 0, 0, 0};
        if (m_view && m_view->m_hWnd) ::GetClientRect(m_view->m_hWnd, &rc);
        if (pos) *pos = rc;
        if (clip) *clip = rc;
        if (info) {
            info->fMDIApp = FALSE;
            info->hwndFrame = m_view ? m_view->m_hWnd : NULL;
            info->haccel = NULL;
            info->cAccelEntries = 0;
        }
        return S_OK;
    }
    STDMETHODIMP Scroll(SIZE) override { return E_NOTIMPL; }
    STDMETHODIMP OnUIDeactivate(BOOL) override { return S_OK; }
    STDMETHODIMP OnInPlaceDeactivate() override { return S_OK; }
    STDMETHODIMP DiscardUndoState() override { return E_NOTIMPL; }
    STDMETHODIMP DeactivateAndUndo() override { return E_NOTIMPL; }
    STDMETHODIMP OnPosRectChange(LPCRECT rc) override
    {
        IOleInPlaceObject* ip = NULL;
        if (m_view && m_view->m_pOleObject &&
            SUCCEEDED(m_view->m_pOleObject->QueryInterface(IID_IOleInPlaceObject, (void**)&ip))) {
            ip->SetObjectRects(rc, rc);
            ip->Release();
        }
        return S_OK;
    }

    // IOleInPlaceUIWindow / IOleInPlaceFrame
    STDMETHODIMP GetBorder(LPRECT) override { return INPLACE_E_NOTOOLSPACE; }
    STDMETHODIMP RequestBorderSpace(LPCBORDERWIDTHS) override { return INPLACE_E_NOTOOLSPACE; }
    STDMETHODIMP SetBorderSpace(LPCBORDERWIDTHS) override { return S_OK; }
    STDMETHODIMP SetActiveObject(IOleInPlaceActiveObject*, LPCOLESTR) override { return S_OK; }
    STDMETHODIMP InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) override { return E_NOTIMPL; }
    STDMETHODIMP SetMenu(HMENU, HOLEMENU, HWND) override { return S_OK; }
    STDMETHODIMP RemoveMenus(HMENU) override { return E_NOTIMPL; }
    STDMETHODIMP SetStatusText(LPCOLESTR) override { return S_OK; }
    STDMETHODIMP EnableModeless(BOOL) override { return S_OK; }
    STDMETHODIMP TranslateAccelerator(LPMSG, WORD) override { return S_FALSE; }

    // IDocHostUIHandler
    STDMETHODIMP ShowContextMenu(DWORD id, POINT* pt, IUnknown* target, IDispatch* reserved) override
    {
        return m_view ? m_view->OnShowContextMenu(id, pt, target, reserved) : S_FALSE;
    }
    STDMETHODIMP GetHostInfo(DOCHOSTUIINFO* info) override
    {
        if (!info) return E_POINTER;
        return m_view ? m_view->OnGetHostInfo(info) : S_OK;
    }
    STDMETHODIMP ShowUI(DWORD, IOleInPlaceActiveObject*, IOleCommandTarget*, IOleInPlaceFrame*,
                        IOleInPlaceUIWindow*) override
    {
        return S_FALSE;
    }
    STDMETHODIMP HideUI() override { return S_OK; }
    STDMETHODIMP UpdateUI() override { return S_OK; }
    STDMETHODIMP OnDocWindowActivate(BOOL) override { return S_OK; }
    STDMETHODIMP OnFrameWindowActivate(BOOL) override { return S_OK; }
    STDMETHODIMP ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) override { return S_OK; }
    STDMETHODIMP TranslateAccelerator(LPMSG, const GUID*, DWORD) override { return S_FALSE; }
    STDMETHODIMP GetOptionKeyPath(LPOLESTR* out, DWORD) override
    {
        if (out) *out = NULL;
        return E_NOTIMPL;
    }
    STDMETHODIMP GetDropTarget(IDropTarget*, IDropTarget** out) override
    {
        if (out) *out = NULL;
        return E_NOTIMPL;
    }
    STDMETHODIMP GetExternal(IDispatch** out) override
    {
        if (out) *out = NULL;
        return S_FALSE;
    }
    STDMETHODIMP TranslateUrl(DWORD, LPWSTR, LPWSTR* out) override
    {
        if (out) *out = NULL;
        return S_FALSE;
    }
    STDMETHODIMP FilterDataObject(IDataObject*, IDataObject** out) override
    {
        if (out) *out = NULL;
        return S_FALSE;
    }

private:
    virtual ~Site() {}
    CHtmlView* m_view;
    LONG m_refs;
};

CHtmlView::CHtmlView() : m_pSite(NULL), m_pOleObject(NULL), m_pBrowser(NULL) {}

CHtmlView::~CHtmlView()
{
    ReleaseBrowser();
    if (m_pSite) {
        m_pSite->Detach();
        m_pSite->Release();
        m_pSite = NULL;
    }
}

BOOL CHtmlView::Create(LPCWSTR className, LPCWSTR windowName, DWORD style, const RECT& rect, CWnd* parent, UINT id,
                       CCreateContext* context)
{
    if (!CWnd::Create(className, windowName, style | WS_CLIPCHILDREN, rect, parent, id, context)) return FALSE;
    HRESULT hr = CoCreateInstance(CLSID_WebBrowser, NULL, CLSCTX_INPROC_SERVER, IID_IOleObject, (void**)&m_pOleObject);
    if (hr == CO_E_NOTINITIALIZED) {
        OleInitialize(NULL);  // kept for the thread, as an application-wide OLE start-up would be
        hr = CoCreateInstance(CLSID_WebBrowser, NULL, CLSCTX_INPROC_SERVER, IID_IOleObject, (void**)&m_pOleObject);
    }
    if (FAILED(hr) || !m_pOleObject) {
        m_pOleObject = NULL;
        DestroyWindow();
        return FALSE;
    }
    if (!m_pSite) m_pSite = new Site(this);
    m_pOleObject->SetClientSite(static_cast<IOleClientSite*>(m_pSite));
    RECT rc;
    ::GetClientRect(m_hWnd, &rc);
    m_pOleObject->DoVerb(OLEIVERB_INPLACEACTIVATE, NULL, static_cast<IOleClientSite*>(m_pSite), 0, m_hWnd, &rc);
    m_pOleObject->QueryInterface(IID_IWebBrowser2, (void**)&m_pBrowser);
    if (!m_pBrowser) {
        DestroyWindow();
        return FALSE;
    }
    return TRUE;
}

void CHtmlView::ReleaseBrowser()
{
    if (m_pBrowser) {
        m_pBrowser->Release();
        m_pBrowser = NULL;
    }
    if (m_pOleObject) {
        IOleObject* ole = m_pOleObject;
        m_pOleObject = NULL;
        ole->Close(OLECLOSE_NOSAVE);
        ole->SetClientSite(NULL);
        ole->Release();
    }
}

void CHtmlView::OnDestroy()
{
    ReleaseBrowser();
    CWnd::OnDestroy();
}

void CHtmlView::OnSize(UINT type, int cx, int cy)
{
    CWnd::OnSize(type, cx, cy);
    if (!m_pOleObject) return;
    IOleInPlaceObject* ip = NULL;
    if (SUCCEEDED(m_pOleObject->QueryInterface(IID_IOleInPlaceObject, (void**)&ip))) {
        RECT rc = {0, 0, cx, cy};
        ip->SetObjectRects(&rc, &rc);
        ip->Release();
    }
}

HRESULT CHtmlView::Navigate2(LPCWSTR url, DWORD flags, LPCWSTR targetFrame, LPCWSTR headers, LPVOID postData,
                             DWORD postDataLength)
{
    if (!m_pBrowser || !url) return E_FAIL;
    VARIANT vUrl, vFlags, vTarget, vPost, vHeaders;
    VariantInit(&vUrl);
    VariantInit(&vFlags);
    VariantInit(&vTarget);
    VariantInit(&vPost);
    VariantInit(&vHeaders);
    vUrl.vt = VT_BSTR;
    vUrl.bstrVal = SysAllocString(url);
    if (flags) {
        vFlags.vt = VT_I4;
        vFlags.lVal = (LONG)flags;
    }
    if (targetFrame) {
        vTarget.vt = VT_BSTR;
        vTarget.bstrVal = SysAllocString(targetFrame);
    }
    if (headers) {
        vHeaders.vt = VT_BSTR;
        vHeaders.bstrVal = SysAllocString(headers);
    }
    if (postData && postDataLength) {
        SAFEARRAY* sa = SafeArrayCreateVector(VT_UI1, 0, postDataLength);
        if (sa) {
            void* p = NULL;
            if (SUCCEEDED(SafeArrayAccessData(sa, &p))) {
                memcpy(p, postData, postDataLength);
                SafeArrayUnaccessData(sa);
            }
            vPost.vt = VT_ARRAY | VT_UI1;
            vPost.parray = sa;
        }
    }
    HRESULT hr = m_pBrowser->Navigate2(&vUrl, &vFlags, &vTarget, &vPost, &vHeaders);
    VariantClear(&vUrl);
    VariantClear(&vFlags);
    VariantClear(&vTarget);
    VariantClear(&vPost);
    VariantClear(&vHeaders);
    return hr;
}

CString CHtmlView::GetLocationURL() const
{
    CString out;
    BSTR url = NULL;
    if (m_pBrowser && SUCCEEDED(m_pBrowser->get_LocationURL(&url)) && url) out = url;
    if (url) SysFreeString(url);
    return out;
}

BOOL CHtmlView::GetBusy() const
{
    VARIANT_BOOL busy = VARIANT_FALSE;
    if (m_pBrowser) m_pBrowser->get_Busy(&busy);
    return busy != VARIANT_FALSE;
}

void CHtmlView::Stop()
{
    if (m_pBrowser) m_pBrowser->Stop();
}

void CHtmlView::Refresh()
{
    if (m_pBrowser) m_pBrowser->Refresh();
}

HRESULT CHtmlView::OnGetHostInfo(DOCHOSTUIINFO*) { return S_OK; }

HRESULT CHtmlView::OnShowContextMenu(DWORD, LPPOINT, LPUNKNOWN, LPDISPATCH) { return S_FALSE; }

IDocHostUIHandler* CHtmlView::GetHostUIHandler() const
{
    return m_pSite ? static_cast<IDocHostUIHandler*>(m_pSite) : NULL;
}
