#include "PackedCatalogItem.h"

#include <Common.h>

#include <algorithm>

namespace Moravin {

CatalogItemText ParsePackedCatalogItem(const BYTE* data, size_t size)
{
    CatalogItemText text;
    if (!data) return text;

    const size_t pathEnd = std::min(size, kProviderPathBytes);
    std::string path;
    for (size_t i = 0; i < pathEnd && data[i]; ++i) path += static_cast<char>(data[i]);
    text.providerPath = SBCharToWChar(path.c_str());

    const size_t nameEnd = std::min(size, kProtocolNameOffset + kProtocolNameBytes);
    for (size_t i = kProtocolNameOffset; i + 1 < nameEnd; i += sizeof(wchar_t)) {
        const wchar_t c = static_cast<wchar_t>(data[i] | (data[i + 1] << 8));
        if (!c) break;
        text.protocolName += c;
    }
    return text;
}

}  // namespace Moravin
