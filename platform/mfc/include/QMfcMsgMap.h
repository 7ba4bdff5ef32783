// Message-map entries (ON_* macros) for classes derived from CWnd. Handler signatures follow MFC's.
// WM_COMMAND entries (ON_COMMAND, ON_BN_CLICKED, ON_CONTROL, ranges) match on the LOWORD of their ids, because
// WM_COMMAND carries only 16 bits: ON_COMMAND(100001, ...) receives command 34465. ON_COMMAND_RANGE handlers get
// the id mapped back into the declared range.
#pragma once

enum AfxSig : UINT_PTR {
    AfxSig_end = 0,
    AfxSig_lwl,        // LRESULT (WPARAM, LPARAM)
    AfxSig_vv,         // void ()
    AfxSig_bD,         // BOOL (CDC*)
    AfxSig_hDWu,       // HBRUSH (CDC*, CWnd*, UINT)
    AfxSig_hDu,        // HBRUSH (CDC*, UINT)            reflected WM_CTLCOLOR
    AfxSig_lP,         // LRESULT (CPoint)               WM_NCHITTEST
    AfxSig_vt,         // void (UINT_PTR)                WM_TIMER
    AfxSig_vuP,        // void (UINT, CPoint)            mouse messages
    AfxSig_bWuu,       // BOOL (CWnd*, UINT, UINT)       WM_SETCURSOR
    AfxSig_hcur,       // HCURSOR ()                     WM_QUERYDRAGICON
    AfxSig_viDIS,      // void (int, LPDRAWITEMSTRUCT)
    AfxSig_viMIS,      // void (int, LPMEASUREITEMSTRUCT)
    AfxSig_vDIS,       // void (LPDRAWITEMSTRUCT)        reflected
    AfxSig_vMIS,       // void (LPMEASUREITEMSTRUCT)     reflected
    AfxSig_vNMHDRpl,   // void (NMHDR*, LRESULT*)
    AfxSig_bNMHDRpl,   // BOOL (NMHDR*, LRESULT*)        ON_NOTIFY_REFLECT_EX
    AfxSig_vuNMHDRpl,  // void (UINT, NMHDR*, LRESULT*)  ON_NOTIFY_RANGE
    AfxSig_vPOS,       // void (WINDOWPOS*)
    AfxSig_iCREATE,    // int (LPCREATESTRUCT)
    AfxSig_vu,         // void (UINT)                    command ranges
    AfxSig_bv,         // BOOL ()                        ON_CONTROL_REFLECT_EX
    AfxSig_vuii,       // void (UINT, int, int)          WM_SIZE
    AfxSig_vii,        // void (int, int)                WM_MOVE
    AfxSig_vbu,        // void (BOOL, UINT)              WM_SHOWWINDOW
    AfxSig_vul,        // void (UINT, LPARAM)            WM_SYSCOMMAND
    AfxSig_vW,         // void (CWnd*)                   WM_SETFOCUS, WM_KILLFOCUS
    AfxSig_vuuu,       // void (UINT, UINT, UINT)        keys
    AfxSig_vuuS,       // void (UINT, UINT, CScrollBar*) scrolling
    AfxSig_vWP,        // void (CWnd*, CPoint)           WM_CONTEXTMENU
    AfxSig_vMMI,       // void (MINMAXINFO*)
    AfxSig_vuWb,       // void (UINT, CWnd*, BOOL)       WM_ACTIVATE
    AfxSig_vb,         // void (BOOL)                    WM_ENABLE
    AfxSig_uv,         // UINT ()                        WM_GETDLGCODE
    AfxSig_busP,       // BOOL (UINT, short, CPoint)     WM_MOUSEWHEEL
    AfxSig_vDROP,      // void (HDROP)
    AfxSig_registered  // LRESULT (WPARAM, LPARAM) for a registered message; nSig points at the message number
};

#define QMFC_PMSG(type, fn) reinterpret_cast<AFX_PMSG>(static_cast<type>(fn))
#define QMFC_WIN_ENTRY(msg, sig, type, fn) {msg, 0, 0, 0, sig, QMFC_PMSG(type, &ThisClass::fn)},

