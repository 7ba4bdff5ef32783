// Records the messages of the shortcut scan in a message-only window of the calling thread.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

struct ScanMessage {
    UINT msg;
    std::wstring path;    // wParam text (empty for none)
    std::wstring target;  // lParam text of WM_SHORTCUT_INVALID_FOUND
};

class ScanCapture {
public:
    ScanCapture();
    ~ScanCapture();
    ScanCapture(const ScanCapture&) = delete;
    ScanCapture& operator=(const ScanCapture&) = delete;

    HWND Window() const { return m_hwnd; }
    const std::vector<ScanMessage>& Messages() const { return m_messages; }
    void Clear() { m_messages.clear(); }

    // Runs for every recorded message, on this thread, inside the sender's call.
    std::function<void(const ScanMessage&)> onMessage;

    // Pumps this thread's messages until `doneCount` done messages in all were recorded; false after the timeout.
    bool WaitForDone(int doneCount = 1, DWORD timeoutMs = 30000);
    // Pumps for a while (to see that nothing more arrives).
    void PumpFor(DWORD ms);

    int Count(UINT msg) const;
    std::vector<std::wstring> Paths(UINT msg) const;

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

    HWND m_hwnd = nullptr;
    std::vector<ScanMessage> m_messages;
};
