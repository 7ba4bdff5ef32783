// CWnd: a C++ object bound to an HWND.
// - Permanent objects: windows created through Create/CreateEx (attached by a per-thread WH_CBT hook before the
//   window gets its first message, so messages sent during creation, e.g. WM_MEASUREITEM of an owner-drawn list,
//   already reach the object), SubclassWindow/SubclassDlgItem, and Attach. The handle map of permanent objects is
//   process-global and guarded by a lock, so any thread may look them up.
// - Temporary objects: FromHandle on a handle without a permanent object returns a plain CWnd owned by the calling
//   thread (each thread has its own). It stays valid while the window exists; once the window is gone it is
//   deleted at the idle time of that thread's outermost message loop (or by DeleteTempMap).
// - Messages: WindowProc -> OnWndMsg (the message map, walked from the class up to CWnd) -> DefWindowProc (the
//   previous window procedure). WM_COMMAND entries compare only the LOWORD of ids (WM_COMMAND carries 16 bits).
//   The parent's WM_COMMAND, WM_NOTIFY, WM_DRAWITEM, WM_MEASUREITEM (found by CtlID) and WM_CTLCOLOR* first go to
//   the child object's OnChildNotify (reflection; ON_*_REFLECT entries and the controls' DrawItem/MeasureItem).
// - Default() calls the previous window procedure with the message being handled.
// - After WM_NCDESTROY the object is detached and PostNcDestroy runs (a place for "delete this").
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "QMfcGdi.h"
#include "QMfcObject.h"
#include "QMfcString.h"
#include "QMfcTypes.h"

class CMenu;
class CScrollBar;
class CDataExchange;
struct CCreateContext;

// winuser.h makes GetNextWindow a two-argument macro for GetWindow; CWnd has a member of that name.
#ifdef GetNextWindow
#undef GetNextWindow
#endif

#ifndef WM_CTLCOLOR
#define WM_CTLCOLOR 0x0019  // map key for all WM_CTLCOLOR* messages (the kind goes to the handler)
#endif

// Reflected messages reach the child's map as WM_REFLECT_BASE + message.
#ifndef WM_REFLECT_BASE
#define WM_REFLECT_BASE 0xBC00
#endif

namespace qmfc {
// Told of every caption a window gets through this layer (at its creation and by SetWindowText; item -1) and of
// every list column heading (the list's header window and the column; item >= 0) and list cell (the list and
// ListCellItem), so that the program can tell
// later which of its texts a caption was made from. One observer per module; none by default.
using CaptionObserver = void (*)(HWND wnd, int item, LPCWSTR text);
void SetCaptionObserver(CaptionObserver observer);
void NotifyCaption(HWND wnd, int item, LPCWSTR text);
// The item number of a list view's cell (row, column below 64) for the observer.
inline int ListCellItem(int row, int column) { return row * 64 + column; }
}  // namespace qmfc

class CWnd : public CCmdTarget {
    DECLARE_DYNAMIC(CWnd)
public:
    HWND m_hWnd;

    CWnd();
    explicit CWnd(HWND special);  // only for the wndTop/... insert-after markers
    virtual ~CWnd();

    operator HWND() const { return m_hWnd; }
    HWND GetSafeHwnd() const { return m_hWnd; }
    bool operator==(const CWnd& w) const { return m_hWnd == w.m_hWnd; }
    bool operator!=(const CWnd& w) const { return m_hWnd != w.m_hWnd; }

    static const CWnd wndTop;
    static const CWnd wndBottom;
    static const CWnd wndTopMost;
    static const CWnd wndNoTopMost;

    // Handle map.
    static CWnd* FromHandle(HWND h);
    static CWnd* FromHandlePermanent(HWND h);
    static void DeleteTempMap();
    BOOL Attach(HWND h);
    HWND Detach();
    BOOL SubclassWindow(HWND h);
    BOOL SubclassDlgItem(UINT id, CWnd* parent);
    HWND UnsubclassWindow();
    virtual void PreSubclassWindow();

