// CDialog: modeless and modal dialogs from templates, the modal loop, EndDialog.
#include "ThreadState.h"

#include <vector>

IMPLEMENT_DYNAMIC(CDialog, CWnd)
IMPLEMENT_DYNAMIC(CDialogEx, CDialog)
IMPLEMENT_DYNAMIC(CCommonDialog, CDialog)

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_COMMAND(IDOK, &CDialog::OnOK)
    ON_COMMAND(IDCANCEL, &CDialog::OnCancel)
END_MESSAGE_MAP()

namespace qmfc {
HWND CreateDialogAttached(CWnd* wnd, LPCDLGTEMPLATEW tmpl, HWND parent, HINSTANCE inst, DLGPROC proc);
}

namespace {

// Our window procedure handles everything; the dialog procedure only exists so the dialog manager sends
// WM_INITDIALOG (to the window procedure, which runs OnInitDialog).
INT_PTR CALLBACK QmfcDlgProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

void InitControlClasses()
{
    // Dialog templates may name any common control, the date-time picker included.
    static bool done = [] {
        INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_USEREX_CLASSES |
                                                     ICC_COOL_CLASSES | ICC_INTERNET_CLASSES | ICC_PAGESCROLLER_CLASS};
        return InitCommonControlsEx(&icc) != FALSE;
    }();
    (void)done;
}

// A copy of the template's bytes, found in the resource module or else the program.
bool LoadTemplate(LPCWSTR name, std::vector<BYTE>& out, HINSTANCE& inst)
{
    if (!name) return false;
    inst = qmfc::FindResourceModule(name, (LPCWSTR)RT_DIALOG);
    HRSRC res = FindResourceW(inst, name, (LPCWSTR)RT_DIALOG);
    if (!res) return false;
    HGLOBAL g = LoadResource(inst, res);
    const BYTE* p = g ? (const BYTE*)LockResource(g) : NULL;
    DWORD size = SizeofResource(inst, res);
    if (!p || size < sizeof(DLGTEMPLATE)) return false;
    out.assign(p, p + size);
    return true;
}

DWORD* TemplateStyle(std::vector<BYTE>& t)
{
    // DLGTEMPLATEEX starts with version 1 and signature 0xFFFF; its style is at offset 12.
    const WORD* w = (const WORD*)t.data();
    if (w[0] == 1 && w[1] == 0xFFFF) return (DWORD*)(t.data() + 12);
    return (DWORD*)t.data();
}

}  // namespace

CDialog::CDialog() { Init(NULL, NULL); }
CDialog::CDialog(UINT templateId, CWnd* parent) { Init(MAKEINTRESOURCEW(templateId), parent); }
CDialog::CDialog(LPCWSTR templateName, CWnd* parent) { Init(templateName, parent); }

void CDialog::Init(LPCWSTR templateName, CWnd* parent)
{
    m_lpszTemplateName = templateName;
    m_nIDHelp = IS_INTRESOURCE(templateName) ? (UINT)(UINT_PTR)templateName : 0;
    m_pParentWnd = parent;
    m_bShowOnIdle = TRUE;
    m_bInModalLoop = FALSE;
    m_bEndModal = FALSE;
    m_nModalResult = -1;
}

CDialog::~CDialog() {}

BOOL CDialog::Create(UINT templateId, CWnd* parent) { return Create(MAKEINTRESOURCEW(templateId), parent); }

BOOL CDialog::Create(LPCWSTR templateName, CWnd* parent)
{
    if (m_hWnd) return FALSE;  // already created
    m_lpszTemplateName = templateName;
    if (IS_INTRESOURCE(templateName)) m_nIDHelp = (UINT)(UINT_PTR)templateName;
    std::vector<BYTE> t;
    HINSTANCE inst = NULL;
    if (!LoadTemplate(templateName, t, inst)) return FALSE;
    m_pParentWnd = parent;
    InitControlClasses();
    return qmfc::CreateDialogAttached(this, (LPCDLGTEMPLATEW)t.data(), parent ? parent->m_hWnd : NULL, inst,
                                      QmfcDlgProc) != NULL;
}

BOOL CDialog::CreateIndirect(LPCDLGTEMPLATEW dialogTemplate, CWnd* parent, HINSTANCE instance)
{
    if (m_hWnd) return FALSE;
    m_pParentWnd = parent;
    InitControlClasses();
    return qmfc::CreateDialogAttached(this, dialogTemplate, parent ? parent->m_hWnd : NULL,
                                      instance ? instance : AfxGetInstanceHandle(), QmfcDlgProc) != NULL;
}

