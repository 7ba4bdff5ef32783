// Reading a Winsock catalog entry's "PackedCatalogItem" value: the provider DLL path (ANSI text in the first 260
// bytes) and the protocol name (the UTF-16 szProtocol field of the WSAPROTOCOL_INFOW record that follows it).
#pragma once

#include <windows.h>

#include <string>

namespace Moravin {

// Byte offset of the protocol name and its room (WSAPROTOCOL_LEN + 1 wide characters).
const size_t kProtocolNameOffset = 376;
const size_t kProtocolNameBytes = 256 * sizeof(wchar_t);
const size_t kProviderPathBytes = MAX_PATH;

struct CatalogItemText {
    std::wstring providerPath;
    std::wstring protocolName;
};

// The texts of a value of `size` bytes. Nothing is read beyond the value or beyond each field's room; a text
// without its terminator ends where its room or the value ends.
CatalogItemText ParsePackedCatalogItem(const BYTE* data, size_t size);

}  // namespace Moravin
