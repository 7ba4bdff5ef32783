// Internal text helpers of Common for paths and environment references.
#pragma once

#include <string>

namespace common_detail {

// Text with %NAME% references replaced from the environment (unchanged when expansion fails).
std::wstring ExpandEnvironment(const std::wstring& text);

// Copies text into buffer (capacity in characters), cut to fit and always terminated. Returns the length copied.
int CopyToBuffer(const std::wstring& text, wchar_t* buffer, int capacity);

}  // namespace common_detail
