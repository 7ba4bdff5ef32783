#include "DatCodec.h"

#include <cstdint>
#include <cstring>

namespace bexlar {

namespace {

const char kMagic[8] = {'S', 'R', 'T', 'R', 1, 0, 0, 0};
const unsigned char kKey[16] = {0x5A, 0xC3, 0x17, 0x9E, 0x4B, 0x21, 0xD8, 0x66,
                                0x0F, 0xB2, 0x73, 0xE9, 0x38, 0x8D, 0x54, 0xAF};

unsigned char Mask(size_t i) { return static_cast<unsigned char>(kKey[i % 16] ^ (i & 0xFF)); }

}  // namespace

std::string BkDatLibEncodeParam2(const std::wstring& text)
{
    std::string out(kMagic, sizeof(kMagic));
    uint32_t length = static_cast<uint32_t>(text.size() * 2);
    for (int i = 0; i < 4; ++i) out += static_cast<char>((length >> (8 * i)) & 0xFF);
    size_t index = 0;
    for (wchar_t c : text) {
        unsigned v = static_cast<unsigned>(c) & 0xFFFF;
        out += static_cast<char>((v & 0xFF) ^ Mask(index++));
        out += static_cast<char>((v >> 8) ^ Mask(index++));
    }
    return out;
}

bool BkDatLibDecodeParam2(const std::string& bytes, std::wstring* text)
{
    if (bytes.size() < 12 || std::memcmp(bytes.data(), kMagic, sizeof(kMagic)) != 0) return false;
    uint32_t length = 0;
    for (int i = 0; i < 4; ++i) length |= static_cast<uint32_t>(static_cast<unsigned char>(bytes[8 + i])) << (8 * i);
    if (length % 2 != 0 || bytes.size() != 12 + static_cast<size_t>(length)) return false;
    text->clear();
    for (size_t i = 0; i < length; i += 2) {
        unsigned lo = static_cast<unsigned char>(bytes[12 + i]) ^ Mask(i);
        unsigned hi = static_cast<unsigned char>(bytes[13 + i]) ^ Mask(i + 1);
        *text += static_cast<wchar_t>(lo | (hi << 8));
    }
    return true;
}

}  // namespace bexlar
