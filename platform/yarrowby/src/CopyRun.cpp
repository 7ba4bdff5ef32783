#include "CopyRun.h"

#include <string>

#include "WriteAll.h"
#include "Yarrowby/YarrowbyMessages.h"

namespace {
// Small enough to stay in the processor's cache between the read and the write: with 1 MiB the system's copy of
// each write into the file cache took most of a join's time on a busy machine (profiled), and a split or a join
// used two to three times the processor time of GNU split or cat. 64 KiB calls halved it; the extra calls through
// Wine's file layer cost far less.
const DWORD kCopyBufferBytes = 64u << 10;
// Without a flush before the end the system wrote nothing of a 1 GiB output until the final flush, which then
// took a third of the run (the file cache holds far more than that). Flushed behind the copy every 64 MiB, the
// disk writes while the copy goes on and the final flush is a tenth as long.
const unsigned long long kFlushBehindBytes = 64ull << 20;
}  // namespace

CopyRun::CopyRun(YarrowbyToolWorker& worker, unsigned long long total)
    : m_worker(worker),
      m_progress(total),
      m_buffer(static_cast<BYTE*>(::VirtualAlloc(nullptr, kCopyBufferBytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE)))
{
}

CopyRun::~CopyRun()
{
    if (m_buffer) ::VirtualFree(m_buffer, 0, MEM_RELEASE);
}

DWORD CopyRun::Copy(HANDLE from, HANDLE to, unsigned long long bytes)
{
    while (bytes > 0) {
        if (m_worker.StopRequested()) return ERROR_CANCELLED;
        const DWORD chunk = DWORD(bytes < kCopyBufferBytes ? bytes : kCopyBufferBytes);
        DWORD read = 0;
        if (!::ReadFile(from, m_buffer, chunk, &read, nullptr)) return ::GetLastError();
        if (read != chunk) return ERROR_HANDLE_EOF;
        if (const DWORD error = WriteAll(to, m_buffer, chunk)) return error;
        bytes -= chunk;
        m_done += chunk;
        m_unflushed += chunk;
        if (m_unflushed >= kFlushBehindBytes) FlushBehind(to);
        WPARAM scaled = 0;
        if (m_progress.Due(m_done, scaled)) m_worker.SendProgress(scaled, YARROWBY_PROGRESS_SCALE);
    }
    return 0;
}

void CopyRun::FlushBehind(HANDLE to)
{
    m_flushes.Flush(to);
    m_unflushed = 0;
}

void CopyRun::Finish() { m_worker.SendProgress(YARROWBY_PROGRESS_SCALE, YARROWBY_PROGRESS_SCALE); }

HANDLE OpenForSequentialRead(const std::wstring& path)
{
    return ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN,
                         nullptr);
}

std::wstring FolderPrefix(const std::wstring& folder)
{
    if (folder.empty() || folder.back() == L'\\' || folder.back() == L'/') return folder;
    return folder + L"\\";
}
