#include "DiskManText.h"

#include <math.h>
#include <stdio.h>

#include "Velmora.h"

namespace diskman {

namespace {

std::wstring Format(const wchar_t* format, double value)
{
    wchar_t text[64] = L"";
    swprintf(text, 64, format, value);
    return text;
}

std::wstring Count(long value)
{
    wchar_t text[32] = L"";
    swprintf(text, 32, L"%ld", value);
    return text;
}

}  // namespace

DriveSizeTexts DriveSizes(uint64_t totalBytes, uint64_t freeBytes)
{
    const double gib = 1024.0 * 1024.0 * 1024.0;
    DriveSizeTexts t;
    t.total = Format(L"%.2f", double(totalBytes) / gib);
    t.free = Format(L"%.2f", double(freeBytes) / gib);
    t.freeShare = Format(L"%.2f%%", totalBytes ? double(freeBytes) / double(totalBytes) * 100.0 : 0.0);
    return t;
}

CounterTexts Counters(const udefrag_job_progress& record)
{
    CounterTexts t;
    t.files = Count(long(record.files));
    t.directories = Count(long(record.directories));
    t.compressed = Count(long(record.compressed));
    t.fragments = Count(long(int32_t(uint32_t(uint64_t(record.fragments) & 0xFFFFFFFFu))));
    t.mft = Format(L"%.2f MB", double(record.mft_size) / 1024.0 / 1024.0);
    return t;
}

int BarPosition(double percentage)
{
    if (isnan(percentage)) return 0;
    const double position = percentage * 10.0;
    if (position <= 0.0) return 0;
    if (position >= 1000.0) return 1000;
    return int(position);
}

JobEnd EndOfJob(bool stopRequested, int result)
{
    if (stopRequested) return JobEnd::Stopped;
    return result < 0 ? JobEnd::Failed : JobEnd::Finished;
}

const wchar_t* StatusKey(JobEnd end)
{
    switch (end) {
    case JobEnd::Stopped: return L"IDS_SYS_TOOL_DISKMAN_STOP";
    case JobEnd::Failed: return L"IDS_SYS_TOOL_DISKMAN_FAILED";
    case JobEnd::Finished: break;
    }
    return L"IDS_SYS_TOOL_DISKMAN_FINISH";
}

}  // namespace diskman
