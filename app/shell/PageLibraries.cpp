#include "PageLibraries.h"

#include <windows.h>
#include <delayimp.h>

#include "Dictionary.h"

namespace Shell {

std::wstring FirstMissingLibrary(const wchar_t* libraries)
{
    for (const wchar_t* at = libraries; at && *at;) {
        const wchar_t* end = wcschr(at, L'|');
        std::wstring name(at, end ? end : at + wcslen(at));
        at = end ? end + 1 : at + name.size();
        if (name.empty() || ::GetModuleHandleW(name.c_str())) continue;
        wchar_t found[MAX_PATH];
        if (!::SearchPathW(nullptr, name.c_str(), nullptr, MAX_PATH, found, nullptr)) return name;
    }
    return std::wstring();
}

}  // namespace Shell

namespace {

// A delay-loaded library that does not load, or lacks a function, when it is first called.
FARPROC WINAPI DelayLoadFailed(unsigned notification, PDelayLoadInfo info)
{
    if (notification != dliFailLoadLib && notification != dliFailGetProc) return nullptr;
    CString library(info && info->szDll ? info->szDll : "");
    CString message;
    message.Format(nsVendrel::TranslateCode(L"IDS_LIBRARY_LOAD_FAILED"), static_cast<const wchar_t*>(library));
    ::MessageBoxW(nullptr, message, L"Quorvel", MB_OK | MB_ICONERROR | MB_TOPMOST);
    ::ExitProcess(1);
    return nullptr;
}

}  // namespace

// The delay-load helper calls this hook (declared by delayimp.h) when a library or a function is not there.
PfnDliHook __pfnDliFailureHook2 = DelayLoadFailed;