    // Creation and destruction.
    virtual BOOL Create(LPCWSTR className, LPCWSTR windowName, DWORD style, const RECT& rect, CWnd* parent, UINT id,
                        CCreateContext* context = NULL);
    virtual BOOL CreateEx(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, int x, int y, int cx,
                          int cy, HWND parent, HMENU idOrMenu, LPVOID param = NULL);
    BOOL CreateEx(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, const RECT& rect, CWnd* parent,
                  UINT id, LPVOID param = NULL);
    virtual BOOL PreCreateWindow(CREATESTRUCTW& cs);
    virtual BOOL DestroyWindow();
    virtual void PostNcDestroy();

    // Dispatch.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result);
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    BOOL ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    // Sends the message being handled by the parent to the child object's OnChildNotify.
    static BOOL ReflectLastMsg(HWND child, LRESULT* result = NULL);
    virtual BOOL PreTranslateMessage(MSG* msg);
    // Walks from msg->hwnd up to its top-level window calling PreTranslateMessage (innermost first).
    static BOOL WalkPreTranslateTree(MSG* msg);
    LRESULT Default();
    const MSG* GetCurrentMessage();

    // Dialog data exchange.
    BOOL UpdateData(BOOL saveAndValidate = TRUE);
    virtual void DoDataExchange(CDataExchange* dx);

    // Messages.
    LRESULT SendMessage(UINT msg, WPARAM wp = 0, LPARAM lp = 0) const { return ::SendMessageW(m_hWnd, msg, wp, lp); }
    BOOL PostMessage(UINT msg, WPARAM wp = 0, LPARAM lp = 0) const { return ::PostMessageW(m_hWnd, msg, wp, lp); }
    LRESULT SendDlgItemMessage(int id, UINT msg, WPARAM wp = 0, LPARAM lp = 0) const
    {
        return ::SendDlgItemMessageW(m_hWnd, id, msg, wp, lp);
    }
    void SendMessageToDescendants(UINT msg, WPARAM wp = 0, LPARAM lp = 0, BOOL deep = TRUE);

    // Relatives.
    CWnd* GetDlgItem(int id) const { return FromHandle(::GetDlgItem(m_hWnd, id)); }
    void GetDlgItem(int id, HWND* out) const { *out = ::GetDlgItem(m_hWnd, id); }
    int GetDlgCtrlID() const { return (int)::GetDlgCtrlID(m_hWnd); }
    int SetDlgCtrlID(int id) { return (int)::SetWindowLongPtrW(m_hWnd, GWLP_ID, (LONG_PTR)id); }
    CWnd* GetParent() const { return FromHandle(::GetParent(m_hWnd)); }
    CWnd* SetParent(CWnd* parent) { return FromHandle(::SetParent(m_hWnd, parent ? parent->m_hWnd : NULL)); }
    CWnd* GetOwner() const { return FromHandle(::GetWindow(m_hWnd, GW_OWNER)); }
    CWnd* GetTopLevelParent() const;
    CWnd* GetTopWindow() const { return FromHandle(::GetTopWindow(m_hWnd)); }
    CWnd* GetWindow(UINT cmd) const { return FromHandle(::GetWindow(m_hWnd, cmd)); }
    CWnd* GetNextWindow(UINT flag = GW_HWNDNEXT) const { return FromHandle(::GetWindow(m_hWnd, flag)); }
    CWnd* GetLastActivePopup() const { return FromHandle(::GetLastActivePopup(m_hWnd)); }
    CWnd* ChildWindowFromPoint(POINT p) const { return FromHandle(::ChildWindowFromPoint(m_hWnd, p)); }
    static CWnd* WindowFromPoint(POINT p) { return FromHandle(::WindowFromPoint(p)); }
    BOOL IsChild(const CWnd* w) const { return w && ::IsChild(m_hWnd, w->m_hWnd); }
    CWnd* GetNextDlgTabItem(CWnd* ctl, BOOL previous = FALSE) const
    {
        return FromHandle(::GetNextDlgTabItem(m_hWnd, ctl ? ctl->m_hWnd : NULL, previous));
    }
    CWnd* GetNextDlgGroupItem(CWnd* ctl, BOOL previous = FALSE) const
    {
        return FromHandle(::GetNextDlgGroupItem(m_hWnd, ctl ? ctl->m_hWnd : NULL, previous));
    }
    static CWnd* FindWindow(LPCWSTR className, LPCWSTR windowName)
    {
        return FromHandle(::FindWindowW(className, windowName));
    }
    static CWnd* GetDesktopWindow() { return FromHandle(::GetDesktopWindow()); }

