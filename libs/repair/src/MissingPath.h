// The rule by which a path counts as missing, shared with the registry scan: only a definite answer counts.
#pragma once

#include <string>

namespace Moravin {

// True only when the path is absolute on a drive letter whose root is a present fixed volume and the look-up
// says "file not found" or "path not found". Relative paths, network paths, removable or absent drives, access
// errors and invalid names (wildcards included) cannot be decided and give false.
bool IsPathDefinitelyMissing(const std::wstring& path);

}  // namespace Moravin
