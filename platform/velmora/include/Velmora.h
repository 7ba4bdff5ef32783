// Velmora.dll: the disk defragmenter's flat interface.
//
// A caller initialises the library once, checks a volume, then runs a job on a thread of its own:
// udefrag_start_job blocks until the job has ended (finished, stopped or failed). Meanwhile it calls the progress
// callback on that same thread with a record that is valid only during the call, and polls the terminator (at
// least every 50 ms and before each file move); a non-zero answer ends the job at the next safe point. Only one
// job runs at a time in a process.
//
// Results: 0 (or more) for success, a negative UDEFRAG_E_... code for failure.
#pragma once

#include <stdint.h>

#include "VelmoraApi.h"

#ifdef __cplusplus
extern "C" {
#endif

// Job types.
enum {
    UDEFRAG_ANALYSIS_JOB = 0,  // read the volume and report; nothing is moved
    UDEFRAG_OPTIMIZE_JOB = 2,  // analyse, then make every fragmented file that can be moved contiguous
};

// Failures.
enum {
    UDEFRAG_E_INVALID_ARGUMENT = -1,  // no such drive letter, job type or map size
    UDEFRAG_E_NOT_INITIALISED = -2,   // udefrag_init_library was not called
    UDEFRAG_E_BUSY = -3,              // another job is running
    UDEFRAG_E_UNSUPPORTED = -4,       // not a fixed drive, or a file system or system that cannot be processed
    UDEFRAG_E_ACCESS = -5,            // the volume could not be opened (administrator rights are needed)
    UDEFRAG_E_IO = -6,                // the volume could not be read or written
    UDEFRAG_E_NO_MEMORY = -7,
};

// Cell states of the cluster map (each cell shows the state that covers most of its clusters).
enum {
    UDEFRAG_CELL_FREE = 1,
    UDEFRAG_CELL_SYSTEM = 2,  // used by the file system itself or by files the walk does not reach
    UDEFRAG_CELL_FRAGMENTED = 4,
    UDEFRAG_CELL_FILE = 6,  // contiguous file
    UDEFRAG_CELL_FOLDER = 8,
};

// Stages reported in the record.
enum { UDEFRAG_STAGE_ANALYSE = 0, UDEFRAG_STAGE_OPTIMISE = 1, UDEFRAG_STAGE_DONE = 2 };

// The progress record. Its layout binds callers (they read fields at fixed byte offsets), so it is packed to 4
// bytes: the same offsets in 32-bit and 64-bit builds.
#pragma pack(push, 4)
typedef struct udefrag_job_progress {
    int32_t files;               //  0 files found so far
    int32_t directories;         //  4
    int32_t compressed;          //  8 compressed files
    int32_t fragmented_files;    // 12 files in more than one piece
    int64_t fragments;           // 16 pieces of the fragmented files
    int64_t total_clusters;      // 24
    int64_t free_clusters;       // 32
    int64_t mft_size;            // 40 bytes of the master file table (0 on volumes without one)
    int64_t clusters_to_move;    // 48 clusters of the fragmented files that can be moved
    int64_t processed_clusters;  // 56 of those, handled so far (moved or given up)
    int64_t moved_clusters;      // 64
    double percentage;           // 72 0 to 100 over the whole job
    int32_t stage;               // 80 UDEFRAG_STAGE_...
    signed char* cluster_map;    // 84 cluster_map_size cells, row by row; null when the job has no map
    int32_t cluster_map_size;    // after the pointer (88 in 32-bit builds, 92 in 64-bit ones)
    int32_t bytes_per_cluster;
} udefrag_job_progress;
#pragma pack(pop)

// Called on the job's thread; the record is read only during the call.
typedef void (*udefrag_progress_callback)(udefrag_job_progress* progress, void* context);
// Polled on the job's thread: non-zero ends the job.
typedef int (*udefrag_terminator)(void* context);

// Prepares the library (reserved: pass 0). Counted: each call needs one udefrag_unload_library.
VELMORA_API int udefrag_init_library(int reserved);
// Non-zero when the last udefrag_init_library failed or was never made.
VELMORA_API int udefrag_init_failed(void);
// 0 when the volume of that drive letter can be processed, else a negative code. flags: reserved, pass 0.
VELMORA_API int udefrag_validate_volume(char volume_letter, int flags);
// Runs a job on the calling thread until it ends; 0 when it finished or was stopped, negative when it failed.
// cluster_map_size: cells of the map handed to the callback (0: none; at most 1024 * 1024).
VELMORA_API int udefrag_start_job(char volume_letter, int job_type, int flags, int cluster_map_size,
                                  udefrag_progress_callback progress, udefrag_terminator terminator, void* context);
// Balances one udefrag_init_library.
VELMORA_API void udefrag_unload_library(void);

#ifdef __cplusplus
}

static_assert(sizeof(int32_t) == 4 && sizeof(double) == 8, "record field sizes");
#include <stddef.h>
static_assert(offsetof(udefrag_job_progress, files) == 0, "record layout");
static_assert(offsetof(udefrag_job_progress, directories) == 4, "record layout");
static_assert(offsetof(udefrag_job_progress, compressed) == 8, "record layout");
static_assert(offsetof(udefrag_job_progress, fragments) == 16, "record layout");
static_assert(offsetof(udefrag_job_progress, mft_size) == 40, "record layout");
static_assert(offsetof(udefrag_job_progress, percentage) == 72, "record layout");
static_assert(offsetof(udefrag_job_progress, cluster_map) == 84, "record layout");
#endif
