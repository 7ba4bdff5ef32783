// Timing of start-up's steps, for finding what makes the main window slow to show. Off unless the environment
// variable QUORVEL_STARTUP_PROFILE names a file: then each step's time since the process was created is kept,
// and the list is appended to that file when the main window first shows (a debugger's output is not seen
// under Wine).
#pragma once

namespace Shell {

class StartupProfile {
public:
    // Records that a step ended now; nothing when profiling is off.
    static void Mark(const wchar_t* step);
    // Appends the recorded steps to the file, once.
    static void Write();
};

}  // namespace Shell
