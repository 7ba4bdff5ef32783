#include "CopyRun.h"

#include <string>

#include "WriteAll.h"
#include "Yarrowby/YarrowbyMessages.h"

namespace {
// Every read and write is a call through Wine's file layer: 1 MiB calls kept the splitter at GNU split's speed on
// a quiet machine, where 256 KiB calls made it about a tenth slower.
const DWORD kCopyBufferBytes = 1024u << 10;
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
        WPARAM scaled = 0;
        if (m_progress.Due(m_done, scaled)) m_worker.SendProgress(scaled, YARROWBY_PROGRESS_SCALE);
    }
    return 0;
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