// User and numbered messages.
#define ON_MESSAGE(message, memberFxn) \
    {(UINT)(message), 0, 0, 0, AfxSig_lwl, QMFC_PMSG(LRESULT(CWnd::*)(WPARAM, LPARAM), memberFxn)},
#define ON_REGISTERED_MESSAGE(nMessageVariable, memberFxn) \
    {0xFFFFFFFFu,                                          \
     0,                                                    \
     0,                                                    \
     0,                                                    \
     (UINT_PTR)(const UINT*)(&nMessageVariable),           \
     QMFC_PMSG(LRESULT(CWnd::*)(WPARAM, LPARAM), memberFxn)},

// Commands and control notifications (LOWORD ids).
#define ON_COMMAND(id, memberFxn) \
    {WM_COMMAND, 0, (UINT)(id), (UINT)(id), AfxSig_vv, QMFC_PMSG(void(CWnd::*)(), memberFxn)},
#define ON_COMMAND_RANGE(id, idLast, memberFxn) \
    {WM_COMMAND, 0, (UINT)(id), (UINT)(idLast), AfxSig_vu, QMFC_PMSG(void(CWnd::*)(UINT), memberFxn)},
#define ON_CONTROL(wNotifyCode, id, memberFxn) \
    {WM_COMMAND, (UINT)(wNotifyCode), (UINT)(id), (UINT)(id), AfxSig_vv, QMFC_PMSG(void(CWnd::*)(), memberFxn)},
#define ON_CONTROL_RANGE(wNotifyCode, id, idLast, memberFxn) \
    {WM_COMMAND, (UINT)(wNotifyCode), (UINT)(id), (UINT)(idLast), AfxSig_vu, QMFC_PMSG(void(CWnd::*)(UINT), memberFxn)},
#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_BN_DOUBLECLICKED(id, memberFxn) ON_CONTROL(BN_DOUBLECLICKED, id, memberFxn)
#define ON_BN_SETFOCUS(id, memberFxn) ON_CONTROL(BN_SETFOCUS, id, memberFxn)
#define ON_BN_KILLFOCUS(id, memberFxn) ON_CONTROL(BN_KILLFOCUS, id, memberFxn)
#define ON_CBN_SELCHANGE(id, memberFxn) ON_CONTROL(CBN_SELCHANGE, id, memberFxn)
#define ON_CBN_DROPDOWN(id, memberFxn) ON_CONTROL(CBN_DROPDOWN, id, memberFxn)
#define ON_CBN_CLOSEUP(id, memberFxn) ON_CONTROL(CBN_CLOSEUP, id, memberFxn)
#define ON_CBN_EDITCHANGE(id, memberFxn) ON_CONTROL(CBN_EDITCHANGE, id, memberFxn)
#define ON_CBN_SELENDOK(id, memberFxn) ON_CONTROL(CBN_SELENDOK, id, memberFxn)
#define ON_EN_CHANGE(id, memberFxn) ON_CONTROL(EN_CHANGE, id, memberFxn)
#define ON_EN_UPDATE(id, memberFxn) ON_CONTROL(EN_UPDATE, id, memberFxn)
#define ON_EN_SETFOCUS(id, memberFxn) ON_CONTROL(EN_SETFOCUS, id, memberFxn)
#define ON_EN_KILLFOCUS(id, memberFxn) ON_CONTROL(EN_KILLFOCUS, id, memberFxn)
#define ON_LBN_SELCHANGE(id, memberFxn) ON_CONTROL(LBN_SELCHANGE, id, memberFxn)
#define ON_LBN_DBLCLK(id, memberFxn) ON_CONTROL(LBN_DBLCLK, id, memberFxn)
#define ON_STN_CLICKED(id, memberFxn) ON_CONTROL(STN_CLICKED, id, memberFxn)
#define ON_STN_DBLCLK(id, memberFxn) ON_CONTROL(STN_DBLCLK, id, memberFxn)

