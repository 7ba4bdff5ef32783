// CWnd: handle maps, attach-at-creation hook, window procedure and message-map dispatch with reflection.
#include "ThreadState.h"

#include <unordered_map>

#include "QLock.h"

namespace {
qmfc::CaptionObserver g_captionObserver = nullptr;
}  // namespace

void qmfc::SetCaptionObserver(CaptionObserver observer) { g_captionObserver = observer; }

void qmfc::NotifyCaption(HWND wnd, int item, LPCWSTR text)
{
    if (g_captionObserver && wnd && text) g_captionObserver(wnd, item, text);
}

IMPLEMENT_DYNAMIC(CWnd, CCmdTarget)

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
END_MESSAGE_MAP()

const CWnd CWnd::wndTop(HWND_TOP);
const CWnd CWnd::wndBottom(HWND_BOTTOM);
const CWnd CWnd::wndTopMost(HWND_TOPMOST);
const CWnd CWnd::wndNoTopMost(HWND_NOTOPMOST);

namespace {

const wchar_t kSuperProp[] = L"QMfc.SuperProc";

// The permanent map: HWND -> object, shared by every thread.
struct PermanentMap {
    qcore::Lock lock;
    std::unordered_map<HWND, CWnd*> map;
};

PermanentMap& Permanent()
{
    static PermanentMap* m = new PermanentMap;  // never destroyed: windows may outlive static destructors
    return *m;
}

bool IsImeWindow(HWND h)
{
    wchar_t cls[64] = {};
    GetClassNameW(h, cls, 64);
    return lstrcmpiW(cls, L"IME") == 0 || lstrcmpiW(cls, L"MSCTFIME UI") == 0;
}

void InstallSuper(CWnd* wnd, HWND h, WNDPROC old, WNDPROC* slot)
{
    if (old && old != AfxWndProc) {
        *slot = old;
        SetPropW(h, kSuperProp, (HANDLE)old);
    }
    (void)wnd;
}

bool MatchCommandId(const AFX_MSGMAP_ENTRY* e, UINT id16, UINT* fullId)
{
    UINT lo = LOWORD(e->nID), hi = LOWORD(e->nLastID);
    bool match;
    if (e->nLastID - e->nID >= 0xFFFF)
        match = true;
    else if (lo <= hi)
        match = id16 >= lo && id16 <= hi;
    else
        match = id16 >= lo || id16 <= hi;  // the range crosses a multiple of 65536
    if (match) *fullId = e->nID + ((id16 - lo) & 0xFFFF);
    return match;
}

const AFX_MSGMAP* BaseMap(const AFX_MSGMAP* m) { return m->pfnGetBaseMap ? m->pfnGetBaseMap() : NULL; }

}  // namespace

LRESULT CALLBACK QmfcCbtHook(int code, WPARAM wParam, LPARAM lParam)
{
    qmfc::ThreadState* ts = qmfc::GetThreadState();
    if (code == HCBT_CREATEWND && ts->pWndInit) {
        HWND h = (HWND)wParam;
        LPCBT_CREATEWNDW cbt = (LPCBT_CREATEWNDW)lParam;
        HWND parent = cbt && cbt->lpcs ? cbt->lpcs->hwndParent : NULL;
        bool parentOk =
            ts->hWndInitParent == NULL || ts->hWndInitParent == HWND_MESSAGE || parent == ts->hWndInitParent;
        if (parentOk && !IsImeWindow(h)) {
            CWnd* wnd = ts->pWndInit;
            ts->pWndInit = NULL;
            if (!wnd->Attach(h)) return CallNextHookEx(ts->hHook, code, wParam, lParam);
            ts->hWndCreating = h;
            wnd->PreSubclassWindow();
            WNDPROC old = (WNDPROC)SetWindowLongPtrW(h, GWLP_WNDPROC, (LONG_PTR)AfxWndProc);
            InstallSuper(wnd, h, old, wnd->GetSuperWndProcAddr());
        }
    }
    return CallNextHookEx(ts->hHook, code, wParam, lParam);
}

