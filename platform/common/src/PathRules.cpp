#include "PathRules.h"

namespace qpath {

namespace {

const wchar_t kLongPrefix[] = L"\\\\?\\";

size_t LongPrefixLength(const std::wstring& path) { return path.compare(0, 4, kLongPrefix) == 0 ? 4 : 0; }

template <typename Fn>
Fn Kernel32Function(const char* name)
{
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), name)));
}

}  // namespace

FsRedirectionGuard::FsRedirectionGuard() : FsRedirectionGuard(IsWow64()) {}

FsRedirectionGuard::FsRedirectionGuard(bool wow64)
{
    if (!wow64) return;
    typedef BOOL(WINAPI * DisableFn)(PVOID*);
    static const DisableFn disable = Kernel32Function<DisableFn>("Wow64DisableWow64FsRedirection");
    m_active = disable && disable(&m_old);
}

FsRedirectionGuard::~FsRedirectionGuard()
{
    typedef BOOL(WINAPI * RevertFn)(PVOID);
    static const RevertFn revert = Kernel32Function<RevertFn>("Wow64RevertWow64FsRedirection");
    if (m_active && revert) revert(m_old);
}

MissingPathRule::MissingPathRule()
{
    for (signed char& known : m_fixedDrive) known = -1;
}

bool MissingPathRule::IsOnPresentFixedDrive(const std::wstring& path)
{
    const size_t start = LongPrefixLength(path);
    if (path.size() < start + 3 || !IsDriveLetter(path[start]) || path[start + 1] != L':' ||
        !IsSeparator(path[start + 2]))
        return false;
    const wchar_t letter = DriveLetterOf(path[start]);  // checked above
    signed char& known = m_fixedDrive[letter - L'A'];
    if (known < 0) {
        const wchar_t root[] = {letter, L':', L'\\', 0};
        // A fixed drive without a readable volume cannot decide anything either.
        known = ::GetDriveTypeW(root) == DRIVE_FIXED && ::GetFileAttributesW(root) != INVALID_FILE_ATTRIBUTES;
    }
    return known == 1;
}

bool MissingPathRule::IsDefinitelyMissing(const std::wstring& path)
{
    if (path.size() - LongPrefixLength(path) >= MAX_PATH || !IsOnPresentFixedDrive(path)) return false;
    FsRedirectionGuard redirectionOff;
    if (::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES) return false;
    const DWORD error = ::GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

bool IsPathDefinitelyMissing(const std::wstring& path) { return MissingPathRule().IsDefinitelyMissing(path); }

}  // namespace qpath
