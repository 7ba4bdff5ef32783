#include "EntryApp.h"

#include <commctrl.h>
#include <ole2.h>

#include "EntryDlg.h"
#include "Language.h"
#include "StartupProfile.h"

BOOL CEntryApp::m_bBootMode = FALSE;

CEntryApp::CEntryApp() = default;

BOOL CEntryApp::InitInstance()
{
    // Drive lists with empty removable drives must not raise "No disk" boxes.
    Shell::StartupProfile::Mark(L"program started");
    ::SetErrorMode(SEM_FAILCRITICALERRORS);
    INITCOMMONCONTROLSEX icc = {sizeof(icc), 0xFF};
    ::InitCommonControlsEx(&icc);
    INITCOMMONCONTROLSEX dates = {sizeof(dates), ICC_DATE_CLASSES};
    ::InitCommonControlsEx(&dates);
    // COM on the UI thread once, before any page: libraries that initialise COM later only add a reference.
    ::OleInitialize(nullptr);

    CWinAppEx::InitInstance();
    SetRegistryKey(L"应用程序向导生成的本地应用程序");

    m_bBootMode = Shell::IsBootCommandLine(::GetCommandLineW()) ? TRUE : FALSE;
    Shell::StartupProfile::Mark(L"controls and COM ready");

    {
        CEntryDlg dlg;
        m_pMainWnd = &dlg;
        dlg.DoModal();
        m_pMainWnd = nullptr;
    }
    ::OleUninitialize();
    return FALSE;
}
