// The real main window (every page, the drawer, the top buttons, the options window) created in the test
// program itself, so tests can reach its C++ objects and fonts. Like the program, a test program makes one:
// SharedMainWindow() creates it at the first call and it lives until the tests end. Keys are delivered the way
// the program's message loop delivers them.
#pragma once

#include <QMfc.h>

#include <string>
#include <vector>

#include "EntryDlg.h"

namespace shell_test {

class MainWindowInProcess {
public:
    // languageSetting: the "Lang" setting ("2" German, "5" Japanese, ...), null for none.
    explicit MainWindowInProcess(const wchar_t* languageSetting);
    ~MainWindowInProcess();
    MainWindowInProcess(const MainWindowInProcess&) = delete;
    MainWindowInProcess& operator=(const MainWindowInProcess&) = delete;

    CEntryDlg& Dialog() { return *m_dlg; }
    HWND Handle() const { return m_dlg->GetSafeHwnd(); }
    // Shows the page (as a drawer click does) and lets it paint.
    void ShowPage(int pageId);
    // Switches the interface language as the options window does (1 English ... 11 Portuguese).
    bool SwitchLanguage(int number);

private:
    CEntryDlg* m_dlg = nullptr;
};

// The main window of this test program, in English at its creation.
MainWindowInProcess& SharedMainWindow();

// A key pressed and released on the focus window, through the program's pre-translation and dispatch.
void PressKey(UINT key, bool shift = false);

// Visible, enabled descendants a user presses or ticks: buttons (group boxes aside), the skinned check boxes
// and the drawer's entries.
std::vector<HWND> PressableControls(HWND root);

}  // namespace shell_test