namespace qmfc {

// Arms the creation hook for one window of this thread; returns the previous state to restore.
struct CreateHook {
    ThreadState* ts;
    CWnd* savedInit;
    HWND savedParent;
    CreateHook(CWnd* wnd, HWND parent) : ts(GetThreadState()), savedInit(ts->pWndInit), savedParent(ts->hWndInitParent)
    {
        if (ts->hookDepth++ == 0) ts->hHook = SetWindowsHookExW(WH_CBT, QmfcCbtHook, NULL, GetCurrentThreadId());
        ts->pWndInit = wnd;
        ts->hWndInitParent = parent;
    }
    // TRUE when the hook attached the window.
    bool Consumed() const { return ts->pWndInit == NULL; }
    ~CreateHook()
    {
        ts->pWndInit = savedInit;
        ts->hWndInitParent = savedParent;
        ts->hWndCreating = NULL;
        if (--ts->hookDepth == 0 && ts->hHook) {
            UnhookWindowsHookEx(ts->hHook);
            ts->hHook = NULL;
        }
    }
};

// Creates a dialog from a template with the object attached before its first message.
HWND CreateDialogAttached(CWnd* wnd, LPCDLGTEMPLATEW tmpl, HWND parent, HINSTANCE inst, DLGPROC proc)
{
    CreateHook hook(wnd, parent);
    HWND h = CreateDialogIndirectParamW(inst, tmpl, parent, proc, 0);
    if (h && wnd->m_hWnd != h && !hook.Consumed()) wnd->SubclassWindow(h);
    return h;
}

}  // namespace qmfc

LRESULT QmfcCallWndProc(CWnd* wnd, HWND h, UINT message, WPARAM wParam, LPARAM lParam)
{
    qmfc::ThreadState* ts = qmfc::GetThreadState();
    MSG saved = ts->lastMsg;
    ts->lastMsg.hwnd = h;
    ts->lastMsg.message = message;
    ts->lastMsg.wParam = wParam;
    ts->lastMsg.lParam = lParam;
    LRESULT r = wnd->WindowProc(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        // The window is gone: give the original procedure back, forget the handle, then let the object go.
        if ((WNDPROC)GetWindowLongPtrW(h, GWLP_WNDPROC) == AfxWndProc && wnd->m_pfnSuper)
            SetWindowLongPtrW(h, GWLP_WNDPROC, (LONG_PTR)wnd->m_pfnSuper);
        RemovePropW(h, kSuperProp);
        wnd->m_pfnSuper = NULL;
        if (CWnd::FromHandlePermanent(h) == wnd) wnd->Detach();
        ts->lastMsg = saved;
        wnd->PostNcDestroy();
        return r;
    }
    ts->lastMsg = saved;
    return r;
}

LRESULT CALLBACK AfxWndProc(HWND h, UINT message, WPARAM wParam, LPARAM lParam)
{
    CWnd* wnd = CWnd::FromHandlePermanent(h);
    if (!wnd) {
        // A window whose object went away without unsubclassing: keep its original behaviour.
        WNDPROC super = (WNDPROC)GetPropW(h, kSuperProp);
        if (message == WM_NCDESTROY) RemovePropW(h, kSuperProp);
        return super ? CallWindowProcW(super, h, message, wParam, lParam) : DefWindowProcW(h, message, wParam, lParam);
    }
    return QmfcCallWndProc(wnd, h, message, wParam, lParam);
}

CWnd::CWnd() : m_hWnd(NULL), m_pfnSuper(NULL) {}

CWnd::CWnd(HWND special) : m_hWnd(special), m_pfnSuper(NULL) {}

CWnd::~CWnd()
{
    if (m_hWnd && FromHandlePermanent(m_hWnd) == this) {
        HWND h = m_hWnd;
        if (!::DestroyWindow(h) || FromHandlePermanent(h) == this) {
            // Not destroyed (another thread's window) or only attached: unhook and forget the handle.
            if (::IsWindow(h) && (WNDPROC)GetWindowLongPtrW(h, GWLP_WNDPROC) == AfxWndProc && m_pfnSuper)
                SetWindowLongPtrW(h, GWLP_WNDPROC, (LONG_PTR)m_pfnSuper);
            Detach();
        }
    }
}

CWnd* CWnd::FromHandlePermanent(HWND h)
{
    if (!h) return NULL;
    PermanentMap& pm = Permanent();
    qcore::ScopedLock lock(pm.lock);
    auto it = pm.map.find(h);
    return it == pm.map.end() ? NULL : it->second;
}

CWnd* CWnd::FromHandle(HWND h)
{
    if (!h) return NULL;
    if (CWnd* p = FromHandlePermanent(h)) return p;
    auto& temp = qmfc::GetThreadState()->tempWnd;
    auto it = temp.find(h);
    if (it != temp.end()) return it->second;
    CWnd* w = new CWnd;
    w->m_hWnd = h;
    temp[h] = w;
    return w;
}

