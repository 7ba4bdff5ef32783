// CHtmlView: a child window hosting the system's web browser control (CLSID_WebBrowser) through our own site
// object (client site, in-place site and frame stubs, IDocHostUIHandler). Derived classes customise the host
// through OnGetHostInfo (e.g. add DOCHOSTUIFLAG_NO3DBORDER | DOCHOSTUIFLAG_SCROLL_NO and return S_OK).
// COM must be initialised on the thread (OleInitialize in InitInstance); if it is not, Create initialises it.
// The view resizes the browser with its window and closes and releases it when the window is destroyed.
#pragma once

#include <exdisp.h>
#include <mshtmhst.h>
#include <ole2.h>

#include "QMfcWnd.h"

class CHtmlView : public CWnd {
    DECLARE_DYNAMIC(CHtmlView)
public:
    CHtmlView();
    ~CHtmlView() override;

    BOOL Create(LPCWSTR className, LPCWSTR windowName, DWORD style, const RECT& rect, CWnd* parent, UINT id,
                CCreateContext* context = NULL) override;
    // An HTTP GET (or a local file) of the url; the other arguments are optional as in the control.
    HRESULT Navigate2(LPCWSTR url, DWORD flags = 0, LPCWSTR targetFrame = NULL, LPCWSTR headers = NULL,
                      LPVOID postData = NULL, DWORD postDataLength = 0);
    IWebBrowser2* GetBrowser() const { return m_pBrowser; }
    CString GetLocationURL() const;
    BOOL GetBusy() const;
    void Stop();
    void Refresh();

    // IDocHostUIHandler::GetHostInfo; the default leaves the flags as given and returns S_OK.
    virtual HRESULT OnGetHostInfo(DOCHOSTUIINFO* info);
    // IDocHostUIHandler::ShowContextMenu; S_FALSE shows the browser's own menu.
    virtual HRESULT OnShowContextMenu(DWORD id, LPPOINT pt, LPUNKNOWN target, LPDISPATCH reserved);
    // The site object's IDocHostUIHandler (what the browser asks for); NULL before Create.
    IDocHostUIHandler* GetHostUIHandler() const;

protected:
    void OnSize(UINT type, int cx, int cy);
    void OnDestroy();
    DECLARE_MESSAGE_MAP()

private:
    class Site;
    friend class Site;
    void ReleaseBrowser();
    Site* m_pSite;
    IOleObject* m_pOleObject;
    IWebBrowser2* m_pBrowser;
};
