// Path rules shared by the scans, the repairs and the pages: what an absolute path is, when a look-up may say
// that a file is missing, the file-system view a 32-bit build must look through, and letter case compared by
// the system's Unicode tables (not only A-Z).
#pragma once

#include <windows.h>

#include <string>

#include "Common.h"

namespace qpath {

// "X:\..." or "X:/..." on a drive letter A-Z, or "\\server\...": a path that does not depend on the current
// drive or folder. "C:name", "\name" and "\\\..." are not absolute.
COMMON_API bool IsAbsolutePath(const std::wstring& path);

// The text in the system's lower case (any script, not only A-Z), for keys of maps and sets and for comparing
// with lower-case names.
COMMON_API std::wstring FoldCase(const std::wstring& text);
// True when both texts are equal apart from letter case, by the system's folding (any script, not only A-Z).
COMMON_API bool EqualsNoCase(const std::wstring& a, const std::wstring& b);
// True when text starts with prefix apart from letter case.
COMMON_API bool StartsWithNoCase(const std::wstring& text, const std::wstring& prefix);

// For its scope a 32-bit process on 64-bit Windows sees the real System32 instead of SysWOW64; elsewhere it does
// nothing. Only for look-ups on the calling thread: loading a library under it would load the wrong one.
class COMMON_API FsRedirectionGuard {
public:
    // For this process (IsWow64).
    FsRedirectionGuard();
    // For a process that is (wow64) or is not a 32-bit one on 64-bit Windows; the system refuses the switch in
    // any other process, which leaves its view as it is.
    explicit FsRedirectionGuard(bool wow64);
    ~FsRedirectionGuard();
    FsRedirectionGuard(const FsRedirectionGuard&) = delete;
    FsRedirectionGuard& operator=(const FsRedirectionGuard&) = delete;

private:
    PVOID m_old = nullptr;
    bool m_active = false;
};

// The rule by which a path counts as missing: only a definite answer counts. What each drive is gets asked once
// per object, so one object serves a whole scan.
class COMMON_API MissingPathRule {
public:
    MissingPathRule();
    // True when the path ("\\?\" prefix allowed) is absolute on a drive letter whose root is a present fixed
    // volume: only there does "not found" mean the file is gone (removable, network and absent drives do not).
    bool IsOnPresentFixedDrive(const std::wstring& path);
    // True only when the path is on a present fixed drive (and shorter than MAX_PATH without the prefix) and the
    // look-up says "file not found" or "path not found". Relative and network paths, access errors and invalid
    // names (wildcards included) cannot be decided and give false.
    bool IsDefinitelyMissing(const std::wstring& path);

private:
    signed char m_fixedDrive[26];  // -1 not asked yet, else 0 or 1
};

// The same rule for one path.
COMMON_API bool IsPathDefinitelyMissing(const std::wstring& path);

}  // namespace qpath
