// CWinApp / CWinAppEx and the Afx globals.
// - One application object per program (its constructor registers it; AfxGetApp returns it).
// - Start-up: the program links the QMfcMain object (WinMain/wWinMain) which calls AfxWinMain: InitApplication,
//   InitInstance; FALSE -> ExitInstance, whose value is the exit code; TRUE -> Run (message loop) -> ExitInstance.
// - AfxGetMainWnd returns the application's m_pMainWnd on every thread (workers post through it). Set m_pMainWnd
//   before the main dialog's DoModal; DoModal on the application's thread sets it itself when it is still NULL.
// - AfxGetInstanceHandle/AfxGetResourceHandle are the program's own module unless changed.
// - AfxMessageBox: caption = application name; owner = this thread's active window (else the main window when it
//   is on this thread).
#pragma once

#include "QMfcWnd.h"

class CWinApp : public CCmdTarget {
    DECLARE_DYNAMIC(CWinApp)
public:
    explicit CWinApp(LPCWSTR appName = NULL);
    virtual ~CWinApp();

    HINSTANCE m_hInstance;
    LPWSTR m_lpCmdLine;
    int m_nCmdShow;
    CWnd* m_pMainWnd;
    LPCWSTR m_pszAppName;
    LPCWSTR m_pszExeName;
    LPCWSTR m_pszRegistryKey;
    LPCWSTR m_pszProfileName;
    DWORD m_nThreadID;  // the thread that runs InitInstance

    virtual BOOL InitApplication();
    virtual BOOL InitInstance();
    virtual int ExitInstance();
    virtual int Run();
    virtual BOOL PreTranslateMessage(MSG* msg);
    virtual BOOL OnIdle(LONG count);

    CWnd* GetMainWnd() const { return m_pMainWnd; }
    // Stores the key (no registry access of its own).
    void SetRegistryKey(LPCWSTR key);
    void SetRegistryKey(UINT idKey);

    HCURSOR LoadCursor(UINT id) const;
    HCURSOR LoadCursor(LPCWSTR name) const;
    HCURSOR LoadStandardCursor(LPCWSTR name) const { return ::LoadCursorW(NULL, name); }
    HICON LoadIcon(UINT id) const;
    HICON LoadIcon(LPCWSTR name) const;
    HICON LoadStandardIcon(LPCWSTR name) const { return ::LoadIconW(NULL, name); }

    int m_nExitCode;  // the wParam of WM_QUIT, returned by the default ExitInstance

private:
    CString m_strAppName, m_strExeName, m_strRegistryKey;
};

class CWinAppEx : public CWinApp {
    DECLARE_DYNAMIC(CWinAppEx)
public:
    explicit CWinAppEx(BOOL resourceSmartUpdate = FALSE);
};

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();
HINSTANCE AfxGetInstanceHandle();
HINSTANCE AfxGetResourceHandle();
void AfxSetResourceHandle(HINSTANCE h);
int AfxMessageBox(LPCWSTR text, UINT type = MB_OK, UINT helpId = 0);
int AfxMessageBox(UINT idPrompt, UINT type = MB_OK, UINT helpId = (UINT)-1);
// The start-up sequence; called by the WinMain of QMfcMain.
int AfxWinMain(HINSTANCE instance, HINSTANCE previous, LPWSTR cmdLine, int cmdShow);
// Runs PreTranslateMessage along the window tree; TRUE when the message was consumed.
BOOL AfxPreTranslateMessage(MSG* msg);
// One message from the queue through the pre-translation walk (FALSE after WM_QUIT, which is posted again).
BOOL AfxPumpMessage();
