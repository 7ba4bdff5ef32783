// Paired runs of a benchmark against its floor (a bare program doing the same work under the same Wine).
// Each pair runs both sides back to back, alternating which goes first, so a busy machine slows both alike.
// Every pair is printed as one line that scripts/bench-stats.py turns into the table
// (bench / floor / median ratio / range / n):
//   pair <TAB> bench <TAB> floor <TAB> floor seconds <TAB> bench seconds
// A native peer's figure (Info-ZIP, GNU) is printed beside it as context:
//   peer <TAB> bench <TAB> peer name <TAB> peer seconds <TAB> bench seconds
#pragma once

#include <windows.h>

#include <cstdio>
#include <functional>
#include <string>

namespace bench {
inline double Now()
{
    static const double frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) / frequency;
}

// Seconds taken by work().
inline double Time(const std::function<void()>& work)
{
    const double start = Now();
    work();
    return Now() - start;
}

inline void PrintPair(const std::string& name, const std::string& floorName, double floorSeconds, double seconds)
{
    std::printf("pair\t%s\t%s\t%.6f\t%.6f\n", name.c_str(), floorName.c_str(), floorSeconds, seconds);
    std::fflush(stdout);
}

inline void PrintPeer(const std::string& name, const std::string& peerName, double peerSeconds, double seconds)
{
    std::printf("peer\t%s\t%s\t%.6f\t%.6f\n", name.c_str(), peerName.c_str(), peerSeconds, seconds);
    std::fflush(stdout);
}

// One side of a pair: prepares untimed (emptying a target folder, seeding), then returns the seconds of its run.
using Side = std::function<double()>;

// Runs `pairs` pairs of floor and bench, the floor first in even pairs and second in odd ones, and prints each.
inline void RunPairs(const std::string& name, const std::string& floorName, int pairs, const Side& floor,
                     const Side& bench)
{
    for (int i = 0; i < pairs; ++i) {
        double floorSeconds = 0, seconds = 0;
        if (i % 2 == 0) {
            floorSeconds = floor();
            seconds = bench();
        } else {
            seconds = bench();
            floorSeconds = floor();
        }
        PrintPair(name, floorName, floorSeconds, seconds);
    }
}

// The number of pairs from the environment (QUORVEL_BENCH_PAIRS), at least one; fallback when unset.
inline int PairsFromEnvironment(int fallback)
{
    wchar_t text[16] = {};
    if (GetEnvironmentVariableW(L"QUORVEL_BENCH_PAIRS", text, sizeof(text) / sizeof(text[0])) == 0) return fallback;
    const int n = _wtoi(text);
    return n > 0 ? n : fallback;
}
}  // namespace bench
