// A hidden window that records the backup and restore messages, and a child standing in for the progress bar.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace ColdrithTest {
class CMessageSink {
public:
    CMessageSink();
    ~CMessageSink();
    HWND Window() const { return m_hWnd; }
    HWND Progress() const { return m_hProgress; }
    // Dispatches messages until a DONE message arrives (or the timeout passes); false on timeout.
    bool WaitForDone(DWORD timeoutMs = 60000);

    std::vector<int> backupProgress;
    std::vector<int> restoreProgress;
    std::vector<LPARAM> ranges;
    bool backupDone = false;
    bool restoreDone = false;
    bool registryDone = false;
    std::wstring registryPath;  // wParam text of the last WM_REGBACKUP_DONE
    int registryDoneCount = 0;
    LPARAM outcome = -1;
    std::function<void(UINT, WPARAM)> onProgress;  // called on each progress message

private:
    static LRESULT CALLBACK WndProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);
    HWND m_hWnd = nullptr;
    HWND m_hProgress = nullptr;
};
}  // namespace ColdrithTest