    // Text.
    void SetWindowText(LPCWSTR text);
    int GetWindowText(LPWSTR buffer, int max) const { return ::GetWindowTextW(m_hWnd, buffer, max); }
    void GetWindowText(CString& text) const;
    int GetWindowTextLength() const { return ::GetWindowTextLengthW(m_hWnd); }
    void SetDlgItemText(int id, LPCWSTR text) { ::SetDlgItemTextW(m_hWnd, id, text); }
    int GetDlgItemText(int id, LPWSTR buffer, int max) const { return (int)::GetDlgItemTextW(m_hWnd, id, buffer, max); }
    int GetDlgItemText(int id, CString& text) const;
    void SetDlgItemInt(int id, UINT value, BOOL isSigned = TRUE) { ::SetDlgItemInt(m_hWnd, id, value, isSigned); }
    UINT GetDlgItemInt(int id, BOOL* ok = NULL, BOOL isSigned = TRUE) const
    {
        return ::GetDlgItemInt(m_hWnd, id, ok, isSigned);
    }

    // Show and position.
    BOOL ShowWindow(int cmd) { return ::ShowWindow(m_hWnd, cmd); }
    BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
    BOOL IsIconic() const { return ::IsIconic(m_hWnd); }
    BOOL IsZoomed() const { return ::IsZoomed(m_hWnd); }
    BOOL IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
    BOOL EnableWindow(BOOL enable = TRUE) { return ::EnableWindow(m_hWnd, enable); }
    BOOL IsWindow() const { return m_hWnd && ::IsWindow(m_hWnd); }
    void MoveWindow(int x, int y, int w, int h, BOOL repaint = TRUE) { ::MoveWindow(m_hWnd, x, y, w, h, repaint); }
    void MoveWindow(LPCRECT rc, BOOL repaint = TRUE)
    {
        ::MoveWindow(m_hWnd, rc->left, rc->top, rc->right - rc->left, rc->bottom - rc->top, repaint);
    }
    BOOL SetWindowPos(const CWnd* after, int x, int y, int cx, int cy, UINT flags)
    {
        return ::SetWindowPos(m_hWnd, after ? after->m_hWnd : NULL, x, y, cx, cy, flags);
    }
    void CenterWindow(CWnd* alternateOwner = NULL);
    void BringWindowToTop() { ::BringWindowToTop(m_hWnd); }
    void GetClientRect(LPRECT rc) const { ::GetClientRect(m_hWnd, rc); }
    void GetWindowRect(LPRECT rc) const { ::GetWindowRect(m_hWnd, rc); }
    void ScreenToClient(LPPOINT p) const { ::ScreenToClient(m_hWnd, p); }
    void ScreenToClient(LPRECT rc) const { ::MapWindowPoints(NULL, m_hWnd, (LPPOINT)rc, 2); }
    void ClientToScreen(LPPOINT p) const { ::ClientToScreen(m_hWnd, p); }
    void ClientToScreen(LPRECT rc) const { ::MapWindowPoints(m_hWnd, NULL, (LPPOINT)rc, 2); }
    void MapWindowPoints(CWnd* to, LPPOINT pts, UINT count) const
    {
        ::MapWindowPoints(m_hWnd, to ? to->m_hWnd : NULL, pts, count);
    }
    void MapWindowPoints(CWnd* to, LPRECT rc) const
    {
        ::MapWindowPoints(m_hWnd, to ? to->m_hWnd : NULL, (LPPOINT)rc, 2);
    }
    BOOL GetWindowPlacement(WINDOWPLACEMENT* wp) const
    {
        wp->length = sizeof(WINDOWPLACEMENT);
        return ::GetWindowPlacement(m_hWnd, wp);
    }
    BOOL SetWindowPlacement(const WINDOWPLACEMENT* wp) { return ::SetWindowPlacement(m_hWnd, wp); }

