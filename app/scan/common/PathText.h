// How the scan pages show a path in a line of fixed width.
#pragma once

#include <string>

namespace ScanPages {

// A path longer than maxLength becomes its first `head` characters, "..." and its last `tail` characters;
// a shorter one (or one of exactly maxLength) is returned as it is.
std::wstring ShortenPath(const std::wstring& path, size_t maxLength, size_t head, size_t tail);

}  // namespace ScanPages