BOOL CWnd::Attach(HWND h)
{
    if (!h || m_hWnd) return FALSE;
    PermanentMap& pm = Permanent();
    qcore::ScopedLock lock(pm.lock);
    auto it = pm.map.find(h);
    if (it != pm.map.end() && it->second != this) return FALSE;
    pm.map[h] = this;
    m_hWnd = h;
    return TRUE;
}

HWND CWnd::Detach()
{
    HWND h = m_hWnd;
    if (h) {
        PermanentMap& pm = Permanent();
        qcore::ScopedLock lock(pm.lock);
        auto it = pm.map.find(h);
        if (it != pm.map.end() && it->second == this) pm.map.erase(it);
    }
    m_hWnd = NULL;
    return h;
}

void CWnd::PreSubclassWindow() {}

BOOL CWnd::SubclassWindow(HWND h)
{
    if (!Attach(h)) return FALSE;
    PreSubclassWindow();
    WNDPROC old = (WNDPROC)SetWindowLongPtrW(h, GWLP_WNDPROC, (LONG_PTR)AfxWndProc);
    if (!old) {
        Detach();
        return FALSE;
    }
    InstallSuper(this, h, old, GetSuperWndProcAddr());
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT id, CWnd* parent)
{
    HWND h = parent ? ::GetDlgItem(parent->m_hWnd, (int)id) : NULL;
    return h ? SubclassWindow(h) : FALSE;
}

HWND CWnd::UnsubclassWindow()
{
    if (!m_hWnd) return NULL;
    WNDPROC* slot = GetSuperWndProcAddr();
    if (*slot) SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, (LONG_PTR)*slot);
    RemovePropW(m_hWnd, kSuperProp);
    *slot = NULL;
    return Detach();
}

BOOL CWnd::PreCreateWindow(CREATESTRUCTW&) { return TRUE; }

BOOL CWnd::Create(LPCWSTR className, LPCWSTR windowName, DWORD style, const RECT& rect, CWnd* parent, UINT id,
                  CCreateContext*)
{
    return CreateEx(0, className, windowName, style | WS_CHILD, rect.left, rect.top, rect.right - rect.left,
                    rect.bottom - rect.top, parent ? parent->m_hWnd : NULL, (HMENU)(UINT_PTR)id, NULL);
}

BOOL CWnd::CreateEx(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, const RECT& rect, CWnd* parent,
                    UINT id, LPVOID param)
{
    return CreateEx(exStyle, className, windowName, style, rect.left, rect.top, rect.right - rect.left,
                    rect.bottom - rect.top, parent ? parent->m_hWnd : NULL, (HMENU)(UINT_PTR)id, param);
}

BOOL CWnd::CreateEx(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, int x, int y, int cx, int cy,
                    HWND parent, HMENU idOrMenu, LPVOID param)
{
    if (m_hWnd) return FALSE;
    CREATESTRUCTW cs = {};
    cs.dwExStyle = exStyle;
    cs.lpszClass = className ? className : AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorW(NULL, IDC_ARROW));
    cs.lpszName = windowName;
    cs.style = style;
    cs.x = x;
    cs.y = y;
    cs.cx = cx;
    cs.cy = cy;
    cs.hwndParent = parent;
    cs.hMenu = idOrMenu;
    cs.hInstance = AfxGetInstanceHandle();
    cs.lpCreateParams = param;
    if (!PreCreateWindow(cs)) {
        PostNcDestroy();
        return FALSE;
    }
    HWND h;
    bool consumed;
    {
        qmfc::CreateHook hook(this, cs.hwndParent);
        h = CreateWindowExW(cs.dwExStyle, cs.lpszClass, cs.lpszName, cs.style, cs.x, cs.y, cs.cx, cs.cy, cs.hwndParent,
                            cs.hMenu, cs.hInstance, cs.lpCreateParams);
        consumed = hook.Consumed();
    }
    if (!h) {
        if (!consumed) PostNcDestroy();  // never got a window, so no WM_NCDESTROY either
        return FALSE;
    }
    if (m_hWnd != h && !consumed) SubclassWindow(h);
    if (cs.lpszName) qmfc::NotifyCaption(h, -1, cs.lpszName);
    return m_hWnd == h;
}

