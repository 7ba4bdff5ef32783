// One job over a volume: the analysis (bitmap, file walk, pieces of every file, the map) and, for the
// optimisation job, the moves that make fragmented files contiguous. Runs on the caller's thread.
#pragma once

#include "Velmora.h"
#include "Volume.h"

namespace velmora {

struct JobCallbacks {
    udefrag_progress_callback progress = nullptr;
    udefrag_terminator terminator = nullptr;
    void* context = nullptr;
};

// How often the progress callback is called at most, and how large one move is at most (so the terminator is
// polled between the moves of a large file).
constexpr unsigned kReportIntervalMs = 150;
constexpr uint64_t kMoveChunkBytes = 32ull << 20;

// 0 when the job finished or was stopped, else a negative UDEFRAG_E_... code.
int RunJob(Volume& volume, int jobType, int mapCells, const JobCallbacks& callbacks);

// The job's code for a Win32 error of the volume.
int JobErrorOf(DWORD error);

}  // namespace velmora
