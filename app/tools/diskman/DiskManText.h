// What the disk optimiser page shows, computed without a window: the drive list's size texts, the counters of a
// progress record, the progress bar's position and the status a job ends with.
#pragma once

#include <stdint.h>

#include <string>

struct udefrag_job_progress;

namespace diskman {

// Columns 2-4 of a drive row: total and free GiB ("%.2f") and the free share ("%.2f%%"; "0.00%" for an empty
// total).
struct DriveSizeTexts {
    std::wstring total, free, freeShare;
};
DriveSizeTexts DriveSizes(uint64_t totalBytes, uint64_t freeBytes);

// The five counter texts of a progress record: files, directories and compressed files ("%ld"), the fragments'
// low 32 bits ("%ld"), and the master file table ("%.2f MB").
struct CounterTexts {
    std::wstring files, directories, compressed, fragments, mft;
};
CounterTexts Counters(const udefrag_job_progress& record);

// The bar's position (0-1000) for a percentage: percentage x 10, kept within the range; 0 for NaN.
int BarPosition(double percentage);

// How a job ended, and the dictionary key of the status it leaves in its row.
enum class JobEnd { Finished, Stopped, Failed };
JobEnd EndOfJob(bool stopRequested, int result);
const wchar_t* StatusKey(JobEnd end);

}  // namespace diskman