// WM_NOTIFY (full idFrom).
#define ON_NOTIFY(wNotifyCode, id, memberFxn)     \
    {WM_NOTIFY,  (UINT)(wNotifyCode), (UINT)(id), \
     (UINT)(id), AfxSig_vNMHDRpl,     QMFC_PMSG(void(CWnd::*)(NMHDR*, LRESULT*), memberFxn)},
#define ON_NOTIFY_RANGE(wNotifyCode, id, idLast, memberFxn) \
    {WM_NOTIFY,      (UINT)(wNotifyCode), (UINT)(id),       \
     (UINT)(idLast), AfxSig_vuNMHDRpl,    QMFC_PMSG(void(CWnd::*)(UINT, NMHDR*, LRESULT*), memberFxn)},

// Reflected notifications handled by the control itself.
#define ON_NOTIFY_REFLECT(wNotifyCode, memberFxn) \
    {WM_REFLECT_BASE + WM_NOTIFY,                 \
     (UINT)(wNotifyCode),                         \
     0,                                           \
     0,                                           \
     AfxSig_vNMHDRpl,                             \
     QMFC_PMSG(void(CWnd::*)(NMHDR*, LRESULT*), memberFxn)},
// Returns FALSE to let the parent handle the notification too.
#define ON_NOTIFY_REFLECT_EX(wNotifyCode, memberFxn) \
    {WM_REFLECT_BASE + WM_NOTIFY,                    \
     (UINT)(wNotifyCode),                            \
     0,                                              \
     0,                                              \
     AfxSig_bNMHDRpl,                                \
     QMFC_PMSG(BOOL(CWnd::*)(NMHDR*, LRESULT*), memberFxn)},
#define ON_CONTROL_REFLECT(wNotifyCode, memberFxn) \
    {WM_REFLECT_BASE + WM_COMMAND, (UINT)(wNotifyCode), 0, 0, AfxSig_vv, QMFC_PMSG(void(CWnd::*)(), memberFxn)},
#define ON_CONTROL_REFLECT_EX(wNotifyCode, memberFxn) \
    {WM_REFLECT_BASE + WM_COMMAND, (UINT)(wNotifyCode), 0, 0, AfxSig_bv, QMFC_PMSG(BOOL(CWnd::*)(), memberFxn)},
#define ON_WM_CTLCOLOR_REFLECT() \
    {WM_REFLECT_BASE + WM_CTLCOLOR, 0, 0, 0, AfxSig_hDu, QMFC_PMSG(HBRUSH(CWnd::*)(CDC*, UINT), &ThisClass::CtlColor)},
#define ON_WM_DRAWITEM_REFLECT()    \
    {WM_REFLECT_BASE + WM_DRAWITEM, \
     0,                             \
     0,                             \
     0,                             \
     AfxSig_vDIS,                   \
     QMFC_PMSG(void(CWnd::*)(LPDRAWITEMSTRUCT), &ThisClass::DrawItem)},
#define ON_WM_MEASUREITEM_REFLECT()    \
    {WM_REFLECT_BASE + WM_MEASUREITEM, \
     0,                                \
     0,                                \
     0,                                \
     AfxSig_vMIS,                      \
     QMFC_PMSG(void(CWnd::*)(LPMEASUREITEMSTRUCT), &ThisClass::MeasureItem)},

