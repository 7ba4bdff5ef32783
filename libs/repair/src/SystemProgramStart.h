// Starting system programs as hidden child processes, for the runs that wait for one program and for the
// re-registration that keeps several running at once.
#pragma once

#include <windows.h>

#include <string>

#include "Folders.h"

namespace Moravin {

// Starts <system folder>\<program> hidden (no window, no console) with the arguments. Returns the process handle,
// which the caller closes, or null when it could not be started.
HANDLE StartSystemProgram(const wchar_t* program, const std::wstring& arguments);

}  // namespace Moravin
