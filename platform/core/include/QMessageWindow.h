// A message-only window of the creating thread that hands the messages other code sends or posts to it
// (WM_USER and above) to one handler.
//
// Give each sender a window of its own: libraries number their messages independently, so one window shared
// by several of them could only tell the sender from the number. With a window per sender the window a message
// arrives at names its sender.
#pragma once

#include <windows.h>

#include <functional>

namespace qcore {

class MessageWindow {
public:
    // Called on the window's thread with every message from WM_USER up; its result is the message's result.
    using Handler = std::function<LRESULT(UINT msg, WPARAM wParam, LPARAM lParam)>;

    explicit MessageWindow(Handler handler);
    // Destroys the window; must run on the thread that created it.
    ~MessageWindow();
    MessageWindow(const MessageWindow&) = delete;
    MessageWindow& operator=(const MessageWindow&) = delete;

    // Null when no window could be made.
    HWND Get() const { return m_wnd; }

private:
    static LRESULT CALLBACK Proc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);

    Handler m_handler;
    HWND m_wnd = nullptr;
};

}  // namespace qcore
