// Starting the system's own programs (regsvr32 and the like): always by their full path in the system folder, so
// a program of the same name in the current folder or on the PATH is never run instead.
#pragma once

#include <windows.h>

#include <string>

namespace SystemPrograms {

// The system folder (System32; a 32-bit build on 64-bit Windows gets its redirected view), no trailing backslash.
std::wstring SystemFolder();
// SystemFolder() + "\" + name.
std::wstring SystemProgramPath(const wchar_t* name);

enum class RunOutcome {
    Finished,    // the program ended; its exit code is set
    NotStarted,  // it could not be started
    Cancelled,   // `cancel` was signalled first; the program goes on by itself
};

// Starts program (a full path) with the arguments as a hidden process and waits until it ends, or until the
// optional cancel event is signalled. The command line is the quoted program path, a blank and the arguments.
RunOutcome RunHidden(const std::wstring& program, const std::wstring& arguments, DWORD* exitCode,
                     HANDLE cancel = nullptr);

// regsvr32 /s "<dll>" from the system folder; true when it ended with exit code 0.
bool RegisterDllSilently(const std::wstring& dllPath, HANDLE cancel = nullptr);

} // namespace SystemPrograms