    // Painting.
    void Invalidate(BOOL erase = TRUE) { ::InvalidateRect(m_hWnd, NULL, erase); }
    void InvalidateRect(LPCRECT rc, BOOL erase = TRUE) { ::InvalidateRect(m_hWnd, rc, erase); }
    void InvalidateRgn(CRgn* rgn, BOOL erase = TRUE)
    {
        ::InvalidateRgn(m_hWnd, rgn ? (HRGN)rgn->m_hObject : NULL, erase);
    }
    void ValidateRect(LPCRECT rc) { ::ValidateRect(m_hWnd, rc); }
    void UpdateWindow() { ::UpdateWindow(m_hWnd); }
    BOOL RedrawWindow(LPCRECT rc = NULL, CRgn* rgn = NULL, UINT flags = RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE)
    {
        return ::RedrawWindow(m_hWnd, rc, rgn ? (HRGN)rgn->m_hObject : NULL, flags);
    }
    void SetRedraw(BOOL redraw = TRUE) { ::SendMessageW(m_hWnd, WM_SETREDRAW, redraw, 0); }
    CDC* GetDC() { return CDC::FromHandle(::GetDC(m_hWnd)); }
    CDC* GetWindowDC() { return CDC::FromHandle(::GetWindowDC(m_hWnd)); }
    int ReleaseDC(CDC* dc);

