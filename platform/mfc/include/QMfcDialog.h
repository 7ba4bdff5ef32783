// CDialog / CDialogEx: dialogs from DIALOG(EX) resources of the resource module (the program by default).
// - Create(id, parent): modeless. EndDialog on a modeless dialog only hides it (the window stays).
// - DoModal: creates the dialog hidden (WS_VISIBLE of the template is ignored), runs OnInitDialog, then a modal
//   loop that shows the dialog (SW_SHOWNORMAL) at its first idle if it is still hidden (unless SetShowOnIdle(FALSE)),
//   so EndDialog inside OnInitDialog ends at once and nothing flashes. The owner (the parent, else the
//   application's main window) is disabled only when it belongs to the calling thread, so a modal dialog runs on any
//   thread, also a raw CreateThread one, without touching another thread's window. Keyboard messages go through
//   PreTranslateMessage from the focus window upwards, so IsDialogMessage runs on the innermost dialog first.
// - WM_CLOSE reaches OnCancel through IDCANCEL; the default OnOK is UpdateData + EndDialog(IDOK), the default
//   OnCancel EndDialog(IDCANCEL); OnInitDialog (default: UpdateData(FALSE), TRUE) is virtual.
#pragma once

#include "QMfcWnd.h"

class CDialog : public CWnd {
    DECLARE_DYNAMIC(CDialog)
public:
    CDialog();
    explicit CDialog(UINT templateId, CWnd* parent = NULL);
    explicit CDialog(LPCWSTR templateName, CWnd* parent = NULL);
    virtual ~CDialog();

    // Modeless.
    virtual BOOL Create(UINT templateId, CWnd* parent = NULL);
    virtual BOOL Create(LPCWSTR templateName, CWnd* parent = NULL);
    BOOL CreateIndirect(LPCDLGTEMPLATEW dialogTemplate, CWnd* parent = NULL, HINSTANCE instance = NULL);

    // Modal: returns the EndDialog value, or -1 when the dialog could not be created.
    virtual INT_PTR DoModal();
    void EndDialog(int result);
    // Whether DoModal shows a still-hidden dialog at its first idle (default TRUE).
    void SetShowOnIdle(BOOL show) { m_bShowOnIdle = show; }
    BOOL IsModal() const { return m_bInModalLoop; }

    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    virtual BOOL PreTranslateMessage(MSG* msg);
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);

    void NextDlgCtrl() const { ::SendMessageW(m_hWnd, WM_NEXTDLGCTL, 0, 0); }
    void PrevDlgCtrl() const { ::SendMessageW(m_hWnd, WM_NEXTDLGCTL, 1, 0); }
    void GotoDlgCtrl(CWnd* ctl)
    {
        if (ctl) ::SendMessageW(m_hWnd, WM_NEXTDLGCTL, (WPARAM)ctl->m_hWnd, 1);
    }
    void SetDefID(UINT id) { ::SendMessageW(m_hWnd, DM_SETDEFID, id, 0); }
    DWORD GetDefID() const { return (DWORD)::SendMessageW(m_hWnd, DM_GETDEFID, 0, 0); }
    void MapDialogRect(LPRECT rc) const { ::MapDialogRect(m_hWnd, rc); }

    LPCWSTR m_lpszTemplateName;
    UINT m_nIDHelp;
    CWnd* m_pParentWnd;

protected:
    BOOL m_bShowOnIdle;
    BOOL m_bInModalLoop;
    BOOL m_bEndModal;
    INT_PTR m_nModalResult;

    DECLARE_MESSAGE_MAP()

private:
    void Init(LPCWSTR templateName, CWnd* parent);
};

class CDialogEx : public CDialog {
    DECLARE_DYNAMIC(CDialogEx)
public:
    CDialogEx() {}
    explicit CDialogEx(UINT templateId, CWnd* parent = NULL) : CDialog(templateId, parent) {}
    explicit CDialogEx(LPCWSTR templateName, CWnd* parent = NULL) : CDialog(templateName, parent) {}
};

// Base of the system's common dialogs that run their own modal loop.
class CCommonDialog : public CDialog {
    DECLARE_DYNAMIC(CCommonDialog)
public:
    explicit CCommonDialog(CWnd* parent = NULL) : CDialog((LPCWSTR)NULL, parent) {}

protected:
    // The owner to give the system dialog: the parent's top-level window, else the application's main window
    // when it belongs to this thread.
    HWND PreModal();
};
