// Reversible scrambling of the failed-entry file: an 8-byte magic, the body length (u32, little endian), then the
// UTF-16LE text XORed with a fixed 16-byte key.
#pragma once

#include <string>

namespace bexlar {

std::string BkDatLibEncodeParam2(const std::wstring& text);
// False when the bytes do not carry the header or the length does not match.
bool BkDatLibDecodeParam2(const std::string& bytes, std::wstring* text);

}  // namespace bexlar