// Window messages.
#define ON_WM_PAINT() QMFC_WIN_ENTRY(WM_PAINT, AfxSig_vv, void (CWnd::*)(), OnPaint)
#define ON_WM_NCPAINT() QMFC_WIN_ENTRY(WM_NCPAINT, AfxSig_vv, void (CWnd::*)(), OnNcPaint)
#define ON_WM_ERASEBKGND() QMFC_WIN_ENTRY(WM_ERASEBKGND, AfxSig_bD, BOOL (CWnd::*)(CDC*), OnEraseBkgnd)
#define ON_WM_CTLCOLOR() QMFC_WIN_ENTRY(WM_CTLCOLOR, AfxSig_hDWu, HBRUSH (CWnd::*)(CDC*, CWnd*, UINT), OnCtlColor)
#define ON_WM_TIMER() QMFC_WIN_ENTRY(WM_TIMER, AfxSig_vt, void (CWnd::*)(UINT_PTR), OnTimer)
#define ON_WM_NCHITTEST() QMFC_WIN_ENTRY(WM_NCHITTEST, AfxSig_lP, LRESULT (CWnd::*)(CPoint), OnNcHitTest)
#define ON_WM_QUERYDRAGICON() QMFC_WIN_ENTRY(WM_QUERYDRAGICON, AfxSig_hcur, HCURSOR (CWnd::*)(), OnQueryDragIcon)
#define ON_WM_MOUSEMOVE() QMFC_WIN_ENTRY(WM_MOUSEMOVE, AfxSig_vuP, void (CWnd::*)(UINT, CPoint), OnMouseMove)
#define ON_WM_MOUSEHOVER() QMFC_WIN_ENTRY(WM_MOUSEHOVER, AfxSig_vuP, void (CWnd::*)(UINT, CPoint), OnMouseHover)
#define ON_WM_MOUSELEAVE() QMFC_WIN_ENTRY(WM_MOUSELEAVE, AfxSig_vv, void (CWnd::*)(), OnMouseLeave)
#define ON_WM_LBUTTONDOWN() QMFC_WIN_ENTRY(WM_LBUTTONDOWN, AfxSig_vuP, void (CWnd::*)(UINT, CPoint), OnLButtonDown)
#define ON_WM_LBUTTONUP() QMFC_WIN_ENTRY(WM_LBUTTONUP, AfxSig_vuP, void (CWnd::*)(UINT, CPoint), OnLButtonUp)
#define ON_WM_LBUTTONDBLCLK() \
    QMFC_WIN_ENTRY(WM_LBUTTONDBLCLK, AfxSig_vuP, void (CWnd::*)(UINT, CPoint), OnLButtonDblClk)
#define ON_WM_RBUTTONDOWN() QMFC_WIN_ENTRY(WM_RBUTTONDOWN, AfxSig_vuP, void (CWnd::*)(UINT, CPoint), OnRButtonDown)
#define ON_WM_RBUTTONUP() QMFC_WIN_ENTRY(WM_RBUTTONUP, AfxSig_vuP, void (CWnd::*)(UINT, CPoint), OnRButtonUp)
#define ON_WM_NCLBUTTONDOWN() \
    QMFC_WIN_ENTRY(WM_NCLBUTTONDOWN, AfxSig_vuP, void (CWnd::*)(UINT, CPoint), OnNcLButtonDown)
#define ON_WM_SETCURSOR() QMFC_WIN_ENTRY(WM_SETCURSOR, AfxSig_bWuu, BOOL (CWnd::*)(CWnd*, UINT, UINT), OnSetCursor)
#define ON_WM_DRAWITEM() QMFC_WIN_ENTRY(WM_DRAWITEM, AfxSig_viDIS, void (CWnd::*)(int, LPDRAWITEMSTRUCT), OnDrawItem)
#define ON_WM_MEASUREITEM() \
    QMFC_WIN_ENTRY(WM_MEASUREITEM, AfxSig_viMIS, void (CWnd::*)(int, LPMEASUREITEMSTRUCT), OnMeasureItem)
#define ON_WM_WINDOWPOSCHANGED() \
    QMFC_WIN_ENTRY(WM_WINDOWPOSCHANGED, AfxSig_vPOS, void (CWnd::*)(WINDOWPOS*), OnWindowPosChanged)
#define ON_WM_WINDOWPOSCHANGING() \
    QMFC_WIN_ENTRY(WM_WINDOWPOSCHANGING, AfxSig_vPOS, void (CWnd::*)(WINDOWPOS*), OnWindowPosChanging)
