// A window of the test's thread that records what a Yarrowby file tool sends it, and the waits on it.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace yarrowby_test {

struct ToolMessage {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

class ToolRecorder {
public:
    // Records the given progress and done messages.
    ToolRecorder(UINT progressMessage, UINT doneMessage);
    ~ToolRecorder();
    ToolRecorder(const ToolRecorder&) = delete;
    ToolRecorder& operator=(const ToolRecorder&) = delete;

    HWND Window() const { return m_wnd; }
    // Pumps until `count` done messages arrived (false after the time-out).
    bool WaitForDone(size_t count = 1, DWORD timeoutMs = 60000);
    std::vector<ToolMessage> Progress() const;
    std::vector<ToolMessage> Done() const;
    void Clear() { m_messages.clear(); }

private:
    static LRESULT CALLBACK Proc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
    std::vector<ToolMessage> Of(UINT message) const;

    UINT m_progress, m_done;
    HWND m_wnd = nullptr;
    std::vector<ToolMessage> m_messages;
};

// Files of a test: random bytes, whole-file reads and comparisons.
std::string RandomBytes(size_t size, unsigned seed);
bool WriteBytes(const std::wstring& path, const std::string& bytes);
std::string ReadBytes(const std::wstring& path);
bool Exists(const std::wstring& path);
// The names in a folder (files and folders, without "." and "..").
std::vector<std::wstring> FolderNames(const std::wstring& folder);

}  // namespace yarrowby_test
