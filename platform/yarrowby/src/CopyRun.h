// The byte copying the splitter and the joiner share: one buffer, the scaled progress messages, the stop check and
// the flushes behind the copy.
#pragma once

#include <windows.h>

#include <string>

#include "Progress.h"
#include "ToolWorker.h"
#include "WriteBehind.h"

class CopyRun {
public:
    CopyRun(YarrowbyToolWorker& worker, unsigned long long total);
    ~CopyRun();
    CopyRun(const CopyRun&) = delete;
    CopyRun& operator=(const CopyRun&) = delete;

    bool Valid() const { return m_buffer != nullptr; }
    // Copies `bytes` from the current position of `from` to that of `to`. 0, or the error that ended the copy
    // (ERROR_CANCELLED after a stop, ERROR_HANDLE_EOF when the source ends early).
    // Every few dozen MiB written the output's flush is queued behind the copy.
    DWORD Copy(HANDLE from, HANDLE to, unsigned long long bytes);
    // Queues the flush of an output whose last byte is written; the caller may close it at once.
    void FlushBehind(HANDLE to);
    // Waits for the queued flushes: 0 when every one succeeded, or the first error.
    DWORD FinishFlushes() { return m_flushes.Finish(); }
    // After a failure: drops the flushes not begun and closes the handles they kept, so the outputs can go.
    void AbandonFlushes() { m_flushes.Abandon(); }
    // The last progress message of a run that succeeded.
    void Finish();

private:
    YarrowbyToolWorker& m_worker;
    ScaledProgress m_progress;
    unsigned long long m_done = 0;
    unsigned long long m_unflushed = 0;
    BYTE* m_buffer;
    WriteBehind m_flushes;
};

// Opens a file to be read through from start to end.
HANDLE OpenForSequentialRead(const std::wstring& path);
// The folder with one trailing backslash.
std::wstring FolderPrefix(const std::wstring& folder);
