// CWinApp, the start-up sequence and the Afx globals.
#include "ThreadState.h"

IMPLEMENT_DYNAMIC(CWinApp, CCmdTarget)
IMPLEMENT_DYNAMIC(CWinAppEx, CWinApp)

namespace {
CWinApp* g_app = NULL;
HINSTANCE g_resource = NULL;

CString ExeBaseName()
{
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(NULL, path, MAX_PATH);
    CString name(path);
    int slash = name.ReverseFind(L'\\');
    if (slash >= 0) name = name.Mid(slash + 1);
    int dot = name.ReverseFind(L'.');
    if (dot > 0) name = name.Left(dot);
    return name;
}
}  // namespace

CWinApp::CWinApp(LPCWSTR appName)
    : m_hInstance(NULL),
      m_lpCmdLine(NULL),
      m_nCmdShow(SW_SHOWNORMAL),
      m_pMainWnd(NULL),
      m_pszAppName(NULL),
      m_pszExeName(NULL),
      m_pszRegistryKey(NULL),
      m_pszProfileName(NULL),
      m_nThreadID(GetCurrentThreadId()),
      m_nExitCode(0)
{
    g_app = this;
    m_strExeName = ExeBaseName();
    m_strAppName = appName ? CString(appName) : m_strExeName;
    m_pszAppName = m_strAppName;
    m_pszExeName = m_strExeName;
}

CWinApp::~CWinApp()
{
    if (g_app == this) g_app = NULL;
}

BOOL CWinApp::InitApplication() { return TRUE; }
BOOL CWinApp::InitInstance() { return TRUE; }
int CWinApp::ExitInstance() { return m_nExitCode; }

BOOL CWinApp::OnIdle(LONG)
{
    if (qmfc::GetThreadState()->loopDepth == 1) qmfc::DeleteTempObjects();
    return FALSE;
}

BOOL CWinApp::PreTranslateMessage(MSG* msg) { return CWnd::WalkPreTranslateTree(msg); }

int CWinApp::Run()
{
    qmfc::ThreadState* ts = qmfc::GetThreadState();
    ++ts->loopDepth;
    LONG idleCount = 0;
    for (;;) {
        MSG msg;
        while (!::PeekMessageW(&msg, NULL, 0, 0, PM_NOREMOVE)) {
            if (!OnIdle(idleCount++)) break;
        }
        if (!::GetMessageW(&msg, NULL, 0, 0)) {
            m_nExitCode = (int)msg.wParam;
            break;
        }
        idleCount = 0;
        if (!PreTranslateMessage(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
    --ts->loopDepth;
    return ExitInstance();
}

void CWinApp::SetRegistryKey(LPCWSTR key)
{
    m_strRegistryKey = key ? key : L"";
    m_pszRegistryKey = m_strRegistryKey;
    m_pszProfileName = m_pszAppName;
}

void CWinApp::SetRegistryKey(UINT idKey)
{
    CString key;
    key.LoadString(idKey);
    SetRegistryKey(key);
}

HCURSOR CWinApp::LoadCursor(UINT id) const { return LoadCursor(MAKEINTRESOURCEW(id)); }
HCURSOR CWinApp::LoadCursor(LPCWSTR name) const
{
    return ::LoadCursorW(qmfc::FindResourceModule(name, (LPCWSTR)RT_GROUP_CURSOR), name);
}
HICON CWinApp::LoadIcon(UINT id) const { return LoadIcon(MAKEINTRESOURCEW(id)); }
HICON CWinApp::LoadIcon(LPCWSTR name) const
{
    return ::LoadIconW(qmfc::FindResourceModule(name, (LPCWSTR)RT_GROUP_ICON), name);
}

CWinAppEx::CWinAppEx(BOOL) {}

CWinApp* AfxGetApp() { return g_app; }

CWnd* AfxGetMainWnd() { return g_app ? g_app->m_pMainWnd : NULL; }

HINSTANCE AfxGetInstanceHandle()
{
    if (g_app && g_app->m_hInstance) return g_app->m_hInstance;
    return GetModuleHandleW(NULL);
}

HINSTANCE AfxGetResourceHandle() { return g_resource ? g_resource : AfxGetInstanceHandle(); }

void AfxSetResourceHandle(HINSTANCE h) { g_resource = h; }

int AfxMessageBox(LPCWSTR text, UINT type, UINT)
{
    HWND owner = ::GetActiveWindow();
    if (!owner) {
        CWnd* main = AfxGetMainWnd();
        if (main && main->m_hWnd && ::GetWindowThreadProcessId(main->m_hWnd, NULL) == ::GetCurrentThreadId())
            owner = main->m_hWnd;
    }
    LPCWSTR caption = g_app && g_app->m_pszAppName ? g_app->m_pszAppName : L"";
    return ::MessageBoxW(owner, text, caption, type);
}

int AfxMessageBox(UINT idPrompt, UINT type, UINT helpId)
{
    CString text;
    text.LoadString(idPrompt);
    return AfxMessageBox(text, type, helpId);
}

BOOL AfxPreTranslateMessage(MSG* msg)
{
    if (g_app && g_app->m_nThreadID == GetCurrentThreadId()) return g_app->PreTranslateMessage(msg);
    return CWnd::WalkPreTranslateTree(msg);
}

BOOL AfxPumpMessage()
{
    MSG msg;
    if (!::GetMessageW(&msg, NULL, 0, 0)) {
        ::PostQuitMessage((int)msg.wParam);  // leave it for the outer loop
        return FALSE;
    }
    if (!AfxPreTranslateMessage(&msg)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return TRUE;
}

int AfxWinMain(HINSTANCE instance, HINSTANCE, LPWSTR cmdLine, int cmdShow)
{
    CWinApp* app = AfxGetApp();
    if (!app) return -1;
    app->m_hInstance = instance ? instance : GetModuleHandleW(NULL);
    app->m_lpCmdLine = cmdLine;
    app->m_nCmdShow = cmdShow;
    app->m_nThreadID = GetCurrentThreadId();
    if (!app->InitApplication() || !app->InitInstance()) {
        if (app->m_pMainWnd && app->m_pMainWnd->m_hWnd) app->m_pMainWnd->DestroyWindow();
        return app->ExitInstance();
    }
    return app->Run();
}
