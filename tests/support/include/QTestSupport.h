// Helpers of the shell's tests: a driver that answers message boxes as a user would, waiting with a message
// pump, scratch folders, UTF-16 fixture files and window lookups.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "QLock.h"

namespace shell_test {

// Presses a button of every message box (#32770 with a static 0xFFFF) that this process (or the process with
// the id given) shows while the driver lives, and records each box's text.
class MessageBoxDriver {
public:
    explicit MessageBoxDriver(int button = IDOK, DWORD processId = 0);
    ~MessageBoxDriver();
    MessageBoxDriver(const MessageBoxDriver&) = delete;
    MessageBoxDriver& operator=(const MessageBoxDriver&) = delete;

    // The texts of the boxes answered so far (taken under a lock).
    std::vector<std::wstring> Texts();
    void SetButton(int button) { m_button = button; }

private:
    void Run();
    std::atomic<int> m_button;
    DWORD m_processId;
    std::atomic<bool> m_stop{false};
    qcore::Lock m_lock;
    std::vector<std::wstring> m_texts;
    std::vector<HWND> m_answered;
    std::thread m_thread;
};

// Waits on a thread of its own (up to 15 s) for a visible top-level window of this process for which match() is
// true, such as a modal dialog the test thread opens next, and calls act() with it on that thread. The
// destructor waits for that thread.
class WindowDriver {
public:
    WindowDriver(std::function<bool(HWND)> match, std::function<void(HWND)> act);
    ~WindowDriver();
    WindowDriver(const WindowDriver&) = delete;
    WindowDriver& operator=(const WindowDriver&) = delete;

    // True once the window was found (act() has been called or runs now).
    bool Found() const { return m_found; }

private:
    void Run();
    std::function<bool(HWND)> m_match;
    std::function<void(HWND)> m_act;
    std::atomic<bool> m_found{false};
    std::thread m_thread;
};

// A WindowDriver for the folder browser that this process opens (a dialog holding a tree), with what a user does
// in it.
class FolderBrowserDriver : public WindowDriver {
public:
    explicit FolderBrowserDriver(std::function<void(HWND)> act);
    static bool IsFolderBrowser(HWND wnd);
    // Presses a button of the browser (IDOK, IDCANCEL).
    static void Press(HWND browser, int id);
    // Selects the folder in the browser's tree and presses OK.
    static void Choose(HWND browser, const std::wstring& folder);
    // The name the browser's tree shows for the selected folder ("" when none is selected).
    static std::wstring SelectedName(HWND browser);
};

// Pumps this thread's messages until pred() is true or the time-out passes; returns pred().
bool PumpUntil(const std::function<bool()>& pred, DWORD timeoutMs = 5000);
void PumpFor(DWORD ms);
// Pumps until this thread has no window left to paint and no posted or sent message waiting (timers aside): the
// state a screenshot or a pixel read wants after a show or a fill. Returns false at the time-out.
bool PumpUntilPainted(DWORD timeoutMs = 5000);

// A new empty folder under the temp folder (with a trailing backslash), removed by RemoveTree.
std::wstring MakeScratchFolder(const wchar_t* name);
void RemoveTree(const std::wstring& folder);

// Writes text as UTF-16 LE, with or without a BOM; the text is written as given (line ends included).
void WriteUtf16(const std::wstring& path, const std::wstring& text, bool bom = true);

// The host (Unix) path of a Windows path inside the prefix; "" outside Wine.
std::string HostPath(const std::wstring& windowsPath);
// Makes a Unix symbolic link at `link` (a Windows path) pointing to `target` (a Unix link text such as ".."), the
// way a user of the host would; Wine itself cannot make one. True once Wine sees it: a link to a folder as a
// reparse point, a link to a file as a plain file.
bool MakeHostSymlink(const std::wstring& link, const std::string& target);

// The program's folder (Q:\ in the test prefix) with a trailing backslash.
std::wstring ProgramFolder();

std::wstring WindowText(HWND wnd);

// The text of a list view's cell (row, column), up to 4095 characters. The list belongs to this process: the
// message carries a pointer to the text.
std::wstring ListCellText(HWND list, int row, int column = 0);

// The descendants of a window, depth first.
std::vector<HWND> Descendants(HWND wnd);

// The captions among the window's descendants that still show a translation key (IDS_...).
std::vector<std::wstring> RawKeys(HWND root);

}  // namespace shell_test