    // Style and shape.
    DWORD GetStyle() const { return (DWORD)::GetWindowLongPtrW(m_hWnd, GWL_STYLE); }
    DWORD GetExStyle() const { return (DWORD)::GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE); }
    // With swpFlags != 0 a SetWindowPos(SWP_NOSIZE|SWP_NOMOVE|SWP_NOZORDER|SWP_NOACTIVATE|swpFlags) follows.
    BOOL ModifyStyle(DWORD remove, DWORD add, UINT swpFlags = 0) { return ModifyStyle(m_hWnd, remove, add, swpFlags); }
    BOOL ModifyStyleEx(DWORD remove, DWORD add, UINT swpFlags = 0)
    {
        return ModifyStyleEx(m_hWnd, remove, add, swpFlags);
    }
    static BOOL ModifyStyle(HWND h, DWORD remove, DWORD add, UINT swpFlags);
    static BOOL ModifyStyleEx(HWND h, DWORD remove, DWORD add, UINT swpFlags);
    // The system owns the region afterwards: pass a handle that nobody deletes (CRgn::Detach()).
    int SetWindowRgn(HRGN rgn, BOOL redraw) { return ::SetWindowRgn(m_hWnd, rgn, redraw); }
    int GetWindowRgn(HRGN rgn) const { return ::GetWindowRgn(m_hWnd, rgn); }

    // Other.
    HICON SetIcon(HICON icon, BOOL big)
    {
        return (HICON)::SendMessageW(m_hWnd, WM_SETICON, big ? ICON_BIG : ICON_SMALL, (LPARAM)icon);
    }
    HICON GetIcon(BOOL big) const { return (HICON)::SendMessageW(m_hWnd, WM_GETICON, big ? ICON_BIG : ICON_SMALL, 0); }
    UINT_PTR SetTimer(UINT_PTR id, UINT elapse, TIMERPROC fn = NULL) { return ::SetTimer(m_hWnd, id, elapse, fn); }
    BOOL KillTimer(UINT_PTR id) { return ::KillTimer(m_hWnd, id); }
    void SetFont(CFont* font, BOOL redraw = TRUE)
    {
        ::SendMessageW(m_hWnd, WM_SETFONT, (WPARAM)(font ? font->m_hObject : NULL), redraw);
    }
    CFont* GetFont() const { return CFont::FromHandle((HFONT)::SendMessageW(m_hWnd, WM_GETFONT, 0, 0)); }
    CWnd* SetCapture() { return FromHandle(::SetCapture(m_hWnd)); }
    static CWnd* GetCapture() { return FromHandle(::GetCapture()); }
    static BOOL ReleaseCapture() { return ::ReleaseCapture(); }
    CWnd* SetActiveWindow() { return FromHandle(::SetActiveWindow(m_hWnd)); }
    static CWnd* GetActiveWindow() { return FromHandle(::GetActiveWindow()); }
    BOOL SetForegroundWindow() { return ::SetForegroundWindow(m_hWnd); }
    static CWnd* GetForegroundWindow() { return FromHandle(::GetForegroundWindow()); }
    CWnd* SetFocus() { return FromHandle(::SetFocus(m_hWnd)); }
    static CWnd* GetFocus() { return FromHandle(::GetFocus()); }
    void CheckDlgButton(int id, UINT check) { ::CheckDlgButton(m_hWnd, id, check); }
    UINT IsDlgButtonChecked(int id) const { return ::IsDlgButtonChecked(m_hWnd, id); }
    void CheckRadioButton(int first, int last, int check) { ::CheckRadioButton(m_hWnd, first, last, check); }
    int GetCheckedRadioButton(int first, int last) const;
    CMenu* GetMenu() const;
    BOOL SetMenu(CMenu* menu);
    CMenu* GetSystemMenu(BOOL revert) const;
    void DrawMenuBar() { ::DrawMenuBar(m_hWnd); }
    BOOL FlashWindow(BOOL invert) { return ::FlashWindow(m_hWnd, invert); }
    void DragAcceptFiles(BOOL accept = TRUE);
    BOOL ShowScrollBar(UINT bar, BOOL show = TRUE) { return ::ShowScrollBar(m_hWnd, bar, show); }
    int SetScrollPos(int bar, int pos, BOOL redraw = TRUE) { return ::SetScrollPos(m_hWnd, bar, pos, redraw); }
    int GetScrollPos(int bar) const { return ::GetScrollPos(m_hWnd, bar); }
    // Caption defaults to the application's name.
    int MessageBox(LPCWSTR text, LPCWSTR caption = NULL, UINT type = MB_OK);