void CWnd::SetWindowText(LPCWSTR text)
{
    ::SetWindowTextW(m_hWnd, text);
    qmfc::NotifyCaption(m_hWnd, -1, text);
}

BOOL CWnd::DestroyWindow()
{
    if (!m_hWnd) return FALSE;
    HWND h = m_hWnd;
    BOOL ok = ::DestroyWindow(h);
    // A window that was only attached (not subclassed) never shows us WM_NCDESTROY.
    if (ok && FromHandlePermanent(h) == this) Detach();
    return ok;
}

void CWnd::PostNcDestroy() {}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT r = 0;
    if (!OnWndMsg(message, wParam, lParam, &r)) r = DefWindowProc(message, wParam, lParam);
    return r;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    WNDPROC super = *GetSuperWndProcAddr();
    if (super) return ::CallWindowProcW(super, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcW(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default()
{
    const MSG& m = qmfc::GetThreadState()->lastMsg;
    return DefWindowProc(m.message, m.wParam, m.lParam);
}

const MSG* CWnd::GetCurrentMessage() { return &qmfc::GetThreadState()->lastMsg; }

BOOL CWnd::ReflectLastMsg(HWND child, LRESULT* result)
{
    CWnd* wnd = FromHandlePermanent(child);
    if (!wnd) return FALSE;
    const MSG& m = qmfc::GetThreadState()->lastMsg;
    LRESULT dummy = 0;
    return wnd->OnChildNotify(m.message, m.wParam, m.lParam, result ? result : &dummy);
}

namespace {

// The child a parent's owner-draw or colour message is about (NULL for menus and unknown children).
HWND ChildOfMessage(HWND parent, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_DRAWITEM: {
        const DRAWITEMSTRUCT* dis = (const DRAWITEMSTRUCT*)lParam;
        return dis && dis->CtlType != ODT_MENU ? dis->hwndItem : NULL;
    }
    case WM_MEASUREITEM: {
        const MEASUREITEMSTRUCT* mis = (const MEASUREITEMSTRUCT*)lParam;
        if (!mis || mis->CtlType == ODT_MENU) return NULL;
        HWND h = ::GetDlgItem(parent, (int)mis->CtlID);
        if (!h) {
            // Sent while the child is still being created: the hook knows it already.
            HWND creating = qmfc::GetThreadState()->hWndCreating;
            if (creating && (UINT)::GetWindowLongPtrW(creating, GWLP_ID) == mis->CtlID) h = creating;
        }
        return h;
    }
    case WM_DELETEITEM: {
        const DELETEITEMSTRUCT* d = (const DELETEITEMSTRUCT*)lParam;
        return d ? d->hwndItem : NULL;
    }
    case WM_COMPAREITEM: {
        const COMPAREITEMSTRUCT* c = (const COMPAREITEMSTRUCT*)lParam;
        return c ? c->hwndItem : NULL;
    }
    default:
        if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) return (HWND)lParam;
        (void)wParam;
        return NULL;
    }
}

}  // namespace

// The dispatchers cast each entry's generic handler back to the type its signature code names.
QMFC_MESSAGE_MAP_CASTS_BEGIN
BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    LRESULT r = 0;
    if (message == WM_COMMAND) {
        if (!OnCommand(wParam, lParam)) return FALSE;
        *result = 0;
        return TRUE;
    }
    if (message == WM_NOTIFY) {
        const NMHDR* nm = (const NMHDR*)lParam;
        if (!nm || !OnNotify(wParam, lParam, &r)) return FALSE;
        *result = r;
        return TRUE;
    }
    if (HWND child = ChildOfMessage(m_hWnd, message, wParam, lParam)) {
        if (child != m_hWnd) {
            if (CWnd* obj = FromHandlePermanent(child)) {
                if (obj->OnChildNotify(message, wParam, lParam, &r)) {
                    *result = r;
                    return TRUE;
                }
            }
        }
    }
    UINT key = (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) ? (UINT)WM_CTLCOLOR : message;
    for (const AFX_MSGMAP* map = GetMessageMap(); map; map = BaseMap(map)) {
        for (const AFX_MSGMAP_ENTRY* e = map->lpEntries; e->nSig != AfxSig_end; ++e) {
            if (e->nMessage == 0xFFFFFFFFu) {
                if (*(const UINT*)e->nSig == message) {
                    *result = (this->*reinterpret_cast<LRESULT (CWnd::*)(WPARAM, LPARAM)>(e->pfn))(wParam, lParam);
                    return TRUE;
                }
                continue;
            }
            if (e->nMessage == key && e->nCode == 0 && e->nID == 0)
                return DispatchEntry(e, message, wParam, lParam, result);
        }
    }
    return FALSE;
}

