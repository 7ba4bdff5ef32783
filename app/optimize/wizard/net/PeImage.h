// Whether downloaded bytes are a Windows DLL that this program's kind of process can load.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

enum class PeCheck {
    DllForThisMachine,
    NotPe,         // no DOS header, no PE signature, or headers cut short (an HTML page, a text, a damaged file)
    NotDll,        // a PE image, but a program rather than a library
    OtherMachine,  // a DLL for another processor (a 32-bit DLL for a 64-bit process, or the other way)
};

// The machine type of this build's processes (IMAGE_FILE_MACHINE_AMD64 or IMAGE_FILE_MACHINE_I386).
WORD ThisProcessMachine();
// Checks the first bytes of a file (the headers lie within the first few hundred bytes of every real DLL).
PeCheck CheckPeDll(const unsigned char* data, size_t size, WORD machine);
// Reads the start of the file and checks it; NotPe when it cannot be read.
PeCheck CheckPeDllFile(const std::wstring& path, WORD machine);
