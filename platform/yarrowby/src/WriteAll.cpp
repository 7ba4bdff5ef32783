#include "WriteAll.h"

DWORD WriteAll(HANDLE file, const BYTE* data, DWORD bytes)
{
    while (bytes > 0) {
        DWORD written = 0;
        if (!::WriteFile(file, data, bytes, &written, nullptr)) return ::GetLastError();
        if (written == 0) return ERROR_DISK_FULL;
        data += written;
        bytes -= written;
    }
    return 0;
}
