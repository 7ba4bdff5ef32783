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

// How long a registration may take before regsvr32 is ended.
const DWORD kRegisterDllTimeoutMs = 60000;

// regsvr32 /s "<dll>" from the system folder; true when it ended with exit code 0. It is ended (false) when it
// runs past its time, when `cancel` is signalled or when the program shuts down.
bool RegisterDllSilently(const std::wstring& dllPath, HANDLE cancel = nullptr);

}  // namespace SystemPrograms
