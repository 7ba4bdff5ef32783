// Path rules shared by the scans, the repairs and the pages that ask the system: the file-system view a 32-bit
// build must look through, and when a look-up may say that a file is missing. The text rules (absolute paths,
// parts of a path, letter case) are in QPathText.h.
#pragma once

#include <windows.h>

#include <string>

#include "Common.h"
#include "QPathText.h"

namespace qpath {

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