BOOL CWnd::DispatchEntry(const AFX_MSGMAP_ENTRY* e, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    LRESULT r = 0;
    AFX_PMSG f = e->pfn;
#define QMFC_CALL(type) (this->*reinterpret_cast<type>(f))
    switch (e->nSig) {
    case AfxSig_lwl: r = QMFC_CALL(LRESULT(CWnd::*)(WPARAM, LPARAM))(wParam, lParam); break;
    case AfxSig_vv: QMFC_CALL(void(CWnd::*)())(); break;
    case AfxSig_bD: r = QMFC_CALL(BOOL(CWnd::*)(CDC*))(CDC::FromHandle((HDC)wParam)); break;
    case AfxSig_hDWu:
        r = (LRESULT)QMFC_CALL(HBRUSH(CWnd::*)(CDC*, CWnd*, UINT))(
            CDC::FromHandle((HDC)wParam), FromHandle((HWND)lParam), message - WM_CTLCOLORMSGBOX);
        break;
    case AfxSig_lP: r = QMFC_CALL(LRESULT(CWnd::*)(CPoint))(CPoint(lParam)); break;
    case AfxSig_vt: QMFC_CALL(void(CWnd::*)(UINT_PTR))((UINT_PTR)wParam); break;
    case AfxSig_vuP: QMFC_CALL(void(CWnd::*)(UINT, CPoint))((UINT)wParam, CPoint(lParam)); break;
    case AfxSig_bWuu:
        r = QMFC_CALL(BOOL(CWnd::*)(CWnd*, UINT, UINT))(FromHandle((HWND)wParam), LOWORD(lParam), HIWORD(lParam));
        break;
    case AfxSig_hcur: r = (LRESULT)QMFC_CALL(HCURSOR(CWnd::*)())(); break;
    case AfxSig_viDIS:
        QMFC_CALL(void(CWnd::*)(int, LPDRAWITEMSTRUCT))((int)wParam, (LPDRAWITEMSTRUCT)lParam);
        r = TRUE;
        break;
    case AfxSig_viMIS:
        QMFC_CALL(void(CWnd::*)(int, LPMEASUREITEMSTRUCT))((int)wParam, (LPMEASUREITEMSTRUCT)lParam);
        r = TRUE;
        break;
    case AfxSig_vPOS: QMFC_CALL(void(CWnd::*)(WINDOWPOS*))((WINDOWPOS*)lParam); break;
    case AfxSig_iCREATE: r = QMFC_CALL(int(CWnd::*)(LPCREATESTRUCTW))((LPCREATESTRUCTW)lParam); break;
    case AfxSig_vuii: QMFC_CALL(void(CWnd::*)(UINT, int, int))((UINT)wParam, LOWORD(lParam), HIWORD(lParam)); break;
    case AfxSig_vii: QMFC_CALL(void(CWnd::*)(int, int))((short)LOWORD(lParam), (short)HIWORD(lParam)); break;
    case AfxSig_vbu: QMFC_CALL(void(CWnd::*)(BOOL, UINT))((BOOL)wParam, (UINT)lParam); break;
    case AfxSig_vul: QMFC_CALL(void(CWnd::*)(UINT, LPARAM))((UINT)wParam, lParam); break;
    case AfxSig_vW: QMFC_CALL(void(CWnd::*)(CWnd*))(FromHandle((HWND)wParam)); break;
    case AfxSig_vuuu: QMFC_CALL(void(CWnd::*)(UINT, UINT, UINT))((UINT)wParam, LOWORD(lParam), HIWORD(lParam)); break;
    case AfxSig_vuuS:
        QMFC_CALL(void(CWnd::*)(UINT, UINT, CScrollBar*))
        (LOWORD(wParam), (UINT)(short)HIWORD(wParam), (CScrollBar*)FromHandle((HWND)lParam));
        break;
    case AfxSig_vWP: QMFC_CALL(void(CWnd::*)(CWnd*, CPoint))(FromHandle((HWND)wParam), CPoint(lParam)); break;
    case AfxSig_vMMI: QMFC_CALL(void(CWnd::*)(MINMAXINFO*))((MINMAXINFO*)lParam); break;
    case AfxSig_vuWb:
        QMFC_CALL(void(CWnd::*)(UINT, CWnd*, BOOL))(LOWORD(wParam), FromHandle((HWND)lParam), HIWORD(wParam) != 0);
        break;
    case AfxSig_vb: QMFC_CALL(void(CWnd::*)(BOOL))((BOOL)wParam); break;
    case AfxSig_uv: r = QMFC_CALL(UINT(CWnd::*)())(); break;
    case AfxSig_busP:
        r = QMFC_CALL(BOOL(CWnd::*)(UINT, short, CPoint))(LOWORD(wParam), (short)HIWORD(wParam), CPoint(lParam));
        break;
    case AfxSig_vDROP: QMFC_CALL(void(CWnd::*)(HDROP))((HDROP)wParam); break;
    default: return FALSE;
    }
#undef QMFC_CALL
    *result = r;
    return TRUE;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    UINT id = LOWORD(wParam);
    UINT code = HIWORD(wParam);
    HWND ctl = (HWND)lParam;
    if (ctl) {
        // A control's notification goes to the control first.
        if (CWnd* obj = FromHandlePermanent(ctl)) {
            LRESULT r = 0;
            if (obj != this && obj->OnChildNotify(WM_COMMAND, wParam, lParam, &r)) return TRUE;
        }
    } else if (code == 1) {
        code = 0;  // an accelerator is a command
    }
    for (const AFX_MSGMAP* map = GetMessageMap(); map; map = BaseMap(map)) {
        for (const AFX_MSGMAP_ENTRY* e = map->lpEntries; e->nSig != AfxSig_end; ++e) {
            UINT full = 0;
            if (e->nMessage != WM_COMMAND || e->nCode != code || !MatchCommandId(e, id, &full)) continue;
            if (e->nSig == AfxSig_vu)
                (this->*reinterpret_cast<void (CWnd::*)(UINT)>(e->pfn))(full);
            else
                (this->*reinterpret_cast<void (CWnd::*)()>(e->pfn))();
            return TRUE;
        }
    }
    return FALSE;
}

