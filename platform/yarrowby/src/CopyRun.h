// The byte copying the splitter and the joiner share: one buffer, the scaled progress messages and the stop check.
#pragma once

#include <windows.h>

#include <string>

#include "Progress.h"
#include "ToolWorker.h"

class CopyRun {
public:
    CopyRun(YarrowbyToolWorker& worker, unsigned long long total);
    ~CopyRun();
    CopyRun(const CopyRun&) = delete;
    CopyRun& operator=(const CopyRun&) = delete;

    bool Valid() const { return m_buffer != nullptr; }
    // Copies `bytes` from the current position of `from` to that of `to`. 0, or the error that ended the copy
    // (ERROR_CANCELLED after a stop, ERROR_HANDLE_EOF when the source ends early).
    DWORD Copy(HANDLE from, HANDLE to, unsigned long long bytes);
    // The last progress message of a run that succeeded.
    void Finish();

private:
    YarrowbyToolWorker& m_worker;
    ScaledProgress m_progress;
    unsigned long long m_done = 0;
    BYTE* m_buffer;
};

// Opens a file to be read through from start to end.
HANDLE OpenForSequentialRead(const std::wstring& path);
// The folder with one trailing backslash.
std::wstring FolderPrefix(const std::wstring& folder);
