#include "PathRules.h"

namespace qpath {

namespace {

const wchar_t kLongPrefix[] = L"\\\\?\\";

bool IsDriveLetter(wchar_t c)
{
    return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z');
}

bool IsSeparator(wchar_t c)
{
    return c == L'\\' || c == L'/';
}

size_t LongPrefixLength(const std::wstring& path)
{
    return path.compare(0, 4, kLongPrefix) == 0 ? 4 : 0;
}

template <typename Fn>
Fn Kernel32Function(const char* name)
{
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), name)));
}

}  // namespace

bool IsAbsolutePath(const std::wstring& path)
{
    if (path.size() >= 3 && IsDriveLetter(path[0]) && path[1] == L':' && IsSeparator(path[2])) return true;
    return path.size() >= 3 && path[0] == L'\\' && path[1] == L'\\' && path[2] != L'\\';
}

std::wstring FoldCase(const std::wstring& text)
{
    if (text.empty()) return text;
    const int length = static_cast<int>(text.size());
    std::wstring folded(text.size(), L'\0');
    // Simple case mapping (no linguistic casing) maps one character to one, so the length stays.
    const int n = ::LCMapStringW(LOCALE_INVARIANT, LCMAP_LOWERCASE, text.c_str(), length, &folded[0], length);
    return n == length ? folded : text;
}

bool EqualsNoCase(const std::wstring& a, const std::wstring& b)
{
    if (a.size() != b.size()) return false;
    // Vista and later compare as the file system does; XP gets the same folding through LCMapStringW.
    typedef int(WINAPI * CompareOrdinalFn)(LPCWSTR, int, LPCWSTR, int, BOOL);
    static const CompareOrdinalFn compareOrdinal = Kernel32Function<CompareOrdinalFn>("CompareStringOrdinal");
    if (compareOrdinal) {
        const int r = compareOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()), TRUE);
        if (r != 0) return r == CSTR_EQUAL;
    }
    return FoldCase(a) == FoldCase(b);
}

bool StartsWithNoCase(const std::wstring& text, const std::wstring& prefix)
{
    return text.size() >= prefix.size() && EqualsNoCase(text.substr(0, prefix.size()), prefix);
}

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
    const wchar_t letter = static_cast<wchar_t>(path[start] & ~0x20);  // A-Z only, checked above
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

bool IsPathDefinitelyMissing(const std::wstring& path)
{
    return MissingPathRule().IsDefinitelyMissing(path);
}

}  // namespace qpath