#define ON_WM_CREATE() QMFC_WIN_ENTRY(WM_CREATE, AfxSig_iCREATE, int (CWnd::*)(LPCREATESTRUCTW), OnCreate)
#define ON_WM_DESTROY() QMFC_WIN_ENTRY(WM_DESTROY, AfxSig_vv, void (CWnd::*)(), OnDestroy)
#define ON_WM_SIZE() QMFC_WIN_ENTRY(WM_SIZE, AfxSig_vuii, void (CWnd::*)(UINT, int, int), OnSize)
#define ON_WM_MOVE() QMFC_WIN_ENTRY(WM_MOVE, AfxSig_vii, void (CWnd::*)(int, int), OnMove)
#define ON_WM_CLOSE() QMFC_WIN_ENTRY(WM_CLOSE, AfxSig_vv, void (CWnd::*)(), OnClose)
#define ON_WM_SHOWWINDOW() QMFC_WIN_ENTRY(WM_SHOWWINDOW, AfxSig_vbu, void (CWnd::*)(BOOL, UINT), OnShowWindow)
#define ON_WM_SYSCOMMAND() QMFC_WIN_ENTRY(WM_SYSCOMMAND, AfxSig_vul, void (CWnd::*)(UINT, LPARAM), OnSysCommand)
#define ON_WM_SETFOCUS() QMFC_WIN_ENTRY(WM_SETFOCUS, AfxSig_vW, void (CWnd::*)(CWnd*), OnSetFocus)
#define ON_WM_KILLFOCUS() QMFC_WIN_ENTRY(WM_KILLFOCUS, AfxSig_vW, void (CWnd::*)(CWnd*), OnKillFocus)
#define ON_WM_KEYDOWN() QMFC_WIN_ENTRY(WM_KEYDOWN, AfxSig_vuuu, void (CWnd::*)(UINT, UINT, UINT), OnKeyDown)
#define ON_WM_KEYUP() QMFC_WIN_ENTRY(WM_KEYUP, AfxSig_vuuu, void (CWnd::*)(UINT, UINT, UINT), OnKeyUp)
#define ON_WM_CHAR() QMFC_WIN_ENTRY(WM_CHAR, AfxSig_vuuu, void (CWnd::*)(UINT, UINT, UINT), OnChar)
#define ON_WM_HSCROLL() QMFC_WIN_ENTRY(WM_HSCROLL, AfxSig_vuuS, void (CWnd::*)(UINT, UINT, CScrollBar*), OnHScroll)
#define ON_WM_VSCROLL() QMFC_WIN_ENTRY(WM_VSCROLL, AfxSig_vuuS, void (CWnd::*)(UINT, UINT, CScrollBar*), OnVScroll)
#define ON_WM_CONTEXTMENU() QMFC_WIN_ENTRY(WM_CONTEXTMENU, AfxSig_vWP, void (CWnd::*)(CWnd*, CPoint), OnContextMenu)
#define ON_WM_GETMINMAXINFO() \
    QMFC_WIN_ENTRY(WM_GETMINMAXINFO, AfxSig_vMMI, void (CWnd::*)(MINMAXINFO*), OnGetMinMaxInfo)
#define ON_WM_ACTIVATE() QMFC_WIN_ENTRY(WM_ACTIVATE, AfxSig_vuWb, void (CWnd::*)(UINT, CWnd*, BOOL), OnActivate)
#define ON_WM_ENABLE() QMFC_WIN_ENTRY(WM_ENABLE, AfxSig_vb, void (CWnd::*)(BOOL), OnEnable)
#define ON_WM_GETDLGCODE() QMFC_WIN_ENTRY(WM_GETDLGCODE, AfxSig_uv, UINT (CWnd::*)(), OnGetDlgCode)
#define ON_WM_MOUSEWHEEL() QMFC_WIN_ENTRY(WM_MOUSEWHEEL, AfxSig_busP, BOOL (CWnd::*)(UINT, short, CPoint), OnMouseWheel)
#define ON_WM_DROPFILES() QMFC_WIN_ENTRY(WM_DROPFILES, AfxSig_vDROP, void (CWnd::*)(HDROP), OnDropFiles)
