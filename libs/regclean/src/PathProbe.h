// File-system look-ups of the scan, memoised for one scan (many registry entries name the same files).
#pragma once

#include <windows.h>

#include <string>
#include <unordered_map>

#include "PathRules.h"

namespace bexlar {

enum PathState { kPathExists = 0, kPathMissing = 1 };  // E_FAIL: cannot be decided

class PathProbe {
public:
    // wow64: the scanning process is a 32-bit one on 64-bit Windows, whose look-ups must not be redirected to
    // SysWOW64 (the registry names the real System32).
    explicit PathProbe(bool wow64);
    // Attributes of a path; INVALID_FILE_ATTRIBUTES with *error set when the look-up failed.
    DWORD Attributes(const std::wstring& path, DWORD* error);
    // True when the path is absolute on a drive letter whose root is a present fixed volume.
    bool OnFixedDrive(const std::wstring& path) { return missingRule_.IsOnPresentFixedDrive(path); }
    const std::wstring& SystemDir() const { return systemDir_; }
    const std::wstring& WindowsDir() const { return windowsDir_; }

private:
    struct Entry {
        DWORD attrs;
        DWORD error;
    };
    std::unordered_map<std::wstring, Entry> memo_;
    qpath::MissingPathRule missingRule_;
    std::wstring systemDir_, windowsDir_;
    bool wow64_;
};

}  // namespace bexlar
