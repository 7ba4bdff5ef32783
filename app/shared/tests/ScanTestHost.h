// Window-test support of the scan pages: a hidden main window registered as the application's main window that
// records WM_SET_BUSY, clicks sent the way controls send them, list reading and a capture of a window to a file.
#pragma once

#include <QMfc.h>

#include "FunctionDlg.h"

#include <string>
#include <vector>

namespace scan_test {

class HostMainWindow {
public:
    HostMainWindow();
    ~HostMainWindow();
    CWnd* Wnd() { return &m_wnd; }
    HWND Handle() const { return m_wnd.GetSafeHwnd(); }
    // The wParam of every WM_SET_BUSY received, in order.
    std::vector<WPARAM> BusyCalls() const;
    void ClearBusyCalls();

private:
    CWnd m_wnd;
};

// A page made by the page factory for its id, in a page container of the main window's size inside the host,
// initialised and shown the way the main window does it. The page is destroyed and deleted with the object.
class PageUnderTest {
public:
    PageUnderTest(HostMainWindow& host, int pageId);
    ~PageUnderTest();
    PageUnderTest(const PageUnderTest&) = delete;
    PageUnderTest& operator=(const PageUnderTest&) = delete;
    CFunctionDlg* Page() const { return m_page; }
    template <class T>
    T* As() const
    {
        return dynamic_cast<T*>(m_page);
    }

private:
    CFunctionDlgContainer m_container;
    CFunctionDlg* m_page = nullptr;
};

// True when the window's own WS_VISIBLE bit is set (the hidden host hides everything on screen).
bool HasVisibleStyle(HWND wnd);

// A button click as the button reports it to its parent.
void ClickButton(HWND parent, int id);
// A left click (down and up) at a point of a window's client area.
void ClickAt(HWND wnd, int x, int y);

int ListCount(HWND list);
LPARAM ListItemData(HWND list, int item);
// The list's check state as CListCtrl::GetCheck reads it.
int ListCheck(HWND list, int item);

// Renders the window (with its children) into a 24-bit picture and writes it as a .bmp file; false on failure.
bool CaptureWindowToBmp(HWND wnd, const std::wstring& path);
// Renders the window into a 32-bit top-down pixel buffer (0x00RRGGBB per pixel).
std::vector<DWORD> RenderWindow(HWND wnd, int& width, int& height);

// Q:\artifacts\ (created when missing).
std::wstring ArtifactsFolder();

}  // namespace scan_test
