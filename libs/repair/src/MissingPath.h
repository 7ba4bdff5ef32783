// The rule by which a path counts as missing, shared with the registry scan: only a definite answer counts.
#pragma once

#include <string>

namespace Moravin {

// True only when the path is absolute on a drive letter whose root is a present fixed volume and the look-up
// says "file not found" or "path not found". Relative paths, network paths, removable or absent drives, access
// errors and invalid names (wildcards included) cannot be decided and give false.
bool IsPathDefinitelyMissing(const std::wstring& path);

// The same rule for many paths in a row: what each drive is gets asked once per object.
class MissingPathRule {
public:
    MissingPathRule();
    bool IsDefinitelyMissing(const std::wstring& path);

private:
    bool IsOnPresentFixedDrive(const std::wstring& path);

    signed char m_fixedDrive[26];  // -1 not asked yet, else 0 or 1
};

}  // namespace Moravin