protected:
    WNDPROC m_pfnSuper;  // the window procedure before ours

    virtual WNDPROC* GetSuperWndProcAddr() { return &m_pfnSuper; }

    // Default handlers (each calls Default()); derived handlers may call them as CWnd::OnXxx or Base::OnXxx.
    void OnPaint() { Default(); }
    BOOL OnEraseBkgnd(CDC*) { return (BOOL)Default(); }
    HBRUSH OnCtlColor(CDC*, CWnd*, UINT) { return (HBRUSH)Default(); }
    void OnTimer(UINT_PTR) { Default(); }
    void OnMouseMove(UINT, CPoint) { Default(); }
    void OnMouseHover(UINT, CPoint) { Default(); }
    void OnMouseLeave() { Default(); }
    void OnLButtonDown(UINT, CPoint) { Default(); }
    void OnLButtonUp(UINT, CPoint) { Default(); }
    void OnLButtonDblClk(UINT, CPoint) { Default(); }
    void OnRButtonDown(UINT, CPoint) { Default(); }
    void OnRButtonUp(UINT, CPoint) { Default(); }
    void OnNcLButtonDown(UINT, CPoint) { Default(); }
    BOOL OnSetCursor(CWnd*, UINT, UINT) { return (BOOL)Default(); }
    void OnDrawItem(int, LPDRAWITEMSTRUCT) { Default(); }
    void OnMeasureItem(int, LPMEASUREITEMSTRUCT) { Default(); }
    void OnWindowPosChanged(WINDOWPOS*) { Default(); }
    void OnWindowPosChanging(WINDOWPOS*) { Default(); }
    int OnCreate(LPCREATESTRUCTW) { return (int)Default(); }
    void OnDestroy() { Default(); }
    LRESULT OnNcHitTest(CPoint) { return Default(); }
    void OnNcPaint() { Default(); }
    HCURSOR OnQueryDragIcon() { return (HCURSOR)Default(); }
    void OnSize(UINT, int, int) { Default(); }
    void OnMove(int, int) { Default(); }
    void OnClose() { Default(); }
    void OnShowWindow(BOOL, UINT) { Default(); }
    void OnSysCommand(UINT, LPARAM) { Default(); }
    void OnSetFocus(CWnd*) { Default(); }
    void OnKillFocus(CWnd*) { Default(); }
    void OnKeyDown(UINT, UINT, UINT) { Default(); }
    void OnKeyUp(UINT, UINT, UINT) { Default(); }
    void OnChar(UINT, UINT, UINT) { Default(); }
    void OnHScroll(UINT, UINT, CScrollBar*) { Default(); }
    void OnVScroll(UINT, UINT, CScrollBar*) { Default(); }
    void OnContextMenu(CWnd*, CPoint) { Default(); }
    void OnGetMinMaxInfo(MINMAXINFO*) { Default(); }
    void OnActivate(UINT, CWnd*, BOOL) { Default(); }
    void OnEnable(BOOL) { Default(); }
    UINT OnGetDlgCode() { return (UINT)Default(); }
    BOOL OnMouseWheel(UINT, short, CPoint) { return (BOOL)Default(); }
    void OnDropFiles(HDROP) { Default(); }

    DECLARE_MESSAGE_MAP()

private:
    BOOL DispatchEntry(const AFX_MSGMAP_ENTRY* e, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    friend LRESULT CALLBACK AfxWndProc(HWND, UINT, WPARAM, LPARAM);
    friend LRESULT QmfcCallWndProc(CWnd*, HWND, UINT, WPARAM, LPARAM);
    friend LRESULT CALLBACK QmfcCbtHook(int, WPARAM, LPARAM);
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;
};

LRESULT CALLBACK AfxWndProc(HWND h, UINT message, WPARAM wParam, LPARAM lParam);

// Registers (once) a window class with DefWindowProc and the given look; returns its name.
LPCWSTR AfxRegisterWndClass(UINT classStyle, HCURSOR cursor = NULL, HBRUSH background = NULL, HICON icon = NULL);

// Dialog data exchange.
class CDataExchange {
public:
    BOOL m_bSaveAndValidate;
    CWnd* m_pDlgWnd;
    CDataExchange(CWnd* dlg, BOOL save) : m_bSaveAndValidate(save), m_pDlgWnd(dlg), m_idLast(0) {}
    HWND PrepareCtrl(int id);
    HWND PrepareEditCtrl(int id) { return PrepareCtrl(id); }
    // Gives the focus back to the last control and ends the exchange (UpdateData returns FALSE).
    [[noreturn]] void Fail();

private:
    int m_idLast;
};

void DDX_Control(CDataExchange* dx, int id, CWnd& control);
void DDX_Text(CDataExchange* dx, int id, CString& value);
void DDX_Text(CDataExchange* dx, int id, int& value);
void DDX_Text(CDataExchange* dx, int id, UINT& value);
void DDX_Text(CDataExchange* dx, int id, long& value);
void DDX_Text(CDataExchange* dx, int id, DWORD& value);
void DDX_Check(CDataExchange* dx, int id, int& value);
void DDX_Radio(CDataExchange* dx, int id, int& value);
void DDX_CBIndex(CDataExchange* dx, int id, int& index);
void DDX_CBString(CDataExchange* dx, int id, CString& value);
void DDX_LBIndex(CDataExchange* dx, int id, int& index);
void DDV_MinMaxInt(CDataExchange* dx, int value, int minVal, int maxVal);
void DDV_MaxChars(CDataExchange* dx, const CString& value, int maxChars);

#include "QMfcMsgMap.h"