BOOL CWnd::OnNotify(WPARAM, LPARAM lParam, LRESULT* result)
{
    NMHDR* nm = (NMHDR*)lParam;
    if (nm->hwndFrom) {
        if (CWnd* obj = FromHandlePermanent(nm->hwndFrom)) {
            if (obj != this && obj->OnChildNotify(WM_NOTIFY, nm->idFrom, lParam, result)) return TRUE;
        }
    }
    UINT id = (UINT)nm->idFrom;
    for (const AFX_MSGMAP* map = GetMessageMap(); map; map = BaseMap(map)) {
        for (const AFX_MSGMAP_ENTRY* e = map->lpEntries; e->nSig != AfxSig_end; ++e) {
            if (e->nMessage != WM_NOTIFY || e->nCode != nm->code || id < e->nID || id > e->nLastID) continue;
            if (e->nSig == AfxSig_vuNMHDRpl)
                (this->*reinterpret_cast<void (CWnd::*)(UINT, NMHDR*, LRESULT*)>(e->pfn))(id, nm, result);
            else
                (this->*reinterpret_cast<void (CWnd::*)(NMHDR*, LRESULT*)>(e->pfn))(nm, result);
            return TRUE;
        }
    }
    return FALSE;
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    return ReflectChildNotify(message, wParam, lParam, result);
}

