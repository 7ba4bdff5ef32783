#include "MissingPath.h"

#include <windows.h>
#include <wctype.h>

namespace Moravin {

namespace {

#ifndef _WIN64
// A 32-bit process on 64-bit Windows would look into SysWOW64 for System32: test the real files.
class FsRedirectionOff {
public:
    FsRedirectionOff()
    {
        typedef BOOL(WINAPI * DisableFn)(PVOID*);
        static DisableFn disable = reinterpret_cast<DisableFn>(reinterpret_cast<void*>(
            GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "Wow64DisableWow64FsRedirection")));
        m_active = disable && disable(&m_old);
    }
    ~FsRedirectionOff()
    {
        typedef BOOL(WINAPI * RevertFn)(PVOID);
        static RevertFn revert = reinterpret_cast<RevertFn>(reinterpret_cast<void*>(
            GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "Wow64RevertWow64FsRedirection")));
        if (m_active && revert) revert(m_old);
    }
    FsRedirectionOff(const FsRedirectionOff&) = delete;
    FsRedirectionOff& operator=(const FsRedirectionOff&) = delete;

private:
    PVOID m_old = nullptr;
    bool m_active = false;
};
#endif

}  // namespace

MissingPathRule::MissingPathRule()
{
    for (signed char& known : m_fixedDrive) known = -1;
}

bool MissingPathRule::IsOnPresentFixedDrive(const std::wstring& path)
{
    if (path.size() < 3 || path[1] != L':' || (path[2] != L'\\' && path[2] != L'/')) return false;
    wchar_t letter = towupper(path[0]);
    if (letter < L'A' || letter > L'Z') return false;
    signed char& known = m_fixedDrive[letter - L'A'];
    if (known < 0) {
        const wchar_t root[] = {letter, L':', L'\\', 0};
        // A fixed drive without a readable volume cannot decide anything either.
        known = GetDriveTypeW(root) == DRIVE_FIXED && GetFileAttributesW(root) != INVALID_FILE_ATTRIBUTES;
    }
    return known == 1;
}

bool MissingPathRule::IsDefinitelyMissing(const std::wstring& path)
{
    if (path.size() >= MAX_PATH || !IsOnPresentFixedDrive(path)) return false;
#ifndef _WIN64
    FsRedirectionOff redirectionOff;
#endif
    if (GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES) return false;
    DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

bool IsPathDefinitelyMissing(const std::wstring& path)
{
    return MissingPathRule().IsDefinitelyMissing(path);
}

}  // namespace Moravin
