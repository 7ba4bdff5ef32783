#include "MainWindowInProcess.h"

#include "DrawerMenu.h"
#include "QAppDriver.h"
#include "QTestSupport.h"
#include "options/LanguageSwitch.h"

#include <gtest/gtest.h>
#include "controls/CheckBoxEx.h"

namespace shell_test {

namespace {

// AfxGetMainWnd answers the main window through the application object, as in the program.
CWinApp& TestApp()
{
    static CWinApp app(L"Quorvel");
    return app;
}

void SendKey(UINT message, UINT key)
{
    MSG msg = {};
    msg.hwnd = ::GetFocus();
    msg.message = message;
    msg.wParam = key;
    msg.lParam = message == WM_KEYUP ? 0xC0000001 : 1;
    if (!msg.hwnd) return;
    if (!AfxPreTranslateMessage(&msg)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

void SetShift(bool down)
{
    BYTE keys[256] = {};
    ::GetKeyboardState(keys);
    keys[VK_SHIFT] = down ? 0x80 : 0;
    ::SetKeyboardState(keys);
}

MainWindowInProcess* g_shared = nullptr;

class SharedMainWindowEnd : public ::testing::Environment {
public:
    void TearDown() override
    {
        delete g_shared;
        g_shared = nullptr;
    }
};
::testing::Environment* const g_sharedEnd = ::testing::AddGlobalTestEnvironment(new SharedMainWindowEnd);

}  // namespace

MainWindowInProcess& SharedMainWindow()
{
    if (!g_shared) g_shared = new MainWindowInProcess(nullptr);
    return *g_shared;
}

bool MainWindowInProcess::SwitchLanguage(int number)
{
    bool switched = Shell::SwitchLanguage(number, ProgramFolder()) == ERROR_SUCCESS;
    PumpUntilPainted();
    return switched;
}

MainWindowInProcess::MainWindowInProcess(const wchar_t* languageSetting)
{
    SetLanguageSetting(languageSetting);
    SetRecentLastScan();  // the home page starts no scan of its own
    m_dlg = new CEntryDlg;
    TestApp().m_pMainWnd = m_dlg;
    m_dlg->Create(IDD_ENTRY_DIALOG, nullptr);
    m_dlg->ShowWindow(SW_SHOW);
    PumpUntilPainted();
}

MainWindowInProcess::~MainWindowInProcess()
{
    m_dlg->DestroyWindow();
    TestApp().m_pMainWnd = nullptr;
    delete m_dlg;
    SetLanguageSetting(nullptr);
}

void MainWindowInProcess::ShowPage(int pageId)
{
    m_dlg->SwitchPage(pageId);
    ::RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    PumpUntilPainted();
}

void PressKey(UINT key, bool shift)
{
    if (shift) SetShift(true);
    SendKey(WM_KEYDOWN, key);
    SendKey(WM_KEYUP, key);
    if (shift) SetShift(false);
}

std::vector<HWND> PressableControls(HWND root)
{
    std::vector<HWND> found;
    for (HWND h : Descendants(root)) {
        if (!::IsWindowVisible(h) || !::IsWindowEnabled(h)) continue;
        wchar_t cls[64] = L"";
        ::GetClassNameW(h, cls, 64);
        CWnd* wnd = CWnd::FromHandlePermanent(h);
        bool button = lstrcmpiW(cls, L"Button") == 0 && (::GetWindowLongW(h, GWL_STYLE) & BS_TYPEMASK) != BS_GROUPBOX;
        bool skinned = dynamic_cast<CCheckBoxEx*>(wnd) || dynamic_cast<CMenuButtonItem*>(wnd);
        if (button || skinned) found.push_back(h);
    }
    return found;
}

}  // namespace shell_test
