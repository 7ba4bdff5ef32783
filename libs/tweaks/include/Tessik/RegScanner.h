// The registry-problem scanner family: sixteen plain functions chosen by index. Each walks one area of the
// registry and reports every finding to the window of the caller's scan context as a heap record sent with
// WM_REGSCANNER_ITEM_FOUND (valid only during the call). Each returns 0.
#pragma once

#include <windows.h>

#include <string>

#include "TessikApi.h"

#define WM_REGSCANNER_ITEM_FOUND 0x401  // wParam: const RegScanIssueRecord*, lParam 0

struct RegScanIssueRecord {
    int category;  // the scanner's index
    HKEY root;
    std::wstring keyPath;    // relative to root
    std::wstring valueName;  // "" for a key or a key's default value
    std::wstring data;       // the offending text
    bool valueLevel;
    int reason;  // 0 missing target, 3 empty key / recent-command entry
};

// The scanner's argument is the address of a pointer to the caller's context; the window to report to is the
// pointer-sized field at byte offset 32 of the context (the ninth 32-bit word in a 32-bit build).
typedef int(__cdecl* RegScannerProc)(void** context);
constexpr size_t kRegScannerWindowOffset = 32;

TESSIK_API RegScannerProc getScanner(unsigned index);

extern "C" {
TESSIK_API int __cdecl Scanner_ActiveX(void** context);
TESSIK_API int __cdecl Scanner_AppPath(void** context);
TESSIK_API int __cdecl Scanner_EmptyRegistryKeys(void** context);
TESSIK_API int __cdecl Scanner_FileExt(void** context);
TESSIK_API int __cdecl Scanner_FontEntry(void** context);
TESSIK_API int __cdecl Scanner_HelpSection(void** context);
TESSIK_API int __cdecl Scanner_InvalidFileAsso(void** context);
TESSIK_API int __cdecl Scanner_RecentFile(void** context);
TESSIK_API int __cdecl Scanner_SharedDll(void** context);
TESSIK_API int __cdecl Scanner_InvalidShortcut(void** context);
TESSIK_API int __cdecl Scanner_SoundSection(void** context);
TESSIK_API int __cdecl Scanner_StartupMenuItem(void** context);
TESSIK_API int __cdecl Scanner_StartupProgram(void** context);
TESSIK_API int __cdecl Scanner_SystemService(void** context);
TESSIK_API int __cdecl Scanner_SystemSoftwareSetting(void** context);
TESSIK_API int __cdecl Scanner_Uninstall(void** context);
TESSIK_API int __cdecl Scanner_UserSoftwareSetting(void** context);
}
