// The clock of the repair library's benchmarks: seconds from the performance counter.
#pragma once

#include <windows.h>

inline double Now()
{
    LARGE_INTEGER frequency, ticks;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&ticks);
    return static_cast<double>(ticks.QuadPart) / static_cast<double>(frequency.QuadPart);
}
