#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace LumbreyTest {

// One message received by the recorder window.
struct Recorded {
    UINT msg;
    std::wstring text;  // wParam read as a wide string (empty for other messages)
    LPARAM lParam;
};

// A message-only window on the creating thread that records the messages in [first, last], reading wParam
// as text for the messages in `textMessages`. An optional hook runs inside the window procedure.
class MessageRecorder {
public:
    MessageRecorder(UINT first, UINT last, std::vector<UINT> textMessages);
    ~MessageRecorder();
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    HWND Window() const { return m_wnd; }
    const std::vector<Recorded>& Messages() const { return m_messages; }
    std::vector<std::wstring> Texts(UINT msg) const;
    size_t Count(UINT msg) const;

    // Runs for every recorded message, after it is stored, on the window's thread.
    std::function<void(const Recorded&, WPARAM)> onMessage;

    // Pumps the thread's messages until `msg` has arrived `count` times in all; false after the time-out.
    bool PumpUntil(UINT msg, size_t count = 1, DWORD timeoutMs = 30000);

private:
    static LRESULT CALLBACK Proc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
    HWND m_wnd;
    UINT m_first;
    UINT m_last;
    std::vector<UINT> m_textMessages;
    std::vector<Recorded> m_messages;
};

}  // namespace LumbreyTest