BOOL CWnd::ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    bool ctlColor = message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC;
    UINT key = WM_REFLECT_BASE + (ctlColor ? (UINT)WM_CTLCOLOR : message);
    UINT code = 0;
    if (message == WM_COMMAND)
        code = HIWORD(wParam);
    else if (message == WM_NOTIFY)
        code = ((NMHDR*)lParam)->code;
    for (const AFX_MSGMAP* map = GetMessageMap(); map; map = BaseMap(map)) {
        for (const AFX_MSGMAP_ENTRY* e = map->lpEntries; e->nSig != AfxSig_end; ++e) {
            if (e->nMessage != key || e->nCode != code) continue;
            AFX_PMSG f = e->pfn;
            switch (e->nSig) {
            case AfxSig_vv: (this->*reinterpret_cast<void (CWnd::*)()>(f))(); return TRUE;
            case AfxSig_bv: return (this->*reinterpret_cast<BOOL (CWnd::*)()>(f))();
            case AfxSig_vNMHDRpl:
                (this->*reinterpret_cast<void (CWnd::*)(NMHDR*, LRESULT*)>(f))((NMHDR*)lParam, result);
                return TRUE;
            case AfxSig_bNMHDRpl:
                return (this->*reinterpret_cast<BOOL (CWnd::*)(NMHDR*, LRESULT*)>(f))((NMHDR*)lParam, result);
            case AfxSig_hDu: {
                HBRUSH b = (this->*reinterpret_cast<HBRUSH (CWnd::*)(CDC*, UINT)>(f))(CDC::FromHandle((HDC)wParam),
                                                                                      message - WM_CTLCOLORMSGBOX);
                if (!b) return FALSE;  // NULL: the parent decides
                *result = (LRESULT)b;
                return TRUE;
            }
            case AfxSig_vDIS:
                (this->*reinterpret_cast<void (CWnd::*)(LPDRAWITEMSTRUCT)>(f))((LPDRAWITEMSTRUCT)lParam);
                *result = TRUE;
                return TRUE;
            case AfxSig_vMIS:
                (this->*reinterpret_cast<void (CWnd::*)(LPMEASUREITEMSTRUCT)>(f))((LPMEASUREITEMSTRUCT)lParam);
                *result = TRUE;
                return TRUE;
            case AfxSig_lwl:
                *result = (this->*reinterpret_cast<LRESULT (CWnd::*)(WPARAM, LPARAM)>(f))(wParam, lParam);
                return TRUE;
            default: return FALSE;
            }
        }
    }
    return FALSE;
}
QMFC_MESSAGE_MAP_CASTS_END

BOOL CWnd::PreTranslateMessage(MSG*) { return FALSE; }

BOOL CWnd::WalkPreTranslateTree(MSG* msg)
{
    for (HWND h = msg->hwnd; h; h = ::GetParent(h)) {
        if (CWnd* w = FromHandlePermanent(h)) {
            if (w->PreTranslateMessage(msg)) return TRUE;
        }
        if (!(::GetWindowLongPtrW(h, GWL_STYLE) & WS_CHILD)) break;  // stop at the top-level window
    }
    return FALSE;
}

void CWnd::SendMessageToDescendants(UINT msg, WPARAM wp, LPARAM lp, BOOL deep)
{
    for (HWND c = ::GetTopWindow(m_hWnd); c; c = ::GetWindow(c, GW_HWNDNEXT)) {
        ::SendMessageW(c, msg, wp, lp);
        if (deep && ::GetTopWindow(c)) {
            CWnd tmp;
            tmp.m_hWnd = c;
            tmp.SendMessageToDescendants(msg, wp, lp, TRUE);
            tmp.m_hWnd = NULL;
        }
    }
}

CWnd* CWnd::GetTopLevelParent() const
{
    HWND h = m_hWnd;
    while (h && (::GetWindowLongPtrW(h, GWL_STYLE) & WS_CHILD)) h = ::GetParent(h);
    return FromHandle(h);
}

void CWnd::GetWindowText(CString& text) const
{
    int n = ::GetWindowTextLengthW(m_hWnd);
    ::GetWindowTextW(m_hWnd, text.GetBufferSetLength(n + 1), n + 1);
    text.ReleaseBuffer();
}

int CWnd::GetDlgItemText(int id, CString& text) const
{
    HWND h = ::GetDlgItem(m_hWnd, id);
    text.Empty();
    if (!h) return 0;
    int n = ::GetWindowTextLengthW(h);
    ::GetWindowTextW(h, text.GetBufferSetLength(n + 1), n + 1);
    text.ReleaseBuffer();
    return text.GetLength();
}

