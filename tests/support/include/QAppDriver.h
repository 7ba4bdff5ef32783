// Starts the real Quorvel.exe of the build (beside the test program) and finds and drives its windows.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace shell_test {

class QuorvelProcess {
public:
    QuorvelProcess() = default;
    ~QuorvelProcess();
    QuorvelProcess(const QuorvelProcess&) = delete;
    QuorvelProcess& operator=(const QuorvelProcess&) = delete;

    // Starts Quorvel.exe with the arguments; false when it could not be started.
    bool Start(const std::wstring& arguments = L"");
    // Starts another copy of the program (an installed one), in its own folder.
    bool StartProgram(const std::wstring& exe, const std::wstring& arguments = L"");
    // The main window (930 x 688 dialog of the process), waiting up to the time-out for it to exist.
    HWND WaitForMainWindow(DWORD timeoutMs = 20000);
    // Waits until the main window is visible; returns the milliseconds from the start, or -1. A start under Wine
    // on a machine busy with other test programs can take well over 20 s; the wait ends as soon as it shows.
    long WaitUntilVisible(DWORD timeoutMs = 60000);
    // True when the process ended within the time-out.
    bool WaitForExit(DWORD timeoutMs = 10000);
    bool IsRunning() const;
    DWORD ExitCode() const;
    // Ends the program the way a user does, through the tray menu's "Exit"; kills it when that fails.
    void Exit();

    HWND MainWindow() const { return m_main; }
    DWORD ProcessId() const { return m_pi.dwProcessId; }

private:
    PROCESS_INFORMATION m_pi = {};
    HWND m_main = nullptr;
    DWORD m_startTick = 0;
};

// The first top-level window of the process for which match() is true, or null.
HWND FindProcessWindow(DWORD processId, const std::function<bool(HWND)>& match);
// True when the main window's tray icon (id 1000) exists.
bool TrayIconPresent(HWND owner);
// The id of the visible page in the page container, 0 when none is visible, -1 when several are.
int VisiblePageId(HWND main);
// The page container of the main window.
HWND PageContainer(HWND main);
// The descendant window with that control id, or null.
HWND FindDescendant(HWND root, int id);
// A drawer header or item of the main window: the static that carries the page's id (the pages carry it too).
HWND DrawerEntry(HWND main, int pageId);
// Opens a page as a user does: after a short pump, a click on its group's header in the drawer, then (once it
// shows) on the page's item. The page once it is the visible one, or null when a step fails.
HWND OpenPageFromDrawer(HWND main, int headerPageId, int pageId);
// The path of a test artefact (screenshots) in the program folder's artifacts folder, which is made if missing.
std::wstring ArtifactPath(const wchar_t* name);
// A left click (down and up) at a point of a window's client area.
void ClickWindow(HWND wnd, int x = 5, int y = 5);
// A button click as the button reports it to its parent.
void PressButton(HWND button);
// The same click posted, for a button whose handler runs long or opens a modal box: the caller does not wait.
void PostButtonClick(HWND button);
// Waits until the window and its visible children have nothing left to paint: its thread has handled what came
// before and painted. A window that does not answer in time is left as it is (false).
bool WaitUntilPainted(HWND wnd, DWORD timeoutMs = 3000);
// Saves the window as painted (its own surface, after its pending paint) as a 24-bit BMP file.
bool SaveWindowShot(HWND wnd, const std::wstring& path);
// Records a last scan that ended now, so the home page does not start a scan by itself on a normal start.
void SetRecentLastScan();
// Sets or (text null) deletes HKLM\Software\Quorvel\Param "Lang".
void SetLanguageSetting(const wchar_t* text);

}  // namespace shell_test