INT_PTR CDialog::DoModal()
{
    if (m_hWnd) return -1;  // a window of this object exists already
    std::vector<BYTE> t;
    HINSTANCE inst = NULL;
    if (!LoadTemplate(m_lpszTemplateName, t, inst)) return -1;
    *TemplateStyle(t) &= ~(DWORD)WS_VISIBLE;  // shown by the loop at its first idle

    // The owner: the parent's top-level window, else the application's main window on this thread.
    HWND owner = m_pParentWnd ? m_pParentWnd->m_hWnd : NULL;
    if (!owner) {
        CWnd* main = AfxGetMainWnd();
        if (main && main != this && main->m_hWnd &&
            ::GetWindowThreadProcessId(main->m_hWnd, NULL) == ::GetCurrentThreadId())
            owner = main->m_hWnd;
    }
    while (owner && (::GetWindowLongPtrW(owner, GWL_STYLE) & WS_CHILD)) owner = ::GetParent(owner);
    // Another thread's window is never disabled: that thread may be blocked waiting for this one.
    bool disable =
        owner && ::GetWindowThreadProcessId(owner, NULL) == ::GetCurrentThreadId() && ::IsWindowEnabled(owner);

    CWinApp* app = AfxGetApp();
    bool becameMain = app && !app->m_pMainWnd && app->m_nThreadID == ::GetCurrentThreadId();
    if (becameMain) app->m_pMainWnd = this;

    m_bEndModal = FALSE;
    m_nModalResult = -1;
    m_bInModalLoop = TRUE;
    if (disable) ::EnableWindow(owner, FALSE);
    InitControlClasses();
    HWND h = qmfc::CreateDialogAttached(this, (LPCDLGTEMPLATEW)t.data(), owner, inst, QmfcDlgProc);

    if (h && !m_bEndModal) {
        qmfc::ThreadState* ts = qmfc::GetThreadState();
        ++ts->loopDepth;
        bool shown = false;
        while (!m_bEndModal && m_hWnd) {
            MSG msg;
            if (!::PeekMessageW(&msg, NULL, 0, 0, PM_NOREMOVE)) {
                if (!shown) {
                    shown = true;
                    if (m_bShowOnIdle && m_hWnd && !m_bEndModal && !::IsWindowVisible(m_hWnd)) {
                        ::ShowWindow(m_hWnd, SW_SHOWNORMAL);
                        ::UpdateWindow(m_hWnd);
                    }
                }
                if (ts->loopDepth == 1) qmfc::DeleteTempObjects();
                if (m_bEndModal || !m_hWnd) break;
            }
            if (!AfxPumpMessage()) break;
        }
        --ts->loopDepth;
    }
    m_bInModalLoop = FALSE;

    if (disable) ::EnableWindow(owner, TRUE);
    if (m_hWnd) {
        ::SetWindowPos(m_hWnd, NULL, 0, 0, 0, 0,
                       SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
        if (disable && ::GetActiveWindow() == NULL) ::SetActiveWindow(owner);
        DestroyWindow();
    }
    if (becameMain && app->m_pMainWnd == this) app->m_pMainWnd = NULL;
    return h ? m_nModalResult : -1;
}

void CDialog::EndDialog(int result)
{
    if (m_bInModalLoop) {
        m_nModalResult = result;
        m_bEndModal = TRUE;
        if (m_hWnd) ::PostMessageW(m_hWnd, WM_NULL, 0, 0);  // wakes the loop, also from another thread
    } else if (m_hWnd) {
        ::EndDialog(m_hWnd, result);  // modeless: the dialog manager only hides the window
    }
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK()
{
    if (!UpdateData(TRUE)) return;
    EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

BOOL CDialog::PreTranslateMessage(MSG* msg)
{
    if (msg->message >= WM_KEYFIRST && msg->message <= WM_KEYLAST && m_hWnd) return ::IsDialogMessageW(m_hWnd, msg);
    return FALSE;
}

LRESULT CDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) return OnInitDialog();
    return CWnd::WindowProc(message, wParam, lParam);
}

HWND CCommonDialog::PreModal()
{
    HWND owner = m_pParentWnd ? m_pParentWnd->m_hWnd : NULL;
    if (!owner) {
        CWnd* main = AfxGetMainWnd();
        if (main && main->m_hWnd && ::GetWindowThreadProcessId(main->m_hWnd, NULL) == ::GetCurrentThreadId())
            owner = main->m_hWnd;
    }
    while (owner && (::GetWindowLongPtrW(owner, GWL_STYLE) & WS_CHILD)) owner = ::GetParent(owner);
    return owner;
}
