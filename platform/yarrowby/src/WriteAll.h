// Writing a whole buffer: a write the disk cuts short is continued, so a full disk reports itself as full.
#pragma once

#include <windows.h>

// 0 when all `bytes` were written, else the error (ERROR_DISK_FULL when the disk filled).
DWORD WriteAll(HANDLE file, const BYTE* data, DWORD bytes);