void CWnd::CenterWindow(CWnd* alternateOwner)
{
    HWND owner = alternateOwner ? alternateOwner->m_hWnd : NULL;
    DWORD style = GetStyle();
    if (!owner) owner = (style & WS_CHILD) ? ::GetParent(m_hWnd) : ::GetWindow(m_hWnd, GW_OWNER);
    RECT area, rc;
    ::GetWindowRect(m_hWnd, &rc);
    if (style & WS_CHILD) {
        ::GetClientRect(owner, &area);
        ::MapWindowPoints(m_hWnd, owner, (LPPOINT)&rc, 0);
        POINT tl = {rc.left, rc.top};
        ::ScreenToClient(owner, &tl);
        rc.right = tl.x + (rc.right - rc.left);
        rc.bottom = tl.y + (rc.bottom - rc.top);
        rc.left = tl.x;
        rc.top = tl.y;
    } else {
        ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
        if (owner && ::IsWindowVisible(owner) && !::IsIconic(owner)) ::GetWindowRect(owner, &area);
    }
    int w = rc.right - rc.left, h = rc.bottom - rc.top;
    int x = area.left + (area.right - area.left - w) / 2;
    int y = area.top + (area.bottom - area.top - h) / 2;
    ::SetWindowPos(m_hWnd, NULL, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int CWnd::ReleaseDC(CDC* dc)
{
    if (!dc) return 0;
    HDC h = dc->m_hDC;
    auto& temp = qmfc::GetThreadState()->tempDC;
    auto it = temp.find(h);
    if (it != temp.end() && it->second == dc) {
        temp.erase(it);
        dc->Detach();
        delete dc;
    } else {
        dc->Detach();
    }
    return ::ReleaseDC(m_hWnd, h);
}

BOOL CWnd::ModifyStyle(HWND h, DWORD remove, DWORD add, UINT swpFlags)
{
    DWORD style = (DWORD)::GetWindowLongPtrW(h, GWL_STYLE);
    DWORD next = (style & ~remove) | add;
    if (style == next) return FALSE;
    ::SetWindowLongPtrW(h, GWL_STYLE, (LONG_PTR)next);
    if (swpFlags)
        ::SetWindowPos(h, NULL, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | swpFlags);
    return TRUE;
}

BOOL CWnd::ModifyStyleEx(HWND h, DWORD remove, DWORD add, UINT swpFlags)
{
    DWORD style = (DWORD)::GetWindowLongPtrW(h, GWL_EXSTYLE);
    DWORD next = (style & ~remove) | add;
    if (style == next) return FALSE;
    ::SetWindowLongPtrW(h, GWL_EXSTYLE, (LONG_PTR)next);
    if (swpFlags)
        ::SetWindowPos(h, NULL, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | swpFlags);
    return TRUE;
}

int CWnd::GetCheckedRadioButton(int first, int last) const
{
    for (int id = first; id <= last; ++id)
        if (::IsDlgButtonChecked(m_hWnd, id)) return id;
    return 0;
}

CMenu* CWnd::GetMenu() const { return CMenu::FromHandle(::GetMenu(m_hWnd)); }

BOOL CWnd::SetMenu(CMenu* menu) { return ::SetMenu(m_hWnd, menu ? menu->m_hMenu : NULL); }

CMenu* CWnd::GetSystemMenu(BOOL revert) const { return CMenu::FromHandle(::GetSystemMenu(m_hWnd, revert)); }

void CWnd::DragAcceptFiles(BOOL accept)
{
    ModifyStyleEx(accept ? 0 : WS_EX_ACCEPTFILES, accept ? WS_EX_ACCEPTFILES : 0, 0);
}

int CWnd::MessageBox(LPCWSTR text, LPCWSTR caption, UINT type)
{
    if (!caption) {
        CWinApp* app = AfxGetApp();
        caption = app && app->m_pszAppName ? app->m_pszAppName : L"";
    }
    return ::MessageBoxW(m_hWnd, text, caption, type);
}

LPCWSTR AfxRegisterWndClass(UINT classStyle, HCURSOR cursor, HBRUSH background, HICON icon)
{
    // One class per look; the name encodes it so equal requests share a class.
    static qcore::Lock* lock = new qcore::Lock;
    static std::unordered_map<std::wstring, std::wstring>* names = new std::unordered_map<std::wstring, std::wstring>;
    wchar_t name[128];
    _snwprintf(name, 128, L"QMfc:%p:%x:%p:%p:%p", (void*)AfxGetInstanceHandle(), classStyle, (void*)cursor,
               (void*)background, (void*)icon);
    name[127] = 0;
    qcore::ScopedLock guard(*lock);
    auto it = names->find(name);
    if (it != names->end()) return it->second.c_str();
    WNDCLASSW wc = {};
    wc.style = classStyle;
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.hInstance = AfxGetInstanceHandle();
    wc.hCursor = cursor;
    wc.hbrBackground = background;
    wc.hIcon = icon;
    wc.lpszClassName = name;
    WNDCLASSW existing;
    if (!GetClassInfoW(wc.hInstance, name, &existing)) RegisterClassW(&wc);
    auto& stored = (*names)[name];
    stored = name;
    return stored.c_str();
}
