// The paging-file list rewrite of the fixed repairs. Each entry reads "path initial maximum" (sizes in MB).
#pragma once

#include <string>
#include <vector>

namespace Moravin {

// Smallest size, in MB, the rewrite gives a paging file.
const int kMinPagingFileMb = 2048;

// Each entry becomes "path N N", N being its initial size (the one number of "path N") raised to at least
// kMinPagingFileMb (the maximum is dropped: the file gets a fixed size). The first entry without a blank ends the rewrite: it and all later ones
// stay as they are.
std::vector<std::wstring> RewritePagingFiles(const std::vector<std::wstring>& entries);

}  // namespace Moravin
